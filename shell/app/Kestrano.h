// The application object: owns the monitoring settings (loaded from the configuration when it is
// constructed, stored back when it is destroyed), the open documents, the main window, and the
// program's ways of talking to the desktop. It runs start-up and handles the application's commands.
#pragma once

#include "core/settings/MonitorSettings.h"
#include "core/sources/SourceRegistry.h"
#include "core/view/ChildView.h"
#include "foundation/AppBase.h"
#include "platform/qt/AlertSound.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtNotifier.h"
#include "shell/app/DocTemplate.h"
#include "shell/commands/CommandTarget.h"

#include <memory>
#include <string>
#include <vector>

namespace kestrano {

class ChildFrame;
class FileSystem;
class MainFrame;
class MergedFrame;
class MessageDetails;

class Kestrano : public haspel::AppBase, public CommandTarget {
public:
    // Loads the configuration (AppBase) and the settings of the settings table. Without a sound, file system
    // or message box, the desktop's sound, the real file system and boxes on the screen are used.
    explicit Kestrano(std::unique_ptr<AlertSound> sound = nullptr, FileSystem* files = nullptr,
        MessageBox* boxes = nullptr);
    // Stores the settings; AppBase then saves the configuration file.
    ~Kestrano() override;
    Kestrano(const Kestrano&) = delete;
    Kestrano& operator=(const Kestrano&) = delete;

    // Start-up, with a QApplication in place: main window, workspace, the files to open (each as by the
    // Open command), then the window is shown. Throws what start-up met (the haspel family).
    void InitInstance(const std::vector<std::string>& files);
    // Shut-down: closes every log window without touching the workspace and destroys the main window.
    void ExitInstance();
    // Stores the settings and saves the configuration with the workspace as it stands, while the
    // windows stay: for a session that ends or a display that goes away. False when the save failed.
    bool SaveState();

    DocTemplate& GetDocTemplate() { return *docTemplate; }
    MonitorSettings& GetSettings() { return settings; }
    bool IsStarting() const { return starting; }
    MainFrame* GetMainFrame() const { return mainFrame.get(); }
    // The root section of the configuration (which exists as long as this object).
    haspel::ConfigSection& GetConfigRootSection();

    // Opens a log as a document in its own window, or activates the window that shows it already. A new
    // window takes the stored entry's switches, text filter and place, if given, before the log is read;
    // without one it starts with the defaults.
    ChildFrame* OpenDocumentFile(const char* path, const LogEntry* stored = nullptr);
    // Opens the files a later instance handed over (each as by the Open command) and brings the main
    // window to the front with the launcher's activation token (empty: none).
    void OpenHandedFiles(const std::vector<std::string>& files, const std::string& activationToken = {});
    // Opens every log of the workspace with its stored switches, text filter and place, then the merged
    // windows of those logs.
    void RestoreWorkspace();
    // Opens a window merging the logs of these windows, with the stored entry's switches, text filter
    // and place if given.
    MergedFrame* OpenMergedWindow(const std::vector<ChildFrame*>& logs, const LogEntry* stored = nullptr);
    // Stores every merged window in the workspace but the one leaving (closed by the user).
    void StoreMergedWindows(const MergedFrame* leaving = nullptr);
    // Lets the user choose the font of the log lists (View > Font...).
    void ChooseLogFont();
    // Uses the font (QFont::toString, empty for the desktop's fixed-width font) in every log list and
    // stores it ("View" / "Font").
    void SetLogFont(const QString& description);

    // Takes over the settings chosen in the Options dialog: takes the value, validated, restarts the
    // polling timer with the new interval and rebuilds every open view.
    void applySettings(const MonitorSettings& chosen, bool desktopNotifications);

    // The setting "Notifications" / "Desktop": announce important messages on the desktop.
    bool GetDesktopNotifications() const { return notifier.desktopNotifications(); }
    void SetDesktopNotifications(bool on) { notifier.setDesktopNotifications(on); }

    FileSystem& GetFileSystem() { return files; }
    // What the logs' sources are made with: the file system and the journal files.
    const SourceContext& GetSourceContext() const { return sourceContext; }
    // The journal is read from these files (made full paths) instead of the local journal.
    void SetJournalFiles(const std::vector<std::string>& journalFiles);
    // Every question and error box of the program goes here.
    MessageBox& GetMessageBox() { return messageBox; }
    const ViewContext& GetViewContext() const { return *viewContext; }

private:
    // Its commands: open, the journal, options, the help documents, about.
    void createCommands();
    void OnFileOpen();
    void storeSettings();

    std::unique_ptr<DocTemplate> docTemplate;
    bool starting = true;
    MonitorSettings settings;
    FileSystem& files;
    SourceContext sourceContext;
    std::unique_ptr<AlertSound> sound;
    QtNotifier notifier;
    QtMessageBox boxes;
    MessageBox& messageBox;
    std::unique_ptr<MessageDetails> details;
    std::unique_ptr<ViewContext> viewContext;
    std::unique_ptr<MainFrame> mainFrame;
};

} // namespace kestrano
