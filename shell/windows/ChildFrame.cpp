#include "shell/windows/ChildFrame.h"

#include "config/Config.h"
#include "core/settings/MonitorSettings.h"
#include "core/settings/WorkspaceStore.h"
#include "core/sources/SourceRegistry.h"
#include "core/text/Severity.h"
#include "core/view/ChildView.h"
#include "core/view/Document.h"
#include "platform/qt/CoreTexts.h"
#include "platform/qt/LogList.h"
#include "platform/qt/LogListModel.h"
#include "platform/qt/LogText.h"
#include "platform/qt/TimelineStrip.h"
#include "platform/qt/WindowRestore.h"
#include "platform/qt/resources/Resources.h"
#include "shell/app/ErrorGuard.h"
#include "shell/app/Kestrano.h"
#include "shell/commands/CommandActions.h"
#include "shell/widgets/FindBar.h"
#include "shell/windows/MainFrame.h"
#include "shell/windows/TimeNavigation.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QSaveFile>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <numeric>

namespace kestrano {

namespace {

// The log toolbar, left to right.
constexpr LayoutEntry toolBarLayout[]
    = {Command::SetToDebugs, Command::SetToInformations, Command::SetToWarnings, Command::SetToErrors,
        Command::SetToFatals, Separator, Command::ToggleUnknowns, Separator, Command::ToggleFollow,
        Command::ToggleReloadOnChange, Separator, Command::Clear, Command::DeleteFile};

} // namespace

ChildFrame::ChildFrame(Kestrano& app, MainFrame& mainFrame, const char* fullPath)
    : app(app)
    , mainFrame(mainFrame)
    , inner(new QMainWindow)
    , logList(new LogList(inner))
{
    setAttribute(Qt::WA_DeleteOnClose);
    rememberStateBeforeMinimized(*this);
    inner->setWindowFlags(Qt::Widget); // a QMainWindow is a window of its own otherwise
    // Its context menu would hide the toolbar with no way back.
    inner->setContextMenuPolicy(Qt::PreventContextMenu);
    setWidget(inner);
    createToolBar();

    logDocument = std::make_unique<Document>(fullPath, app.GetSourceContext(), app.GetMessageBox());
    logView = std::make_unique<ChildView>(*logDocument, app.GetViewContext(), *logList, *this);
    logView->offerHistory(app.GetSourceContext().files);
    logList->setHistory(logView->getHistoryRows());
    viewTarget = std::make_unique<ViewCommands>(*logView);
    documentTarget = std::make_unique<DocumentCommands>(*logDocument);
    logList->setDoubleClickHandler(
        [this] { runGuarded(window(), [this] { logView->openMessageDetails(); }); });
    logList->setFindKeyHandler([this] { finder->open(); });
    logList->setContextMenuHandler([this](const QPoint& place) { showContextMenu(place); });
    logList->setFollowHandler(
        [this](bool atEnd) { runGuarded(window(), [this, atEnd] { logView->setFollow(atEnd); }); });

    // The list above the find bar.
    auto* content = new QWidget(inner);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    finder = new FindBar(*logList, *logView, content);
    navigation = std::make_unique<TimeNavigation>(
        *logList, *this, content, app.GetMessageBox(), [this] { logView->setFollow(false); },
        [this] { this->mainFrame.showSelectedTime(this); });
    layout->addWidget(&navigation->strip());
    layout->addWidget(logList, 1);
    layout->addWidget(finder);
    inner->setCentralWidget(content);
    createFilterBar();
    createCommands();
    applyViewLayout(mainFrame.logViewLayout());
    logList->setQuietGap(app.GetSettings().GetQuietGap());

    const char* name = logDocument->getPathName().GetText();
    logTitle = translatedText(sourceKindOf(name).title(name));
    setWindowTitle(logTitle);
    connect(this, &QMdiSubWindow::windowStateChanged, this, [this](Qt::WindowStates, Qt::WindowStates now) {
        if (now & Qt::WindowActive)
            markNews(false);
    });
    setWindowIcon(programIcon());
    UpdateToolbarChecks();
}

ChildFrame::~ChildFrame()
{
    app.GetDocTemplate().remove(this);
    // The list tells this frame no more of its selection while it goes.
    navigation.reset();
    // The find bar and the view refer to the list and to this frame: they go first.
    delete finder;
    finder = nullptr;
    viewTarget.reset();
    logView.reset();
}

void ChildFrame::createToolBar()
{
    logToolBar = createLogToolBar(
        inner, toolBarLayout, buttons, [this](Command command) { mainFrame.dispatch(command, this); });
    inner->addToolBar(Qt::TopToolBarArea, logToolBar);
}

void ChildFrame::createFilterBar()
{
    filterToolBar = new FilterBar([this](const TextFilter& filter) { applyTextFilter(filter); }, inner);
    // A row of its own, so the field is never folded away behind the severity buttons.
    inner->addToolBarBreak(Qt::TopToolBarArea);
    inner->addToolBar(Qt::TopToolBarArea, filterToolBar);
}

void ChildFrame::applyTextFilter(const TextFilter& filter)
{
    if (!logView)
        return;
    runGuarded(window(), [this, &filter] { logView->setTextFilter(filter); });
    filterToolBar->showError(logView->getTextFilterError());
}

void ChildFrame::createCommands()
{
    setCommands({
        {Command::Find, [this] { finder->open(); }},
        {Command::FindNext, [this] { finder->findNext(); }},
        {Command::FindPrevious, [this] { finder->findPrevious(); }},
        {Command::FilterText, [this] { filterToolBar->focusField(); }},
        {Command::MessageDetails, [this] { logView->openMessageDetails(); }},
        {Command::CopyMessage, [this] { copySelectedMessages(); }},
        {Command::SaveMessages, [this] { saveMessagesAs(); }},
        {Command::GoToTime, [this] { navigation->askForTime(); }},
    });
}

// The desktop's clipboard takes line feeds; the last line end is left out.
void ChildFrame::copySelectedMessages()
{
    logList->copySelectedRows();
}

void ChildFrame::saveMessagesAs()
{
    const QString name = QFileInfo(QString::fromLocal8Bit(logDocument->getPathName().GetText())).fileName();
    const QString path = QFileDialog::getSaveFileName(this, tr("Save Messages As"),
        name.isEmpty() ? QString() : QDir::home().filePath(name + tr("-messages.txt")),
        tr("Text files (*.txt);;All Files (*)"));
    if (!path.isEmpty())
        saveMessages(path);
}

bool ChildFrame::saveMessages(const QString& path)
{
    // The kept messages; the history's rows stay in the file.
    std::vector<int32_t> rows(static_cast<size_t>(logList->rowCount()));
    std::iota(rows.begin(), rows.end(), logList->model().historyRowCount());
    QSaveFile file(path);
    const QByteArray text = logList->rowsText(rows);
    if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit())
        return true;
    app.GetMessageBox().showError(
        tr("Cannot save %1: %2").arg(path, file.errorString()).toLocal8Bit().constData());
    return false;
}

