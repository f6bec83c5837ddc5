#include "shell/windows/MainFrame.h"

#include "config/Config.h"
#include "config/Path.h"
#include "core/settings/MonitorSettings.h"
#include "core/settings/WorkspaceStore.h"
#include "core/view/ChildView.h"
#include "core/view/Document.h"
#include "core/view/MergedView.h"
#include "platform/qt/WindowRestore.h"
#include "platform/qt/resources/Resources.h"
#include "shell/app/ErrorGuard.h"
#include "shell/app/Kestrano.h"
#include "shell/commands/CommandActions.h"
#include "shell/dialogs/MergeDialog.h"
#include "shell/windows/ChildFrame.h"
#include "shell/windows/MergedFrame.h"
#include "shell/windows/TimeNavigation.h"
#include "shell/windows/WindowArrangement.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QSocketNotifier>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QToolBar>
#include <QUrl>

namespace kestrano {

namespace {

// The Window menu's own entries; the list of log windows follows them.
constexpr LayoutEntry windowMenuEntries[] = {Command::Cascade, Command::TileHorizontally,
    Command::TileVertically, Command::ArrangeIcons, Separator, Command::MergeLogs};

constexpr LayoutEntry mainToolBarLayout[]
    = {Command::Open, Separator, Command::Cascade, Command::TileHorizontally, Command::TileVertically,
        Separator, Command::ClearAll, Command::DeleteAllFiles, Separator, Command::Options, Command::About};

QStringList droppedFiles(const QMimeData* data)
{
    QStringList files;
    if (data && data->hasUrls()) {
        for (const QUrl& url : data->urls()) {
            if (url.isLocalFile())
                files << url.toLocalFile();
        }
    }
    return files;
}

// Takes the drop as a copy or a link, as the source offers, never as a move: the files stay where they
// are. False when the source offers neither.
bool takeAsCopyOrLink(QDropEvent* event)
{
    const Qt::DropActions offered = event->possibleActions();
    const Qt::DropAction proposed = event->proposedAction();
    if (proposed == Qt::CopyAction || proposed == Qt::LinkAction)
        event->setDropAction(proposed);
    else if (offered & Qt::CopyAction)
        event->setDropAction(Qt::CopyAction);
    else if (offered & Qt::LinkAction)
        event->setDropAction(Qt::LinkAction);
    else
        return false;
    event->accept();
    return true;
}

// The text of the exception being handled; the pass goes on even when there is no memory for it.
QString describeFailure() noexcept
{
    try {
        return describeCurrentException();
    } catch (...) {
        return QStringLiteral("Out of memory.");
    }
}

} // namespace

MainFrame::MainFrame(Kestrano& app, const WindowPlace& place)
    : app(app)
    , area(new QMdiArea(this))
    , viewLayout(loadLogViewLayout(app.GetConfigRootSection()))
{
    setWindowTitle(QString::fromLatin1(haspel::kApplicationName));
    setWindowIcon(programIcon());
    rememberStateBeforeMinimized(*this);
    setCentralWidget(area);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    move(place.x, place.y);
    resize(place.width, place.height);

    createCommands();
    createActions();
    createWindowKeys();
    createToolBar();
    statusBar()->setSizeGripEnabled(true);
    selectedTime = new QLabel(statusBar());
    selectedTime->setAccessibleName(tr("Time of the selected message"));
    statusBar()->addPermanentWidget(selectedTime);
    SetIdleMessage(tr("Ready"));
    createMenus();
    setAcceptDrops(true);

    connect(area, &QMdiArea::subWindowActivated, this, [this] {
        updateCommands();
        showSelectedTime(area->currentSubWindow());
    });
    timer.setSingleShot(true);
    // Never early: a pass due in a second is not looked for twice.
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, this, [this] { runPolls([this] { return scheduler.runDue(); }); });
    if (scheduler.getDescriptor() >= 0) {
        changes = std::make_unique<QSocketNotifier>(scheduler.getDescriptor(), QSocketNotifier::Read);
        connect(changes.get(), &QSocketNotifier::activated, this, [this] {
            runGuarded(this, [this] {
                const int32_t wait = scheduler.takeChanges();
                if (!polling && !closing)
                    timer.start(wait);
            });
        });
    }
    app.GetDocTemplate().setObservers([this](ChildFrame& frame) { startPolling(frame); },
        [this](ChildFrame& frame) { stopPolling(frame); });
    updateCommands();
    RestartUpdateTimer();
}

