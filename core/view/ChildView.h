// The view of one open log: polls its document's source (pollLogFile), cuts what it reads into messages,
// filters them into its list and stores its switches and text filter in the log's workspace entry.
#pragma once

#include "config/ConfigSection.h"
#include "core/search/TextMatcher.h"
#include "core/settings/WorkspaceStore.h"
#include "core/sources/LogSource.h"
#include "core/text/LineCutter.h"
#include "core/text/Severity.h"
#include "core/view/HistoryRows.h"
#include "foundation/String.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace haspel {
class ConfigSection;
}

namespace kestrano {

class Document;
class FileSystem;
class ListControl;
class LogFrame;
class Message;
class MessageDetails;
class MonitorSettings;
class Notifier;
class ViewObserver;

// What every view shares with the program around it.
struct ViewContext {
    const MonitorSettings& settings;
    haspel::ConfigSection& configRoot; // the view stores its switches in its log's workspace entry
    Notifier& notifier;
    MessageDetails& details;
};

class ChildView : public LineCutterListener, private LogSink {
public:
    // The read position of a log not read yet, or missing.
    static constexpr uint64_t UnknownPosition = LogSource::UnknownPosition;
    // Reading time of one poll; what is left is read by the next one.
    static constexpr int32_t PollBudgetMilliseconds = 25;
    // Indexing time of the history after a poll's reading.
    static constexpr int32_t HistoryBudgetMilliseconds = 20;

    ChildView(Document& document, const ViewContext& context, ListControl& list, LogFrame& frame);
    ~ChildView() override;
    ChildView(const ChildView&) = delete;
    ChildView& operator=(const ChildView&) = delete;

    // Reads what the source brought since the last poll (a file: what it gained, or what it holds anew
    // when it shrank or was replaced), and notifies.
    void pollLogFile();
    // The last poll ran out of time before it caught up: the next one should come at once.
    bool hasMoreToRead() const { return behind; }
    // The log is there but could not be read when last tried (a file: not a regular file, or opening
    // failed).
    bool getReadFailed() const { return readFailed; }
    // Whether a log that can't be read adds the read-error notice (on unless a reader won't retry).
    void setReadErrorNoticeSwitch(bool on) { readErrorNotice = on; }
    // A stream source reached its end (and the notice was shown); nothing more will come.
    bool hasEnded() const { return ended; }

    void messageAdded(Message* message) override;
    void messageContinued(Message* message) override;
    void messageDropping(Message* message) override;
    bool mayDropUnseen(int32_t severity) const override;
    void messageDroppedUnseen(int32_t severity) override;

    // Refills the list from the kept messages, then polls.
    void rebuildList();
    void clearMessages();
    // Forgets the reading state and reloads the tail without notifying.
    void refreshLog();
    void openMessageDetails();

    // The switch commands: change, store in the workspace, update the frame.
    void setMinimumSeverity(int32_t severity);
    void toggleShowUnknown();
    void toggleFollow();
    // Follow on or off as toggleFollow does it; nothing when it already is.
    void setFollow(bool on);
    void toggleReloadOnChange();
    void toggleShowTime();
    void toggleShowTimeline();
    // Sets the text filter, stores it in the workspace and rebuilds the list. An invalid expression
    // filters nothing; getTextFilterError tells why.
    void setTextFilter(const TextFilter& filter);

    // The switches, read and set without side effects (toolbar, workspace restore).
    bool getFollow() const { return switches.follow; }
    int32_t getMinimumSeverity() const { return switches.minimumSeverity; }
    bool getReloadOnChange() const { return switches.reloadOnChange; }
    bool getShowUnknown() const { return switches.showUnknown; }
    bool getShowTime() const { return switches.showTime; }
    bool getShowTimeline() const { return switches.showTimeline; }
    void setMinimumSeveritySwitch(int32_t severity) { switches.minimumSeverity = severity; }
    void setShowUnknownSwitch(bool on) { switches.showUnknown = on; }
    const LogSwitches& getSwitches() const { return switches; }
    void setSwitches(const LogSwitches& chosen) { switches = chosen; }
    const TextFilter& getTextFilter() const { return textFilter; }
    const PatternError& getTextFilterError() const { return textFilterError; }
    void setTextFilterSwitch(const TextFilter& filter);
    // A matcher of the caller's own (kestrano-tail's several patterns); nullptr filters nothing.
    void setTextMatcherSwitch(std::unique_ptr<TextMatcher> matcher, bool hides);

