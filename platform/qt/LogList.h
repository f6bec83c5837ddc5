// The list control of a log view: a QListView over a LogListModel, one line per shown message with its
// severity icon, no header, single selection. A double-click, Return or Enter asks for the message
// details; "/" asks for the find bar; the matches of a find pattern are marked in the visible rows.
#pragma once

#include "core/ports/ListControl.h"

#include <QListView>

#include <functional>

namespace kestrano {

class LogListModel;
class MatchHighlighter;
class TextMatcher;

class LogList : public QListView, public ListControl {
    Q_OBJECT

public:
    explicit LogList(QWidget* parent = nullptr);

    int32_t rowCount() const override;
    void appendRow(Message* message) override;
    void deleteFirstRow() override;
    void deleteAllRows() override;
    void refreshRow(int32_t row) override;
    Message* rowMessage(int32_t row) const override;
    void scrollIntoView(int32_t row) override;
    int32_t selectedRow() const override;
    bool showsRowsLater() const override { return true; }

    LogListModel& model() const { return *rows; }
    // Called on a double-click (instead of the list's own handling) and on Return or Enter.
    void setDoubleClickHandler(std::function<void()> handler) { onDoubleClick = std::move(handler); }
    void setFindKeyHandler(std::function<void()> handler) { onFindKey = std::move(handler); }
    // Called for the context menu of a row, which is selected first, at its global position.
    void setContextMenuHandler(std::function<void(const QPoint&)> handler)
    {
        onContextMenu = std::move(handler);
    }

    // Selects the row and scrolls it to the middle of the view.
    void selectRow(int32_t row);
    // Marks the matches in the visible rows; nullptr marks none. The matcher must outlive its use.
    void setHighlight(const TextMatcher* matcher);
    const TextMatcher* highlight() const;

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void scrollToLastIfPending();

    LogListModel* rows;
    MatchHighlighter* highlighter;
    std::function<void()> onDoubleClick;
    std::function<void()> onFindKey;
    std::function<void(const QPoint&)> onContextMenu;
    bool scrollToLastPending = false;
};

} // namespace kestrano
