#include "core/ChildView.h"

#include "config/ConfigSection.h"
#include "config/FileStatus.h"
#include "core/Document.h"
#include "core/Message.h"
#include "core/MonitorSettings.h"
#include "core/Severity.h"
#include "core/ports/ListControl.h"
#include "core/ports/LogFrame.h"
#include "core/ports/MessageDetails.h"
#include "core/ports/Notifier.h"

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
    if (document.view == this)
        document.view = nullptr;
}

// ---- Following the file ----

void ChildView::pollLogFile()
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
    if (LogSource* source = document.getSource()) {
        pollSource(*source);
        return;
    }
    const bool quiet = beginPoll();

    const char* path = document.getPathName().GetText();
    uint64_t size;
    int64_t modified;
    uint64_t foundDevice;
    uint64_t foundInode;
    int64_t foundBirth;
    bool regular;
    {
        haspel::FileStatus status(path);
        status.Refresh(true, true);
        if (!status.Exists()) {
            lastWriteTime = 0;
            readPosition = UnknownPosition;
            device = inode = 0;
            birth = -1;
            fileWasMissing = true;
            readFailed = false;
            logGone();
            return;
        }
        modified = status.GetModificationTime();
        size = status.GetSize();
        foundDevice = status.GetDevice();
        foundInode = status.GetInode();
        foundBirth = status.GetBirth();
        regular = status.IsRegularFile();
    }
    const bool replaced = (device != 0 || inode != 0)
        && (foundDevice != device || foundInode != inode || foundBirth != birth);
    if (!replaced && modified == lastWriteTime && size == readPosition)
        return;
    if (switches.reloadOnChange)
        startOver(size, false);
    else if (readPosition == UnknownPosition)
        startOver(size, fileWasMissing);
    else if (replaced || size < readPosition)
        startOver(size, true);
    lastWriteTime = modified;
    device = foundDevice;
    inode = foundInode;
    birth = foundBirth;

    // Opening a FIFO or device could block or disturb its writer: only regular files are opened.
    FileSystem& files = context.files;
    const FileSystem::Handle file = regular ? files.openForReading(path) : FileSystem::NoHandle;
    if (file == FileSystem::NoHandle) {
        noteReadFailure();
        return;
    }
    readFailed = false;
    struct Closer {
        FileSystem& files;
        FileSystem::Handle file;
        ~Closer() { files.close(file); }
    } closer {files, file};

    int32_t highest = Severity::None;
    bool complete;
    try {
        complete = readAppended(file, highest);
    } catch (const haspel::Exception&) {
        complete = false; // what was cut so far stays; the next poll goes on from readPosition
    } catch (const std::bad_alloc&) {
        complete = false; // from the list control
    }
    if (behind)
        suppressNotifications = quiet; // the rest of a quiet read stays quiet
    if (complete) {
        readErrorShown = false;
        if (!quiet)
            notify(highest);
    }
}

// Everything the file holds is new (newContent, up to NewContentBound) or only its tail is read.
void ChildView::startOver(uint64_t size, bool newContent)
{
    // A negative setting (-1) means the whole file.
    const int32_t setting = context.settings.GetInitiallyReadBytes();
    const uint64_t initial = setting < 0 ? UINT64_MAX : static_cast<uint64_t>(setting);
    if (size < initial || (newContent && size <= NewContentBound)) {
        readPosition = 0;
        cutter.setSkipFirstLine(false);
    } else {
        readPosition = size - initial;
        cutter.setSkipFirstLine(readPosition > 0);
    }
    fileWasMissing = false;
    encodingChecked = false;
    // A partial line left from the old content would be glued to the first line read now.
    cutter.discardPendingText();
    logRestarted();
}

void ChildView::noteReadFailure(const char* notice)
{
    readFailed = true;
    if (readErrorShown)
        return;
    if (!readErrorNotice) {
        readErrorShown = true;
        return;
    }
    try {
        cutter.appendPendingText(notice, static_cast<int32_t>(std::strlen(notice)));
        cutter.splitPendingText();
        readErrorShown = true;
    } catch (const haspel::Exception&) {
        // out of memory: the notice is tried again at the next poll
    } catch (const std::bad_alloc&) { }
}

