#include "platform/qt/LogList.h"
#include "core/settings/MonitorSettings.h"
#include "core/text/DisplayText.h"
#include "core/text/KeywordLists.h"
#include "core/text/LogTime.h"
#include "core/text/Message.h"
#include "platform/qt/LogListModel.h"
#include "platform/qt/SeverityIcons.h"
#include "platform/qt/TimeText.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace kestrano {
namespace {

class LogListTest : public ::testing::Test {
protected:
    Message* message(const char* line)
    {
        messages.push_back(
            std::make_unique<Message>(line, static_cast<int32_t>(std::strlen(line)), keywords));
        return messages.back().get();
    }

    MonitorSettings settings;
    KeywordLists keywords {settings};
    std::vector<std::unique_ptr<Message>> messages;
    LogList list;
};

TEST_F(LogListTest, AppendedRowsReachTheViewInOneBatch)
{
    // An empty list is filled by one reset, a list with rows grows by one insertion.
    int insertions = 0;
    int resets = 0;
    QObject::connect(&list.model(), &QAbstractItemModel::rowsInserted, [&] { ++insertions; });
    QObject::connect(&list.model(), &QAbstractItemModel::modelReset, [&] { ++resets; });
    for (int i = 0; i < 100; ++i)
        list.appendRow(message("a line"));

    EXPECT_EQ(list.rowCount(), 100);
    EXPECT_EQ(list.model().rowCount(), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(list.model().rowCount(), 100);
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(insertions, 0);

    for (int i = 0; i < 100; ++i)
        list.appendRow(message("another line"));
    QCoreApplication::processEvents();
    EXPECT_EQ(list.model().rowCount(), 200);
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(insertions, 1);
}

TEST_F(LogListTest, FirstRowsGoBeforeAndAfterTheyAreShown)
{
    Message* first = message("one");
    Message* second = message("two");
    Message* third = message("three");
    list.appendRow(first);
    list.appendRow(second);
    QCoreApplication::processEvents();
    list.appendRow(third);
    list.deleteFirstRow(); // a shown row
    EXPECT_EQ(list.rowCount(), 2);
    EXPECT_EQ(list.rowMessage(0), second);
    EXPECT_EQ(list.rowMessage(1), third);
    EXPECT_EQ(list.rowMessage(2), nullptr);
    EXPECT_EQ(list.model().rowCount(), 1);

    list.deleteAllRows();
    list.appendRow(first);
    list.deleteFirstRow(); // not shown yet
    QCoreApplication::processEvents();
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(list.model().rowCount(), 0);
}

TEST_F(LogListTest, RowsShowOneLineAndTheSeverityIcon)
{
    list.appendRow(message("disk error"));
    list.appendRow(message("hello"));
    Message* joined = message("first  line");
    joined->appendContinuationLine("\tsecond", 7);
    list.appendRow(joined);
    QCoreApplication::processEvents();

    const LogListModel& model = list.model();
    EXPECT_EQ(model.data(model.index(0), Qt::DisplayRole).toString(), QStringLiteral("disk error"));
    const QIcon error = model.data(model.index(0), Qt::DecorationRole).value<QIcon>();
    EXPECT_EQ(error.cacheKey(), severityIcon(3).cacheKey());
    // A message of unknown severity has no icon, only the room of one.
    const QIcon unknown = model.data(model.index(1), Qt::DecorationRole).value<QIcon>();
    for (int32_t severity = 0; severity < 5; ++severity)
        EXPECT_NE(unknown.cacheKey(), severityIcon(severity).cacheKey());
    EXPECT_TRUE(unknown.pixmap(16, 16).toImage().pixelColor(8, 8).alpha() == 0);
    EXPECT_EQ(model.data(model.index(2), Qt::DisplayRole).toString().count(QLatin1Char('\n')), 0);
    EXPECT_EQ(model.data(model.index(2), Qt::DisplayRole).toString(), QStringLiteral("first line second"));
}

TEST_F(LogListTest, TheTimeColumnShowsEachStatedTimeAndKeepsItsPlaceForNone)
{
    Message* timed = message("started");
    const int64_t at = LogTime::pack(1765237542LL * 1000000 + 120000, 3);
    timed->setTime(at);
    list.appendRow(timed);
    list.appendRow(message("no time"));
    QCoreApplication::processEvents();
    LogListModel& model = list.model();
    int changes = 0;
    QObject::connect(&model, &QAbstractItemModel::dataChanged, [&] { ++changes; });
    model.setShowTime(true);
    EXPECT_EQ(changes, 1);
    const QString time = shownTime(at);
    EXPECT_TRUE(time.contains(QStringLiteral("42")) && time.contains(QStringLiteral("120")))
        << time.toStdString();
    EXPECT_EQ(model.data(model.index(0), Qt::DisplayRole).toString(), time + QStringLiteral("  started"));
    EXPECT_EQ(model.data(model.index(1), Qt::DisplayRole).toString(),
        QString(time.size(), QLatin1Char(' ')) + QStringLiteral("  no time"));
    model.setShowTime(false);
    EXPECT_EQ(model.data(model.index(0), Qt::DisplayRole).toString(), QStringLiteral("started"));
}

TEST_F(LogListTest, SelectionAndDoubleClick)
{
    int opened = 0;
    list.setDoubleClickHandler([&] { ++opened; });
    list.resize(300, 200);
    list.show();
    EXPECT_EQ(list.selectedRow(), -1);
    list.appendRow(message("one"));
    list.appendRow(message("two"));
    QCoreApplication::processEvents();

    const QRect second = list.visualRect(list.model().index(1));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(list.selectedRow(), 1);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(opened, 1);
}

TEST_F(LogListTest, DeletingTheSelectedFirstRowLeavesNothingSelected)
{
    list.resize(300, 200);
    list.show();
    Message* second = message("two");
    list.appendRow(message("one"));
    list.appendRow(second);
    list.appendRow(message("three"));
    QCoreApplication::processEvents();

    // Another row selected stays selected as its rows move up.
    list.selectRow(1);
    list.deleteFirstRow();
    EXPECT_EQ(list.selectedRow(), 0);
    EXPECT_EQ(list.rowMessage(list.selectedRow()), second);

    list.deleteFirstRow();
    EXPECT_EQ(list.selectedRow(), -1);
    EXPECT_FALSE(list.currentIndex().isValid());
    // The keys start again from the first row.
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(list.selectedRow(), 0);
}

TEST_F(LogListTest, FollowingScrollsToTheNewestRowOnceItIsShown)
{
    list.resize(300, 100);
    list.show();
    for (int i = 0; i < 200; ++i) {
        list.appendRow(message("a line"));
        list.scrollIntoView(list.rowCount() - 1);
    }
    QCoreApplication::processEvents();
    const QRect last = list.visualRect(list.model().index(199));
    EXPECT_TRUE(list.viewport()->rect().contains(last));
}

TEST_F(LogListTest, RowsHandQtABoundedPrefixOfLongMessages)
{
    const std::string line = "error " + std::string(10 * 1024 * 1024, 'x');
    list.appendRow(message(line.c_str()));
    Message* dump = message("stack dump");
    for (int i = 0; i < 50000; ++i)
        dump->appendContinuationLine("    at frame.function(File.java:123)", 36);
    list.appendRow(dump);
    list.resize(400, 200);
    list.show();
    QCoreApplication::processEvents();

    const LogListModel& model = list.model();
    const QString first = model.data(model.index(0), Qt::DisplayRole).toString();
    EXPECT_LE(first.size(), RowTextBytes + 1);
    EXPECT_TRUE(first.startsWith(QStringLiteral("error xxx")));
    EXPECT_TRUE(first.endsWith(QChar(0x2026)));
    const QString second = model.data(model.index(1), Qt::DisplayRole).toString();
    EXPECT_LE(second.size(), RowTextBytes + 1);
    EXPECT_TRUE(second.startsWith(QStringLiteral("stack dump at frame.function(File.java:123) at")));
    // A short row is shown whole, without the mark.
    list.appendRow(message("plain"));
    QCoreApplication::processEvents();
    EXPECT_EQ(model.data(model.index(2), Qt::DisplayRole).toString(), QStringLiteral("plain"));
    list.viewport()->repaint();
}

} // namespace
} // namespace kestrano
