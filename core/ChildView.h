// The view of one open log: owns its messages and their line cutter, filters them into its list,
// follows the file (pollLogFile) and keeps its four switches in the workspace section of the log.
#pragma once

#include "core/LineCutter.h"
#include "platform/FileSystem.h"

#include <cstdint>

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
    haspel::ConfigSection& configRoot; // the view writes "Workspace" / full path / switch
    FileSystem& files;
    Notifier& notifier;
    MessageDetails& details;
};

class ChildView : public LineCutterListener {
public:
    static constexpr int32_t ReadChunkSize = 8192;
    // Larger than any file: the next poll starts over from the tail.
    static constexpr uint64_t UnknownPosition = UINT64_MAX;
    static constexpr const char* ReadErrorNotice = "Error: Cannot read from log file. Still trying...\n";

    ChildView(Document& document, const ViewContext& context, ListControl& list, LogFrame& frame);
    ~ChildView() override;
    ChildView(const ChildView&) = delete;
    ChildView& operator=(const ChildView&) = delete;

    // Reads what the file gained since the last poll, or its tail when it shrank, and notifies.
    void pollLogFile();
    // Cuts the pending text into messages; the highest new severity or Severity::None.
    int32_t splitPendingText();

    void showMessage(Message* message) override;
    void trimToKeepLines() override;
    void messageContinued(Message* message) override;
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

    // The switches, read and set without side effects (toolbar, workspace restore).
    bool getFollow() const { return follow; }
    int32_t getMinimumSeverity() const { return minimumSeverity; }
    bool getReloadOnChange() const { return reloadOnChange; }
    bool getShowUnknown() const { return showUnknown; }
    void setFollowSwitch(bool on) { follow = on; }
    void setMinimumSeveritySwitch(int32_t severity) { minimumSeverity = severity; }
    void setReloadOnChangeSwitch(bool on) { reloadOnChange = on; }
    void setShowUnknownSwitch(bool on) { showUnknown = on; }

    Document& getDocument() const { return document; }
    haspel::ContainingList<Message>& getMessages() { return cutter.getMessages(); }
    uint64_t getReadPosition() const { return readPosition; }

private:
    bool passesFilter(const Message& message) const;
    bool appendRowIfShown(Message* message);
    void emptyView();
    void restartAtTail(uint64_t size);
    bool readAppended(FileSystem::Handle file, int32_t& highest);
    int32_t readStep(FileSystem::Handle file, int32_t n, int32_t& highest);
    void notify(int32_t highest);
    haspel::ConfigSection& workspaceSection();
    void storeBool(const char* key, bool value);

    Document& document;
    ViewContext context;
    ListControl& list;
    LogFrame& frame;
    LineCutter cutter;

    bool readErrorShown = false;
    int64_t lastWriteTime = 0;
    uint64_t readPosition = UnknownPosition;
    bool suppressNotifications = true;
    bool follow = true;
    int32_t minimumSeverity = 0;
    bool reloadOnChange = false;
    bool showUnknown = true;
};

} // namespace kestrano
