#include "tail/FollowedLog.h"

#include "core/LogSources.h"
#include "tail/QuietDesktop.h"

namespace kestrano::tail {

FollowedLog::FollowedLog(const std::string& file, const ViewContext& context, QuietDesktop& desktop,
    TerminalOutput& output, bool notices, const std::vector<std::string>& journalFiles)
    : file(file == StandardInputName ? "standard input" : file)
    , list(this->file, output, notices)
    , document(makeDocument(file.c_str(), context.files, desktop, journalFiles))
    , view(*document, context, list, desktop)
{
    // "Still trying..." only where it will.
    view.setReadErrorNoticeSwitch(notices);
}

void FollowedLog::poll()
{
    view.pollLogFile();
    list.markRead();
}

} // namespace kestrano::tail