MainFrame::~MainFrame()
{
    timer.stop();
    closing = true;
    // The log windows go while this window is still whole, without telling it.
    area->disconnect(this);
    delete area;
    app.GetDocTemplate().setObservers({}, {});
}

void MainFrame::createActions()
{
    for (const CommandInfo& info : commandTable()) {
        QAction* action = createShortcutAction(info.command, this);
        const Command command = info.command;
        connect(action, &QAction::triggered, this, [this, command] { dispatch(command, activeChild()); });
        action->setCheckable(info.checkable == Checkable::InMenu);
        addAction(action);
        actions[command] = action;
    }
    // The desktop's quit key too.
    actions[Command::Exit]->setShortcuts(
        {actions[Command::Exit]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q)});
}

// The keys of multiple-window programs: Ctrl+F6 and Ctrl+Shift+F6 go to the next and previous log
// window, Ctrl+F4 closes the active one. The log window's system menu closes it with the platform's
// Close keys, which take Ctrl+F4 only on some platforms; a second one would make the key ambiguous.
void MainFrame::createWindowKeys()
{
    const auto key = [this](QKeyCombination combination, auto act) {
        auto* action = new QAction(this);
        action->setShortcut(QKeySequence(combination));
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this,
            [this, act] { runGuarded(this, [this, act] { act(*area); }); });
        addAction(action);
    };
    key(Qt::CTRL | Qt::Key_F6, [](QMdiArea& area) { area.activateNextSubWindow(); });
    key(Qt::CTRL | Qt::SHIFT | Qt::Key_F6, [](QMdiArea& area) { area.activatePreviousSubWindow(); });
    const QKeySequence closeKey(Qt::CTRL | Qt::Key_F4);
    if (!QKeySequence::keyBindings(QKeySequence::Close).contains(closeKey))
        key(Qt::CTRL | Qt::Key_F4, [](QMdiArea& area) { area.closeActiveSubWindow(); });
}

void MainFrame::createToolBar()
{
    mainToolBar
        = createToolsBar(this, mainToolBarLayout, [this](Command command) { return actions[command]; });
    addToolBar(Qt::TopToolBarArea, mainToolBar);
    // Hidden or shown from the window's context menu too.
    connect(mainToolBar, &QToolBar::visibilityChanged, this, [this] { updateBarChecks(); });
}

QMenu* MainFrame::createMenu(const QString& title, std::span<const LayoutEntry> entries)
{
    auto* menu = new QMenu(title, this);
    addCommands(*menu, entries, [this](Command command) { return actions[command]; });
    return menu;
}

QMenu* MainFrame::withFontEntry(QMenu* menu)
{
    if (!fontAction) {
        fontAction = new QAction(tr("Fo&nt..."), this);
        fontAction->setStatusTip(tr("Choose the font of the log lists."));
        connect(fontAction, &QAction::triggered, this,
            [this] { runGuarded(this, [this] { app.ChooseLogFont(); }); });
    }
    menu->addSeparator();
    menu->addAction(fontAction);
    return menu;
}

