// The list a log view shows its messages in: one row per shown message, in the order they arrived.
// The core drives it; the shell implements it over a Qt list, tests with a recording list.
#pragma once

#include <cstdint>

namespace kestrano {

class Message;

class ListControl {
public:
    virtual ~ListControl() = default;

    virtual int32_t rowCount() const = 0;
    // Appends a row showing the message (one-line text, icon by severity); the row does not own it.
    virtual void appendRow(Message* message) = 0;
    virtual void deleteFirstRow() = 0;
    virtual void deleteAllRows() = 0;
    // Told after the rows were deleted: the log vanished (told at every poll while it is missing), or
    // it is read again from its start or its tail (a shrink, a replacement, Refresh, its return; also
    // the first read).
    virtual void logGone() { }
    virtual void logRestarted() { }
    // The text of the row's message changed (a continuation line was joined to it).
    virtual void refreshRow(int32_t row) = 0;
    virtual Message* rowMessage(int32_t row) const = 0;
    virtual void scrollIntoView(int32_t row) = 0;
    // The selected row, or -1 when none is.
    virtual int32_t selectedRow() const = 0;
    // The message of the selected row (a list may show rows of its own besides the view's).
    virtual const Message* selectedMessage() const
    {
        const int32_t row = selectedRow();
        return row < 0 ? nullptr : rowMessage(row);
    }
    // The rows of the file's history before the kept ones changed (the view's HistoryRows, which a
    // list that shows them was given, says how).
    virtual void historyChanged() { }
    // Whether appended rows reach the screen only after the poll that appended them, so a row
    // appended and deleted again within one poll is never seen.
    virtual bool showsRowsLater() const { return false; }
};

} // namespace kestrano