    // Lets a plain file show its history (the desktop's windows; kestrano-tail reads whole files).
    void offerHistory(FileSystem& files);
    bool offersHistory() const { return history != nullptr; }
    // Whether the history is shown: as the History switch says, or by default for a file up to the
    // Options' size.
    bool showsHistory() const { return history && history->isOn(); }
    // The history's rows, which the list shows before the kept ones; nullptr unless offered.
    HistoryRows* getHistoryRows() const { return history.get(); }
    void toggleHistory();
    void toggleRotatedHistory();

    // The writer of the log's workspace entry, which its window shares.
    LogEntryWriter& getEntryWriter() { return entryWriter; }

    // Observers are told of every change of the kept messages until removed or the view goes.
    void addObserver(ViewObserver& observer) { observers.push_back(&observer); }
    void removeObserver(ViewObserver& observer);

    const haspel::ContainingList<Message>& getMessages() const { return cutter.getMessages(); }
    // How far the log was read (a file's offset, 0 for other sources); UnknownPosition before the first
    // read, after a refresh and while the log is missing.
    uint64_t getReadPosition() const;

private:
    void readLog();
    RowFilter rowFilter() const;
    bool passesFilter(const Message& message) const { return rowFilter().passes(message); }
    // Starts the history over the log (and its rotated files when chosen) as the switches say, or
    // stops it; startHistoryAt notes first where the kept messages start now.
    void startHistory();
    void startHistoryAt(uint64_t readStart, bool skipFirstLine);
    void advanceHistory();
    // Tells the list what the history's rows did.
    void tellHistoryChange();
    template <class Call> void tellObservers(Call&& call);
    bool appendRowIfShown(Message* message);
    // Counts a new message of the severity for the poll's announcement.
    void countForAnnouncement(int32_t severity);
    void settleUndecided();
    // Empties the list and the messages.
    void emptyView();
    // The log is gone (the file or source vanished) or is read again from its start: emptied, told.
    void logGone();
    void logRestarted();
    void noteReadFailure(const ShownText& notice);
    // The state every poll starts from; true when this poll is to stay quiet (a first read or Refresh).
    bool beginPoll();
    LogSource::Result readSource(LogSource& source);
    void startOver(bool skipFirstLine) override;
    void followNewFile(const ShownText& notice, bool skipFirstLine) override;
    void takeText(const char* bytes, int32_t n) override;
    void cutText() override;
    void appendEntry(const char* bytes, int32_t n, int32_t severity) override;
    void appendNotice(const ShownText& notice) override;
    void notify(int32_t highest);

    Document& document;
    ViewContext context;
    ListControl& list;
    LogFrame& frame;
    LogEntryWriter entryWriter;
    LineCutter cutter;

    bool readErrorShown = false;
    ShownText shownFailure; // the failure notice shown last
    // The source was read (or found unreadable) since it was last missing or refreshed.
    bool positionKnown = false;
    bool behind = false;
    bool historyTurn = false; // the next poll advances the history instead of reading
    bool readFailed = false;
    bool readErrorNotice = true;
    bool ended = false;
    std::string withoutNul; // text taken, its NUL bytes dropped
    // While a source's entry is cut: the least severity of its message.
    int32_t entrySeverity = Severity::None;
    // The highest severity the poll's read brought.
    int32_t sourceHighest = Severity::None;
    bool suppressNotifications = true;
    LogSwitches switches;
    TextFilter textFilter;
    PatternError textFilterError;
    std::unique_ptr<TextMatcher> textMatcher; // nullptr: no text filter
    bool textFilterHides = false;
    Message* undecided = nullptr; // the newest message, not yet judged by a hiding text filter
    std::unique_ptr<HistoryRows> history; // nullptr: not offered
    // Messages that left the kept ones since the log was started over, and those the history knows of.
    int64_t keptDropped = 0;
    int64_t keptDroppedTold = 0;
    // The first message of the poll with the highest severity so far, for the announcement.
    int32_t announcedSeverity = Severity::None;
    haspel::String announcedLine;
    // The poll's messages at or above the notification threshold.
    int32_t announcedCount = 0;
    std::vector<ViewObserver*> observers;
};

} // namespace kestrano