// Reads in steps of ReadChunkSize while the file is longer than one step, then at most one step more;
// a poll that runs out of time stops after a step and leaves the rest for the next one. False when the
// file layer failed.
bool ChildView::readAppended(FileSystem::Handle file, int32_t& highest)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(PollBudgetMilliseconds);
    FileSystem& files = context.files;
    uint64_t length;
    while (true) {
        if (!files.length(file, length))
            return false;
        if (length <= readPosition + ReadChunkSize)
            break;
        // The whole steps of the length known, before it is asked again.
        while (length > readPosition + ReadChunkSize) {
            const int32_t got = readStep(file, ReadChunkSize, highest);
            if (got <= 0)
                return got == 0; // 0: shrank while being read; the next poll starts over
            if (Clock::now() >= deadline) {
                behind = true;
                return true;
            }
        }
    }
    if (!files.length(file, length))
        return false;
    if (length > readPosition) {
        // At most one step; what was appended meanwhile waits for the next poll.
        const uint64_t rest = length - readPosition;
        const int32_t n = rest < ReadChunkSize ? static_cast<int32_t>(rest) : ReadChunkSize;
        return readStep(file, n, highest) >= 0;
    }
    return true;
}

// One step of at most n bytes: the number of bytes read, 0 at the end, -1 when the file layer failed.
int32_t ChildView::readStep(FileSystem::Handle file, int32_t n, int32_t& highest)
{
    if (!encodingChecked)
        checkEncoding(file);
    char buffer[ReadChunkSize];
    const int32_t got = context.files.readAt(file, buffer, n, readPosition);
    if (got <= 0)
        return got;
    const char* text = buffer;
    int32_t kept = got;
    if (utf16.getOrder() != Utf16Decoder::Order::None) {
        decoded.clear();
        utf16.decode(buffer, got, decoded);
        text = decoded.data();
        kept = static_cast<int32_t>(decoded.size());
    } else if (char* nul = static_cast<char*>(std::memchr(buffer, '\0', static_cast<size_t>(got)))) {
        // NUL bytes (padding after a crash, stray binary) are dropped; the text around them is kept.
        kept = static_cast<int32_t>(std::remove(nul, buffer + got, '\0') - buffer);
    }
    if (kept > 0)
        cutter.appendPendingText(text, kept);
    readPosition += static_cast<uint64_t>(got);
    const int32_t severity = cutter.splitPendingText();
    if (severity > highest)
        highest = severity;
    return got;
}

// ---- Following another source ----

bool ChildView::beginPoll()
{
    const bool quiet = suppressNotifications;
    suppressNotifications = false;
    behind = false;
    announcedSeverity = Severity::None;
    return quiet;
}

void ChildView::pollSource(LogSource& source)
{
    const bool quiet = beginPoll();
    sourceHighest = Severity::None;
    using Clock = std::chrono::steady_clock;
    LogSource::Result result;
    try {
        result = source.read(
            *this, context.settings, Clock::now() + std::chrono::milliseconds(PollBudgetMilliseconds));
    } catch (const haspel::Exception&) {
        result = LogSource::Result::Behind; // out of memory: what was cut stays, the source goes on
    } catch (const std::bad_alloc&) {
        result = LogSource::Result::Behind;
    }
    entrySeverity = Severity::None;
    switch (result) {
    case LogSource::Result::Unchanged:
        suppressNotifications = quiet; // what comes first is read quietly, also when it comes late
        return;
    case LogSource::Result::Gone:
        readPosition = UnknownPosition;
        readFailed = false;
        logGone();
        return;
    case LogSource::Result::Failed: {
        readPosition = 0;
        const std::string notice
            = "Error: Cannot read from log file (" + source.getFailureReason() + "). Still trying...\n";
        noteReadFailure(notice.c_str());
        return;
    }
    case LogSource::Result::Ended:
        ended = true;
        break;
    case LogSource::Result::Behind:
        behind = true;
        suppressNotifications = quiet;
        break;
    case LogSource::Result::Read:
        break;
    }
    readPosition = 0;
    readFailed = false;
    readErrorShown = false;
    if (!quiet)
        notify(sourceHighest);
}

void ChildView::startOver(bool skipFirstLine)
{
    readPosition = 0;
    cutter.discardPendingText();
    cutter.setSkipFirstLine(skipFirstLine);
    logRestarted();
}

void ChildView::cut(int32_t& highest)
{
    const int32_t severity = cutter.splitPendingText();
    if (severity > highest)
        highest = severity;
}