void MainFrame::createMenus()
{
    using C = Command;
    menusWithoutLogs = {
        createMenu(tr("&File"),
            {C::Open, C::OpenJournal, C::OpenRemote, C::DeleteAllFiles, Separator, C::Options, Separator,
                C::Exit}),
        withFontEntry(createMenu(tr("&View"),
            {C::Toolbar, C::StatusBar, C::FilterRow, C::WrapRows, Separator, C::ClearAll, Separator,
                C::Refresh})),
        createMenu(tr("&Help"), {C::Help, C::TermsAndConditions, C::WebSite, Separator, C::About}),
    };
    windowMenu = createMenu(tr("&Window"), windowMenuEntries);
    connect(windowMenu, &QMenu::aboutToShow, this, &MainFrame::fillWindowMenu);
    menusWithLogs = {
        createMenu(tr("&File"),
            {C::Open, C::OpenJournal, C::OpenRemote, C::SaveMessages, Separator, C::DeleteFile,
                C::DeleteAllFiles, Separator, C::Options, Separator, C::Exit}),
        createMenu(tr("&Edit"),
            {C::CopyMessage, C::MessageDetails, Separator, C::Find, C::FindNext, C::FindPrevious, Separator,
                C::GoToTime}),
        createMenu(tr("Fil&ter"),
            {C::SetToDebugs, C::SetToInformations, C::SetToWarnings, C::SetToErrors, C::SetToFatals,
                Separator, C::ToggleUnknowns, Separator, C::FilterText}),
        withFontEntry(createMenu(tr("&View"),
            {C::Toolbar, C::StatusBar, C::FilterRow, C::WrapRows, Separator, C::ToggleFollow,
                C::ToggleReloadOnChange, C::ToggleTime, C::ToggleTimeline, Separator, C::ToggleHistory,
                C::ToggleRotatedHistory, Separator, C::Clear, C::ClearAll, Separator, C::Refresh})),
        windowMenu,
        createMenu(tr("&Help"), {C::Help, C::TermsAndConditions, C::WebSite, Separator, C::About}),
    };
    for (QMenu* menu : menusWithoutLogs)
        menuBar()->addMenu(menu);
}

void MainFrame::fillWindowMenu()
{
    const QList<QAction*> entries = windowMenu->actions();
    for (qsizetype i = std::size(windowMenuEntries); i < entries.size(); ++i) {
        windowMenu->removeAction(entries[i]);
        if (entries[i]->parent() == windowMenu)
            entries[i]->deleteLater();
    }
    const QList<QMdiSubWindow*> windows = area->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty())
        return;
    windowMenu->addSeparator();
    int number = 1;
    for (QMdiSubWindow* window : windows) {
        QString label = number < 10 ? QStringLiteral("&%1 %2").arg(number).arg(window->windowTitle())
                                    : QStringLiteral("%1 %2").arg(number).arg(window->windowTitle());
        QAction* entry = windowMenu->addAction(label);
        // Only the active window carries a mark.
        if (window == area->currentSubWindow()) {
            entry->setCheckable(true);
            entry->setChecked(true);
        }
        connect(entry, &QAction::triggered, this, [this, window = QPointer<QMdiSubWindow>(window)] {
            if (window) {
                showRestored(*window);
                area->setActiveSubWindow(window);
            }
        });
        ++number;
    }
}

QList<QMenu*> MainFrame::currentMenus() const
{
    return showingLogMenus ? menusWithLogs : menusWithoutLogs;
}

QAction* MainFrame::action(Command command) const
{
    auto found = actions.find(command);
    return found == actions.end() ? nullptr : found->second;
}

ChildFrame* MainFrame::activeChild() const
{
    return qobject_cast<ChildFrame*>(area->currentSubWindow());
}

std::vector<MergedFrame*> MainFrame::mergedFrames() const
{
    std::vector<MergedFrame*> frames;
    for (QMdiSubWindow* window : area->subWindowList(QMdiArea::CreationOrder))
        if (auto* merged = qobject_cast<MergedFrame*>(window))
            frames.push_back(merged);
    return frames;
}