void ChildFrame::showContextMenu(const QPoint& place)
{
    execRowMenu(this, place, logList->selectedRow() >= 0,
        [this](Command command) { mainFrame.dispatch(command, this); });
}

QAction* ChildFrame::toolBarAction(Command command) const
{
    auto found = buttons.find(command);
    return found == buttons.end() ? nullptr : found->second;
}

void ChildFrame::UpdateToolbarChecks()
{
    if (!logView || !navigation)
        return;
    showSwitches(buttons, logView->getSwitches());
    logList->setFollowing(logView->getFollow());
    buttons[Command::ToggleReloadOnChange]->setChecked(logView->getReloadOnChange());
    list().model().setShowTime(logView->getShowTime());
    navigation->strip().setVisible(logView->getShowTimeline());
    // The filter's widgets as the view has it (after a workspace restore, say).
    filterToolBar->showFilter(logView->getTextFilter(), logView->getTextFilterError());
}

void ChildFrame::refreshIcons()
{
    for (auto& [command, action] : buttons)
        refreshCommandIcon(*action, command);
}

void ChildFrame::showNews()
{
    if (raiseForNews(*this))
        markNews(true);
}

void ChildFrame::markNews(bool on)
{
    if (news == on)
        return;
    news = on;
    setWindowTitle(on ? tr("%1 (new)").arg(logTitle) : logTitle);
}

