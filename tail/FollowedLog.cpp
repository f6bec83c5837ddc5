#include "tail/FollowedLog.h"

#include "core/sources/SourceRegistry.h"
#include "core/view/MergedOrder.h"
#include "tail/QuietDesktop.h"

namespace kestrano::tail {
namespace {

std::string terminalName(const std::string& file)
{
    const char* name = sourceKindOf(file.c_str()).terminalName;
    return name ? name : file;
}

// The log's short name: its window title (a file's name without its folder).
std::string shortName(const std::string& file)
{
    return sourceKindOf(file.c_str()).title(file.c_str()).english();
}

} // namespace

FollowedLog::FollowedLog(const std::string& file, const ViewContext& context, const SourceContext& sources,
    QuietDesktop& desktop, TerminalOutput& output, bool notices, bool merged)
    : file(terminalName(file))
    , list(this->file, output, notices, merged ? shortName(file) : std::string())
    , document(std::make_unique<Document>(file.c_str(), sources, desktop))
    , view(*document, context, list, desktop)
{
    // "Still trying..." only where it will.
    view.setReadErrorNoticeSwitch(notices);
    list.setHolding(merged);
}

void FollowedLog::poll()
{
    view.pollLogFile();
    list.markRead();
}

void FollowedLog::releaseInOrder(const std::vector<std::unique_ptr<FollowedLog>>& logs)
{
    MergedOrder order;
    int32_t rows = 0;
    for (const auto& log : logs)
        rows += log->list.rowCount();
    order.reserve(rows);
    for (size_t i = 0; i < logs.size(); ++i) {
        const TerminalList& list = logs[i]->list;
        int64_t time = MergedOrder::Earliest;
        for (int32_t row = 0; row < list.rowCount(); ++row) {
            time = MergedOrder::orderTime(*list.rowMessage(row), time);
            order.append(static_cast<int32_t>(i % MergedOrder::MaxLogs), list.rowMessage(row), time);
        }
    }
    order.sort();
    for (int32_t i = 0; i < order.size(); ++i)
        logs[static_cast<size_t>(order[i].getLog())]->list.printRow(*order[i].message);
    for (const auto& log : logs)
        log->list.setHolding(false);
}

} // namespace kestrano::tail