void MainFrame::addChild(QMdiSubWindow* frame)
{
    area->addSubWindow(frame);
    // While starting the window is not shown yet, and its area has no size until laid out.
    if (!area->isVisible())
        layout()->activate();
    const QSize space = area->isVisible() ? area->viewport()->size() : area->contentsRect().size();
    const int step = frame->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, frame);
    frame->setGeometry(cascadedPlace(space, static_cast<int>(area->subWindowList().size()) - 1, step));
    // Later: the frame is half destroyed when the signal comes.
    connect(frame, &QObject::destroyed, this, [this] {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!closing)
                    updateCommands();
            },
            Qt::QueuedConnection);
    });
    connect(frame, &QWidget::windowTitleChanged, this, [this] { updateCaption(); });
    // After the area has put its own title on this window.
    connect(frame, &QMdiSubWindow::windowStateChanged, this, [this] {
        QMetaObject::invokeMethod(
            this, [this] { updateCaption(); }, Qt::QueuedConnection);
    });
}

void MainFrame::SetIdleMessage(const QString& text)
{
    idleMessage = text;
    statusBar()->showMessage(idleMessage);
}

void MainFrame::showSelectedTime(const QMdiSubWindow* from)
{
    if (from != area->currentSubWindow())
        return;
    const TimeNavigation* navigation = nullptr;
    if (const auto* child = qobject_cast<const ChildFrame*>(from))
        navigation = &child->timeNavigation();
    else if (const auto* merged = qobject_cast<const MergedFrame*>(from))
        navigation = &merged->timeNavigation();
    selectedTime->setText(navigation ? navigation->selectedTimeText() : QString());
}

void MainFrame::RestartUpdateTimer()
{
    timer.start(scheduler.restart(app.GetSettings().GetUpdateEvery()));
}

void MainFrame::startPolling(ChildFrame& frame)
{
    polledLogs[&frame] = scheduler.addLog(
        frame.document().getSource().getWatchPath(), [this, &frame] { return pollLog(frame); });
}

void MainFrame::stopPolling(ChildFrame& frame)
{
    const auto found = polledLogs.find(&frame);
    if (found == polledLogs.end())
        return;
    scheduler.removeLog(found->second);
    polledLogs.erase(found);
}

// A failure ends only the log's own poll.
bool MainFrame::pollLog(ChildFrame& frame)
{
    try {
        frame.view().pollLogFile();
        return frame.view().hasMoreToRead();
    } catch (...) {
        if (pollFailure.isNull())
            pollFailure = describeFailure();
        return false;
    }
}

void MainFrame::pollAllLogs()
{
    runPolls([this] { return scheduler.runPass(); });
}

void MainFrame::runPolls(const std::function<int32_t()>& run)
{
    timer.stop();
    polling = true;
    pollFailure = QString();
    int32_t wait = run();
    if (!pollFailure.isNull()) {
        runGuarded(this, [this] { app.GetMessageBox().showError(pollFailure.toLocal8Bit().constData()); });
        wait = scheduler.restart(app.GetSettings().GetUpdateEvery());
    }
    polling = false;
    // A log with more to read is read on at once, after the events that came meanwhile.
    timer.start(wait);
}

CommandTarget* MainFrame::handlerOf(Command command, ChildFrame* from)
{
    if (from)
        return findHandler(command, {&from->viewCommands(), &from->documentCommands(), from, this, &app});
    if (auto* merged = qobject_cast<MergedFrame*>(area->currentSubWindow()))
        return findHandler(command, {&merged->viewCommands(), merged, this, &app});
    return findHandler(command, {this, &app});
}

void MainFrame::dispatch(Command command, ChildFrame* from)
{
    runGuarded(this, [&] {
        if (CommandTarget* handler = handlerOf(command, from))
            handler->runCommand(command);
    });
}

void MainFrame::updateCommands()
{
    ChildFrame* child = activeChild();
    for (auto& [command, action] : actions)
        action->setEnabled(handlerOf(command, child) != nullptr);
    updateBarChecks();

    const bool logMenus = area->currentSubWindow() != nullptr; // a log's or a merged window
    if (logMenus != showingLogMenus) {
        showingLogMenus = logMenus;
        menuBar()->clear();
        for (QMenu* menu : currentMenus())
            menuBar()->addMenu(menu);
    }
    updateCaption();
}

