#include "tail/TerminalList.h"

#include "core/text/Message.h"
#include "tail/TerminalOutput.h"

namespace kestrano::tail {

TerminalList::TerminalList(
    const std::string& file, TerminalOutput& output, bool notices, const std::string& name)
    : file(file)
    , output(output)
    , notices(notices)
    , name(name)
{ }

// The program's own notices ("End of input.", a read failure) go with the others to standard error,
// so standard output holds the log's messages only.
void TerminalList::appendRow(Message* message)
{
    rows.push_back(message);
    if (!holding)
        printRow(*message);
}

void TerminalList::printRow(const Message& message)
{
    const ShownText notice = message.getNotice();
    if (notice.id == CoreText::None)
        output.printMessage(file, message, name);
    else
        output.notice(file, notice.english().c_str());
}

void TerminalList::refreshRow(int32_t row)
{
    if (holding)
        return; // the message is printed whole when the holding ends
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
