// File > "Open Remote Log...": the dialog, and the remote log it opens through a real sshd, kept in the
// workspace and offered again.
#include "shell/dialogs/RemoteLogDialog.h"
#include "core/settings/RecentRemoteLogs.h"
#include "core/text/Message.h"
#include "core/view/ChildView.h"
#include "platform/qt/LogList.h"
#include "shell/commands/Command.h"
#include "shell/windows/ChildFrame.h"
#include "shell/windows/MainFrame.h"
#include "tests/shell/ShellFixture.h"
#include "tests/support/SshServer.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace kestrano::test {
namespace {

using RemoteLogDialogTest = ShellTest;

TEST_F(RemoteLogDialogTest, MakesTheNameOfAFileOrAJournalAndOffersRecentOnes)
{
    RemoteLogDialog dialog({"ssh://ops@web1:2222/?journal=nginx", "ssh://db1/var/log/syslog"}, nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Open Remote Log");
    QPushButton* ok = dialog.buttonBox()->button(QDialogButtonBox::Ok);
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_EQ(dialog.recentBox()->count(), 2);

    dialog.hostField()->setText(" web2 ");
    EXPECT_FALSE(ok->isEnabled()) << "a file, but no path";
    dialog.pathField()->setText("var/log/app.log");
    EXPECT_FALSE(ok->isEnabled()) << "the path is absolute";
    dialog.pathField()->setText("/var/log/app.log");
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_EQ(dialog.name(), "ssh://web2/var/log/app.log");
    dialog.journalButton()->setChecked(true);
    EXPECT_EQ(dialog.name(), "ssh://web2/?journal");
    dialog.unitField()->setText("cron");
    EXPECT_EQ(dialog.name(), "ssh://web2/?journal=cron");
    dialog.hostField()->setText("-oProxyCommand=x");
    EXPECT_FALSE(ok->isEnabled());

    dialog.recentBox()->setCurrentIndex(0);
    emit dialog.recentBox()->activated(0);
    EXPECT_EQ(dialog.hostField()->text(), "ops@web1:2222");
    EXPECT_TRUE(dialog.journalButton()->isChecked());
    EXPECT_EQ(dialog.name(), "ssh://ops@web1:2222/?journal=nginx");
    emit dialog.recentBox()->activated(1);
    EXPECT_TRUE(dialog.fileButton()->isChecked());
    EXPECT_EQ(dialog.name(), "ssh://db1/var/log/syslog");
}

TEST_F(RemoteLogDialogTest, TheCommandOpensTheRemoteLogWhichTheWorkspaceKeeps)
{
    SshServer server;
    const std::string file = log("remote.log", "first\nan error\n");
    const std::string name = server.name(file);
    start();
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* open = qobject_cast<RemoteLogDialog*>(QApplication::activeModalWidget())) {
            const std::string rest = name.substr(6);
            open->hostField()->setText(QString::fromStdString(rest.substr(0, rest.find('/'))));
            open->pathField()->setText(QString::fromStdString(file));
            open->accept();
        }
    });
    answer.start(10);
    app->GetMainFrame()->action(Command::OpenRemote)->trigger();
    answer.stop();
    ChildFrame* frame = app->GetDocTemplate().findFrame(name.c_str());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->windowTitle(), "127.0.0.1: remote.log");
    EXPECT_FALSE(app->GetMainFrame()->action(Command::DeleteFile)->isEnabled());
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame->list().rowCount() == 2; }, 30000));
    appendFile(file, "appended\n");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const int32_t rows = frame->list().rowCount();
            return rows == 3 && std::string(frame->list().rowMessage(2)->getText()) == "appended";
        },
        30000));
    frame->view().setMinimumSeverity(2);
    exit();

    start();
    ChildFrame* restored = app->GetDocTemplate().findFrame(name.c_str());
    ASSERT_NE(restored, nullptr);
    EXPECT_EQ(restored->view().getMinimumSeverity(), 2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return restored->list().rowCount() == 3; }, 30000));
    EXPECT_EQ(loadRecentRemoteLogs(app->GetConfigRootSection()), std::vector<std::string> {name});
}

} // namespace
} // namespace kestrano::test
