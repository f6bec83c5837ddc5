// The main window: the log windows in an MDI area, the toolbar "Tools", the one-pane status bar, the two
// menu sets, the polling that drives all reading (the scheduler, woken by its timer and by changes of
// the files), and the window's stored place.
#pragma once

#include "core/settings/WorkspaceStore.h"
#include "core/view/PollScheduler.h"
#include "platform/InotifyWatcher.h"
#include "shell/commands/Command.h"
#include "shell/commands/CommandTarget.h"

#include <QMainWindow>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <span>
#include <unordered_map>
#include <vector>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QSocketNotifier;
class QToolBar;

namespace kestrano {

class ChildFrame;
class Kestrano;
class MergedFrame;

class MainFrame : public QMainWindow, public CommandTarget {
    Q_OBJECT

public:
    // Creates the window at its stored place (not yet shown) and starts polling the logs as they open;
    // it stores its place from then on.
    MainFrame(Kestrano& app, const WindowPlace& place);
    ~MainFrame() override;

    // Counts the polling interval anew from now, as the settings give it.
    void RestartUpdateTimer();
    void SetIdleMessage(const QString& text);
    // Shows the time of the active window's selected message in the status bar, when from is that window
    // (a log window or a merged one).
    void showSelectedTime(const QMdiSubWindow* from);
    const QLabel& selectedTimeLabel() const { return *selectedTime; }
    // One polling pass: every open log, in the order of opening. The next pass comes after the interval,
    // or at once when a log has more to read; a log whose file changes is polled before.
    void pollAllLogs();

    QMdiArea& mdiArea() const { return *area; }
    QToolBar& toolBar() const { return *mainToolBar; }
    // Fires when the scheduler is due next.
    QTimer& updateTimer() { return timer; }
    PollScheduler& pollScheduler() { return scheduler; }
    // The log window that commands go to, or nullptr.
    ChildFrame* activeChild() const;
    // The merged windows, in the order they were made.
    std::vector<MergedFrame*> mergedFrames() const;
    // Adds a log window (or a merged one) to the area, cascaded after the others, wholly inside and
    // sized to fit.
    void addChild(QMdiSubWindow* frame);
    bool isClosing() const { return closing; }
    // The layout of the log windows, from the View menu.
    const LogViewLayout& logViewLayout() const { return viewLayout; }

    // Runs a command along its route, starting at the given log window (or at none).
    void dispatch(Command command, ChildFrame* from);
    // Enables the actions that have a handler and shows the menus that fit.
    void updateCommands();
    QAction* action(Command command) const;
    // The menus shown now, by title.
    QList<QMenu*> currentMenus() const;

protected:
    bool event(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Log files dropped on the window are opened as by the Open command; the drop is a copy or a link.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The object that handles the command on its route from the log window (or from none).
    CommandTarget* handlerOf(Command command, ChildFrame* from);
    void createCommands();
    void createActions();
    void createWindowKeys();
    void createToolBar();
    void createMenus();
    QMenu* createMenu(const QString& title, std::span<const LayoutEntry> entries);
    QMenu* createMenu(const QString& title, std::initializer_list<LayoutEntry> entries)
    {
        return createMenu(title, std::span(entries.begin(), entries.size()));
    }
    // Ends a View menu with "Font...".
    QMenu* withFontEntry(QMenu* menu);
    void fillWindowMenu();
    // Window > "Merge Logs...": the dialog, then the merged window.
    void mergeLogs();
    void storePlace();
    void clearAll();
    // Stores the layout and gives it to every log window.
    void applyViewLayout();
    void deleteAllFiles();
    void updateCaption();
    void updateBarChecks();
    void startPolling(ChildFrame& frame);
    void stopPolling(ChildFrame& frame);
    bool pollLog(ChildFrame& frame);
    // Runs the scheduler (a pass, or what is due) and shows the first failure in a box, with no polling
    // while the box is open; then waits for what is due next.
    void runPolls(const std::function<int32_t()>& run);

    Kestrano& app;
    QString idleMessage;
    QLabel* selectedTime;
    QMdiArea* area;
    QToolBar* mainToolBar = nullptr;
    InotifyWatcher watcher;
    PollScheduler scheduler {&watcher};
    std::unique_ptr<QSocketNotifier> changes; // on the watcher's descriptor
    std::unordered_map<const ChildFrame*, PollScheduler::Id> polledLogs;
    QTimer timer;
    bool polling = false;
    QString pollFailure; // the first of the running polls
    std::map<Command, QAction*> actions;
    QList<QMenu*> menusWithoutLogs;
    QList<QMenu*> menusWithLogs;
    QMenu* windowMenu = nullptr;
    QAction* fontAction = nullptr;
    LogViewLayout viewLayout;
    bool showingLogMenus = false;
    bool closing = false;
};

} // namespace kestrano
