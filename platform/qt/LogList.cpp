#include "platform/qt/LogList.h"

#include "core/text/Message.h"
#include "core/text/MessageLines.h"
#include "core/view/HistoryRows.h"
#include "platform/qt/CoreTexts.h"
#include "platform/qt/LogFont.h"
#include "platform/qt/LogListModel.h"
#include "platform/qt/LogText.h"
#include "platform/qt/MatchHighlighter.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace kestrano {

LogList::LogList(QWidget* parent)
    : QListView(parent)
    , rows(new LogListModel(this))
    , highlighter(new MatchHighlighter(this))
{
    setModel(rows);
    setItemDelegate(highlighter);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIconSize(QSize(16, 16));
    setFont(logFont());
    setAccessibleName(tr("Messages"));
    setWrapRows(false);
    connect(rows, &LogListModel::flushed, this, &LogList::scrollToLastIfPending);
    connect(rows, &LogListModel::widestRowChanged, this, &LogList::updateRowWidth);
    // Whatever changes the rows' extent (rows, a resize, Tile, wrapping) keeps a followed end in view.
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, [this] {
        if (following)
            scrollToBottom();
        scheduleReveal();
    });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &LogList::scheduleReveal);
    // Dragging or clicking the scroll bar: judged once the bar has moved.
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
        [this] { QTimer::singleShot(0, this, &LogList::tellWhereScrolled); });
}

int32_t LogList::rowCount() const
{
    return rows->allRows();
}

void LogList::appendRow(Message* message)
{
    rows->append(message);
}

void LogList::deleteFirstRow()
{
    // Removing the current row would make the view select the next one: a deleted row that was
    // selected leaves nothing selected.
    if (rows->rowCount() > 0 && currentIndex().row() == rows->historyRowCount())
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    rows->removeFirst();
}

void LogList::showMerged(const MergedOrder& order)
{
    rows->showMerged(order);
}

void LogList::rowInserted(int32_t row)
{
    rows->insertedAt(row);
}

void LogList::rowDeleted(int32_t row)
{
    if (currentIndex().row() == row)
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    rows->deletedAt(row);
}

void LogList::rowsReset()
{
    scrollToLastPending = false;
    rows->resetRows();
}

void LogList::deleteAllRows()
{
    scrollToLastPending = false;
    rows->clear();
}

void LogList::refreshRow(int32_t row)
{
    rows->refresh(row);
}

Message* LogList::rowMessage(int32_t row) const
{
    return rows->at(row);
}

void LogList::scrollIntoView(int32_t row)
{
    if (row < 0 || row >= rows->allRows())
        return;
    // The newest row may not be announced yet; scroll once the batch is in.
    if (row == rows->allRows() - 1 && row >= rows->announcedRows()) {
        scrollToLastPending = true;
        return;
    }
    if (row < rows->announcedRows())
        scrollTo(keptIndex(row), QAbstractItemView::EnsureVisible);
}

QModelIndex LogList::keptIndex(int32_t row) const
{
    return rows->index(rows->historyRowCount() + row);
}

// The kept row, or -1 for none or a history row.
int32_t LogList::selectedRow() const
{
    int32_t shown = -1;
    if (currentIndex().isValid() && selectionModel()->isSelected(currentIndex())) {
        shown = currentIndex().row();
    } else {
        const std::vector<int32_t> selected = selectedRows();
        shown = selected.empty() ? -1 : selected.front();
    }
    return shown < rows->historyRowCount() ? -1 : shown - rows->historyRowCount();
}

const Message* LogList::selectedMessage() const
{
    if (currentIndex().isValid() && selectionModel()->isSelected(currentIndex()))
        return rows->messageOfRow(currentIndex().row());
    const std::vector<int32_t> selected = selectedRows();
    return selected.empty() ? nullptr : rows->messageOfRow(selected.front());
}

std::vector<int32_t> LogList::selectedRows() const
{
    std::vector<int32_t> selected;
    for (const QModelIndex& index : selectionModel()->selectedIndexes())
        selected.push_back(index.row());
    std::sort(selected.begin(), selected.end());
    return selected;
}

QByteArray LogList::rowsText(const std::vector<int32_t>& chosen) const
{
    std::string text;
    for (int32_t row : chosen) {
        const Message* message = rows->messageOfRow(row);
        if (!message)
            continue;
        if (const ShownText notice = message->getNotice(); notice.id != CoreText::None)
            text += translatedText(notice).toStdString() + '\n';
        else
            appendMessageLines(text, *message);
    }
    return QByteArray::fromStdString(text);
}

void LogList::copySelectedRows() const
{
    QByteArray text = rowsText(selectedRows());
    if (text.isEmpty())
        return;
    text.chop(1);
    if (QClipboard* clipboard = QApplication::clipboard())
        clipboard->setText(logText(text.constData(), text.size()), QClipboard::Clipboard);
}

