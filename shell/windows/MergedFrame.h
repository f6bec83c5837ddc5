// A window merging several open logs: their messages in one list in time order, each row with its log's
// short name and colour, with a log window's filters, switches, text filter, find, details, copy, timeline
// strip and Go to Time. It refers to the logs' windows, which keep the messages; a log window closing
// takes its log out, and the window closes with its last log. It is stored in the workspace while it
// changes.
#pragma once

#include "core/ports/LogFrame.h"
#include "core/settings/WorkspaceStore.h"
#include "shell/commands/Command.h"
#include "shell/commands/CommandTarget.h"
#include "shell/windows/TimeNavigation.h"

#include <QMdiSubWindow>

#include <map>
#include <memory>

class QMainWindow;
class QToolBar;

namespace kestrano {

class ChildFrame;
class FilterBar;
class FindBar;
class Kestrano;
class LogList;
class MainFrame;
class MergedView;
class MergedViewCommands;
struct LogViewLayout;

class MergedFrame : public QMdiSubWindow, public LogFrame, public CommandTarget {
    Q_OBJECT

public:
    MergedFrame(Kestrano& app, MainFrame& mainFrame);
    ~MergedFrame() override;

    // Merges the log of the window (once).
    void addLog(ChildFrame& frame);
    MergedView& view() const { return *mergedView; }
    LogList& list() const { return *logList; }
    FindBar& findBar() const { return *finder; }
    FilterBar& filterBar() const { return *filterToolBar; }
    TimelineStrip& timelineStrip() const { return navigation->strip(); }
    const TimeNavigation& timeNavigation() const { return *navigation; }
    CommandTarget& viewCommands() const;
    // The toolbar button of a command (nullptr for a command the toolbar does not carry).
    QAction* toolBarAction(Command command) const;

    // What the workspace keeps of the window: its logs' names, switches, text filter and place.
    MergedWindowEntry entry() const;
    // Takes stored switches, text filter and place, after the window was added to the main window.
    void restore(const LogEntry& stored);

    void UpdateToolbarChecks() override;
    void showNews() override;
    void applyViewLayout(const LogViewLayout& layout);

protected:
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createToolBar();
    void dispatch(Command command);
    // Names and colours of the logs, the title.
    void logsChanged();
    void markNews(bool on);
    void store();

    Kestrano& app;
    MainFrame& mainFrame;
    QMainWindow* inner;
    QToolBar* logToolBar = nullptr;
    LogList* logList;
    FilterBar* filterToolBar = nullptr;
    FindBar* finder = nullptr;
    std::map<Command, QAction*> buttons;
    std::unique_ptr<MergedView> mergedView;
    std::unique_ptr<MergedViewCommands> commands;
    std::unique_ptr<TimeNavigation> navigation;
    QString title; // without the news mark
    bool news = false;
    bool closing = false;
};

} // namespace kestrano
