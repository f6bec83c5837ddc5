// One view over several open logs: their kept messages that its own switches and text filter show, in
// one order by time (MergedOrder), following each log as it changes. It holds references only; the
// logs' views keep the messages.
#pragma once

#include "core/search/TextMatcher.h"
#include "core/settings/WorkspaceStore.h"
#include "core/view/MergedOrder.h"
#include "core/view/ViewObserver.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kestrano {

class LogFrame;
class MergedList;
class MessageDetails;

class MergedView : private ViewObserver {
public:
    MergedView(MergedList& list, LogFrame& frame);
    ~MergedView() override;
    MergedView(const MergedView&) = delete;
    MergedView& operator=(const MergedView&) = delete;

    // Adds a log under its short name and shows its messages; false when MergedOrder::MaxLogs are
    // merged already or the log is merged already.
    bool addLog(ChildView& view, const std::string& name);
    // Takes the log's messages out (a log window closing) and tells the handler.
    void removeLog(ChildView& view);
    void setLogRemovedHandler(std::function<void()> handler) { logRemoved = std::move(handler); }
    int32_t getLogCount() const;
    // One past the highest slot a log took.
    int32_t getSlotCount() const { return static_cast<int32_t>(logs.size()); }
    bool hasLog(const ChildView& view) const { return slotOf(view) >= 0; }
    // The log of a slot (MergedOrder::Entry::getLog), nullptr for a free slot.
    ChildView* getLogView(int32_t slot) const;
    const std::string& getLogName(int32_t slot) const;
    // The merged logs' views, in the order added.
    std::vector<ChildView*> getLogViews() const;

    const MergedOrder& getOrder() const { return order; }
    Message* rowMessage(int32_t row) const;

    // Refills the rows from the logs' kept messages.
    void rebuild();
    void openMessageDetails(MessageDetails& details);

    // The switch commands: change and rebuild or scroll, update the frame.
    void setMinimumSeverity(int32_t severity);
    void toggleShowUnknown();
    void toggleFollow();
    void setFollow(bool on);
    void toggleShowTime();
    void toggleShowTimeline();
    void setTextFilter(const TextFilter& filter);
    const LogSwitches& getSwitches() const { return switches; }
    // Without side effects (restoring the workspace); rebuild afterwards.
    void setSwitches(const LogSwitches& chosen) { switches = chosen; }
    void setTextFilterSwitch(const TextFilter& filter);
    const TextFilter& getTextFilter() const { return textFilter; }
    const PatternError& getTextFilterError() const { return textFilterError; }

private:
    struct Log {
        ChildView* view = nullptr;
        std::string name;
        int64_t lastTime = MergedOrder::Earliest; // the order time of its newest message
    };

    int32_t slotOf(const ChildView& view) const;
    bool shows(const Message& message) const;
    void insertRow(int32_t slot, Message* message, int64_t time);
    void messageAdded(ChildView& view, Message* message) override;
    void messageContinued(ChildView& view, Message* message) override;
    void messageDropping(ChildView& view, Message* message) override;
    void messagesEmptying(ChildView& view) override;
    void newsShown(ChildView& view) override;
    void viewClosing(ChildView& view) override;

    MergedList& list;
    LogFrame& frame;
    std::vector<Log> logs; // by slot
    MergedOrder order;
    LogSwitches switches;
    TextFilter textFilter;
    PatternError textFilterError;
    std::unique_ptr<TextMatcher> textMatcher;
    std::function<void()> logRemoved;
};

} // namespace kestrano