int32_t LogList::topRow() const
{
    const QModelIndex top = indexAt(QPoint(1, 1));
    const int32_t shown = top.isValid() ? top.row() : (rows->rowCount() > 0 ? 0 : -1);
    return shown < rows->historyRowCount() ? -1 : shown - rows->historyRowCount();
}

void LogList::scrollToTop(int32_t row)
{
    if (row >= rows->allRows())
        row = rows->allRows() - 1;
    if (row < 0)
        return;
    if (row >= rows->announcedRows())
        rows->flush();
    scrollTo(keptIndex(row), QAbstractItemView::PositionAtTop);
}

void LogList::setFollowing(bool on)
{
    following = on;
    if (on && rows->announcedRows() > 0)
        scrollToBottom();
    scheduleReveal();
}

void LogList::setWrapRows(bool on)
{
    wrapping = on;
    setWordWrap(on);
    // Rows of one height are laid out at once; wrapped rows each have their own.
    setUniformItemSizes(!on);
    setResizeMode(on ? QListView::Adjust : QListView::Fixed);
    setTextElideMode(on ? Qt::ElideRight : Qt::ElideNone);
    setHorizontalScrollBarPolicy(on ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    updateRowWidth();
}

void LogList::updateRowWidth()
{
    const QFontMetricsF metrics(font());
    const qreal character
        = std::max(metrics.horizontalAdvance(QLatin1Char('M')), metrics.horizontalAdvance(QLatin1Char('W')));
    const int width = wrapping ? 0
                               : static_cast<int>(std::ceil(character * rows->widestRow()))
            + iconSize().width() + 4 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this);
    if (highlighter->rowWidth() == width)
        return;
    highlighter->setRowWidth(width);
    scheduleDelayedItemsLayout();
}

void LogList::tellWhereScrolled()
{
    if (!onFollow)
        return;
    const QScrollBar* bar = verticalScrollBar();
    // A list that fits its view has no end to scroll to: Follow stays as the user set it.
    if (bar->maximum() <= 0)
        return;
    const bool atEnd = bar->value() >= bar->maximum();
    if (atEnd != following)
        onFollow(atEnd);
}

void LogList::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    if (onDoubleClick)
        onDoubleClick();
}

void LogList::mousePressEvent(QMouseEvent* event)
{
    QListView::mousePressEvent(event);
    const QModelIndex row = indexAt(event->position().toPoint());
    if (following && onFollow && row.isValid() && row.row() < rows->rowCount() - 1)
        onFollow(false);
}

void LogList::keyPressEvent(QKeyEvent* event)
{
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && onDoubleClick) {
        event->accept();
        onDoubleClick();
        return;
    }
    if (event->text() == QStringLiteral("/") && onFindKey) {
        event->accept();
        onFindKey();
        return;
    }
    // To the file's first message: the whole history is revealed first. Up keys at the first row
    // reveal more, following or not.
    const bool toFirst = event->key() == Qt::Key_Home && (event->modifiers() & Qt::ControlModifier);
    if (toFirst && rows->history()) {
        // Left first: the rows revealed would pull a followed view back to the end.
        if (following && onFollow)
            onFollow(false);
        revealAllHistory();
    } else if (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_Up) {
        revealIfEarlierRowInView();
    }
    // Without a selected row, the page keys scroll the view, as in a pager (they would move nothing).
    const bool pageKey = event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown;
    if (plain && pageKey && selectedRow() < 0) {
        event->accept();
        verticalScrollBar()->triggerAction(event->key() == Qt::Key_PageUp
                ? QAbstractSlider::SliderPageStepSub
                : QAbstractSlider::SliderPageStepAdd);
    } else {
        QListView::keyPressEvent(event);
    }
    // The first row may have been current already (the history's first row it replaced).
    if (toFirst && rows->history())
        scrollTo(currentIndex());
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        tellWhereScrolled();
        break;
    default:
        break;
    }
}

void LogList::wheelEvent(QWheelEvent* event)
{
    QListView::wheelEvent(event);
    tellWhereScrolled();
}

void LogList::contextMenuEvent(QContextMenuEvent* event)
{
    if (!onContextMenu)
        return;
    event->accept();
    if (event->reason() == QContextMenuEvent::Mouse) {
        const QModelIndex row = indexAt(event->pos());
        if (row.isValid() && !selectionModel()->isSelected(row))
            setCurrentIndex(row);
    }
    QPoint place = event->globalPos();
    if (event->reason() != QContextMenuEvent::Mouse && currentIndex().isValid())
        place = viewport()->mapToGlobal(visualRect(currentIndex()).center());
    onContextMenu(place);
}