void MainFrame::updateBarChecks()
{
    actions[Command::Toolbar]->setChecked(mainToolBar->isVisibleTo(this));
    actions[Command::StatusBar]->setChecked(statusBar()->isVisibleTo(this));
    actions[Command::FilterRow]->setChecked(viewLayout.filterRow);
    actions[Command::WrapRows]->setChecked(viewLayout.wrapRows);
    ChildFrame* child = activeChild();
    const auto* merged = qobject_cast<MergedFrame*>(area->currentSubWindow());
    actions[Command::ToggleTime]->setChecked(
        (child && child->view().getShowTime()) || (merged && merged->view().getSwitches().showTime));
    actions[Command::ToggleTimeline]->setChecked(
        (child && child->view().getShowTimeline()) || (merged && merged->view().getSwitches().showTimeline));
    actions[Command::ToggleHistory]->setChecked(child && child->view().showsHistory());
    actions[Command::ToggleRotatedHistory]->setChecked(child && child->view().getSwitches().historyRotated);
}

// "Kestrano - rot.log", or "Kestrano - [rot.log]" while the log window is maximised, as the area
// itself titles a maximised window.
void MainFrame::updateCaption()
{
    const QMdiSubWindow* child = area->currentSubWindow();
    const QString name = QString::fromLatin1(haspel::kApplicationName);
    if (!child)
        setWindowTitle(name);
    else if (child->isMaximized())
        setWindowTitle(QStringLiteral("%1 - [%2]").arg(name, child->windowTitle()));
    else
        setWindowTitle(name + QStringLiteral(" - ") + child->windowTitle());
}

void MainFrame::createCommands()
{
    // Each command of the main window ends with the actions and menus brought up to date.
    const auto handler = [this](Command command, auto act, std::function<bool()> enabled = {}) {
        return CommandHandler {command,
            [this, act] {
                act();
                updateCommands();
            },
            std::move(enabled)};
    };
    const auto withLogWindow = [this] { return activeChild() != nullptr; };
    setCommands({
        handler(Command::ClearAll, [this] { clearAll(); }),
        handler(Command::DeleteAllFiles, [this] { deleteAllFiles(); }),
        handler(Command::Exit, [this] { close(); }),
        handler(Command::Toolbar, [this] { mainToolBar->setVisible(!mainToolBar->isVisibleTo(this)); }),
        handler(Command::StatusBar, [this] { statusBar()->setVisible(!statusBar()->isVisibleTo(this)); }),
        handler(Command::FilterRow,
            [this] {
                viewLayout.filterRow = !viewLayout.filterRow;
                applyViewLayout();
            }),
        handler(Command::WrapRows,
            [this] {
                viewLayout.wrapRows = !viewLayout.wrapRows;
                applyViewLayout();
            }),
        handler(
            Command::Cascade, [this] { area->cascadeSubWindows(); }, withLogWindow),
        handler(
            Command::TileHorizontally, [this] { tileHorizontally(*area); }, withLogWindow),
        handler(
            Command::TileVertically, [this] { tileVertically(*area); }, withLogWindow),
        handler(
            Command::ArrangeIcons, [this] { arrangeIcons(*area); }, withLogWindow),
        handler(
            Command::MergeLogs, [this] { mergeLogs(); },
            [this] { return app.GetDocTemplate().count() >= 2; }),
    });
}

void MainFrame::applyViewLayout()
{
    storeLogViewLayout(app.GetConfigRootSection(), viewLayout);
    app.GetDocTemplate().forEachFrame([this](ChildFrame& frame) { frame.applyViewLayout(viewLayout); });
    for (MergedFrame* merged : mergedFrames())
        merged->applyViewLayout(viewLayout);
}

