// Files dropped on the main window: several at once open in the order dropped, an open one is only
// activated, and what is not a local file is refused.
#include "shell/app/DocTemplate.h"
#include "shell/windows/ChildFrame.h"
#include "shell/windows/MainFrame.h"
#include "tests/shell/ShellFixture.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace kestrano::test {
namespace {

using DropTest = ShellTest;

QList<QUrl> urlsOf(std::initializer_list<std::string> paths)
{
    QList<QUrl> urls;
    for (const std::string& path : paths)
        urls << QUrl::fromLocalFile(QString::fromStdString(path));
    return urls;
}

// Sends the enter and drop events a drag over the window ends with; true when the drag was accepted.
bool drop(MainFrame& frame, const QList<QUrl>& urls)
{
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&frame, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&frame, &event);
    return event.isAccepted();
}

std::vector<ChildFrame*> framesOf(const DocTemplate& logs)
{
    std::vector<ChildFrame*> result;
    logs.forEachFrame([&](ChildFrame& frame) { result.push_back(&frame); });
    return result;
}

TEST_F(DropTest, SeveralFilesOpenInOrderAndAnOpenOneIsOnlyActivated)
{
    const std::string open = log("open.log", "x\n");
    const std::string first = log("first.log", "x\n");
    const std::string second = log("second.log", "x\n");
    start({open});
    MainFrame& frame = *app->GetMainFrame();
    ChildFrame* already = app->GetDocTemplate().findFrame(open.c_str());
    ASSERT_NE(already, nullptr);

    EXPECT_TRUE(drop(frame, urlsOf({first, open, second})));
    ChildFrame* firstFrame = app->GetDocTemplate().findFrame(first.c_str());
    ChildFrame* secondFrame = app->GetDocTemplate().findFrame(second.c_str());
    ASSERT_NE(firstFrame, nullptr);
    ASSERT_NE(secondFrame, nullptr);
    EXPECT_EQ(framesOf(app->GetDocTemplate()), (std::vector<ChildFrame*> {already, firstFrame, secondFrame}));
    EXPECT_EQ(frame.activeChild(), secondFrame);

    EXPECT_TRUE(drop(frame, urlsOf({open})));
    EXPECT_EQ(app->GetDocTemplate().count(), 3);
    EXPECT_EQ(frame.activeChild(), already);
}

// The action a drop offering these actions (the first one proposed) ends with, or IgnoreAction when
// refused; the file opens only when accepted.
Qt::DropAction dropActionFor(
    MainFrame& frame, const std::string& path, Qt::DropActions offered, Qt::DropAction proposed)
{
    QMimeData data;
    data.setUrls(urlsOf({path}));
    QDragEnterEvent enter(QPoint(10, 10), offered, &data, Qt::LeftButton, Qt::NoModifier);
    enter.setDropAction(proposed);
    QCoreApplication::sendEvent(&frame, &enter);
    if (!enter.isAccepted())
        return Qt::IgnoreAction;
    QDropEvent event(QPointF(10, 10), offered, &data, Qt::LeftButton, Qt::NoModifier);
    event.setDropAction(proposed);
    QCoreApplication::sendEvent(&frame, &event);
    EXPECT_EQ(event.dropAction(), enter.dropAction());
    return event.isAccepted() ? event.dropAction() : Qt::IgnoreAction;
}

TEST_F(DropTest, ADropIsACopyOrALinkNeverAMove)
{
    const std::string moved = log("moved.log", "x\n");
    const std::string linked = log("linked.log", "x\n");
    const std::string only = log("only-move.log", "x\n");
    start();
    MainFrame& frame = *app->GetMainFrame();
    // A file manager proposes a move between folders of one disk; the file must stay where it is.
    EXPECT_EQ(dropActionFor(frame, moved, Qt::MoveAction | Qt::CopyAction, Qt::MoveAction), Qt::CopyAction);
    EXPECT_EQ(dropActionFor(frame, linked, Qt::MoveAction | Qt::LinkAction, Qt::LinkAction), Qt::LinkAction);
    EXPECT_EQ(dropActionFor(frame, only, Qt::MoveAction, Qt::MoveAction), Qt::IgnoreAction);
    EXPECT_NE(app->GetDocTemplate().findFrame(moved.c_str()), nullptr);
    EXPECT_NE(app->GetDocTemplate().findFrame(linked.c_str()), nullptr);
    EXPECT_EQ(app->GetDocTemplate().findFrame(only.c_str()), nullptr);
}

TEST_F(DropTest, OnlyLocalFilesAreAccepted)
{
    start();
    MainFrame& frame = *app->GetMainFrame();
    EXPECT_FALSE(drop(frame, {QUrl(QStringLiteral("https://example.org/app.log"))}));
    QMimeData text;
    text.setText(QStringLiteral("/var/log/app.log"));
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&frame, &enter);
    EXPECT_FALSE(enter.isAccepted());
    EXPECT_EQ(app->GetDocTemplate().count(), 0);
    EXPECT_TRUE(frame.acceptDrops());
}

} // namespace
} // namespace kestrano::test
