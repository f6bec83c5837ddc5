// The commands of the main window and the application: menus, Clear All, Delete All Files, details, About.
#include "core/settings/MonitorSettings.h"
#include "core/text/KeywordLists.h"
#include "core/text/Message.h"
#include "core/view/ChildView.h"
#include "platform/qt/LogList.h"
#include "platform/qt/LogListModel.h"
#include "shell/app/HelpDocuments.h"
#include "shell/dialogs/AboutDialog.h"
#include "shell/dialogs/MessageDialog.h"
#include "shell/widgets/LongTextView.h"
#include "shell/windows/ChildFrame.h"
#include "shell/windows/MainFrame.h"
#include "tests/shell/MessageBoxAnswerer.h"
#include "tests/shell/ShellFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include <cstring>
#include <filesystem>

namespace kestrano::test {
namespace {

using MainCommandsTest = ShellTest;

QStringList entries(QMenu* menu)
{
    QStringList result;
    for (QAction* action : menu->actions())
        result << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return result;
}

TEST_F(MainCommandsTest, MenusWithoutAndWithLogWindows)
{
    start();
    MainFrame& frame = *app->GetMainFrame();
    EXPECT_EQ(entries(menuNamed(frame, "&File")),
        QStringList({"&Open...\tCtrl+O", "Open &Journal...", "Open &Remote Log...", "Delete &All Files...",
            "-", "O&ptions...\tF10", "-", "E&xit\tAlt+X"}));
    EXPECT_EQ(entries(menuNamed(frame, "&View")),
        QStringList({"&Toolbar", "&Status Bar", "Te&xt Filter Row", "&Wrap Long Rows", "-", "Clear &All", "-",
            "&Refresh\tF5", "-", "Fo&nt..."}));
    EXPECT_EQ(entries(menuNamed(frame, "&Help")),
        QStringList({"&Help...\tF1", "&Terms and Conditions", "&Web Site of Kestrano", "-",
            "&About Kestrano...\tShift+F1"}));
    EXPECT_EQ(menuNamed(frame, "Fil&ter"), nullptr);

    const std::string first = log("first.log", "x\n");
    const std::string second = log("second.log", "y\n");
    app->OpenDocumentFile(first.c_str());
    app->OpenDocumentFile(second.c_str());
    QCoreApplication::processEvents();
    EXPECT_EQ(entries(menuNamed(frame, "&File")),
        QStringList({"&Open...\tCtrl+O", "Open &Journal...", "Open &Remote Log...", "&Save Messages As...",
            "-", "&Delete File...\tShift+Del", "Delete &All Files...", "-", "O&ptions...\tF10", "-",
            "E&xit\tAlt+X"}));
    EXPECT_EQ(entries(menuNamed(frame, "Fil&ter")),
        QStringList(
            {"Set To &Debugs\tD", "Set To &Informations\tI", "Set To &Warnings\tW", "Set To &Errors\tE",
                "Set To &Fatals\tF", "-", "Toggle &Unknowns\tU", "-", "&Text Filter\tCtrl+Shift+F"}));
    EXPECT_EQ(entries(menuNamed(frame, "&Edit")),
        QStringList({"&Copy\tCtrl+C", "&Details...\tEnter", "-", "&Find...\tCtrl+F", "Find &Next\tF3",
            "Find &Previous\tShift+F3", "-", "&Go to Time...\tCtrl+G"}));
    EXPECT_EQ(entries(menuNamed(frame, "&View")),
        QStringList({"&Toolbar", "&Status Bar", "Te&xt Filter Row", "&Wrap Long Rows", "-",
            "Toggle &Follow\tL", "T&oggle Reload On Change", "T&ime Column", "Time&line", "-", "&History",
            "Inclu&de Rotated Files", "-", "&Clear\tDel", "Clear &All", "-", "&Refresh\tF5", "-",
            "Fo&nt..."}));
    EXPECT_EQ(entries(menuNamed(frame, "&Help")),
        QStringList({"&Help...\tF1", "&Terms and Conditions", "&Web Site of Kestrano", "-",
            "&About Kestrano...\tShift+F1"}));

    QMenu* window = menuNamed(frame, "&Window");
    ASSERT_NE(window, nullptr);
    emit window->aboutToShow();
    EXPECT_EQ(entries(window),
        QStringList({"&Cascade", "Tile &Horizontally", "&Tile Vertically", "&Arrange Icons", "-",
            "&Merge Logs...", "-", "&1 first.log", "&2 second.log"}));
    window->actions().at(7)->trigger();
    EXPECT_EQ(frame.activeChild(), app->GetDocTemplate().findFrame(first.c_str()));
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Kestrano - first.log"));
}

// The access keys of each menu's entries, for those that share one with another entry.
QStringList sharedAccessKeys(QMenu* menu)
{
    QStringList shared;
    QMap<QChar, QString> taken;
    for (QAction* action : menu->actions()) {
        const QString text = action->text();
        const qsizetype mark = text.indexOf(QRegularExpression(QStringLiteral("&[^&]")));
        if (mark < 0)
            continue;
        const QChar key = text.at(mark + 1).toLower();
        if (taken.contains(key))
            shared << taken[key] + QStringLiteral(" / ") + text;
        taken[key] = text;
    }
    return shared;
}

TEST_F(MainCommandsTest, NoTwoEntriesOfAMenuShareAnAccessKey)
{
    start();
    MainFrame& frame = *app->GetMainFrame();
    const auto check = [&frame] {
        for (QMenu* menu : frame.currentMenus()) {
            emit menu->aboutToShow();
            EXPECT_TRUE(sharedAccessKeys(menu).isEmpty())
                << menu->title().toStdString() << ": "
                << sharedAccessKeys(menu).join(QStringLiteral(", ")).toStdString();
        }
    };
    check();
    app->OpenDocumentFile(log("a.log", "x\n").c_str());
    QCoreApplication::processEvents();
    check();
}

TEST_F(MainCommandsTest, ClearAllEmptiesTheViewsButNotTheFiles)
{
    const std::string a = log("a.log", "one\ntwo\n");
    const std::string b = log("b.log", "three\n");
    start({a, b});
    std::vector<uint64_t> positions;
    for (const auto& frame : app->GetDocTemplate().GetFrames())
        positions.push_back(frame->view().getReadPosition());

    app->GetMainFrame()->dispatch(Command::ClearAll, nullptr);

    size_t i = 0;
    for (const auto& frame : app->GetDocTemplate().GetFrames()) {
        EXPECT_EQ(frame->list().rowCount(), 0);
        EXPECT_EQ(frame->view().getMessages().GetCount(), 0);
        EXPECT_EQ(frame->view().getReadPosition(), positions[i++]);
    }
    EXPECT_EQ(readFile(a), "one\ntwo\n");
    EXPECT_EQ(readFile(b), "three\n");

    appendFile(a, "four\n");
    app->GetMainFrame()->pollAllLogs();
    EXPECT_EQ(app->GetDocTemplate().findFrame(a.c_str())->list().rowCount(), 1);
}

TEST_F(MainCommandsTest, DeleteAllFilesAsksAndReportsEachFailure)
{
    const std::string a = log("a.log", "one\n");
    const std::string missing = logs.file("missing.log");
    const std::string c = log("c.log", "three\n");
    start({a, missing, c});
    {
        MessageBoxAnswerer boxes(QMessageBox::No);
        app->GetMainFrame()->dispatch(Command::DeleteAllFiles, nullptr);
        ASSERT_EQ(boxes.texts.size(), 1);
        EXPECT_EQ(boxes.texts[0].toStdString(),
            "Sure to delete all open log files?\n\n3 files:\n" + a + "\n" + missing + "\n" + c);
        EXPECT_EQ(boxes.icons[0], QMessageBox::Question);
        EXPECT_TRUE(std::filesystem::exists(a));
        EXPECT_TRUE(std::filesystem::exists(c));
    }
    MessageBoxAnswerer boxes(QMessageBox::Yes);
    app->GetMainFrame()->dispatch(Command::DeleteAllFiles, nullptr);
    ASSERT_EQ(boxes.texts.size(), 2);
    EXPECT_EQ(boxes.texts[1], QString::fromStdString("Error: Cannot delete " + missing + "."));
    EXPECT_EQ(boxes.icons[1], QMessageBox::Critical);
    EXPECT_FALSE(std::filesystem::exists(a));
    EXPECT_FALSE(std::filesystem::exists(c));
    EXPECT_EQ(app->GetDocTemplate().count(), 3);
    EXPECT_EQ(app->GetDocTemplate().findFrame(a.c_str())->list().rowCount(), 0);
}

TEST_F(MainCommandsTest, MessageDetailsShowEveryLineAndCopyCrLf)
{
    MonitorSettings settings;
    KeywordLists keywords(settings);
    auto message = std::make_unique<Message>("disk error", 10, keywords);
    message->appendContinuationLine("  at block 7", 12);
    message->appendContinuationLine("\tretrying", 9);

    MessageDialog dialog(*message, nullptr);
    message.reset(); // the view may drop the message while the dialog is open
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Message details"));
    EXPECT_EQ(dialog.shownText(), QStringLiteral("disk error\nat block 7\nretrying"));
    auto* box = qobject_cast<QPlainTextEdit*>(&dialog.textBox());
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isReadOnly());
    EXPECT_FALSE(dialog.iconLabel().pixmap().isNull());