void ChildView::appendText(const char* bytes, int32_t n)
{
    // NUL bytes are dropped, as in a file; the text around them is kept.
    while (n > 0) {
        const char* nul = static_cast<const char*>(std::memchr(bytes, '\0', static_cast<size_t>(n)));
        const int32_t piece = nul ? static_cast<int32_t>(nul - bytes) : n;
        cutter.appendPendingText(bytes, piece);
        bytes += piece + (nul ? 1 : 0);
        n -= piece + (nul ? 1 : 0);
    }
    cut(sourceHighest);
}

void ChildView::appendEntry(const char* bytes, int32_t n, int32_t severity)
{
    entrySeverity = severity;
    appendText(bytes, n);
    entrySeverity = Severity::None;
}

void ChildView::appendNotice(const char* text)
{
    cutter.appendPendingText(text, static_cast<int32_t>(std::strlen(text)));
    int32_t ignored = Severity::None;
    cut(ignored); // a notice of the program's own never notifies
}

// A log that starts with a UTF-16 byte-order mark is decoded from UTF-16: reading starts after the mark
// or at the start of a code unit.
void ChildView::checkEncoding(FileSystem::Handle file)
{
    encodingChecked = true;
    char mark[2];
    const int32_t got = context.files.readAt(file, mark, 2, 0);
    utf16.start(Utf16Decoder::orderOfMark(mark, got));
    if (utf16.getOrder() == Utf16Decoder::Order::None)
        return;
    if (readPosition < 2)
        readPosition = 2;
    else if (readPosition % 2 != 0)
        ++readPosition;
}

void ChildView::notify(int32_t highest)
{
    if (highest == Severity::None)
        return; // no new message, whatever the thresholds say
    const MonitorSettings& settings = context.settings;
    if (highest >= settings.GetOnTop()) {
        context.notifier.announce(document.getPathName().GetText(), highest, announcedLine.GetText());
        context.notifier.bringMainWindowToFront();
        frame.bringToFront();
    }
    if (highest >= settings.GetPlaySound())
        context.notifier.playAlertSound();
}

// ---- Messages and rows ----

bool ChildView::passesFilter(const Message& message) const
{
    const int32_t severity = message.getSeverity();
    if (!(severity == Severity::Unknown ? switches.showUnknown : severity >= switches.minimumSeverity))
        return false;
    return !textMatcher || textMatcher->matches(message) != textFilterHides;
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

bool ChildView::appendRowIfShown(Message* message)
{
    if (!passesFilter(*message))
        return false;
    list.appendRow(message);
    return true;
}

void ChildView::messageAdded(Message* message)
{
    if (entrySeverity > message->getSeverity()) {
        message->raiseSeverity(entrySeverity);
        if (entrySeverity > sourceHighest)
            sourceHighest = entrySeverity;
    }
    // A new message holds only its first line yet.
    if (message->getSeverity() > announcedSeverity) {
        announcedSeverity = message->getSeverity();
        announcedLine.Assign(message->getText());
    }
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
    const int32_t rows = list.rowCount();
    if (rows > 0 && list.rowMessage(rows - 1) == message)
        list.refreshRow(rows - 1);
    else if (textMatcher && !textFilterHides && appendRowIfShown(message) && switches.follow)
        list.scrollIntoView(list.rowCount() - 1); // the text filter may let it pass now
}

void ChildView::messageDropping(Message* message)
{
    if (list.rowCount() > 0 && list.rowMessage(0) == message)
        list.deleteFirstRow();
    if (message == undecided)
        undecided = nullptr;
}

void ChildView::emptyView()
{
    list.deleteAllRows(); // first: the rows point at the messages
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
    pollLogFile();
}

void ChildView::clearMessages()
{
    emptyView();
}

void ChildView::refreshLog()
{
    if (LogSource* source = document.getSource())
        source->restart();
    lastWriteTime = 0;
    readPosition = UnknownPosition;
    fileWasMissing = false;
    suppressNotifications = true;
    rebuildList();
}

void ChildView::openMessageDetails()
{
    const int32_t row = list.selectedRow();
    if (row < 0)
        return;
    if (Message* message = list.rowMessage(row))
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

void ChildView::toggleReloadOnChange()
{
    switches.reloadOnChange = !switches.reloadOnChange;
    entryWriter.storeSwitches(switches);
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
}

} // namespace kestrano
