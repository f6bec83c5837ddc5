#include "core/view/MergedView.h"

#include "core/ports/LogFrame.h"
#include "core/ports/MergedList.h"
#include "core/ports/MessageDetails.h"
#include "core/view/ChildView.h"
#include "core/view/MessageFilter.h"

namespace kestrano {

MergedView::MergedView(MergedList& list, LogFrame& frame)
    : list(list)
    , frame(frame)
{ }

MergedView::~MergedView()
{
    for (Log& log : logs)
        if (log.view)
            log.view->removeObserver(*this);
}

bool MergedView::addLog(ChildView& view, const std::string& name)
{
    if (hasLog(view))
        return false;
    size_t slot = 0;
    while (slot < logs.size() && logs[slot].view)
        ++slot;
    if (slot == static_cast<size_t>(MergedOrder::MaxLogs))
        return false;
    if (slot == logs.size())
        logs.emplace_back();
    logs[slot] = {&view, name, MergedOrder::Earliest};
    view.addObserver(*this);
    rebuild();
    return true;
}

void MergedView::removeLog(ChildView& view)
{
    const int32_t slot = slotOf(view);
    if (slot < 0)
        return;
    view.removeObserver(*this);
    logs[static_cast<size_t>(slot)] = Log();
    if (order.eraseLog(slot))
        list.rowsReset();
    if (logRemoved)
        logRemoved();
}

int32_t MergedView::getLogCount() const
{
    int32_t count = 0;
    for (const Log& log : logs)
        count += log.view ? 1 : 0;
    return count;
}

ChildView* MergedView::getLogView(int32_t slot) const
{
    return slot >= 0 && static_cast<size_t>(slot) < logs.size() ? logs[static_cast<size_t>(slot)].view
                                                                : nullptr;
}

const std::string& MergedView::getLogName(int32_t slot) const
{
    static const std::string none;
    return getLogView(slot) ? logs[static_cast<size_t>(slot)].name : none;
}

std::vector<ChildView*> MergedView::getLogViews() const
{
    std::vector<ChildView*> views;
    for (const Log& log : logs)
        if (log.view)
            views.push_back(log.view);
    return views;
}

int32_t MergedView::slotOf(const ChildView& view) const
{
    for (size_t slot = 0; slot < logs.size(); ++slot)
        if (logs[slot].view == &view)
            return static_cast<int32_t>(slot);
    return -1;
}

Message* MergedView::rowMessage(int32_t row) const
{
    return row >= 0 && row < order.size() ? order[row].message : nullptr;
}

bool MergedView::shows(const Message& message) const
{
    return RowFilter {{switches.minimumSeverity, switches.showUnknown}, textMatcher.get(), textFilter.hides}
        .passes(message);
}

// ---- Building and following the order ----

void MergedView::rebuild()
{
    order.clear();
    int32_t kept = 0;
    for (const Log& log : logs)
        kept += log.view ? log.view->getMessages().GetCount() : 0;
    // Room for every kept message at once: a filter that hides much wastes little, and growing would
    // hold twice the room for a while.
    order.reserve(kept);
    for (size_t slot = 0; slot < logs.size(); ++slot) {
        Log& log = logs[slot];
        log.lastTime = MergedOrder::Earliest;
        if (!log.view)
            continue;
        for (Message* message = log.view->getMessages().GetHead(); message; message = message->GetNext()) {
            log.lastTime = MergedOrder::orderTime(*message, log.lastTime);
            if (shows(*message))
                order.append(static_cast<int32_t>(slot), message, log.lastTime);
        }
    }
    order.sort();
    list.rowsReset();
    frame.UpdateToolbarChecks();
    if (switches.follow && order.size() > 0)
        list.scrollIntoView(order.size() - 1);
}

void MergedView::insertRow(int32_t slot, Message* message, int64_t time)
{
    const int32_t row = order.insert(slot, message, time);
    list.rowInserted(row);
    if (switches.follow)
        list.scrollIntoView(order.size() - 1);
}

void MergedView::messageAdded(ChildView& view, Message* message)
{
    const int32_t slot = slotOf(view);
    if (slot < 0)
        return;
    Log& log = logs[static_cast<size_t>(slot)];
    log.lastTime = MergedOrder::orderTime(*message, log.lastTime);
    if (shows(*message))
        insertRow(slot, message, log.lastTime);
}

void MergedView::messageContinued(ChildView& view, Message* message)
{
    const int32_t slot = slotOf(view);
    if (slot < 0)
        return;
    // The text filter judges the text that has grown.
    const int32_t row = order.findFromEnd(message);
    const bool passes = shows(*message);
    if (row >= 0 && passes) {
        list.rowChanged(row);
    } else if (row >= 0) {
        order.erase(row);
        list.rowDeleted(row);
    } else if (passes) {
        // The newest message of its log: its order time is the log's last one.
        insertRow(slot, message, logs[static_cast<size_t>(slot)].lastTime);
    }
}

void MergedView::messageDropping(ChildView& view, Message* message)
{
    if (slotOf(view) < 0)
        return;
    const int32_t row = order.findFromStart(message);
    if (row < 0)
        return;
    order.erase(row);
    list.rowDeleted(row);
}

void MergedView::messagesEmptying(ChildView& view)
{
    const int32_t slot = slotOf(view);
    if (slot < 0)
        return;
    logs[static_cast<size_t>(slot)].lastTime = MergedOrder::Earliest;
    if (order.eraseLog(slot))
        list.rowsReset();
}

void MergedView::newsShown(ChildView& view)
{
    if (hasLog(view))
        frame.showNews();
}

void MergedView::viewClosing(ChildView& view)
{
    removeLog(view);
}

void MergedView::openMessageDetails(MessageDetails& details)
{
    if (Message* message = rowMessage(list.selectedRow()))
        details.show(*message);
}

// ---- Switches ----

void MergedView::setMinimumSeverity(int32_t severity)
{
    switches.minimumSeverity = severity;
    rebuild();
}

void MergedView::toggleShowUnknown()
{
    switches.showUnknown = !switches.showUnknown;
    rebuild();
}

void MergedView::toggleFollow()
{
    switches.follow = !switches.follow;
    if (switches.follow && order.size() > 0)
        list.scrollIntoView(order.size() - 1);
    frame.UpdateToolbarChecks();
}

void MergedView::setFollow(bool on)
{
    if (on != switches.follow)
        toggleFollow();
}

void MergedView::toggleShowTime()
{
    switches.showTime = !switches.showTime;
    frame.UpdateToolbarChecks();
}

void MergedView::toggleShowTimeline()
{
    switches.showTimeline = !switches.showTimeline;
    frame.UpdateToolbarChecks();
}

void MergedView::setTextFilter(const TextFilter& filter)
{
    setTextFilterSwitch(filter);
    rebuild();
}

void MergedView::setTextFilterSwitch(const TextFilter& filter)
{
    textFilter = filter;
    textMatcher.reset();
    if (filter.pattern.empty())
        textFilterError = PatternError();
    else
        textMatcher
            = TextMatcher::compile({{filter.pattern}, filter.regex, filter.matchCase}, textFilterError);
}

} // namespace kestrano