    dialog.copyToClipboard();
    dialog.copyToClipboard();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("disk error\r\nat block 7\r\nretrying"));

    Message unknown("hello", 5, keywords);
    MessageDialog plain(unknown, nullptr);
    EXPECT_TRUE(plain.iconLabel().pixmap().isNull());
}

TEST_F(MainCommandsTest, DroppedFilesOpenLikeTheOpenCommand)
{
    const std::string dropped = log("dropped.log", "x\n");
    start();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(dropped))});
    for (int i = 0; i < 2; ++i) {
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(app->GetMainFrame(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(app->GetMainFrame(), &drop);
    }
    EXPECT_EQ(app->GetDocTemplate().count(), 1);
    EXPECT_NE(app->GetDocTemplate().findFrame(dropped.c_str()), nullptr);
}

TEST_F(MainCommandsTest, TheOpenDialogOffersTheUsualLogNamesFirst)
{
    for (const char* name :
        {"syslog", "syslog.1", "messages.2.gz", "kern.log.1", "app.out", "app.err", "notes.txt"})
        log(name);
    // Qt's own dialog, which the test can see and answer, whatever the desktop offers.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    start();
    QStringList filters;
    QString selected;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            answer.stop();
            filters = dialog->nameFilters();
            selected = dialog->selectedNameFilter();
            dialog->reject();
        }
    });
    answer.start(10);
    app->GetMainFrame()->action(Command::Open)->trigger();
    EXPECT_EQ(filters,
        QStringList({"Usual log names (*.log *.log.* *.gz *.xz syslog* messages* *.out *.err)",
            "Log files (*.log)", "All Files (*)"}));
    EXPECT_EQ(selected, filters.value(0));

    // Its names show syslog's, rotated and compressed logs.
    const QString patterns = filters.value(0).section(QLatin1Char('('), 1).chopped(1);
    EXPECT_EQ(
        QDir(QString::fromStdString(logs.path())).entryList(patterns.split(QLatin1Char(' ')), QDir::Files),
        QStringList({"app.err", "app.out", "kern.log.1", "messages.2.gz", "syslog", "syslog.1"}));
}

