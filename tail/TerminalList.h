// The list control of a log view on a terminal: a row appended is a message printed (a notice of the
// program's own goes to standard error), a row refreshed is a continuation printed, and the view's
// "gone" and "restarted" are told while following. The rows are remembered only as the view needs
// them (at most KeepLines).
#pragma once

#include "core/ports/ListControl.h"

#include <deque>
#include <string>

namespace kestrano::tail {

class TerminalOutput;

class TerminalList : public ListControl {
public:
    // file is the name printed in headers and notices; notices only while following. A name (merged
    // output) is printed with each message.
    TerminalList(const std::string& file, TerminalOutput& output, bool notices, const std::string& name = {});

    // From now on, a restart means the file was read before.
    void markRead() { read = true; }
    // While holding, rows are kept but not printed (merged output prints what the logs hold in order).
    void setHolding(bool on) { holding = on; }
    // Prints the row's message, or its notice on standard error.
    void printRow(const Message& message);

    int32_t rowCount() const override { return static_cast<int32_t>(rows.size()); }
    void appendRow(Message* message) override;
    void deleteFirstRow() override { rows.pop_front(); }
    void deleteAllRows() override { rows.clear(); }
    void logGone() override;
    void logRestarted() override;
    void refreshRow(int32_t row) override;
    Message* rowMessage(int32_t row) const override { return rows[static_cast<std::size_t>(row)]; }
    void scrollIntoView(int32_t) override { }
    int32_t selectedRow() const override { return -1; }

private:
    const std::string& file;
    TerminalOutput& output;
    const bool notices;
    const std::string name;
    bool holding = false;
    std::deque<Message*> rows;
    bool read = false;
    bool gone = false;
};

} // namespace kestrano::tail
