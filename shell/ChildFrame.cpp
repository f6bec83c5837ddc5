#include "shell/ChildFrame.h"

#include "config/Config.h"
#include "core/ChildView.h"
#include "core/Document.h"
#include "core/LogSources.h"
#include "platform/qt/LogList.h"
#include "shell/CommandActions.h"
#include "shell/ErrorGuard.h"
#include "shell/Kestrano.h"
#include "shell/MainFrame.h"
#include "shell/resources/Resources.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMainWindow>
#include <QMdiArea>
#include <QToolBar>

#include <cstring>
#include <string>

namespace kestrano {

namespace {

// The log toolbar, left to right.
constexpr Command toolBarLayout[] = {Command::SetToDebugs, Command::SetToInformations, Command::SetToWarnings,
    Command::SetToErrors, Command::SetToFatals, Separator, Command::ToggleUnknowns, Separator,
    Command::ToggleFollow, Command::ToggleReloadOnChange, Separator, Command::Clear, Command::DeleteFile};

// The journal and standard input by what they are, a file by its name.
QString titleOf(const char* name)
{
    std::string unit;
    if (isJournalName(name, &unit))
        return unit.empty() ? ChildFrame::tr("Journal")
                            : ChildFrame::tr("Journal: %1").arg(QString::fromLocal8Bit(unit.c_str()));
    if (std::strcmp(name, StandardInputName) == 0)
        return ChildFrame::tr("Standard Input");
    return QFileInfo(QString::fromLocal8Bit(name)).fileName();
}

} // namespace

ChildFrame::ChildFrame(Kestrano& app, MainFrame& mainFrame, const char* fullPath)
    : app(app)
    , mainFrame(mainFrame)
    , inner(new QMainWindow)
    , logList(new LogList(inner))
{
    setAttribute(Qt::WA_DeleteOnClose);
    inner->setWindowFlags(Qt::Widget); // a QMainWindow is a window of its own otherwise
    inner->setCentralWidget(logList);
    setWidget(inner);
    createToolBar();

    logDocument = makeDocument(fullPath, app.GetFileSystem(), app.GetMessageBox());
    logView = std::make_unique<ChildView>(*logDocument, app.GetViewContext(), *logList, *this);
    viewTarget = std::make_unique<ViewCommands>(*logView);
    documentTarget = std::make_unique<DocumentCommands>(*logDocument);
    logList->setDoubleClickHandler(
        [this] { runGuarded(window(), [this] { logView->openMessageDetails(); }); });

    setWindowTitle(titleOf(logDocument->getPathName().GetText()));
    setWindowIcon(programIcon());
    UpdateToolbarChecks();
}

ChildFrame::~ChildFrame()
{
    app.GetDocTemplate().remove(this);
    // The view refers to the list and to this frame: it goes first.
    viewTarget.reset();
    logView.reset();
}

void ChildFrame::createToolBar()
{
    auto* severities = new QActionGroup(this);
    // One of five, or none while a stored minimum lies outside 0 to 4.
    severities->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    logToolBar = createToolsBar(inner, toolBarLayout, [this, severities](Command command) {
        QAction* action = createCommandAction(command, this);
        const bool isFilter = severityOfFilterCommand(command) >= 0;
        action->setCheckable(isFilter || command == Command::ToggleUnknowns
            || command == Command::ToggleFollow || command == Command::ToggleReloadOnChange);
        if (isFilter)
            severities->addAction(action);
        connect(action, &QAction::triggered, this, [this, command] { mainFrame.dispatch(command, this); });
        buttons[command] = action;
        return action;
    });
    inner->addToolBar(Qt::TopToolBarArea, logToolBar);
}

QAction* ChildFrame::toolBarAction(Command command) const
{
    auto found = buttons.find(command);
    return found == buttons.end() ? nullptr : found->second;
}

void ChildFrame::UpdateToolbarChecks()
{
    if (!logView)
        return;
    const int32_t minimum = logView->getMinimumSeverity();
    for (auto& [command, action] : buttons) {
        if (int32_t severity = severityOfFilterCommand(command); severity >= 0)
            action->setChecked(severity == minimum);
    }
    buttons[Command::ToggleUnknowns]->setChecked(logView->getShowUnknown());
    buttons[Command::ToggleFollow]->setChecked(logView->getFollow());
    buttons[Command::ToggleReloadOnChange]->setChecked(logView->getReloadOnChange());
}

void ChildFrame::bringToFront()
{
    if (isMinimized())
        showNormal();
    if (QMdiArea* area = mdiArea())
        area->setActiveSubWindow(this);
    raise();
}

void ChildFrame::moveEvent(QMoveEvent* event)
{
    QMdiSubWindow::moveEvent(event);
    storePosition();
}

void ChildFrame::resizeEvent(QResizeEvent* event)
{
    QMdiSubWindow::resizeEvent(event);
    storePosition();
}

void ChildFrame::storePosition()
{
    if (closing || app.IsStarting() || !logDocument || logDocument->getPathName().IsEmpty()
        || !logDocument->isStored() || isMaximized() || isMinimized())
        return;
    runGuarded(window(), [this] {
        haspel::ConfigSection& section = app.GetConfigRootSection()
                                             .GetSection("Workspace")
                                             .GetSection(logDocument->getPathName().GetText())
                                             .GetSection("ChildFrame");
        const QRect rectangle = geometry();
        section.GetParameter("XPos").SetInt(rectangle.x());
        section.GetParameter("YPos").SetInt(rectangle.y());
        section.GetParameter("XSize").SetInt(rectangle.width());
        section.GetParameter("YSize").SetInt(rectangle.height());
    });
}

void ChildFrame::closeEvent(QCloseEvent* event)
{
    if (!mainFrame.isClosing()) {
        runGuarded(window(), [this] {
            if (!logDocument->getPathName().IsEmpty())
                app.GetConfigRootSection()
                    .GetSection("Workspace")
                    .RemoveSection(logDocument->getPathName().GetText());
        });
        closing = true;
    }
    QMdiSubWindow::closeEvent(event);
    // The document is closed now, though the window is deleted only later.
    if (event->isAccepted())
        app.GetDocTemplate().remove(this);
}

} // namespace kestrano