void LogList::selectRow(int32_t row)
{
    if (row < 0 || row >= rows->allRows())
        return;
    if (row >= rows->announcedRows())
        rows->flush();
    const QModelIndex index = keptIndex(row);
    setCurrentIndex(index);
    scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void LogList::setHighlight(const TextMatcher* matcher)
{
    highlighter->setMatcher(matcher);
    viewport()->update();
}

void LogList::setQuietGap(int32_t seconds)
{
    const int64_t microseconds = static_cast<int64_t>(seconds > 0 ? seconds : 0) * 1000000;
    if (microseconds == highlighter->getQuietGap())
        return;
    highlighter->setQuietGap(microseconds);
    viewport()->update();
}

const TextMatcher* LogList::highlight() const
{
    return highlighter->matcher();
}

void LogList::scrollToLastIfPending()
{
    if (!scrollToLastPending)
        return;
    scrollToLastPending = false;
    if (rows->announcedRows() > 0)
        scrollTo(keptIndex(rows->announcedRows() - 1), QAbstractItemView::EnsureVisible);
}

void LogList::setHistory(HistoryRows* history)
{
    rows->setHistory(history);
    scheduleReveal();
}

int64_t LogList::selectedHistoryNumber() const
{
    const QModelIndex current = currentIndex();
    if (!rows->history() || !current.isValid() || !selectionModel()->isSelected(current)
        || current.row() >= rows->historyRowCount() || rows->isEarlierRow(current.row()))
        return -1;
    return rows->history()->revealedNumber(current.row() - (rows->isEarlierRow(0) ? 1 : 0));
}

void LogList::selectHistoryRow(int64_t row)
{
    const int32_t shown = static_cast<int32_t>(row) + (rows->isEarlierRow(0) ? 1 : 0);
    if (row < 0 || shown >= rows->historyRowCount())
        return;
    const QModelIndex index = rows->index(shown);
    setCurrentIndex(index);
    scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void LogList::historyChanged()
{
    applyHistoryChange();
    scheduleReveal();
}

void LogList::applyHistoryChange()
{
    const QModelIndex top = indexAt(QPoint(1, 1));
    const int32_t now = rows->historyChanged(top.isValid() ? top.row() : -1);
    // Rows revealed or concealed above keep what the user looked at in its place.
    if (!following && top.isValid() && now >= 0 && now != top.row()) {
        executeDelayedItemsLayout();
        scrollTo(rows->index(now), QAbstractItemView::PositionAtTop);
    }
}

int32_t LogList::pageRows() const
{
    return viewport()->height() / std::max(1, sizeHintForRow(0));
}

void LogList::scheduleReveal()
{
    if (revealScheduled || !rows->history() || rows->historyRowCount() == 0)
        return;
    revealScheduled = true;
    QTimer::singleShot(0, this, &LogList::revealIfEarlierRowShown);
}

void LogList::revealIfEarlierRowShown()
{
    revealScheduled = false;
    concealFarHistory();
    // While following, the user looks at the end (a list that fits its view shows the first row too).
    if (!following)
        revealIfEarlierRowInView();
}

// Revealed rows more than the near ones above the top row are concealed; while the user looks around,
// the selected row and those after it stay.
void LogList::concealFarHistory()
{
    HistoryRows* history = rows->history();
    const QModelIndex top = indexAt(QPoint(1, 1));
    if (!history || history->getRevealedCount() == 0 || !top.isValid())
        return;
    const int32_t header = rows->isEarlierRow(0) ? 1 : 0;
    const int32_t near = std::max(NearRows, 8 * pageRows());
    int64_t far = top.row() - near - header;
    if (top.row() >= rows->historyRowCount()) // a kept row: the history's newest are the nearest
        far = history->getRevealedCount() - std::max(0, near - (top.row() - rows->historyRowCount()));
    const QModelIndex current = currentIndex();
    const bool currentRevealed
        = current.isValid() && current.row() >= header && current.row() < rows->historyRowCount();
    if (!following && currentRevealed)
        far = std::min<int64_t>(far, current.row() - header);
    if (far <= 0)
        return;
    // Removing the current row would make the view select another one.
    if (currentRevealed && current.row() - header < far)
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    history->conceal(far);
    applyHistoryChange();
}

void LogList::revealIfEarlierRowInView()
{
    HistoryRows* history = rows->history();
    if (!history || !rows->isEarlierRow(0) || !viewport()->rect().intersects(visualRect(rows->index(0))))
        return;
    if (history->reveal(std::max(RevealedRows, 4 * pageRows())) > 0)
        historyChanged();
}

void LogList::revealAllHistory()
{
    if (HistoryRows* history = rows->history(); history && history->reveal(-1) > 0)
        historyChanged();
}

} // namespace kestrano