void MainFrame::mergeLogs()
{
    const std::vector<QPointer<ChildFrame>> frames = app.GetDocTemplate().GetFrames();
    QStringList titles;
    for (const QPointer<ChildFrame>& frame : frames)
        titles << (frame ? frame->windowTitle() : QString());
    MergeDialog dialog(titles, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    std::vector<ChildFrame*> chosen;
    for (int index : dialog.chosen())
        if (ChildFrame* frame = frames[static_cast<size_t>(index)]) // it may have closed meanwhile
            chosen.push_back(frame);
    if (!chosen.empty())
        app.OpenMergedWindow(chosen);
}

void MainFrame::clearAll()
{
    app.GetDocTemplate().forEachFrame([](ChildFrame& frame) { frame.view().clearMessages(); });
}

// The question names the count and the first few files, so nothing is deleted on trust.
void MainFrame::deleteAllFiles()
{
    constexpr qsizetype namedFiles = 5;
    QStringList names;
    app.GetDocTemplate().forEachFrame([&names](ChildFrame& frame) {
        if (frame.document().isDeletable())
            names << QString::fromLocal8Bit(frame.document().getPathName().GetText());
    });
    QString question = tr("Sure to delete all open log files?") + QStringLiteral("\n\n")
        + (names.size() == 1 ? tr("1 file:") : tr("%1 files:").arg(names.size()));
    for (const QString& name : names.first(std::min(names.size(), namedFiles)))
        question += QLatin1Char('\n') + name;
    if (names.size() > namedFiles)
        question += QStringLiteral("\n") + QChar(0x2026);
    if (app.GetMessageBox().askYesNo(question.toLocal8Bit().constData()))
        app.GetDocTemplate().forEachFrame([](ChildFrame& frame) { frame.document().deleteLogFile(); });
}

bool MainFrame::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        statusBar()->showMessage(tip.isEmpty() ? idleMessage : tip);
        return true;
    }
    // Light or dark, or another icon theme: the bundled icons follow.
    if (event->type() == QEvent::ApplicationPaletteChange || event->type() == QEvent::ThemeChange) {
        for (auto& [command, action] : actions)
            refreshCommandIcon(*action, command);
        app.GetDocTemplate().forEachFrame([](ChildFrame& frame) { frame.refreshIcons(); });
    }
    return QMainWindow::event(event);
}

void MainFrame::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    storePlace();
}

void MainFrame::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    storePlace();
}

void MainFrame::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        storePlace();
}

void MainFrame::storePlace()
{
    runGuarded(this, [this] {
        const bool maximized = isMaximized();
        if (isMinimized() && !maximized)
            return; // a minimized window stores nothing
        storeMainWindowPlace(app.GetConfigRootSection(), {{x(), y(), width(), height()}, maximized});
    });
}

void MainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedFiles(event->mimeData()).isEmpty())
        takeAsCopyOrLink(event);
}

void MainFrame::dragMoveEvent(QDragMoveEvent* event)
{
    if (!droppedFiles(event->mimeData()).isEmpty())
        takeAsCopyOrLink(event);
}

void MainFrame::dropEvent(QDropEvent* event)
{
    const QStringList files = droppedFiles(event->mimeData());
    if (files.isEmpty() || !takeAsCopyOrLink(event))
        return;
    runGuarded(this, [this, &files] {
        for (const QString& file : files)
            app.OpenDocumentFile(file.toLocal8Bit().constData());
    });
}

void MainFrame::closeEvent(QCloseEvent* event)
{
    // Log windows now go away with the main window and keep their workspace entries, with how they
    // were left.
    if (!closing)
        runGuarded(this, [this] {
            app.GetDocTemplate().forEachFrame(
                [this](ChildFrame& frame) { frame.storeWindowState(&frame == area->currentSubWindow()); });
        });
    closing = true;
    timer.stop();
    QMainWindow::closeEvent(event);
}

} // namespace kestrano