TEST_F(MainCommandsTest, DoubleClickOpensTheDetailsOfTheSelectedMessage)
{
    const std::string path = log("details.log", "disk error\n  at block 7\nnext\n");
    start({path});
    ChildFrame* frame = app->GetDocTemplate().findFrame(path.c_str());
    ASSERT_NE(frame, nullptr);
    QCoreApplication::processEvents();
    LogList& list = frame->list();
    list.setCurrentIndex(list.model().index(0));

    QString shown;
    QTimer::singleShot(50, [&] {
        if (auto* dialog = qobject_cast<MessageDialog*>(QApplication::activeModalWidget())) {
            shown = dialog->shownText();
            dialog->accept();
        }
    });
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(list.model().index(0)).center());
    EXPECT_EQ(shown, QStringLiteral("disk error\nat block 7"));
}

// A 10 MB line and a stack dump of 50,000 lines open in the view that lays out only what is on screen.
TEST_F(MainCommandsTest, DetailsOfLongMessagesShowScrollAndCopyTheWholeText)
{
    MonitorSettings settings;
    KeywordLists keywords(settings);
    std::string line = "fatal ";
    while (line.size() < 10000000)
        line += "0123456789\tabcdef ";
    std::vector<std::unique_ptr<Message>> messages;
    messages.push_back(std::make_unique<Message>(line.data(), static_cast<int32_t>(line.size()), keywords));
    messages.push_back(std::make_unique<Message>("error in thread main", 20, keywords));
    for (int i = 0; i < 50000; ++i) {
        const std::string frame = "at frame " + std::to_string(i) + " (Worker.java:12)";
        messages.back()->appendContinuationLine(frame.data(), static_cast<int32_t>(frame.size()));
    }

    for (const auto& message : messages) {
        const QString whole = QString::fromLocal8Bit(message->getText(), message->getTextLength());
        QString expected = whole;
        expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        MessageDialog dialog(*message, nullptr);
        dialog.show();
        QCoreApplication::processEvents();
        auto* text = qobject_cast<LongTextView*>(&dialog.textBox());
        ASSERT_NE(text, nullptr);
        EXPECT_TRUE(dialog.shownText() == expected);
        EXPECT_GT(text->rowCount(), 1000);
        // Scrolled to the end by key and painted there, and back.
        QScrollBar& bar = *text->verticalScrollBar();
        QTest::keyClick(text, Qt::Key_End);
        EXPECT_GT(bar.maximum(), 1000);
        EXPECT_EQ(bar.value(), bar.maximum());
        EXPECT_FALSE(text->viewport()->grab().isNull());
        QTest::keyClick(text, Qt::Key_PageUp);
        EXPECT_LT(bar.value(), bar.maximum());
        QTest::keyClick(text, Qt::Key_Home);
        EXPECT_EQ(bar.value(), 0);
        dialog.copyToClipboard();
        EXPECT_TRUE(QApplication::clipboard()->text() == whole);
    }
}

