#include "tail/TerminalList.h"

#include "core/ChildView.h"
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

// The view empties its list when the file is missing (its position then unknown) and when it starts
// reading the file over from its tail.
void TerminalList::deleteAllRows()
{
    rows.clear();
    if (!view || !notices)
        return;
    if (view->getReadPosition() == ChildView::UnknownPosition) {
        if (!gone)
            output.notice(file, "gone");
        gone = true;
        return;
    }
    if (read)
        output.notice(file, "read again");
    gone = false;
}

} // namespace kestrano::tail
