#include "shell/app/Kestrano.h"

#include "config/Config.h"
#include "core/settings/RecentRemoteLogs.h"
#include "core/settings/SettingsStore.h"
#include "core/settings/SettingsTable.h"
#include "core/settings/WorkspaceStore.h"
#include "core/sources/FullPath.h"
#include "core/sources/JournalSource.h"
#include "core/sources/RemoteName.h"
#include "core/sources/SourceRegistry.h"
#include "core/view/Document.h"
#include "platform/ChildProcess.h"
#include "platform/LinuxFileSystem.h"
#include "platform/qt/CanberraAlertSound.h"
#include "platform/qt/LogFont.h"
#include "platform/qt/LogList.h"
#include "platform/qt/WindowRestore.h"
#include "platform/qt/resources/Resources.h"
#include "shell/app/ErrorGuard.h"
#include "shell/app/HelpDocuments.h"
#include "shell/app/SettingsProblem.h"
#include "shell/dialogs/AboutDialog.h"
#include "shell/dialogs/JournalDialog.h"
#include "shell/dialogs/MessageDialog.h"
#include "shell/dialogs/OptionsDialog.h"
#include "shell/dialogs/RemoteLogDialog.h"
#include "shell/windows/ChildFrame.h"
#include "shell/windows/MainFrame.h"
#include "shell/windows/MergedFrame.h"
#include "shell/windows/WindowArrangement.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QMdiArea>
#include <QScreen>
#include <QUrl>

#include <string>

const char* haspel::GetApplicationName()
{
    return kApplicationName;
}

