// Log windows over the sources beyond plain files: standard input through a real pipe, a gzip file,
// the journal from the command line, the workspace and File > Open Journal....
#include "config/Config.h"
#include "core/text/Message.h"
#include "core/view/ChildView.h"
#include "core/view/Document.h"
#include "platform/qt/LogList.h"
#include "platform/qt/LogListModel.h"
#include "platform/qt/LogText.h"
#include "shell/app/ProgramArguments.h"
#include "shell/commands/Command.h"
#include "shell/dialogs/JournalDialog.h"
#include "shell/dialogs/MessageDialog.h"
#include "shell/windows/ChildFrame.h"
#include "shell/windows/MainFrame.h"
#include "tests/shell/ShellFixture.h"
#include "tests/support/MadeLogs.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <fcntl.h>
#include <langinfo.h>
#include <unistd.h>

namespace kestrano::test {
namespace {

using SourcesTest = ShellTest;

std::string lastRowText(ChildFrame& frame)
{
    const int32_t rows = frame.list().rowCount();
    return rows > 0 ? frame.list().rowMessage(rows - 1)->getText() : std::string();
}

TEST_F(SourcesTest, StandardInputIsFollowedToItsEndAndNeverStored)
{
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    ASSERT_EQ(dup2(ends[0], STDIN_FILENO), STDIN_FILENO); // this test's own process
    ::close(ends[0]);
    ASSERT_EQ(::write(ends[1], "started\n", 8), 8);

    start({"-"});
    ChildFrame* frame = app->GetDocTemplate().findFrame("-");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->windowTitle(), "Standard Input");
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame->list().rowCount() == 1; }, 10000));
    EXPECT_FALSE(app->GetMainFrame()->action(Command::DeleteFile)->isEnabled());

    ASSERT_EQ(::write(ends[1], "an error\n", 9), 9);
    EXPECT_TRUE(QTest::qWaitFor([&] { return lastRowText(*frame) == "an error"; }, 10000));
    ::close(ends[1]);
    EXPECT_TRUE(QTest::qWaitFor([&] { return lastRowText(*frame) == "End of input."; }, 10000));
    EXPECT_EQ(app->GetDocTemplate().count(), 1) << "the window stays open";

    frame->view().toggleFollow();
    exit();
    EXPECT_EQ(savedConfiguration()->GetRoot().GetSection("Workspace").FindSection("-"), nullptr);
}

TEST_F(SourcesTest, ACompressedLogShowsItsTextAndIsStoredByItsPath)
{
    const std::string path = logs.file("app.log.1.gz");
    writeCompressed(path, "gzip", "info one\nerror two\n");
    start({path});
    ChildFrame* frame = app->GetDocTemplate().findFrame(path.c_str());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->windowTitle(), "app.log.1.gz");
    ASSERT_EQ(frame->list().rowCount(), 2);
    EXPECT_EQ(lastRowText(*frame), "error two");
    EXPECT_TRUE(app->GetMainFrame()->action(Command::DeleteFile)->isEnabled());
    exit();
    EXPECT_NE(savedConfiguration()->GetRoot().GetSection("Workspace").FindSection(path.c_str()), nullptr);
}

TEST_F(SourcesTest, TheJournalOpensFromTheCommandLineAndComesBackWithTheWorkspace)
{
    const char* argv[] = {"kestrano", "--journal=ssh", "--journal", "--", "--journal"};
    const ProgramArguments arguments = parseProgramArguments(5, argv);
    EXPECT_EQ(arguments.files, (std::vector<std::string> {"journal:ssh", "journal:", "--journal"}));

    start({"journal:ssh", "journal:"});
    ChildFrame* unit = app->GetDocTemplate().findFrame("journal:ssh");
    ChildFrame* all = app->GetDocTemplate().findFrame("journal:");
    ASSERT_NE(unit, nullptr);
    ASSERT_NE(all, nullptr);
    EXPECT_EQ(unit->windowTitle(), "Journal: ssh");
    EXPECT_EQ(all->windowTitle(), "Journal");
    EXPECT_FALSE(app->GetMainFrame()->action(Command::DeleteFile)->isEnabled());
    all->view().setMinimumSeverity(2);
    exit();

    start();
    ASSERT_EQ(app->GetDocTemplate().count(), 2);
    ChildFrame* restored = app->GetDocTemplate().findFrame("journal:");
    ASSERT_NE(restored, nullptr);
    EXPECT_EQ(restored->view().getMinimumSeverity(), 2);
    EXPECT_NE(app->GetDocTemplate().findFrame("journal:ssh"), nullptr);
}

