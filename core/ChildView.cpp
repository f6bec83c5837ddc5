#include "core/ChildView.h"

#include "config/ConfigSection.h"
#include "config/FileStatus.h"
#include "core/Document.h"
#include "core/Message.h"
#include "core/MonitorSettings.h"
#include "core/Severity.h"
#include "platform/ListControl.h"
#include "platform/LogFrame.h"
#include "platform/MessageDetails.h"
#include "platform/Notifier.h"

#include <cstring>

namespace kestrano {

ChildView::ChildView(Document& document, const ViewContext& context, ListControl& list, LogFrame& frame)
    : document(document)
    , context(context)
    , list(list)
    , frame(frame)
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
    const bool quiet = suppressNotifications;
    suppressNotifications = false;

    const char* path = document.getPathName().GetText();
    uint64_t size;
    int64_t modified;
    {
        haspel::FileStatus status(path);
        status.Refresh(true, true);
        if (!status.Exists()) {
            lastWriteTime = 0;
            readPosition = UnknownPosition;
            emptyView();
            return;
        }
        modified = status.GetModificationTime();
        size = status.GetSize();
    }
    if (modified == lastWriteTime && size == readPosition)
        return;
    if (size < readPosition || reloadOnChange)
        restartAtTail(size);
    lastWriteTime = modified;

    FileSystem& files = context.files;
    const FileSystem::Handle file = files.openForReading(path);
    if (file == FileSystem::NoHandle) {
        if (!readErrorShown) {
            try {
                cutter.appendPendingText(ReadErrorNotice, static_cast<int32_t>(std::strlen(ReadErrorNotice)));
                cutter.splitPendingText();
                readErrorShown = true;
            } catch (const haspel::Exception&) {
                // out of memory: the notice is tried again at the next poll
            }
        }
        return;
    }

    int32_t highest = Severity::None;
    bool complete;
    try {
        complete = readAppended(file, highest);
    } catch (const haspel::Exception&) {
        complete = false; // what was cut so far stays; the next poll goes on from readPosition
    }
    if (complete && !quiet)
        notify(highest);
    files.close(file);
    if (complete)
        readErrorShown = false;
}

void ChildView::restartAtTail(uint64_t size)
{
    // The setting is compared as the unsigned 32-bit value it always was, so -1 still means "everything".
    const uint64_t initial = static_cast<uint32_t>(context.settings.GetInitiallyReadBytes());
    if (size < initial) {
        readPosition = 0;
        cutter.setSkipFirstLine(false);
    } else {
        readPosition = size - initial;
        cutter.setSkipFirstLine(readPosition > 0);
    }
    // A partial line left from the old content would be glued to the first line read now.
    cutter.discardPendingText();
    emptyView();
}

// Reads in steps of ReadChunkSize while the file is longer than one step, then at most one step more;
// false when the file layer failed.
bool ChildView::readAppended(FileSystem::Handle file, int32_t& highest)
{
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
    char buffer[ReadChunkSize];
    const int32_t got = context.files.readAt(file, buffer, n, readPosition);
    if (got <= 0)
        return got;
    // The cutter takes the text up to a NUL; the rest of the step is skipped, but counted as read.
    cutter.appendPendingText(buffer, got);
    readPosition += static_cast<uint64_t>(got);
    const int32_t severity = cutter.splitPendingText();
    if (severity > highest)
        highest = severity;
    return got;
}

void ChildView::notify(int32_t highest)
{
    if (highest == Severity::None)
        return; // no new message, whatever the thresholds say
    const MonitorSettings& settings = context.settings;
    if (highest >= settings.GetOnTop()) {
        context.notifier.bringMainWindowToFront();
        frame.bringToFront();
    }
    if (highest >= settings.GetPlaySound())
        context.notifier.playAlertSound();
}

int32_t ChildView::splitPendingText()
{
    return cutter.splitPendingText();
}

// ---- Messages and rows ----

bool ChildView::passesFilter(const Message& message) const
{
    const int32_t severity = message.getSeverity();
    return severity == Severity::Unknown ? showUnknown : severity >= minimumSeverity;
}

bool ChildView::mayDropUnseen(int32_t severity) const
{
    // A row it might get would be gone before the list shows it; without one nothing sees it.
    return list.showsRowsLater()
        || (severity == Severity::Unknown ? !showUnknown : severity < minimumSeverity);
}

bool ChildView::appendRowIfShown(Message* message)
{
    if (!passesFilter(*message))
        return false;
    list.appendRow(message);
    return true;
}

void ChildView::showMessage(Message* message)
{
    if (appendRowIfShown(message) && follow)
        list.scrollIntoView(list.rowCount() - 1);
}

void ChildView::trimToKeepLines()
{
    const int32_t keep = context.settings.GetKeepLines();
    haspel::ContainingList<Message>& messages = cutter.getMessages();
    while (messages.GetCount() > keep) {
        if (list.rowCount() > 0 && list.rowMessage(0) == messages.GetHead())
            list.deleteFirstRow();
        delete messages.RemoveFirst();
    }
}

void ChildView::messageContinued(Message* message)
{
    const int32_t rows = list.rowCount();
    if (rows > 0 && list.rowMessage(rows - 1) == message)
        list.refreshRow(rows - 1);
}

void ChildView::emptyView()
{
    list.deleteAllRows(); // first: the rows point at the messages
    cutter.getMessages().Clear();
}

void ChildView::rebuildList()
{
    list.deleteAllRows();
    frame.UpdateToolbarChecks();
    trimToKeepLines();
    for (Message* message = cutter.getMessages().GetHead(); message; message = message->GetNext())
        appendRowIfShown(message);
    // One scroll to the end does what scrolling to every appended row would.
    if (follow && list.rowCount() > 0)
        list.scrollIntoView(list.rowCount() - 1);
    pollLogFile();
}

void ChildView::clearMessages()
{
    emptyView();
}

void ChildView::refreshLog()
{
    lastWriteTime = 0;
    readPosition = UnknownPosition;
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

haspel::ConfigSection& ChildView::workspaceSection()
{
    return context.configRoot.GetSection("Workspace").GetSection(document.getPathName().GetText());
}

void ChildView::storeBool(const char* key, bool value)
{
    workspaceSection().GetParameter(key).SetBool(value);
}

void ChildView::setMinimumSeverity(int32_t severity)
{
    minimumSeverity = severity;
    workspaceSection().GetParameter("MinimumSeverity").SetInt(severity);
    rebuildList();
}

void ChildView::toggleShowUnknown()
{
    showUnknown = !showUnknown;
    storeBool("ShowUnknown", showUnknown);
    rebuildList();
}

void ChildView::toggleFollow()
{
    follow = !follow;
    if (follow && list.rowCount() > 0)
        list.scrollIntoView(list.rowCount() - 1);
    storeBool("Follow", follow);
    frame.UpdateToolbarChecks();
}

void ChildView::toggleReloadOnChange()
{
    reloadOnChange = !reloadOnChange;
    storeBool("ReloadOnChange", reloadOnChange);
    frame.UpdateToolbarChecks();
}

} // namespace kestrano