namespace kestrano {

Kestrano::Kestrano(std::unique_ptr<AlertSound> alertSound, FileSystem* fileSystem, MessageBox* messageBoxes)
    : files(fileSystem ? *fileSystem : systemFileSystem())
    , sourceContext {files, {}, &systemProcessStarter()}
    , sound(alertSound ? std::move(alertSound) : std::make_unique<CanberraAlertSound>())
    , notifier(*sound, QString::fromLatin1(DesktopFileId))
    , messageBox(messageBoxes ? *messageBoxes : boxes)
    , details(std::make_unique<MessageDialogLauncher>(boxes))
{
    loadMonitorSettings(settings, GetConfigRootSection());
    notifier.setDesktopNotifications(
        loadFlag(GetConfigRootSection(), SettingsTable::rows[SettingsTable::DesktopNotifications]));
    viewContext
        = std::make_unique<ViewContext>(ViewContext {settings, GetConfigRootSection(), notifier, *details});
    createCommands();
}

Kestrano::~Kestrano()
{
    ExitInstance();
    storeSettings();
}

void Kestrano::storeSettings()
{
    if (GetConfigRoot()) {
        storeMonitorSettings(settings, GetConfigRootSection());
        storeFlag(GetConfigRootSection(), SettingsTable::rows[SettingsTable::DesktopNotifications],
            GetDesktopNotifications());
    }
}

bool Kestrano::SaveState()
{
    storeSettings();
    return SaveConfiguration();
}

haspel::ConfigSection& Kestrano::GetConfigRootSection()
{
    return *GetConfigRoot();
}

void Kestrano::InitInstance(const std::vector<std::string>& files)
{
    const bool firstStart = !hasMainWindowPlace(GetConfigRootSection());
    MainWindowPlace mainWindow = loadMainWindowPlace(GetConfigRootSection());
    if (const QScreen* screen = QGuiApplication::primaryScreen(); firstStart && screen) {
        const QRect place = firstStartPlace(screen->availableGeometry());
        mainWindow.place = {place.x(), place.y(), place.width(), place.height()};
    }
    setLogFont(QString::fromLocal8Bit(
        loadText(GetConfigRootSection(), SettingsTable::rows[SettingsTable::LogFont])));
    docTemplate = std::make_unique<DocTemplate>();
    mainFrame = std::make_unique<MainFrame>(*this, mainWindow.place);
    boxes.setOwner(mainFrame.get());
    notifier.setMainWindow(mainFrame.get());
    notifier.setActivationHandler([this](const char* path, const QByteArray& token) {
        runGuarded(mainFrame.get(), [this, path, &token] {
            if (ChildFrame* frame = docTemplate->findFrame(path)) {
                bringWindowToFront(*mainFrame, token);
                frame->bringToFront();
            }
        });
    });

    RestoreWorkspace();
    std::vector<ChildFrame*> named;
    for (const std::string& file : files)
        named.push_back(OpenDocumentFile(file.c_str()));

    if (mainWindow.maximized)
        mainFrame->showMaximized();
    else
        mainFrame->show();
    mainFrame->repaint();
    mainFrame->raise();
    mainFrame->activateWindow();
    if (GetLoadProblem())
        messageBox.showError(ShownText {CoreText::None, settingsProblemText(GetLoadProblem()).toStdString()});
    starting = false;
    // A log named on the command line joins the workspace like one opened later; its window was
    // placed while starting, which stores nothing.
    for (ChildFrame* frame : named)
        if (!hasLogEntry(GetConfigRootSection(), frame->document().getPathName().GetText()))
            frame->storePlace();
}

void Kestrano::ExitInstance()
{
    if (!mainFrame)
        return;
    mainFrame->close();
    boxes.setOwner(nullptr);
    notifier.setMainWindow(nullptr);
    mainFrame.reset();
}

ChildFrame* Kestrano::OpenDocumentFile(const char* path, const LogEntry* stored)
{
    const haspel::String fullPath = logName(path);
    if (ChildFrame* open = docTemplate->findFrame(fullPath.GetText())) {
        open->bringToFront();
        return open;
    }
    auto* frame = new ChildFrame(*this, *mainFrame, fullPath.GetText());
    docTemplate->add(frame);
    if (isRemoteName(fullPath.GetText()))
        noteRecentRemoteLog(GetConfigRootSection(), fullPath.GetText());
    mainFrame->addChild(frame);
    if (stored)
        frame->restore(*stored);
    frame->show();
    mainFrame->mdiArea().setActiveSubWindow(frame);
    frame->view().rebuildList();
    if (stored)
        frame->restoreWindowState(stored->window);
    return frame;
}

void Kestrano::OpenHandedFiles(const std::vector<std::string>& files, const std::string& activationToken)
{
    if (!mainFrame)
        return;
    for (const std::string& file : files)
        OpenDocumentFile(file.c_str());
    bringWindowToFront(*mainFrame, QByteArray::fromStdString(activationToken));
}

void Kestrano::RestoreWorkspace()
{
    // Each window as it was left, not maximised because a maximised one was active before.
    QMdiArea& area = mainFrame->mdiArea();
    area.setOption(QMdiArea::DontMaximizeSubWindowOnActivation, true);
    ChildFrame* active = nullptr;
    for (const std::string& name : storedLogNames(GetConfigRootSection())) {
        const LogEntry entry = loadLogEntry(logEntrySection(GetConfigRootSection(), name.c_str()));
        ChildFrame* frame = OpenDocumentFile(name.c_str(), &entry);
        if (entry.window.active)
            active = frame;
    }
    for (const MergedWindowEntry& merged : loadMergedWindows(GetConfigRootSection())) {
        std::vector<ChildFrame*> logs;
        for (const std::string& name : merged.logs)
            if (ChildFrame* frame = docTemplate->findFrame(name.c_str()))
                logs.push_back(frame);
        if (!logs.empty())
            OpenMergedWindow(logs, &merged.entry);
    }
    if (active)
        area.setActiveSubWindow(active);
    area.setOption(QMdiArea::DontMaximizeSubWindowOnActivation, false);
}

MergedFrame* Kestrano::OpenMergedWindow(const std::vector<ChildFrame*>& logs, const LogEntry* stored)
{
    auto* frame = new MergedFrame(*this, *mainFrame);
    mainFrame->addChild(frame);
    for (ChildFrame* log : logs)
        frame->addLog(*log);
    if (stored)
        frame->restore(*stored);
    frame->show();
    mainFrame->mdiArea().setActiveSubWindow(frame);
    StoreMergedWindows();
    return frame;
}

void Kestrano::StoreMergedWindows(const MergedFrame* leaving)
{
    if (!mainFrame || starting || mainFrame->isClosing())
        return;
    std::vector<MergedWindowEntry> windows;
    for (MergedFrame* merged : mainFrame->mergedFrames())
        if (merged != leaving)
            if (MergedWindowEntry entry = merged->entry(); !entry.logs.empty())
                windows.push_back(std::move(entry));
    storeMergedWindows(GetConfigRootSection(), windows);
}

void Kestrano::SetJournalFiles(const std::vector<std::string>& journalFiles)
{
    sourceContext.journalFiles.clear();
    for (const std::string& file : journalFiles)
        sourceContext.journalFiles.emplace_back(makeFullPath(file.c_str()).GetText());
}

void Kestrano::applySettings(const MonitorSettings& chosen, bool desktopNotifications)
{
    settings = chosen;
    settings.validate();
    mainFrame->RestartUpdateTimer();
    SetDesktopNotifications(desktopNotifications);
    docTemplate->forEachFrame([this](ChildFrame& frame) {
        frame.list().setQuietGap(settings.GetQuietGap());
        frame.view().rebuildList();
    });
    for (MergedFrame* merged : mainFrame->mergedFrames())
        merged->list().setQuietGap(settings.GetQuietGap());
}

void Kestrano::ChooseLogFont()
{
    bool chosen = false;
    const QFont font = QFontDialog::getFont(
        &chosen, logFont(), mainFrame.get(), QCoreApplication::translate("Kestrano", "Font"));
    if (chosen)
        SetLogFont(font.toString());
}

void Kestrano::SetLogFont(const QString& description)
{
    setLogFont(description);
    storeText(GetConfigRootSection(), SettingsTable::rows[SettingsTable::LogFont],
        logFontDescription().toLocal8Bit().constData());
    const QFont font = logFont();
    docTemplate->forEachFrame([&font](ChildFrame& frame) { frame.list().setFont(font); });
}

void Kestrano::createCommands()
{
    setCommands({
        {Command::Open, [this] { OnFileOpen(); }},
        {Command::OpenJournal,
            [this] {
                JournalDialog dialog(JournalSource::units(), mainFrame.get());
                if (dialog.exec() == QDialog::Accepted)
                    OpenDocumentFile(journalName(dialog.unit()).c_str());
            }},
        {Command::OpenRemote,
            [this] {
                RemoteLogDialog dialog(loadRecentRemoteLogs(GetConfigRootSection()), mainFrame.get());
                if (dialog.exec() == QDialog::Accepted && !dialog.name().empty())
                    OpenDocumentFile(dialog.name().c_str());
            }},
        {Command::Options,
            [this] {
                OptionsDialog dialog(*this, mainFrame.get());
                dialog.exec();
            }},
        {Command::Help, [this] { openDocument(QStringLiteral("help/index.html"), GetMessageBox()); }},
        {Command::TermsAndConditions,
            [this] { openDocument(QStringLiteral("Readme.txt"), GetMessageBox()); }},
        {Command::WebSite,
            [this] { openWithDesktop(QUrl(QString::fromLatin1(WebSiteAddress)), GetMessageBox()); }},
        {Command::About,
            [this] {
                AboutDialog dialog(mainFrame.get());
                dialog.exec();
            }},
    });
}

void Kestrano::OnFileOpen()
{
    // First, and chosen at first, the names logs usually have: rotated, compressed, syslog's.
    const QString usualNames
        = QCoreApplication::translate("kestrano::Kestrano", "Usual log names (%1)")
              .arg(QStringLiteral("*.log *.log.* *.gz *.xz syslog* messages* *.out *.err"));
    const QString path = QFileDialog::getOpenFileName(mainFrame.get(),
        QCoreApplication::translate("kestrano::Kestrano", "Open"), QString(),
        usualNames + QStringLiteral(";;")
            + QCoreApplication::translate("kestrano::Kestrano", "Log files (*.log);;All Files (*)"));
    if (!path.isEmpty())
        OpenDocumentFile(path.toLocal8Bit().constData());
}

} // namespace kestrano
