// The list control of a log view: a QListView over a LogListModel, one line per shown message with its
// severity icon (its name for assistive technology), no header; several rows can be selected. A
// double-click, Return or Enter asks for the message details; "/" asks for the find bar; the matches of
// a find pattern are marked in the visible rows. While it follows the end, the last row stays in view
// whatever changes the list's size; the user scrolling away from the end, or back to it, is told.
// Long rows scroll sideways, or wrap. A merged window's list shows a merged view's rows (showMerged).
// Rows of the file's history may come before the kept rows; the history reveals more of them when its
// first row (the count of earlier messages) comes into view, and conceals again those far above the
// view, keeping the rows shown and the selected one in place.
#pragma once

#include "core/ports/ListControl.h"
#include "core/ports/MergedList.h"

#include <QListView>

#include <functional>
#include <vector>

namespace kestrano {

class HistoryRows;
class LogListModel;
class MatchHighlighter;
class MergedOrder;
class TextMatcher;

class LogList : public QListView, public ListControl, public MergedList {
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
    // The current row when it is selected, else the first selected one; -1 when none is.
    int32_t selectedRow() const override;
    bool showsRowsLater() const override { return true; }
    const Message* selectedMessage() const override;
    void historyChanged() override;

    // Shows the history's rows before the kept ones; nullptr: none. It must outlive its use.
    void setHistory(HistoryRows* history);
    // The number in the file of the selected history row's message; -1 when no history row is selected.
    int64_t selectedHistoryNumber() const;
    // Selects a revealed history row (0: the oldest revealed) and scrolls it to the middle of the view.
    void selectHistoryRow(int64_t row);
    // The rows revealed at once when the first row comes into view (or four pages), and those kept
    // revealed above the top row (or eight pages).
    static constexpr int32_t RevealedRows = 256;
    static constexpr int32_t NearRows = 2 * RevealedRows;

    // The rows are the order's from now on, told as MergedList.
    void showMerged(const MergedOrder& order);
    void rowInserted(int32_t row) override;
    void rowDeleted(int32_t row) override;
    void rowChanged(int32_t row) override { refreshRow(row); }
    void rowsReset() override;

    LogListModel& model() const { return *rows; }
    // Called on a double-click (instead of the list's own handling) and on Return or Enter.
    void setDoubleClickHandler(std::function<void()> handler) { onDoubleClick = std::move(handler); }
    void setFindKeyHandler(std::function<void()> handler) { onFindKey = std::move(handler); }
    // Called for the context menu of a row, which is selected first, at its global position.
    void setContextMenuHandler(std::function<void(const QPoint&)> handler)
    {
        onContextMenu = std::move(handler);
    }
    // Called when the user scrolls to the last row (true) or away from it, or selects an earlier row
    // with the mouse (false).
    void setFollowHandler(std::function<void(bool atEnd)> handler) { onFollow = std::move(handler); }
    // Whether the last row is kept in view.
    void setFollowing(bool on);
    // Long rows wrap instead of scrolling sideways.
    void setWrapRows(bool on);
    bool wrapsRows() const { return wrapping; }

    // The selected rows, in order, as the list shows them (the history's rows first).
    std::vector<int32_t> selectedRows() const;
    // The messages of the rows (as the list shows them), each line ended by a line feed, continuation
    // lines after a tab; notices in the user's language. Bytes of the log as they are (UTF-8 for notices).
    QByteArray rowsText(const std::vector<int32_t>& rows) const;
    // Puts the selected rows' text on the clipboard (line feeds; the last line end left out).
    void copySelectedRows() const;
    // The first kept row shown at the top, or -1 for an empty list or one showing history rows there.
    int32_t topRow() const;
    // Scrolls the row to the top (as far as the list allows).
    void scrollToTop(int32_t row);

    // Selects the row and scrolls it to the middle of the view.
    void selectRow(int32_t row);
    // Marks the matches in the visible rows; nullptr marks none. The matcher must outlive its use.
    void setHighlight(const TextMatcher* matcher);
    const TextMatcher* highlight() const;
    // Marks the rows after a quiet gap of more than the seconds given (0: none).
    void setQuietGap(int32_t seconds);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void scrollToLastIfPending();
    // Tells the follow handler whether the user left the view at its end.
    void tellWhereScrolled();
    // The width rows need to be scrolled to their end, from the widest row.
    void updateRowWidth();
    // The model's index of a kept row.
    QModelIndex keptIndex(int32_t row) const;
    // Reveals more history while the first row is in view, and conceals the rows far above the view
    // (once the event loop ran).
    void scheduleReveal();
    void revealIfEarlierRowShown();
    void concealFarHistory();
    // Tells the model what the history did, keeping the top row in place unless following.
    void applyHistoryChange();
    int32_t pageRows() const;
    void revealIfEarlierRowInView();
    void revealAllHistory();

    LogListModel* rows;
    MatchHighlighter* highlighter;
    std::function<void()> onDoubleClick;
    std::function<void()> onFindKey;
    std::function<void(const QPoint&)> onContextMenu;
    std::function<void(bool)> onFollow;
    bool scrollToLastPending = false;
    bool following = false;
    bool wrapping = false;
    bool revealScheduled = false;
};

} // namespace kestrano
