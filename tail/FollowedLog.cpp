#include "tail/FollowedLog.h"

#include "core/sources/SourceRegistry.h"
#include "tail/QuietDesktop.h"

namespace kestrano::tail {
namespace {

std::string terminalName(const std::string& file)
{
    const char* name = sourceKindOf(file.c_str()).terminalName;
    return name ? name : file;
}

} // namespace

FollowedLog::FollowedLog(const std::string& file, const ViewContext& context, const SourceContext& sources,
    QuietDesktop& desktop, TerminalOutput& output, bool notices)
    : file(terminalName(file))
    , list(this->file, output, notices)
    , document(std::make_unique<Document>(file.c_str(), sources, desktop))
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