TEST_F(MainCommandsTest, TheTimerPollsWhileADialogIsOpen)
{
    editConfiguration([](haspel::ConfigSection& root) {
        root.GetSection("Analyze").GetParameter("UpdateEvery").SetInt(20);
    });
    const std::string path = log("busy.log", "first\n");
    start({path});
    ChildFrame* frame = app->GetDocTemplate().findFrame(path.c_str());
    ASSERT_NE(frame, nullptr);
    AboutDialog about(app->GetMainFrame());
    QTimer::singleShot(10, [&] { appendFile(path, "second\n"); });
    QTimer::singleShot(400, &about, &QDialog::accept);
    about.exec();
    EXPECT_EQ(frame->list().rowCount(), 2);
}

TEST_F(MainCommandsTest, ToolbarAndStatusBarCanBeHidden)
{
    start();
    MainFrame& frame = *app->GetMainFrame();
    EXPECT_TRUE(frame.action(Command::Toolbar)->isChecked());
    frame.action(Command::Toolbar)->trigger();
    EXPECT_FALSE(frame.toolBar().isVisible());
    EXPECT_FALSE(frame.action(Command::Toolbar)->isChecked());
    frame.action(Command::StatusBar)->trigger();
    EXPECT_FALSE(frame.statusBar()->isVisible());
    frame.action(Command::StatusBar)->trigger();
    EXPECT_TRUE(frame.statusBar()->isVisible());
}

TEST_F(MainCommandsTest, AboutShowsNameVersionAndIcon)
{
    AboutDialog about(nullptr);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Kestrano"));
    EXPECT_EQ(about.versionLabel().text(), QStringLiteral("Kestrano Version 1.1.1"));
    EXPECT_FALSE(about.iconLabel().pixmap().isNull());
}

