#include "core/view/ChildView.h"

#include "config/ConfigSection.h"
#include "config/FileStatus.h"
#include "core/ports/ListControl.h"
#include "core/ports/LogFrame.h"
#include "core/ports/MessageDetails.h"
#include "core/ports/Notifier.h"
#include "core/settings/MonitorSettings.h"
#include "core/text/Message.h"
#include "core/text/Severity.h"
#include "core/view/Document.h"
#include "core/view/MessageFilter.h"
#include "core/view/ViewObserver.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <new>

namespace kestrano {

ChildView::ChildView(Document& document, const ViewContext& context, ListControl& list, LogFrame& frame)
    : document(document)
    , context(context)
    , list(list)
    , frame(frame)
    , entryWriter(context.configRoot, document.getPathName().GetText(), document.isStored())
    , cutter(context.settings, *this)
{
    document.view = this;
}

ChildView::~ChildView()
{
    // An observer may remove itself while told.
    for (ViewObserver* observer : std::vector<ViewObserver*>(observers))
        observer->viewClosing(*this);
    if (document.view == this)
        document.view = nullptr;
}

// ---- Polling the source ----

// A read that used its budget leaves the history's slice to the next poll, so the events that came
// meanwhile are handled between the two.
void ChildView::pollLogFile()
{
    if (historyTurn) {
        historyTurn = false;
        behind = true; // the read goes on
        advanceHistory();
        return;
    }
    readLog();
    if (behind && showsHistory())
        historyTurn = true;
    else
        advanceHistory();
}

void ChildView::readLog()
{
    const struct Settle {
        ChildView& view;
        ~Settle()
        {
            try {
                view.settleUndecided();
            } catch (...) {
                // out of memory: the message stays hidden until the next rebuild judges it again
            }
        }
    } settle {*this};
    const bool quiet = beginPoll();
    LogSource& source = document.getSource();
    const LogSource::Result result = readSource(source);
    switch (result) {
    case LogSource::Result::Unchanged:
        suppressNotifications = quiet; // what comes first is read quietly, also when it comes late
        return;
    case LogSource::Result::Gone:
        positionKnown = false;
        readFailed = false;
        logGone();
        return;
    case LogSource::Result::Failed:
        positionKnown = true;
        noteReadFailure(source.getFailureNotice());
        return;
    case LogSource::Result::Interrupted:
        positionKnown = true; // what was read stays; the next poll goes on, without notifying now
        readFailed = false;
        return;
    case LogSource::Result::Ended:
        ended = true;
        break;
    case LogSource::Result::Behind:
        behind = true;
        suppressNotifications = quiet; // the rest of a quiet read stays quiet
        break;
    case LogSource::Result::Read:
        break;
    }
    positionKnown = true;
    readFailed = false;
    readErrorShown = false;
    if (!quiet)
        notify(sourceHighest);
}

bool ChildView::beginPoll()
{
    const bool quiet = suppressNotifications;
    suppressNotifications = false;
    behind = false;
    announcedSeverity = Severity::None;
    announcedCount = 0;
    sourceHighest = Severity::None;
    return quiet;
}

LogSource::Result ChildView::readSource(LogSource& source)
{
    using Clock = std::chrono::steady_clock;
    const LogSource::ReadRequest request {context.settings,
        Clock::now() + std::chrono::milliseconds(PollBudgetMilliseconds), switches.reloadOnChange};
    // Each source says what running out of memory leaves; any other failure is the poll's.
    const struct Reset {
        int32_t& severity;
        ~Reset() { severity = Severity::None; }
    } reset {entrySeverity};
    return source.read(*this, request);
}

uint64_t ChildView::getReadPosition() const
{
    return positionKnown ? document.getSource().getReadPosition() : UnknownPosition;
}

void ChildView::noteReadFailure(const ShownText& notice)
{
    readFailed = true;
    // Each failure is shown once while it lasts; another one is shown too.
    if (readErrorShown && notice == shownFailure)
        return;
    if (!readErrorNotice) {
        readErrorShown = true;
        return;
    }
    try {
        cutter.addNotice(notice);
        readErrorShown = true;
        shownFailure = notice;
    } catch (const haspel::Exception&) {
        // out of memory: the notice is tried again at the next poll
    } catch (const std::bad_alloc&) { }
}

// ---- What the source hands over ----

void ChildView::startOver(bool skipFirstLine)
{
    // A partial line left from the old content would be glued to the first line read now.
    cutter.discardPendingText();
    cutter.setSkipFirstLine(skipFirstLine);
    // Dates without a year are completed by the file's modification time (else by the time now).
    haspel::FileStatus status(document.getPathName().GetText());
    status.Refresh(false, false);
    const int64_t modified = status.IsRegularFile() ? status.GetModificationTime() : 0;
    cutter.forgetLayout(modified > 0 ? modified : 0);
    logRestarted();
    // The first message read starts at the read position, or after the line it cuts.
    startHistoryAt(document.getSource().getReadPosition(), skipFirstLine);
}

void ChildView::followNewFile(const ShownText& notice, bool skipFirstLine)
{
    if (cutter.getPendingLength() > 0) {
        cutter.appendPendingText("\n", 1); // the old file's last line is complete
        cutText();
    }
    cutter.setSkipFirstLine(skipFirstLine);
    cutter.addNotice(notice);
    // The kept messages still begin in the old file, which the history may find among the rotated
    // ones: the history ends there, and what leaves the kept ones goes on in it.
    if (history) {
        int64_t made = keptDropped;
        for (const Message* message = cutter.getMessages().GetHead(); message; message = message->GetNext())
            made += message->getNotice().id == CoreText::None ? 1 : 0;
        history->noteKeptStart(
            document.getPathName().GetText(), document.getSource().getReadPosition(), skipFirstLine, made);
    }
    startHistory();
}

void ChildView::takeText(const char* bytes, int32_t n)
{
    if (n <= 0)
        return;
    if (!std::memchr(bytes, '\0', static_cast<size_t>(n))) {
        cutter.appendPendingText(bytes, n);
        return;
    }
    // NUL bytes (padding after a crash, stray binary) are dropped; the text around them is kept.
    withoutNul.assign(bytes, static_cast<size_t>(n));
    withoutNul.erase(std::remove(withoutNul.begin(), withoutNul.end(), '\0'), withoutNul.end());
    if (!withoutNul.empty())
        cutter.appendPendingText(withoutNul.data(), static_cast<int32_t>(withoutNul.size()));
}

void ChildView::cutText()
{
    int32_t severity = cutter.splitPendingText();
    // An entry whose source states its level: that level counts, whatever the keywords say.
    if (severity != Severity::None && entrySeverity != Severity::None && context.settings.GetStatedLevel())
        severity = entrySeverity;
    if (severity > sourceHighest)
        sourceHighest = severity;
}

void ChildView::appendEntry(const char* bytes, int32_t n, int32_t severity)
{
    entrySeverity = severity;
    appendText(bytes, n);
    entrySeverity = Severity::None;
}

void ChildView::appendNotice(const ShownText& notice)
{
    cutter.addNotice(notice);
}

void ChildView::notify(int32_t highest)
{
    if (highest == Severity::None)
        return; // no new message, whatever the thresholds say
    const MonitorSettings& settings = context.settings;
    // Neither takes the keyboard: what the user types keeps going where it went.
    if (highest >= settings.GetOnTop()) {
        context.notifier.askForAttention();
        frame.showNews();
        tellObservers([this](ViewObserver& observer) { observer.newsShown(*this); });
    }
    if (highest >= settings.GetNotify())
        context.notifier.announce(
            document.getPathName().GetText(), highest, announcedLine.GetText(), std::max(announcedCount, 1));
    if (highest >= settings.GetPlaySound())
        context.notifier.playAlertSound();
}

// ---- Messages and rows ----

RowFilter ChildView::rowFilter() const
{
    return {{switches.minimumSeverity, switches.showUnknown}, textMatcher.get(), textFilterHides};
}

template <class Call> void ChildView::tellObservers(Call&& call)
{
    for (ViewObserver* observer : observers)
        call(*observer);
}

void ChildView::removeObserver(ViewObserver& observer)
{
    std::erase(observers, &observer);
}

bool ChildView::mayDropUnseen(int32_t severity) const
{
    // The poll's first message of a new highest severity is announced with its first line.
    if (severity > announcedSeverity)
        return false;
    // A row it might get would be gone before the list shows it; without one nothing sees it.
    return list.showsRowsLater()
        || (severity == Severity::Unknown ? !switches.showUnknown : severity < switches.minimumSeverity);
}

void ChildView::messageDroppedUnseen(int32_t severity)
{
    countForAnnouncement(severity);
    ++keptDropped;
}

void ChildView::countForAnnouncement(int32_t severity)
{
    if (severity >= context.settings.GetNotify())
        ++announcedCount;
}

bool ChildView::appendRowIfShown(Message* message)
{
    if (!passesFilter(*message))
        return false;
    list.appendRow(message);
    return true;
}

void ChildView::messageAdded(Message* message)
{
    if (entrySeverity != Severity::None && context.settings.GetStatedLevel()) {
        // The level the source states decides, as a header's does.
        message->setSeverity(entrySeverity);
    } else if (entrySeverity > message->getSeverity()) {
        message->raiseSeverity(entrySeverity);
        if (entrySeverity > sourceHighest)
            sourceHighest = entrySeverity;
    }
    // A new message holds only its first line yet.
    if (message->getSeverity() > announcedSeverity) {
        announcedSeverity = message->getSeverity();
        announcedLine.Assign(message->getText());
    }
    countForAnnouncement(message->getSeverity());
    tellObservers([this, message](ViewObserver& observer) { observer.messageAdded(*this, message); });
    if (textMatcher && textFilterHides) {
        // Hiding the matches: the message is judged with the continuations read in the same poll.
        settleUndecided();
        undecided = message;
        return;
    }
    if (appendRowIfShown(message) && switches.follow)
        list.scrollIntoView(list.rowCount() - 1);
}

void ChildView::settleUndecided()
{
    Message* message = undecided;
    undecided = nullptr;
    if (message && appendRowIfShown(message) && switches.follow)
        list.scrollIntoView(list.rowCount() - 1);
}

void ChildView::messageContinued(Message* message)
{
    tellObservers([this, message](ViewObserver& observer) { observer.messageContinued(*this, message); });
    const int32_t rows = list.rowCount();
    if (rows > 0 && list.rowMessage(rows - 1) == message)
        list.refreshRow(rows - 1);
    else if (textMatcher && !textFilterHides && appendRowIfShown(message) && switches.follow)
        list.scrollIntoView(list.rowCount() - 1); // the text filter may let it pass now
}

void ChildView::messageDropping(Message* message)
{
    tellObservers([this, message](ViewObserver& observer) { observer.messageDropping(*this, message); });
    if (list.rowCount() > 0 && list.rowMessage(0) == message)
        list.deleteFirstRow();
    if (message == undecided)
        undecided = nullptr;
    if (message->getNotice().id == CoreText::None)
        ++keptDropped; // the history's newest message now
}

void ChildView::emptyView()
{
    list.deleteAllRows(); // first: the rows point at the messages
    tellObservers([this](ViewObserver& observer) { observer.messagesEmptying(*this); });
    undecided = nullptr;
    cutter.clearMessages();
}

void ChildView::logGone()
{
    emptyView();
    list.logGone();
}

void ChildView::logRestarted()
{
    emptyView();
    list.logRestarted();
}

void ChildView::rebuildList()
{
    undecided = nullptr; // judged with the others now
    list.deleteAllRows();
    frame.UpdateToolbarChecks();
    cutter.trimToKeepLines(); // the setting may have changed
    for (Message* message = cutter.getMessages().GetHead(); message; message = message->GetNext())
        appendRowIfShown(message);
    // One scroll to the end does what scrolling to every appended row would.
    if (switches.follow && list.rowCount() > 0)
        list.scrollIntoView(list.rowCount() - 1);
    if (showsHistory()) {
        history->setFilter(rowFilter());
        tellHistoryChange();
    }
    pollLogFile();
}

void ChildView::clearMessages()
{
    emptyView();
}

void ChildView::refreshLog()
{
    document.getSource().restart();
    positionKnown = false;
    suppressNotifications = true;
    rebuildList();
}

void ChildView::openMessageDetails()
{
    if (const Message* message = list.selectedMessage())
        context.details.show(*message);
}

// ---- Switches ----

void ChildView::setMinimumSeverity(int32_t severity)
{
    switches.minimumSeverity = severity;
    entryWriter.storeSwitches(switches);
    rebuildList();
}

void ChildView::toggleShowUnknown()
{
    switches.showUnknown = !switches.showUnknown;
    entryWriter.storeSwitches(switches);
    rebuildList();
}

void ChildView::toggleFollow()
{
    switches.follow = !switches.follow;
    if (switches.follow && list.rowCount() > 0)
        list.scrollIntoView(list.rowCount() - 1);
    entryWriter.storeSwitches(switches);
    frame.UpdateToolbarChecks();
}

void ChildView::setFollow(bool on)
{
    if (on != switches.follow)
        toggleFollow();
}

void ChildView::toggleReloadOnChange()
{
    switches.reloadOnChange = !switches.reloadOnChange;
    entryWriter.storeSwitches(switches);
    frame.UpdateToolbarChecks();
}

void ChildView::toggleShowTime()
{
    switches.showTime = !switches.showTime;
    entryWriter.storeSwitches(switches);
    frame.UpdateToolbarChecks();
}

void ChildView::toggleShowTimeline()
{
    switches.showTimeline = !switches.showTimeline;
    entryWriter.storeSwitches(switches);
    frame.UpdateToolbarChecks();
}

// ---- History ----

void ChildView::offerHistory(FileSystem& files)
{
    if (document.hasHistory() && !history)
        history = std::make_unique<HistoryRows>(context.settings, files);
}

void ChildView::startHistoryAt(uint64_t readStart, bool skipFirstLine)
{
    keptDropped = 0;
    if (history)
        history->noteKeptStart(document.getPathName().GetText(), readStart, skipFirstLine, 0);
    startHistory();
}

void ChildView::startHistory()
{
    keptDroppedTold = 0; // the history starts at the kept start: every message dropped since is told
    if (!history)
        return;
    const char* path = document.getPathName().GetText();
    bool chosen = switches.history > 0;
    if (switches.history < 0) {
        haspel::FileStatus status(path);
        status.Refresh(false, false);
        const auto limit = static_cast<uint64_t>(context.settings.GetHistoryUpTo()) << 20;
        chosen = status.IsRegularFile() && static_cast<uint64_t>(status.GetSize()) <= limit;
    }
    if (!chosen) {
        if (history->isOn())
            history->stop();
    } else {
        history->start(path, switches.historyRotated);
        history->setFilter(rowFilter());
    }
    tellHistoryChange();
}

void ChildView::advanceHistory()
{
    if (!showsHistory())
        return;
    history->keptLeft(keptDropped - keptDroppedTold);
    keptDroppedTold = keptDropped;
    using Clock = std::chrono::steady_clock;
    if (history->advance(Clock::now() + std::chrono::milliseconds(HistoryBudgetMilliseconds)))
        behind = true;
    tellHistoryChange();
}

void ChildView::tellHistoryChange()
{
    if (history && history->hasChange())
        list.historyChanged();
}

void ChildView::toggleHistory()
{
    if (!history)
        return;
    switches.history = showsHistory() ? 0 : 1;
    entryWriter.storeSwitches(switches);
    startHistory();
    frame.UpdateToolbarChecks();
    pollLogFile();
}

void ChildView::toggleRotatedHistory()
{
    switches.historyRotated = !switches.historyRotated;
    entryWriter.storeSwitches(switches);
    if (showsHistory()) {
        startHistory();
        pollLogFile();
    }
    frame.UpdateToolbarChecks();
}

void ChildView::setTextFilter(const TextFilter& filter)
{
    setTextFilterSwitch(filter);
    entryWriter.storeTextFilter(filter);
    rebuildList();
}

void ChildView::setTextFilterSwitch(const TextFilter& filter)
{
    textFilter = filter;
    std::unique_ptr<TextMatcher> matcher;
    if (filter.pattern.empty())
        textFilterError = PatternError();
    else
        matcher = TextMatcher::compile({{filter.pattern}, filter.regex, filter.matchCase}, textFilterError);
    setTextMatcherSwitch(std::move(matcher), filter.hides);
}

void ChildView::setTextMatcherSwitch(std::unique_ptr<TextMatcher> matcher, bool hides)
{
    settleUndecided();
    textMatcher = std::move(matcher);
    textFilterHides = hides;
    if (showsHistory())
        history->setFilter(rowFilter()); // it held the matcher replaced
}

} // namespace kestrano
