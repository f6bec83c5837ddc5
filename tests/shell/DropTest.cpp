// Files dropped on the main window: several at once open in the order dropped, an open one is only
// activated, and what is not a local file is refused.
#include "shell/ChildFrame.h"
#include "shell/DocTemplate.h"
#include "shell/MainFrame.h"
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
