#include "platform/qt/LogList.h"

#include "platform/qt/LogFont.h"
#include "platform/qt/LogListModel.h"
#include "platform/qt/MatchHighlighter.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace kestrano {

LogList::LogList(QWidget* parent)
    : QListView(parent)
    , rows(new LogListModel(this))
    , highlighter(new MatchHighlighter(this))
{
    setModel(rows);
    setItemDelegate(highlighter);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTextElideMode(Qt::ElideRight);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setIconSize(QSize(16, 16));
    setFont(logFont());
    connect(rows, &LogListModel::flushed, this, &LogList::scrollToLastIfPending);
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
    if (rows->rowCount() > 0 && currentIndex().row() == 0)
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    rows->removeFirst();
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
        scrollTo(rows->index(row), QAbstractItemView::EnsureVisible);
}

int32_t LogList::selectedRow() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void LogList::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    if (onDoubleClick)
        onDoubleClick();
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
    QListView::keyPressEvent(event);
}

void LogList::contextMenuEvent(QContextMenuEvent* event)
{
    if (!onContextMenu)
        return;
    event->accept();
    if (event->reason() == QContextMenuEvent::Mouse) {
        const QModelIndex row = indexAt(event->pos());
        if (row.isValid())
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
    const QModelIndex index = rows->index(row);
    setCurrentIndex(index);
    scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void LogList::setHighlight(const TextMatcher* matcher)
{
    highlighter->setMatcher(matcher);
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
        scrollTo(rows->index(rows->announcedRows() - 1), QAbstractItemView::EnsureVisible);
}

} // namespace kestrano
