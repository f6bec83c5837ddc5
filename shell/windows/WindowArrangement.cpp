#include "shell/windows/WindowArrangement.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>

namespace kestrano {

namespace {

QList<QMdiSubWindow*> windowsToTile(QMdiArea& area)
{
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : area.subWindowList(QMdiArea::CreationOrder)) {
        if (window->isVisible() && !window->isMinimized())
            windows.append(window);
    }
    return windows;
}

// Splits the area into equal slices along one direction.
void tile(QMdiArea& area, bool stacked)
{
    const QList<QMdiSubWindow*> windows = windowsToTile(area);
    if (windows.isEmpty())
        return;
    const QRect space = area.viewport()->rect();
    const int count = static_cast<int>(windows.size());
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow* window = windows[i];
        if (window->isMaximized())
            window->showNormal();
        if (stacked) {
            const int top = space.height() * i / count;
            const int bottom = space.height() * (i + 1) / count;
            window->setGeometry(0, top, space.width(), bottom - top);
        } else {
            const int left = space.width() * i / count;
            const int right = space.width() * (i + 1) / count;
            window->setGeometry(left, 0, right - left, space.height());
        }
    }
}

} // namespace

void tileHorizontally(QMdiArea& area)
{
    tile(area, true);
}

void tileVertically(QMdiArea& area)
{
    tile(area, false);
}

void arrangeIcons(QMdiArea& area)
{
    const QRect space = area.viewport()->rect();
    int left = 0;
    int bottom = space.bottom() + 1;
    for (QMdiSubWindow* window : area.subWindowList(QMdiArea::CreationOrder)) {
        if (!window->isMinimized())
            continue;
        const QSize size = window->size();
        if (left > 0 && left + size.width() > space.width()) {
            left = 0;
            bottom -= size.height();
        }
        window->move(left, bottom - size.height());
        left += size.width();
    }
}

QRect cascadedPlace(const QSize& space, int index, int step)
{
    constexpr int Steps = 3;
    step = std::max(step, 1);
    const int width = std::max(space.width() - Steps * step, space.width() / 2);
    const int height = std::max(space.height() - Steps * step, space.height() / 2);
    const int places = 1 + std::min((space.width() - width) / step, (space.height() - height) / step);
    const int offset = (std::max(index, 0) % places) * step;
    return QRect(offset, offset, std::max(width, 1), std::max(height, 1));
}

QRect firstStartPlace(const QRect& available)
{
    const QSize size(available.width() * 2 / 3, available.height() * 2 / 3);
    return {available.topLeft()
            + QPoint((available.width() - size.width()) / 2, (available.height() - size.height()) / 2),
        size};
}

} // namespace kestrano