void ChildFrame::bringToFront()
{
    showRestored(*this);
    if (QMdiArea* area = mdiArea())
        area->setActiveSubWindow(this);
    raise();
}

void ChildFrame::restore(const LogEntry& entry)
{
    logView->setSwitches(entry.switches);
    logView->setTextFilterSwitch(entry.textFilter);
    setGeometry(entry.place.x, entry.place.y, entry.place.width, entry.place.height);
    UpdateToolbarChecks();
}

void ChildFrame::moveEvent(QMoveEvent* event)
{
    QMdiSubWindow::moveEvent(event);
    storePlace();
}

void ChildFrame::resizeEvent(QResizeEvent* event)
{
    QMdiSubWindow::resizeEvent(event);
    arrangeBars();
    storePlace();
}

void ChildFrame::arrangeBars()
{
    if (!filterToolBar || filterToolBar->isHidden())
        return;
    const bool oneRow = inner->width() >= logToolBar->sizeHint().width() + filterToolBar->sizeHint().width();
    if (oneRow == !inner->toolBarBreak(filterToolBar))
        return;
    if (oneRow)
        inner->removeToolBarBreak(filterToolBar);
    else
        inner->insertToolBarBreak(filterToolBar);
}

void ChildFrame::applyViewLayout(const LogViewLayout& layout)
{
    // A window whose messages a text filter picks keeps showing it.
    filterToolBar->setVisible(layout.filterRow || !logView->getTextFilter().pattern.empty());
    arrangeBars();
    if (logList->wrapsRows() != layout.wrapRows)
        logList->setWrapRows(layout.wrapRows);
}

void ChildFrame::storeWindowState(bool active)
{
    if (!logView || logDocument->getPathName().IsEmpty())
        return;
    LogWindowState state;
    state.maximized = isMaximized();
    state.minimized = isMinimized();
    state.active = active;
    state.topRow = logView->getFollow() ? -1 : logList->topRow();
    logView->getEntryWriter().storeWindowState(state);
}

void ChildFrame::restoreWindowState(const LogWindowState& state)
{
    if (state.minimized)
        showMinimized();
    else if (state.maximized)
        showMaximized();
    // Once the windows are laid out.
    if (!logView->getFollow() && state.topRow >= 0)
        QTimer::singleShot(0, logList, [list = logList, row = state.topRow] { list->scrollToTop(row); });
}

void ChildFrame::storePlace()
{
    if (closing || app.IsStarting() || !logView || logDocument->getPathName().IsEmpty() || isMaximized()
        || isMinimized())
        return;
    runGuarded(window(), [this] {
        const QRect place = geometry();
        logView->getEntryWriter().storePlace({place.x(), place.y(), place.width(), place.height()});
    });
}

void ChildFrame::closeEvent(QCloseEvent* event)
{
    if (!mainFrame.isClosing()) {
        runGuarded(window(), [this] {
            if (!logDocument->getPathName().IsEmpty())
                logView->getEntryWriter().remove();
        });
        closing = true;
    }
    QMdiSubWindow::closeEvent(event);
    // The document is closed now, though the window is deleted only later.
    if (event->isAccepted())
        app.GetDocTemplate().remove(this);
}

} // namespace kestrano
