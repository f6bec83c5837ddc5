// The program in German: the translation built into the build tree, Qt's own, the menus, boxes and
// dialogs of a real run, the command-line help; and English left exactly as it is.
#include "core/text/Message.h"
#include "core/text/Severity.h"
#include "platform/qt/CoreTexts.h"
#include "platform/qt/LogList.h"
#include "platform/qt/LogListModel.h"
#include "platform/qt/TimeText.h"
#include "shell/app/ProgramArguments.h"
#include "shell/app/Translations.h"
#include "shell/dialogs/OptionsDialog.h"
#include "shell/widgets/FindBar.h"
#include "shell/windows/ChildFrame.h"
#include "shell/windows/MainFrame.h"
#include "tests/shell/MessageBoxAnswerer.h"
#include "tests/shell/ShellFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>

#include <cstring>
#include <memory>

namespace kestrano::test {
namespace {

const QString builtTranslations = QStringLiteral(KESTRANO_TRANSLATIONS_DIR);

QStringList texts(const QList<QAction*>& actions)
{
    QStringList result;
    for (QAction* action : actions) {
        if (!action->isSeparator())
            result << action->text();
    }
    return result;
}

class TranslationTest : public ShellTest {
protected:
    void TearDown() override
    {
        ShellTest::TearDown();
        QLocale::setDefault(QLocale::c());
    }

    // Runs the rest of the test in the user's language LOCALE.
    void useLocale(const char* name)
    {
        QLocale::setDefault(QLocale(QString::fromLatin1(name)));
        translations = std::make_unique<Translations>(QLocale(), QStringList {builtTranslations});
    }