// As kestrano-tail: --journal-file reads the journal from files, and a journal that can't be read is
// said in the window rather than left empty.
TEST_F(SourcesTest, JournalFilesFromTheCommandLineAreReadAndAMissingJournalIsSaid)
{
    const char* argv[] = {"kestrano", "--journal-file", "a.journal", "--journal-f=b.journal"};
    const ProgramArguments arguments = parseProgramArguments(4, argv);
    EXPECT_EQ(arguments.journalFiles, (std::vector<std::string> {"a.journal", "b.journal"}));
    EXPECT_EQ(arguments.files, (std::vector<std::string> {"journal:"}));
    const char* withUnit[] = {"kestrano", "--journal=cron", "--journal-file", "a.journal"};
    EXPECT_EQ(parseProgramArguments(4, withUnit).files, (std::vector<std::string> {"journal:cron"}));
    const char* missing[] = {"kestrano", "--journal-file"};
    EXPECT_EQ(parseProgramArguments(2, missing).error, "option '--journal-file' needs a file");

    const std::string journal = logs.file("app.journal");
    writeJournal(journal, {journalEntry(0, "disk full", {{"SYSLOG_IDENTIFIER", "app"}, {"PRIORITY", "3"}})});
    app = std::make_unique<Kestrano>(std::make_unique<RecordingAlertSound>(soundPlays), &files);
    app->SetJournalFiles({journal});
    app->InitInstance({"journal:"});
    ChildFrame* frame = app->GetDocTemplate().findFrame("journal:");
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return frame->list().rowCount() == 1; }, 10000));
    EXPECT_NE(
        QString::fromUtf8(frame->list().rowMessage(0)->getText()).indexOf(QStringLiteral("app: disk full")),
        -1);
    exit();

    app = std::make_unique<Kestrano>(std::make_unique<RecordingAlertSound>(soundPlays), &files);
    app->SetJournalFiles({logs.file("none.journal")});
    app->InitInstance({"journal:"});
    frame = app->GetDocTemplate().findFrame("journal:");
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return frame->list().model().rowCount() == 1; }, 10000));
    EXPECT_EQ(frame->list().model().data(frame->list().model().index(0), Qt::DisplayRole).toString(),
        QStringLiteral("Error: Cannot read from log file (No such file or directory). Still trying..."));
}

TEST_F(SourcesTest, OpenJournalAsksForAllEntriesOrOneUnit)
{
    JournalDialog dialog({"cron.service", "ssh.service"}, nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Open Journal");
    EXPECT_EQ(dialog.unitBox()->count(), 2);
    EXPECT_TRUE(dialog.allButton()->isChecked());
    EXPECT_EQ(dialog.unit(), "");
    QPushButton* ok = dialog.buttonBox()->button(QDialogButtonBox::Ok);
    dialog.unitButton()->setChecked(true);
    EXPECT_FALSE(ok->isEnabled()) << "one unit, but none named";
    dialog.unitBox()->setCurrentIndex(1);
    EXPECT_EQ(dialog.unit(), "ssh.service");
    EXPECT_TRUE(ok->isEnabled());
    dialog.allButton()->setChecked(true);
    dialog.unitBox()->setEditText("  my.service ");
    EXPECT_TRUE(dialog.unitButton()->isChecked()) << "typing a unit chooses one unit";
    EXPECT_EQ(dialog.unit(), "my.service");

    // The command opens the dialog; its answer opens the window.
    start();
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* open = qobject_cast<JournalDialog*>(QApplication::activeModalWidget())) {
            open->unitBox()->setEditText("cron");
            open->accept();
        }
    });
    answer.start(10);
    app->GetMainFrame()->action(Command::OpenJournal)->trigger();
    ChildFrame* frame = app->GetDocTemplate().findFrame("journal:cron");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->windowTitle(), "Journal: cron");
    EXPECT_EQ(app->GetMainFrame()->windowTitle(), "Kestrano - Journal: cron");
}

TEST_F(SourcesTest, BytesNotValidInTheLocaleShowAsLatin1AndUtf16LogsAsTheirText)
{
    ASSERT_STREQ(nl_langinfo(CODESET), "UTF-8") << "Qt runs in a UTF-8 locale";
    EXPECT_EQ(logText("caf\xe9 ok", 7), QString::fromUtf8("café ok"));
    EXPECT_EQ(logText("gr\xc3\xbc\xc3\x9f \xe9t\xe9"), QString::fromUtf8("grüß été"));
    // Overlong, surrogate and cut sequences are bytes, each of its own.
    EXPECT_EQ(logText("\xc0\xaf \xed\xa0\x80 \xe2\x82"), QString::fromUtf8("À¯ í\u00a0\u0080 â\u0082"));

    const std::string latin = log("latin1.log",
        "Fehler: Datei \xf6"
        "ffnen gescheitert\n");
    const std::string wide = logs.file("wide.log");
    writeFile(wide,
        std::string("\xff\xfe"
                    "e\0r\0r\0o\0r\0 \0\xfc\0\n\0",
            18));
    start({latin, wide});
    ChildFrame* frame = app->GetDocTemplate().findFrame(latin.c_str());
    ASSERT_NE(frame, nullptr);
    LogListModel& model = frame->list().model();
    EXPECT_TRUE(QTest::qWaitFor([&] { return model.rowCount() == 1; }, 5000));
    ASSERT_EQ(model.rowCount(), 1);
    const QString shown = QString::fromUtf8("Fehler: Datei öffnen gescheitert");
    EXPECT_EQ(model.data(model.index(0), Qt::DisplayRole).toString(), shown);
    MessageDialog details(*frame->list().rowMessage(0), nullptr);
    EXPECT_EQ(details.shownText(), shown);
    details.copyToClipboard();
    EXPECT_EQ(QApplication::clipboard()->text(), shown);

    ChildFrame* utf16 = app->GetDocTemplate().findFrame(wide.c_str());
    ASSERT_NE(utf16, nullptr);
    ASSERT_EQ(utf16->list().rowCount(), 1);
    EXPECT_EQ(lastRowText(*utf16), "error ü");
}

} // namespace
} // namespace kestrano::test