TEST_F(MainCommandsTest, DocumentsAreFoundBesideTheProgramOrInstalled)
{
    // Paths as text in a failure's message.
    TempDir prefix;
    const auto found = [&](const char* relativePath) {
        return findDocument(QString::fromStdString(prefix.file("bin")), QString::fromLatin1(relativePath))
            .toStdString();
    };
    std::filesystem::create_directories(prefix.file("bin"));
    EXPECT_EQ(found("Readme.txt"), "") << "the test main hides the machine's installed files";

    // Not in share/doc, which minimal systems drop.
    std::filesystem::create_directories(prefix.file("share/doc/kestrano"));
    writeFile(prefix.file("share/doc/kestrano/Readme.txt"), "terms");
    EXPECT_EQ(found("Readme.txt"), "");

    std::filesystem::create_directories(prefix.file("share/kestrano"));
    writeFile(prefix.file("share/kestrano/Readme.txt"), "terms");
    EXPECT_EQ(found("Readme.txt"), prefix.file("share/kestrano/Readme.txt"));

    // A data folder of the desktop comes before the program's own prefix.
    TempDir data;
    std::filesystem::create_directories(data.file("kestrano/help"));
    writeFile(data.file("kestrano/help/index.html"), "<p>help</p>");
    std::filesystem::create_directories(prefix.file("share/kestrano/help"));
    writeFile(prefix.file("share/kestrano/help/index.html"), "<p>help</p>");
    const QByteArray dataDirs = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_DIRS", QByteArray::fromStdString(data.file("")));
    EXPECT_EQ(found("help/index.html"), data.file("kestrano/help/index.html"));
    qputenv("XDG_DATA_DIRS", dataDirs);

    std::filesystem::create_directories(prefix.file("bin/docs"));
    writeFile(prefix.file("bin/docs/Readme.txt"), "terms");
    EXPECT_EQ(found("Readme.txt"), prefix.file("bin/docs/Readme.txt"));
}

// Without a browser (xdg-open missing, or failing) the user is told where the help is; an opener that
// succeeds shows no box.
TEST_F(MainCommandsTest, HelpThatNoProgramOpensIsNamedInABox)
{
    useScriptedBoxes = true;
    start();
    const QByteArray path = qgetenv("PATH");
    TempDir bin;
    qputenv("PATH", QByteArray::fromStdString(bin.path()));
    const QUrl help = QUrl::fromLocalFile(QStringLiteral("/usr/share/kestrano/help/index.html"));
    openWithDesktop(help, scriptedBoxes);
    EXPECT_TRUE(QTest::qWaitFor([&] { return scriptedBoxes.errors.size() == 1; }, 30000));
    EXPECT_EQ(scriptedBoxes.errors.at(0),
        "No program could open it. Open it with a web browser:\n\n/usr/share/kestrano/help/index.html");

    std::filesystem::create_symlink("/bin/false", bin.file("xdg-open"));
    openWithDesktop(QUrl(QStringLiteral("https://example.org/x")), scriptedBoxes);
    EXPECT_TRUE(QTest::qWaitFor([&] { return scriptedBoxes.errors.size() == 2; }, 30000));
    EXPECT_EQ(scriptedBoxes.errors.at(1),
        "No program could open it. Open it with a web browser:\n\nhttps://example.org/x");

    std::filesystem::remove(bin.file("xdg-open"));
    std::filesystem::create_symlink("/bin/true", bin.file("xdg-open"));
    openWithDesktop(help, scriptedBoxes);
    // The opener ended well once no QProcess child of the application is left.
    EXPECT_TRUE(QTest::qWaitFor([&] { return qApp->findChildren<QProcess*>().isEmpty(); }, 30000));
    QCoreApplication::processEvents();
    EXPECT_EQ(scriptedBoxes.errors.size(), 2u);
    qputenv("PATH", path);

    // Help stays in the Help menu with logs open.
    app->OpenDocumentFile(log("a.log", "x\n").c_str());
    QCoreApplication::processEvents();
    EXPECT_TRUE(app->GetMainFrame()->action(Command::Help)->isEnabled());
}

} // namespace
} // namespace kestrano::test
