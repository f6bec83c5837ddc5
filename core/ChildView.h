// The view of one open log: owns its messages and their line cutter, filters them into its list,
// follows its file or other source (pollLogFile) and stores its switches and text filter in the log's
// workspace entry.
#pragma once

#include "config/ConfigSection.h"
#include "core/LineCutter.h"
#include "core/LogSource.h"
#include "core/Severity.h"
#include "core/TextMatcher.h"
#include "core/Utf16Decoder.h"
#include "core/WorkspaceStore.h"
#include "core/ports/FileSystem.h"
#include "foundation/String.h"

#include <cstdint>
#include <memory>
#include <string>

namespace haspel {
class ConfigSection;
}

namespace kestrano {

class Document;
class ListControl;
class LogFrame;
class Message;
class MessageDetails;
class MonitorSettings;
class Notifier;

// What every view shares with the program around it.
struct ViewContext {
    const MonitorSettings& settings;
    haspel::ConfigSection& configRoot; // the view stores its switches in its log's workspace entry
    FileSystem& files;
    Notifier& notifier;
    MessageDetails& details;
};

class ChildView : public LineCutterListener, private LogSink {
public:
    static constexpr int32_t ReadChunkSize = 8192;
    // Larger than any file: the next poll starts over from the tail.
    static constexpr uint64_t UnknownPosition = UINT64_MAX;
    static constexpr const char* ReadErrorNotice = "Error: Cannot read from log file. Still trying...\n";
    // Content a start over reads from its beginning: after a shrink, a replacement or a return of the
    // file everything it holds is new. A longer file is read from its tail, as at opening.
    static constexpr uint64_t NewContentBound = uint64_t(8) << 20;
    // Reading time of one poll; what is left is read by the next one.
    static constexpr int32_t PollBudgetMilliseconds = 25;

    ChildView(Document& document, const ViewContext& context, ListControl& list, LogFrame& frame);
    ~ChildView() override;
    ChildView(const ChildView&) = delete;
    ChildView& operator=(const ChildView&) = delete;

    // Reads what the file gained since the last poll, or what it holds anew when it shrank or was
    // replaced, and notifies.
    void pollLogFile();
    // The last poll ran out of time before it caught up: the next one should come at once.
    bool hasMoreToRead() const { return behind; }
    // The file is there but could not be read when last tried (not a regular file, or opening failed).
    bool getReadFailed() const { return readFailed; }
    // Whether a file that can't be read adds the read-error notice (on unless a reader won't retry).
    void setReadErrorNoticeSwitch(bool on) { readErrorNotice = on; }
    // A stream source reached its end (and the notice was shown); nothing more will come.
    bool hasEnded() const { return ended; }

    void messageAdded(Message* message) override;
    void messageContinued(Message* message) override;
    void messageDropping(Message* message) override;
    bool mayDropUnseen(int32_t severity) const override;

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
    void toggleReloadOnChange();
    // Sets the text filter, stores it in the workspace and rebuilds the list. An invalid expression
    // filters nothing; getTextFilterError tells why.
    void setTextFilter(const TextFilter& filter);

    // The switches, read and set without side effects (toolbar, workspace restore).
    bool getFollow() const { return switches.follow; }
    int32_t getMinimumSeverity() const { return switches.minimumSeverity; }
    bool getReloadOnChange() const { return switches.reloadOnChange; }
    bool getShowUnknown() const { return switches.showUnknown; }
    void setFollowSwitch(bool on) { switches.follow = on; }
    void setMinimumSeveritySwitch(int32_t severity) { switches.minimumSeverity = severity; }
    void setReloadOnChangeSwitch(bool on) { switches.reloadOnChange = on; }
    void setShowUnknownSwitch(bool on) { switches.showUnknown = on; }
    const LogSwitches& getSwitches() const { return switches; }
    void setSwitches(const LogSwitches& chosen) { switches = chosen; }
    const TextFilter& getTextFilter() const { return textFilter; }
    const PatternError& getTextFilterError() const { return textFilterError; }
    void setTextFilterSwitch(const TextFilter& filter);
    // A matcher of the caller's own (kestrano-tail's several patterns); nullptr filters nothing.
    void setTextMatcherSwitch(std::unique_ptr<TextMatcher> matcher, bool hides);

    // The writer of the log's workspace entry, which its window shares.
    LogEntryWriter& getEntryWriter() { return entryWriter; }

    const haspel::ContainingList<Message>& getMessages() const { return cutter.getMessages(); }
    uint64_t getReadPosition() const { return readPosition; }

private:
    bool passesFilter(const Message& message) const;
    bool appendRowIfShown(Message* message);
    void settleUndecided();
    // Empties the list and the messages.
    void emptyView();
    // The log is gone (the file or source vanished) or is read again from its start: emptied, told.
    void logGone();
    void logRestarted();
    void startOver(uint64_t size, bool newContent);
    void noteReadFailure(const char* notice = ReadErrorNotice);
    // The state every poll starts from; true when this poll is to stay quiet (a first read or Refresh).
    bool beginPoll();
    void pollSource(LogSource& source);
    void startOver(bool skipFirstLine) override;
    void appendText(const char* bytes, int32_t n) override;
    void appendEntry(const char* bytes, int32_t n, int32_t severity) override;
    void appendNotice(const char* text) override;
    void cut(int32_t& highest);
    bool readAppended(FileSystem::Handle file, int32_t& highest);
    int32_t readStep(FileSystem::Handle file, int32_t n, int32_t& highest);
    void checkEncoding(FileSystem::Handle file);
    void notify(int32_t highest);

    Document& document;
    ViewContext context;
    ListControl& list;
    LogFrame& frame;
    LogEntryWriter entryWriter;
    LineCutter cutter;

    bool readErrorShown = false;
    int64_t lastWriteTime = 0;
    uint64_t readPosition = UnknownPosition;
    // The identity of the file read from (0, 0: none yet).
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t birth = -1;
    // A poll found the file missing since the reading state was last reset.
    bool fileWasMissing = false;
    bool behind = false;
    bool readFailed = false;
    bool readErrorNotice = true;
    bool ended = false;
    // The file's encoding is looked at once after each start over.
    bool encodingChecked = false;
    Utf16Decoder utf16;
    std::string decoded;
    // While a source's entry is cut: the least severity of its message.
    int32_t entrySeverity = Severity::None;
    // The highest severity a source's read brought.
    int32_t sourceHighest = Severity::None;
    bool suppressNotifications = true;
    LogSwitches switches;
    TextFilter textFilter;
    PatternError textFilterError;
    std::unique_ptr<TextMatcher> textMatcher; // nullptr: no text filter
    bool textFilterHides = false;
    Message* undecided = nullptr; // the newest message, not yet judged by a hiding text filter
    // The first message of the poll with the highest severity so far, for the announcement.
    int32_t announcedSeverity = Severity::None;
    haspel::String announcedLine;
};

} // namespace kestrano