    std::unique_ptr<Translations> translations;
};

TEST_F(TranslationTest, GermanMenusToolBarAndStatusBar)
{
    useLocale("de_DE");
    ASSERT_TRUE(translations->hasOwn());
    start();
    MainFrame& frame = *app->GetMainFrame();
    EXPECT_EQ(texts(frame.menuBar()->actions()), QStringList({"&Datei", "&Ansicht", "&Hilfe"}));
    EXPECT_EQ(texts(frame.menuBar()->actions().first()->menu()->actions()),
        QStringList({"Ö&ffnen...\tStrg+O", "&Journal öffnen...", "&Entferntes Protokoll öffnen...",
            "&Alle Dateien löschen...", "O&ptionen...\tF10", "&Beenden\tAlt+X"}));
    EXPECT_EQ(frame.action(Command::Open)->statusTip(), QStringLiteral("Ein vorhandenes Dokument öffnen."));
    EXPECT_EQ(frame.action(Command::Open)->toolTip(), QStringLiteral("Öffnen"));

    const std::string path = log("menus.log", "x\n");
    ChildFrame* child = app->OpenDocumentFile(path.c_str());
    QCoreApplication::processEvents();
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(texts(frame.menuBar()->actions()),
        QStringList({"&Datei", "&Bearbeiten", "&Filter", "&Ansicht", "F&enster", "&Hilfe"}));
    EXPECT_EQ(
        child->toolBarAction(Command::SetToErrors)->toolTip(), QStringLiteral("Fehler und höher zeigen"));
    // The shortcuts stay the keys they are.
    EXPECT_EQ(frame.action(Command::SetToErrors)->shortcut(), QKeySequence(QStringLiteral("E")));
    EXPECT_EQ(frame.action(Command::Open)->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
}

TEST_F(TranslationTest, GermanBoxesAndDialogsWithQtsOwnButtons)
{
    useLocale("de_DE");
    const std::string missing = logs.file("fehlt.log");
    start({missing});
    MessageBoxAnswerer boxes(QMessageBox::Yes);
    app->GetMainFrame()->dispatch(Command::DeleteAllFiles, nullptr);
    ASSERT_EQ(boxes.texts.size(), 2);
    EXPECT_EQ(boxes.texts[0],
        QString::fromStdString("Wirklich alle geöffneten Protokolldateien löschen?\n\n1 Datei:\n" + missing));
    EXPECT_EQ(boxes.texts[1], QString::fromStdString("Fehler: " + missing + " kann nicht gelöscht werden."));
    EXPECT_EQ(boxes.captions[1], QStringLiteral("Kestrano"));

    OptionsDialog options(*app, app->GetMainFrame());
    EXPECT_EQ(options.windowTitle(), QStringLiteral("Optionen"));
    // Qt's own translation: the standard buttons of question boxes and dialogs.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Ja"));
}

TEST_F(TranslationTest, GermanTimeSpansTakeTheirPluralForms)
{
    constexpr int64_t second = 1000000;
    EXPECT_EQ(spanText((4 * 60 + 12) * second), QStringLiteral("4 min 12 s"));
    EXPECT_EQ(spanText((2 * 86400 + 3 * 3600) * second), QStringLiteral("2 d 3 h"));
    useLocale("de_DE");
    EXPECT_EQ(spanText(86400 * second + 59 * second), QStringLiteral("1 Tag"));
    EXPECT_EQ(spanText((2 * 86400 + 3 * 3600) * second), QStringLiteral("2 Tage 3 Std."));
    EXPECT_EQ(spanText(250000), QStringLiteral("250 ms"));
    EXPECT_EQ(distanceToEndText(12 * 60 * second), QStringLiteral("12 Min. vor dem Ende"));
    EXPECT_EQ(distanceToEndText(0), QStringLiteral("am Ende"));
}

TEST_F(TranslationTest, CoreTextsAreTranslatedButLogLinesAreNot)
{
    useLocale("de_DE");
    EXPECT_EQ(translatedText({CoreText::DeleteQuestion, "/var/log/a.log"}),
        QStringLiteral("Die Protokolldatei wirklich löschen?\n\n/var/log/a.log"));
    EXPECT_EQ(translatedText({CoreText::CannotDelete, "/var/log/a b.log"}),
        QStringLiteral("Fehler: /var/log/a b.log kann nicht gelöscht werden."));
    const std::unique_ptr<Message> notice(Message::createNotice({CoreText::ReadError, {}}, Severity::Error));
    EXPECT_EQ(translatedRowText(*notice, QString::fromUtf8(notice->getText())),
        QStringLiteral("Fehler: Die Protokolldatei kann nicht gelesen werden. Es wird weiter versucht..."));
    // A line of a log is shown as it was written, even one that looks like a box's text.
    for (const char* line : {"Error: Cannot delete /tmp/x.", "Sure to delete the log file?",
             "error: disk full", "Error: Cannot read from log file. Still trying..."}) {
        const std::unique_ptr<Message> message(
            Message::create(line, int32_t(std::strlen(line)), Severity::Error));
        EXPECT_EQ(translatedRowText(*message, QString::fromLatin1(line)), QString::fromLatin1(line));
    }
    EXPECT_EQ(
        translatedText({CoreText::None, "Error: Cannot delete ."}), QStringLiteral("Error: Cannot delete ."));
}

// The notice of a log that can't be read, its reason put into the German sentence.
TEST_F(TranslationTest, TheFailureNoticeOfASourceIsGermanWithItsReason)
{
    useLocale("de_DE");
    const std::string path = logs.file("broken.log.gz");
    writeFile(path, "not compressed at all, long enough for a header\n");
    start({path});
    ChildFrame* frame = app->GetDocTemplate().findFrame(path.c_str());
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->list().rowCount(), 1);
    QCoreApplication::processEvents(); // the row reaches the list view
    EXPECT_EQ(frame->list().model().data(frame->list().model().index(0), Qt::DisplayRole).toString(),
        QStringLiteral(
            "Fehler: Die Protokolldatei kann nicht gelesen werden (incorrect header check). Es wird "
            "weiter versucht..."));
    EXPECT_STREQ(frame->list().rowMessage(0)->getText(),
        "Error: Cannot read from log file (incorrect header check). Still trying...");
}

TEST_F(TranslationTest, GermanCommandLineHelp)
{
    useLocale("de_DE");
    const std::string help = usageText("/usr/bin/kestrano");
    EXPECT_EQ(
        help.rfind(
            "Aufruf: kestrano [--log STUFE] [--journal[=UNIT]] [--journal-file DATEI] [PROTOKOLLDATEI...]\n",
            0),
        0u)
        << help;
    EXPECT_NE(help.find("--version       die Version zeigen und beenden\n"), std::string::npos) << help;
}

TEST_F(TranslationTest, EnglishStaysExactlyAsWritten)
{
    useLocale("en_US");
    EXPECT_FALSE(translations->hasOwn());
    start();
    MainFrame& frame = *app->GetMainFrame();
    EXPECT_EQ(texts(frame.menuBar()->actions()), QStringList({"&File", "&View", "&Help"}));
    EXPECT_EQ(frame.action(Command::Open)->text(), QStringLiteral("&Open...\tCtrl+O"));
    EXPECT_EQ(
        usageText("kestrano")
            .rfind(
                "Usage: kestrano [--log LEVEL] [--journal[=UNIT]] [--journal-file FILE] [LOGFILE...]\n", 0),
        0u);
}

TEST_F(TranslationTest, TranslationIsFoundInTheFirstFolderThatHasIt)
{
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    const QString empty = QString::fromStdString(logs.file("empty"));
    QDir().mkpath(empty);
    {
        const Translations none(QLocale(), {empty, QString::fromStdString(logs.file("missing"))});
        EXPECT_FALSE(none.hasOwn());
        EXPECT_EQ(QCoreApplication::translate("kestrano::MainFrame", "&File"), QStringLiteral("&File"));
    }
    {
        const Translations found(QLocale(), {empty, builtTranslations});
        EXPECT_TRUE(found.hasOwn());
        EXPECT_EQ(QCoreApplication::translate("kestrano::MainFrame", "&File"), QStringLiteral("&Datei"));
    }
    // Gone with the object.
    EXPECT_EQ(QCoreApplication::translate("kestrano::MainFrame", "&File"), QStringLiteral("&File"));
    // German wherever it is spoken.
    for (const char* name : {"de_AT", "de_CH", "de"})
        EXPECT_TRUE(Translations(QLocale(QString::fromLatin1(name)), {builtTranslations}).hasOwn()) << name;

    const QStringList folders = Translations::translationFolders();
    const QDir program(QCoreApplication::applicationDirPath());
    ASSERT_GE(folders.size(), 2);
    EXPECT_EQ(folders[0], program.filePath(QStringLiteral("translations")));
    EXPECT_EQ(
        folders[1], QDir::cleanPath(program.filePath(QStringLiteral("../share/kestrano/translations"))));
}

// The German labels are long: a narrow find bar shows icons and signs, and a field of twelve characters.
TEST_F(TranslationTest, ANarrowGermanFindBarKeepsItsFieldWide)
{
    useLocale("de_DE");
    const std::string path = log("schmal.log", "x\n");
    start({path});
    ChildFrame& child = *app->GetDocTemplate().findFrame(path.c_str());
    FindBar& bar = child.findBar();
    bar.open();
    child.resize(1600, 300);
    QCoreApplication::processEvents();
    EXPECT_FALSE(bar.isCompact());
    EXPECT_EQ(bar.previousButton().text(), QStringLiteral("Zurück"));
    child.resize(460, 300);
    QCoreApplication::processEvents();
    EXPECT_TRUE(bar.isCompact());
    EXPECT_GE(bar.patternField().width(), bar.patternField().fontMetrics().averageCharWidth() * 12);
    EXPECT_EQ(bar.previousButton().accessibleName(), QStringLiteral("Zurück"));
    EXPECT_EQ(bar.matchCaseBox().toolTip(), QStringLiteral("Groß-/Kleinschreibung beachten"));
}

} // namespace
} // namespace kestrano::test
