// The window of one open log inside the main window: its own toolbar (filters, switches, clear, delete)
// above the log list, and the text filter beside it when the window is wide enough, else below. It owns the
// log's document and view, stores its place in the workspace as it moves, and removes the log from the
// workspace when the user closes it. Its find bar and text filter are its own commands.
#pragma once

#include "core/ports/LogFrame.h"
#include "shell/commands/Command.h"
#include "shell/commands/CommandTarget.h"
#include "shell/commands/LogCommands.h"
#include "shell/widgets/FilterBar.h"
#include "shell/windows/TimeNavigation.h"

#include <QMdiSubWindow>

#include <map>
#include <memory>

class QAction;
class QMainWindow;
class QToolBar;

namespace kestrano {

class ChildView;
class Document;
class FindBar;
class Kestrano;
class LogList;
class MainFrame;
struct LogEntry;
struct LogViewLayout;
struct LogWindowState;

class ChildFrame : public QMdiSubWindow, public LogFrame, public CommandTarget {
    Q_OBJECT

public:
    // Creates the document of the full path, the log list and the view; nothing is read yet.
    ChildFrame(Kestrano& app, MainFrame& mainFrame, const char* fullPath);
    ~ChildFrame() override;

    Document& document() const { return *logDocument; }
    ChildView& view() const { return *logView; }
    LogList& list() const { return *logList; }
    QToolBar& toolBar() const { return *logToolBar; }
    FindBar& findBar() const { return *finder; }
    FilterBar& filterBar() const { return *filterToolBar; }
    TimelineStrip& timelineStrip() const { return navigation->strip(); }
    const TimeNavigation& timeNavigation() const { return *navigation; }
    QLineEdit& filterField() const { return filterToolBar->field(); }
    QComboBox& filterMode() const { return filterToolBar->mode(); }
    QToolButton& filterCaseButton() const { return filterToolBar->caseButton(); }
    QToolButton& filterRegexButton() const { return filterToolBar->regexButton(); }
    // The toolbar button of a command (nullptr for a command the toolbar does not carry).
    QAction* toolBarAction(Command command) const;

    ViewCommands& viewCommands() { return *viewTarget; }
    DocumentCommands& documentCommands() { return *documentTarget; }

    void UpdateToolbarChecks() override;
    // The toolbar's icons anew, after the palette or the icon theme changed.
    void refreshIcons();
    void showNews() override;
    // Whether the window is marked as having news (its title and Window-menu entry say so).
    bool hasNews() const { return news; }
    // Restores the window if minimised and activates it: for the user's own request.
    void bringToFront();
    // Takes the switches, text filter and place stored for the log, before anything is read; after the
    // window was added to the main window, which places it otherwise.
    void restore(const LogEntry& entry);
    // Stores the window's place in the log's workspace entry, unless starting, closing, maximized or
    // minimized.
    void storePlace();
    // Stores how the window is left: maximized, minimized, active, and the top row while Follow is off.
    void storeWindowState(bool active);
    // Brings the window into the stored state, after its log was read.
    void restoreWindowState(const LogWindowState& state);
    // Shows or hides the filter row, wraps rows or not.
    void applyViewLayout(const LogViewLayout& layout);
    // Writes the shown messages to the file (as copying gives them, each line ended by a line feed);
    // false after telling the user why not.
    bool saveMessages(const QString& path);

protected:
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createToolBar();
    void createFilterBar();
    // Its commands: find, the text filter, details and copy of the selected message.
    void createCommands();
    void applyTextFilter(const TextFilter& filter);
    void showContextMenu(const QPoint& place);
    void markNews(bool on);
    void copySelectedMessages();
    void saveMessagesAs();
    // The switches and the filter on one row when they fit, else on two.
    void arrangeBars();

    Kestrano& app;
    MainFrame& mainFrame;
    bool closing = false;
    QString logTitle; // the title without the news mark
    bool news = false;
    QMainWindow* inner;
    QToolBar* logToolBar = nullptr;
    LogList* logList;
    FilterBar* filterToolBar = nullptr;
    FindBar* finder = nullptr;
    std::map<Command, QAction*> buttons;
    std::unique_ptr<Document> logDocument;
    std::unique_ptr<ChildView> logView;
    std::unique_ptr<ViewCommands> viewTarget;
    std::unique_ptr<DocumentCommands> documentTarget;
    std::unique_ptr<TimeNavigation> navigation;
};

} // namespace kestrano
