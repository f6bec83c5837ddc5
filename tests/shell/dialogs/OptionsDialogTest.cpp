// The Options dialog: filling, the three checks with their boxes, storing, and Cancel.
#include "shell/dialogs/OptionsDialog.h"
#include "config/Config.h"
#include "core/settings/MonitorSettings.h"
#include "core/settings/SettingsStore.h"
#include "core/settings/SettingsTable.h"
#include "core/view/ChildView.h"
#include "platform/qt/LogList.h"
#include "shell/windows/ChildFrame.h"
#include "shell/windows/MainFrame.h"
#include "tests/shell/MessageBoxAnswerer.h"
#include "tests/shell/ShellFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace kestrano::test {
namespace {

class OptionsDialogTest : public ShellTest {
protected:
    MonitorSettings& settings() { return app->GetSettings(); }
    QString keywords(int32_t severity)
    {
        return QString::fromLocal8Bit(
            MonitorSettings::JoinKeywords(settings().GetKeywords(severity)).GetText());
    }
    // Presses OK with the interval field set; the dialog is accepted when all checks pass.
    bool pressOk(OptionsDialog& dialog)
    {
        dialog.accept();
        return dialog.result() == QDialog::Accepted;
    }
};

TEST_F(OptionsDialogTest, OpensFilledWithTheSettings)
{
    start();
    OptionsDialog dialog(*app, app->GetMainFrame());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Options"));
    EXPECT_EQ(dialog.keywordField(0).text(), QStringLiteral("debug debg"));
    EXPECT_EQ(dialog.keywordField(3).text(), QStringLiteral("error exception"));
    EXPECT_TRUE(dialog.multiLineBox().isChecked());
    EXPECT_EQ(dialog.updateEveryField().text(), QStringLiteral("1000"));
    EXPECT_EQ(dialog.initiallyReadField().text(), QStringLiteral("65536"));
    EXPECT_EQ(dialog.keepLinesField().text(), QStringLiteral("1000"));
    EXPECT_EQ(dialog.onTopList().currentIndex(), 4);
    EXPECT_EQ(dialog.playSoundList().currentIndex(), 3);
    ASSERT_EQ(dialog.onTopList().count(), 7);
    EXPECT_EQ(dialog.onTopList().itemText(0), QStringLiteral("on any message"));
    EXPECT_EQ(dialog.playSoundList().itemText(6), QStringLiteral("never"));
}

TEST_F(OptionsDialogTest, AFirstRunShowsTheTableDefaultsInTheTableOrder)
{
    start();
    OptionsDialog dialog(*app, app->GetMainFrame());
    QWidget* previous = nullptr;
    for (const Setting& row : SettingsTable::rows) {
        QWidget* field = dialog.field(static_cast<SettingsTable::Id>(row.id));
        switch (row.type) {
        case SettingType::Keywords:
            EXPECT_EQ(qobject_cast<QLineEdit*>(field)->text(), QString::fromLatin1(row.defaultText))
                << row.key;
            break;
        case SettingType::Number:
            EXPECT_EQ(qobject_cast<QLineEdit*>(field)->text(), QString::number(row.defaultNumber)) << row.key;
            break;
        case SettingType::Flag:
            EXPECT_EQ(qobject_cast<QCheckBox*>(field)->isChecked(), row.defaultNumber != 0) << row.key;
            break;
        case SettingType::Threshold:
            EXPECT_EQ(qobject_cast<QComboBox*>(field)->currentIndex(), row.defaultNumber - Severity::Unknown)
                << row.key;
            break;
        case SettingType::Text:
            EXPECT_EQ(field, nullptr) << row.key;
            continue;
        }
        if (previous) {
            EXPECT_EQ(previous->nextInFocusChain(), field) << row.key;
        }
        previous = field;
    }
}

TEST_F(OptionsDialogTest, TheApplicationTakesTheChosenValueValidated)
{
    start();
    // Values below the bounds, as a damaged file loads them.
    MonitorSettings loaded;
    haspel::Config config;
    ASSERT_TRUE(config.ParseText("<Analyze>\n\t<UpdateEvery>5</>\n</Analyze>\n"
                                 "<Sizes>\n\t<KeepLines>0</>\n\t<InitiallyReadBytes>-1</>\n</Sizes>\n"));
    loadMonitorSettings(loaded, config.GetRoot());
    MonitorSettings::ParseKeywords("oops", loaded.GetKeywords(Severity::Error));
    app->applySettings(loaded, false);
    EXPECT_EQ(settings().GetUpdateEvery(), 100);
    EXPECT_EQ(settings().GetKeepLines(), 1);
    EXPECT_EQ(settings().GetInitiallyReadBytes(), -1);
    EXPECT_EQ(keywords(Severity::Error), QStringLiteral("oops"));
    EXPECT_EQ(app->GetMainFrame()->updateTimer().interval(), 100);
    EXPECT_FALSE(app->GetDesktopNotifications());
}

TEST_F(OptionsDialogTest, AnIntervalBelow100IsRefused)
{
    start();
    OptionsDialog dialog(*app, app->GetMainFrame());
    dialog.updateEveryField().setText(QStringLiteral("99"));
    dialog.keepLinesField().setText(QStringLiteral("5"));
    MessageBoxAnswerer boxes(QMessageBox::Ok);
    EXPECT_FALSE(pressOk(dialog));
    ASSERT_EQ(boxes.texts.size(), 1);
    EXPECT_EQ(boxes.texts[0], QStringLiteral("The update interval may not be less than 100 milli seconds."));
    EXPECT_EQ(boxes.icons[0], QMessageBox::Critical);
    EXPECT_EQ(boxes.captions[0], QStringLiteral("Kestrano"));
    EXPECT_EQ(dialog.focusWidget(), &dialog.updateEveryField());
    EXPECT_EQ(settings().GetUpdateEvery(), 1000);
    EXPECT_EQ(settings().GetKeepLines(), 1000);

    dialog.updateEveryField().setText(QStringLiteral("fast"));
    EXPECT_FALSE(pressOk(dialog));
    EXPECT_EQ(boxes.texts.size(), 2);
}

TEST_F(OptionsDialogTest, AnIntervalBelow500IsQuestioned)
{
    useScriptedBoxes = true;
    start();
    {
        OptionsDialog dialog(*app, app->GetMainFrame());
        dialog.updateEveryField().setText(QStringLiteral("250ms"));
        scriptedBoxes.answer = false;
        EXPECT_FALSE(pressOk(dialog));
        ASSERT_EQ(scriptedBoxes.warnings.size(), 1u);
        EXPECT_EQ(scriptedBoxes.warnings[0],
            "Settings the update interval to less than 500 milli seconds\n"
            "May slow down your system. Are you sure you want to do this?");
        EXPECT_TRUE(scriptedBoxes.questions.empty());
        EXPECT_TRUE(scriptedBoxes.errors.empty());
        EXPECT_EQ(dialog.focusWidget(), &dialog.updateEveryField());
        EXPECT_EQ(settings().GetUpdateEvery(), 1000);
    }
    {
        OptionsDialog dialog(*app, app->GetMainFrame());
        dialog.updateEveryField().setText(QStringLiteral("100"));
        scriptedBoxes.answer = true;
        EXPECT_TRUE(pressOk(dialog));
        EXPECT_EQ(scriptedBoxes.warnings.size(), 2u);
        EXPECT_EQ(settings().GetUpdateEvery(), 100);
        EXPECT_EQ(app->GetMainFrame()->updateTimer().interval(), 100);
        EXPECT_TRUE(app->GetMainFrame()->updateTimer().isActive());
    }
    {
        OptionsDialog dialog(*app, app->GetMainFrame());
        dialog.updateEveryField().setText(QStringLiteral("500"));
        scriptedBoxes.answer = false;
        EXPECT_TRUE(pressOk(dialog));
        EXPECT_EQ(scriptedBoxes.warnings.size(), 2u);
        EXPECT_EQ(settings().GetUpdateEvery(), 500);
    }
}

TEST_F(OptionsDialogTest, TheWarningOnScreenIsAYesNoBoxCaptionedKestrano)
{
    start();
    OptionsDialog dialog(*app, app->GetMainFrame());
    dialog.updateEveryField().setText(QStringLiteral("250"));
    MessageBoxAnswerer boxes(QMessageBox::No);
    EXPECT_FALSE(pressOk(dialog));
    ASSERT_EQ(boxes.texts.size(), 1);
    EXPECT_EQ(boxes.icons[0], QMessageBox::Warning);
    EXPECT_EQ(boxes.captions[0], QStringLiteral("Kestrano"));
    EXPECT_EQ(settings().GetUpdateEvery(), 1000);
}

TEST_F(OptionsDialogTest, KeptLinesMustBePositive)
{
    useScriptedBoxes = true;
    start();
    for (const char* refused : {"0", "-3"}) {
        OptionsDialog dialog(*app, app->GetMainFrame());
        dialog.keepLinesField().setText(QString::fromLatin1(refused));
        dialog.keywordField(2).setText(QStringLiteral("changed"));
        scriptedBoxes.errors.clear();
        EXPECT_FALSE(pressOk(dialog)) << refused;
        ASSERT_EQ(scriptedBoxes.errors.size(), 1u);
        EXPECT_EQ(scriptedBoxes.errors[0], "Invalid keep lines value.");
        EXPECT_EQ(dialog.focusWidget(), &dialog.keepLinesField());
        EXPECT_EQ(keywords(2), QStringLiteral("warn"));
    }
    OptionsDialog dialog(*app, app->GetMainFrame());
    dialog.keepLinesField().setText(QStringLiteral("1"));
    EXPECT_TRUE(pressOk(dialog));
    EXPECT_EQ(settings().GetKeepLines(), 1);
}

TEST_F(OptionsDialogTest, OkStoresEveryFieldAndRebuildsTheViews)
{
    const std::string path = log("kept.log", "one\ntwo\nthree\n");
    start({path});
    ChildFrame* frame = app->GetDocTemplate().findFrame(path.c_str());
    ASSERT_EQ(frame->list().rowCount(), 3);
    {
        OptionsDialog dialog(*app, app->GetMainFrame());
        dialog.keywordField(3).setText(QStringLiteral("  Error   FAIL  "));
        dialog.keywordField(0).setText(QString());
        dialog.multiLineBox().setChecked(false);
        dialog.initiallyReadField().setText(QStringLiteral("-1"));
        dialog.keepLinesField().setText(QStringLiteral("2"));
        dialog.onTopList().setCurrentIndex(0);
        dialog.playSoundList().setCurrentIndex(6);
        EXPECT_TRUE(pressOk(dialog));
    }
    EXPECT_EQ(keywords(3), QStringLiteral("error fail"));
    EXPECT_EQ(settings().GetKeywords(0).GetCount(), 0);
    EXPECT_FALSE(settings().GetMultiLine());
    EXPECT_EQ(settings().GetInitiallyReadBytes(), -1);
    EXPECT_EQ(settings().GetKeepLines(), 2);
    EXPECT_EQ(settings().GetOnTop(), -1);
    EXPECT_EQ(settings().GetPlaySound(), 5);
    EXPECT_EQ(frame->list().rowCount(), 2);

    OptionsDialog again(*app, app->GetMainFrame());
    EXPECT_EQ(again.keywordField(3).text(), QStringLiteral("error fail"));
    EXPECT_EQ(again.keywordField(0).text(), QString());
}

TEST_F(OptionsDialogTest, AThresholdOutsideTheListsSelectsNothingAndStoresMinus2)
{
    editConfiguration([](haspel::ConfigSection& root) {
        root.GetSection("Notifications").GetParameter("OnTop").SetInt(9);
    });
    start();
    OptionsDialog dialog(*app, app->GetMainFrame());
    EXPECT_EQ(dialog.onTopList().currentIndex(), -1);
    EXPECT_TRUE(pressOk(dialog));
    EXPECT_EQ(settings().GetOnTop(), -2);
}

TEST_F(OptionsDialogTest, CancelChangesNothing)
{
    const std::string path = log("cancel.log", "one\ntwo\nthree\n");
    start({path});
    OptionsDialog dialog(*app, app->GetMainFrame());
    for (int32_t i = 0; i < 5; ++i)
        dialog.keywordField(i).setText(QStringLiteral("x"));
    dialog.multiLineBox().setChecked(false);
    dialog.updateEveryField().setText(QStringLiteral("5"));
    dialog.initiallyReadField().setText(QStringLiteral("5"));
    dialog.keepLinesField().setText(QStringLiteral("1"));
    dialog.onTopList().setCurrentIndex(0);
    dialog.playSoundList().setCurrentIndex(0);
    dialog.reject();

    EXPECT_EQ(keywords(0), QStringLiteral("debug debg"));
    EXPECT_EQ(keywords(4), QStringLiteral("fatal crit"));
    EXPECT_TRUE(settings().GetMultiLine());
    EXPECT_EQ(settings().GetUpdateEvery(), 1000);
    EXPECT_EQ(settings().GetInitiallyReadBytes(), 65536);
    EXPECT_EQ(settings().GetKeepLines(), 1000);
    EXPECT_EQ(settings().GetOnTop(), 3);
    EXPECT_EQ(settings().GetPlaySound(), 2);
    EXPECT_EQ(app->GetDocTemplate().findFrame(path.c_str())->list().rowCount(), 3);
}

TEST(LeadingNumberTest, ReadsLikeAtol)
{
    EXPECT_EQ(leadingNumber(QStringLiteral("  -42abc")), -42);
    EXPECT_EQ(leadingNumber(QStringLiteral("+7")), 7);
    EXPECT_EQ(leadingNumber(QStringLiteral("abc")), 0);
    EXPECT_EQ(leadingNumber(QString()), 0);
    EXPECT_EQ(leadingNumber(QStringLiteral("99999999999")), INT32_MAX);
}

} // namespace
} // namespace kestrano::test
