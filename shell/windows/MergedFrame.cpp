#include "shell/windows/MergedFrame.h"

#include "core/settings/WorkspaceStore.h"
#include "core/sources/SourceRegistry.h"
#include "core/text/Severity.h"
#include "core/view/ChildView.h"
#include "core/view/Document.h"
#include "core/view/MergedView.h"
#include "platform/qt/CoreTexts.h"
#include "platform/qt/LogColours.h"
#include "platform/qt/LogList.h"
#include "platform/qt/LogListModel.h"
#include "platform/qt/TimelineStrip.h"
#include "platform/qt/WindowRestore.h"
#include "platform/qt/resources/Resources.h"
#include "shell/app/DocTemplate.h"
#include "shell/app/ErrorGuard.h"
#include "shell/app/Kestrano.h"
#include "shell/commands/CommandActions.h"
#include "shell/commands/LogCommands.h"
#include "shell/widgets/FilterBar.h"
#include "shell/widgets/FindBar.h"
#include "shell/windows/ChildFrame.h"
#include "shell/windows/MainFrame.h"
#include "shell/windows/TimeNavigation.h"

#include <QCloseEvent>
#include <QMainWindow>
#include <QMdiArea>
#include <QToolBar>
#include <QVBoxLayout>

namespace kestrano {

namespace {

// The toolbar of a log window without what belongs to one log (reload, clear, delete).
constexpr LayoutEntry toolBarLayout[]
    = {Command::SetToDebugs, Command::SetToInformations, Command::SetToWarnings, Command::SetToErrors,
        Command::SetToFatals, Separator, Command::ToggleUnknowns, Separator, Command::ToggleFollow};

// The window of the log whose view this is.
ChildFrame* frameOf(Kestrano& app, const ChildView* view)
{
    for (const QPointer<ChildFrame>& frame : app.GetDocTemplate().GetFrames())
        if (frame && &frame->view() == view)
            return frame;
    return nullptr;
}

QString shortName(const char* logName)
{
    return translatedText(sourceKindOf(logName).title(logName));
}

} // namespace

MergedFrame::MergedFrame(Kestrano& app, MainFrame& mainFrame)
    : app(app)
    , mainFrame(mainFrame)
    , inner(new QMainWindow)
    , logList(new LogList(inner))
{
    setAttribute(Qt::WA_DeleteOnClose);
    rememberStateBeforeMinimized(*this);
    inner->setWindowFlags(Qt::Widget);
    inner->setContextMenuPolicy(Qt::PreventContextMenu);
    setWidget(inner);

    mergedView = std::make_unique<MergedView>(*logList, *this);
    commands = std::make_unique<MergedViewCommands>(*mergedView);
    logList->showMerged(mergedView->getOrder());
    mergedView->setLogRemovedHandler([this] {
        logsChanged();
        // Its last log gone, the window goes too.
        if (mergedView->getLogCount() == 0 && !closing && !this->mainFrame.isClosing()) {
            closing = true;
            QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        }
    });
    createToolBar();

    const auto details = [this] {
        runGuarded(window(), [this] { mergedView->openMessageDetails(this->app.GetViewContext().details); });
    };
    logList->setDoubleClickHandler(details);
    logList->setFindKeyHandler([this] { finder->open(); });
    logList->setContextMenuHandler([this](const QPoint& place) {
        execRowMenu(this, place, logList->selectedRow() >= 0, [this](Command command) { dispatch(command); });
    });
    logList->setFollowHandler(
        [this](bool atEnd) { runGuarded(window(), [this, atEnd] { mergedView->setFollow(atEnd); }); });

    auto* content = new QWidget(inner);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const auto followOff = [this] { mergedView->setFollow(false); };
    finder = new FindBar(*logList, followOff, content);
    navigation = std::make_unique<TimeNavigation>(*logList, *this, content, app.GetMessageBox(), followOff,
        [this] { this->mainFrame.showSelectedTime(this); });
    layout->addWidget(&navigation->strip());
    layout->addWidget(logList, 1);
    layout->addWidget(finder);
    inner->setCentralWidget(content);

    filterToolBar = new FilterBar(
        [this](const TextFilter& filter) {
            runGuarded(window(), [this, &filter] { mergedView->setTextFilter(filter); });
            filterToolBar->showError(mergedView->getTextFilterError());
        },
        inner);
    inner->addToolBarBreak(Qt::TopToolBarArea);
    inner->addToolBar(Qt::TopToolBarArea, filterToolBar);

    setCommands({
        {Command::Find, [this] { finder->open(); }},
        {Command::FindNext, [this] { finder->findNext(); }},
        {Command::FindPrevious, [this] { finder->findPrevious(); }},
        {Command::FilterText, [this] { filterToolBar->focusField(); }},
        {Command::MessageDetails, details},
        {Command::CopyMessage, [this] { logList->copySelectedRows(); }},
        {Command::GoToTime, [this] { navigation->askForTime(); }},
    });
    applyViewLayout(mainFrame.logViewLayout());
    logList->setQuietGap(app.GetSettings().GetQuietGap());
    connect(this, &QMdiSubWindow::windowStateChanged, this, [this](Qt::WindowStates, Qt::WindowStates now) {
        if (now & Qt::WindowActive)
            markNews(false);
    });
    setWindowIcon(programIcon());
    logsChanged();
}

MergedFrame::~MergedFrame()
{
    navigation.reset(); // the list tells this window no more of its selection while it goes
    delete finder; // it refers to the list
    finder = nullptr;
    mergedView.reset();
}

CommandTarget& MergedFrame::viewCommands() const
{
    return *commands;
}

void MergedFrame::createToolBar()
{
    logToolBar
        = createLogToolBar(inner, toolBarLayout, buttons, [this](Command command) { dispatch(command); });
    inner->addToolBar(Qt::TopToolBarArea, logToolBar);
}

void MergedFrame::dispatch(Command command)
{
    runGuarded(window(), [&] {
        if (CommandTarget* handler = findHandler(command, {commands.get(), this}))
            handler->runCommand(command);
        else
            mainFrame.dispatch(command, nullptr);
    });
    mainFrame.updateCommands();
}

QAction* MergedFrame::toolBarAction(Command command) const
{
    auto found = buttons.find(command);
    return found == buttons.end() ? nullptr : found->second;
}

void MergedFrame::addLog(ChildFrame& frame)
{
    const char* name = frame.document().getPathName().GetText();
    if (mergedView->addLog(frame.view(), shortName(name).toStdString()))
        logsChanged();
}

void MergedFrame::logsChanged()
{
    if (mainFrame.isClosing())
        return;
    // Each log its own hue where the window has one free: the next free after its hashed one.
    std::vector<SourceLabel> labels;
    std::vector<bool> taken(LogHueCount, false);
    QStringList names;
    for (int32_t slot = 0; slot < mergedView->getSlotCount(); ++slot) {
        ChildView* view = mergedView->getLogView(slot);
        if (!view) {
            labels.push_back({});
            continue;
        }
        const ChildFrame* frame = frameOf(app, view);
        const char* logName = frame ? frame->document().getPathName().GetText() : "";
        int hue = logHue(logName);
        for (int step = 0; step < LogHueCount && taken[static_cast<size_t>(hue)]; ++step)
            hue = (hue + 1) % LogHueCount;
        taken[static_cast<size_t>(hue)] = true;
        const QString name = QString::fromStdString(mergedView->getLogName(slot));
        labels.push_back({name, logHueColour(hue)});
        names << name;
    }
    logList->model().setSourceLabels(std::move(labels));
    title = tr("Merged: %1").arg(names.join(QStringLiteral(", ")));
    setWindowTitle(news ? tr("%1 (new)").arg(title) : title);
    setAccessibleName(title);
    store();
}

MergedWindowEntry MergedFrame::entry() const
{
    MergedWindowEntry stored;
    for (ChildView* view : mergedView->getLogViews())
        if (const ChildFrame* frame = frameOf(app, view); frame && frame->document().isStored())
            stored.logs.emplace_back(frame->document().getPathName().GetText());
    stored.entry.switches = mergedView->getSwitches();
    stored.entry.textFilter = mergedView->getTextFilter();
    const QRect place = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    stored.entry.place = {place.x(), place.y(), place.width(), place.height()};
    stored.entry.window.maximized = isMaximized();
    stored.entry.window.minimized = isMinimized();
    return stored;
}

void MergedFrame::restore(const LogEntry& stored)
{
    mergedView->setSwitches(stored.switches);
    mergedView->setTextFilterSwitch(stored.textFilter);
    setGeometry(stored.place.x, stored.place.y, stored.place.width, stored.place.height);
    mergedView->rebuild();
    if (stored.window.minimized)
        showMinimized();
    else if (stored.window.maximized)
        showMaximized();
}

void MergedFrame::store()
{
    if (!closing && !app.IsStarting() && !mainFrame.isClosing())
        runGuarded(window(), [this] { app.StoreMergedWindows(); });
}

void MergedFrame::UpdateToolbarChecks()
{
    if (!mergedView || !navigation)
        return;
    const LogSwitches& switches = mergedView->getSwitches();
    showSwitches(buttons, switches);
    logList->setFollowing(switches.follow);
    logList->model().setShowTime(switches.showTime);
    navigation->strip().setVisible(switches.showTimeline);
    if (filterToolBar)
        filterToolBar->showFilter(mergedView->getTextFilter(), mergedView->getTextFilterError());
    store(); // the view tells every change of its switches here
}

void MergedFrame::showNews()
{
    if (raiseForNews(*this))
        markNews(true);
}

void MergedFrame::markNews(bool on)
{
    if (news == on)
        return;
    news = on;
    setWindowTitle(on ? tr("%1 (new)").arg(title) : title);
}

void MergedFrame::applyViewLayout(const LogViewLayout& layout)
{
    filterToolBar->setVisible(layout.filterRow || !mergedView->getTextFilter().pattern.empty());
    if (logList->wrapsRows() != layout.wrapRows)
        logList->setWrapRows(layout.wrapRows);
}

void MergedFrame::moveEvent(QMoveEvent* event)
{
    QMdiSubWindow::moveEvent(event);
    store();
}

void MergedFrame::resizeEvent(QResizeEvent* event)
{
    QMdiSubWindow::resizeEvent(event);
    store();
}

// Closed by the user, the window leaves the workspace; at the program's end it stays.
void MergedFrame::closeEvent(QCloseEvent* event)
{
    QMdiSubWindow::closeEvent(event);
    if (!event->isAccepted() || mainFrame.isClosing())
        return;
    closing = true;
    runGuarded(window(), [this] { app.StoreMergedWindows(this); });
}

} // namespace kestrano
