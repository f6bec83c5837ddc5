// What assistive technology reads: every control of the main window and of a log window named (no "&",
// no shortcut inside the name; a combo box is named by its choice, as Qt names it on Linux), and each
// row's severity as text. Read through Qt's accessibility
// interfaces, as a screen reader's bridge reads them.
#include "platform/qt/LogList.h"
#include "platform/qt/LogListModel.h"
#include "shell/widgets/FindBar.h"
#include "shell/windows/ChildFrame.h"
#include "shell/windows/MainFrame.h"
#include "tests/shell/ShellFixture.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>

#include <functional>

namespace kestrano::test {
namespace {

using AccessibilityTest = ShellTest;

// Calls visit for every shown interface below the root, the root included.
void forEachShown(QAccessibleInterface* root, const std::function<void(QAccessibleInterface&)>& visit)
{
    if (!root || !root->isValid() || root->state().invisible)
        return;
    visit(*root);
    for (int i = 0; i < root->childCount(); ++i)
        forEachShown(root->child(i), visit);
}

bool isControl(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::List:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
        return true;
    default:
        return false;
    }
}

TEST_F(AccessibilityTest, EveryControlHasANameWithoutShortcutsAndRowsTellTheirSeverity)
{
    const std::string path = log("app.log", "error disk full\ninfo all well\nplain line\n");
    start({path});
    MainFrame& frame = *app->GetMainFrame();
    ChildFrame& child = *app->GetDocTemplate().findFrame(path.c_str());
    child.findBar().open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return child.list().model().rowCount() == 3; }, 10000));

    QStringList names;
    QStringList unnamed;
    forEachShown(QAccessible::queryAccessibleInterface(&frame), [&](QAccessibleInterface& control) {
        if (!isControl(control.role()))
            return;
        const QString name = control.text(QAccessible::Name);
        names << name;
        if (name.isEmpty() || name.contains(QLatin1Char('\t')) || name.contains(QLatin1Char('&'))
            || name.endsWith(QStringLiteral("...")))
            unnamed << QStringLiteral("%1 (%2, role %3)")
                           .arg(name,
                               QString::fromLatin1(
                                   control.object() ? control.object()->metaObject()->className() : "?"))
                           .arg(control.role());
    });
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(QStringLiteral("; ")).toStdString();
    for (const char* expected : {"Open", "Set To Debugs", "Set To Errors", "Toggle Follow", "About Kestrano",
             "Messages", "Find", "Filter", "Clear", "Show matching", "Match case", "Regular expression",
             "Next", "Previous", "Close the find bar"})
        EXPECT_TRUE(names.contains(QString::fromLatin1(expected)))
            << expected << " among " << names.join(QStringLiteral(", ")).toStdString();

    // The rows: the severity's name comes first, an icon being all a sighted user gets.
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&child.list());
    ASSERT_NE(list, nullptr);
    QStringList rows;
    for (int i = 0; i < list->childCount(); ++i)
        if (QAccessibleInterface* row = list->child(i); row && row->role() == QAccessible::ListItem)
            rows << row->text(QAccessible::Name);
    EXPECT_EQ(rows.join(QLatin1Char('|')).toStdString(),
        "Error: error disk full|Information: info all well|Unknown: plain line");
}

} // namespace
} // namespace kestrano::test
