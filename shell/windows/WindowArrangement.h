// Arranging the log windows of the MDI area: the Window menu's commands beyond cascading, and the place
// of a new window; and the main window's place at the first start.
#pragma once

#include <QRect>

class QMdiArea;

namespace kestrano {

// Windows as wide as the area, one above the other.
void tileHorizontally(QMdiArea& area);
// Windows as tall as the area, side by side.
void tileVertically(QMdiArea& area);
// Minimised windows in a row along the bottom edge.
void arrangeIcons(QMdiArea& area);

// The place of the index-th new window in an area of the given size: cascaded by step from the top left
// corner (starting over after the last step that fits), as large as the area less three steps but at
// least half of it, always wholly inside.
QRect cascadedPlace(const QSize& space, int index, int step);

// The main window's place at the first start: two thirds of the screen's available area, centred in it.
QRect firstStartPlace(const QRect& available);

} // namespace kestrano
