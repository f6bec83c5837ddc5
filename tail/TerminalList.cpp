#include "tail/TerminalList.h"

#include "tail/TerminalOutput.h"

namespace kestrano::tail {

TerminalList::TerminalList(const std::string& file, TerminalOutput& output, bool notices)
    : file(file)
    , output(output)
    , notices(notices)
{ }

void TerminalList::appendRow(Message* message)
{
    rows.push_back(message);
    output.printMessage(file, *message);
}

void TerminalList::refreshRow(int32_t row)
{
    output.printContinuation(file, *rowMessage(row));
}

// Told at every poll while the file is missing: said once.
void TerminalList::logGone()
{
    if (notices && !gone)
        output.notice(file, "gone");
    gone = true;
}

void TerminalList::logRestarted()
{
    if (notices && read)
        output.notice(file, "read again");
    gone = false;
}

} // namespace kestrano::tail
