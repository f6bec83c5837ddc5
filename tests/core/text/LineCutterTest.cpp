#include "tests/core/text/CutterFixture.h"

#include "core/text/Message.h"
#include "core/text/Severity.h"
#include "tests/support/LocaleScope.h"

#include <string>

namespace kestrano::test {
namespace {

TEST_F(CutterTest, EachOfCrLfAndCrLfEndsALineWithoutEmptyMessages)
{
    EXPECT_EQ(feed("one\r\ntwo\r\n"), Severity::Unknown);
    EXPECT_EQ(feed("three\rfour\r"), Severity::Unknown);
    EXPECT_EQ(feed("five\n\n\nsix\n"), Severity::Unknown);
    EXPECT_EQ(texts(), (Texts {"one", "two", "three", "four", "five", "six"}));
    EXPECT_EQ(pending(), "");
}

TEST_F(CutterTest, LineEndsAreFoundAtEveryPositionOfLongLines)
{
    // Lines of every length around the widths the line end search works in.
    std::string text;
    Texts expected;
    for (int length = 1; length <= 40; ++length) {
        expected.push_back(std::string(static_cast<size_t>(length), 'x') + std::to_string(length));
        text += expected.back() + (length % 2 ? "\n" : "\r");
    }
    feed(text);
    EXPECT_EQ(texts(), expected);
}

TEST_F(CutterTest, ReturnsTheHighestNewSeverityOrNoneWithoutNewMessages)
{
    EXPECT_EQ(feed("info: up\nwarn: low disk\ndebug: x\n"), Severity::Warning);
    EXPECT_EQ(feed("no line end yet: fatal"), Severity::None);
    EXPECT_EQ(feed("\n"), Severity::Fatal);
    EXPECT_EQ(feed("\n\n   \n"), Severity::None);
    // A continuation never counts, even with a keyword.
    EXPECT_EQ(feed("  fatal in continuation\n"), Severity::None);
    EXPECT_EQ(severities(), (std::vector<int32_t> {1, 2, 0, 4}));
}

TEST_F(CutterTest, TextWithoutALineEndWaitsForTheRestOfTheLine)
{
    feed("first half, ");
    EXPECT_TRUE(texts().empty());
    EXPECT_EQ(pending(), "first half, ");
    feed("second half\nnext");
    EXPECT_EQ(texts(), (Texts {"first half, second half"}));
    EXPECT_EQ(pending(), "next");
}

TEST_F(CutterTest, AnyPieceBoundaryGivesTheSameMessages)
{
    const std::string text = "a error\r\n  at x\r\n\tat y\rinfo\n\n   \nz notice\r\nwarn";
    feed(text);
    const Texts whole = texts();
    const std::string wholePending = pending();
    for (size_t cut = 0; cut <= text.size(); ++cut) {
        MonitorSettings otherSettings;
        struct Quiet : LineCutterListener {
            void messageAdded(Message*) override { }
            void messageContinued(Message*) override { }
        } quiet;
        LineCutter other(otherSettings, quiet);
        other.appendPendingText(text.data(), static_cast<int32_t>(cut));
        other.splitPendingText();
        other.appendPendingText(text.data() + cut, static_cast<int32_t>(text.size() - cut));
        other.splitPendingText();
        Texts got;
        for (const Message* m = other.getMessages().GetHead(); m; m = m->GetNext())
            got.emplace_back(m->getText());
        EXPECT_EQ(got, whole) << "cut at " << cut;
        EXPECT_EQ(std::string(other.getPendingText(), other.getPendingLength()), wholePending);
    }
}

TEST_F(CutterTest, IndentedLinesContinueTheLastMessage)
{
    feed("Error: cannot open\n   at Reader.open(Reader.cpp:10)\n\tfatal in detail\n");
    ASSERT_EQ(texts(), (Texts {"Error: cannot open\r\nat Reader.open(Reader.cpp:10)\r\nfatal in detail"}));
    EXPECT_EQ(severities(), (std::vector<int32_t> {Severity::Error}));
    EXPECT_EQ(events,
        (Texts {"show Error: cannot open", "continued Error: cannot open\r\nat Reader.open(Reader.cpp:10)",
            "continued Error: cannot open\r\nat Reader.open(Reader.cpp:10)\r\nfatal in detail"}));
}

TEST_F(CutterTest, BlankIndentedLineIsAnEmptyContinuationButEmptyLineIsNothing)
{
    feed("message\n   \n\n");
    EXPECT_EQ(texts(), (Texts {"message\r\n"}));
}

TEST_F(CutterTest, WithoutAPreviousMessageIndentedAndBlankLinesStandAlone)
{
    feed("   \n\n\t  first, indented\n");
    EXPECT_EQ(texts(), (Texts {"first, indented"}));
}

TEST_F(CutterTest, MultiLineOffMakesEveryNonBlankLineAMessage)
{
    feed("head\n");
    settings.SetMultiLine(false);
    feed("\tdetail\n   \n");
    settings.SetMultiLine(true);
    feed("  joined\n");
    EXPECT_EQ(texts(), (Texts {"head", "detail\r\njoined"}));
}

TEST_F(CutterTest, ContinuationReachesAMessageTheViewDidNotShow)
{
    // The view decides about rows; the cutter joins and reports regardless of the filter.
    feed("debug: hidden\n");
    events.clear();
    feed(" more\n");
    EXPECT_EQ(events, (Texts {"continued debug: hidden\r\nmore"}));
}

TEST_F(CutterTest, SkipFirstLineDropsExactlyOneLineEvenAnEmptyOne)
{
    cutter.setSkipFirstLine(true);
    feed("partial line error\nkept\n");
    EXPECT_FALSE(cutter.getSkipFirstLine());
    EXPECT_EQ(texts(), (Texts {"kept"}));

    cutter.setSkipFirstLine(true);
    feed("\nalso kept\n");
    EXPECT_EQ(texts(), (Texts {"kept", "also kept"}));

    // Waits for a complete line.
    cutter.setSkipFirstLine(true);
    feed("half");
    EXPECT_TRUE(cutter.getSkipFirstLine());
    feed(" line\n  joins the last kept message\n");
    EXPECT_EQ(texts(), (Texts {"kept", "also kept\r\njoins the last kept message"}));
}

TEST_F(CutterTest, ANulEndsThePiece)
{
    const char piece[] = "before\0after\n";
    cutter.appendPendingText(piece, sizeof piece - 1);
    EXPECT_EQ(pending(), "before");
    feed(" the nul\n");
    EXPECT_EQ(texts(), (Texts {"before the nul"}));
}

TEST_F(CutterTest, KeepsAtMostKeepLinesThroughTheListener)
{
    settings.SetKeepLines(2);
    feed("a\nb\nc\n  c2\n");
    EXPECT_EQ(texts(), (Texts {"b", "c\r\nc2"}));
}

TEST_F(CutterTest, TellsOfEachDropWhileTheOldestMessageIsStillThere)
{
    settings.SetKeepLines(2);
    feed("a\nb\nc\n  c2\nd\n");
    EXPECT_EQ(dropped, (Texts {"a after show c", "b after show d"}));
    // A lowered setting takes effect when the owner trims.
    settings.SetKeepLines(1);
    cutter.trimToKeepLines();
    EXPECT_EQ(dropped.back(), "c\r\nc2 after show d");
    EXPECT_EQ(texts(), (Texts {"d"}));
}

TEST_F(CutterTest, KeywordChangesActAtTheNextSplit)
{
    feed("quota reached\n");
    MonitorSettings::ParseKeywords("QUOTA", settings.GetKeywords(Severity::Warning));
    EXPECT_EQ(feed("quota reached\n"), Severity::Warning);
    settings.GetKeywords(Severity::Warning).Clear();
    EXPECT_EQ(feed("quota reached, warn\n"), Severity::Unknown);
    EXPECT_EQ(severities(), (std::vector<int32_t> {-1, 2, -1}));
}

TEST_F(CutterTest, AssignedSettingsActAtTheNextSplitAndTrim)
{
    feed("quota reached\n  indented\n");
    MonitorSettings chosen;
    MonitorSettings::ParseKeywords("QUOTA", chosen.GetKeywords(Severity::Warning));
    chosen.SetMultiLine(false);
    chosen.SetKeepLines(2);
    settings = chosen;
    EXPECT_EQ(feed("quota again\n  indented\n"), Severity::Warning);
    EXPECT_EQ(texts(), (Texts {"quota again", "indented"}));
}

TEST_F(CutterTest, LettersWhoseLowerCaseHasAnotherLengthMatchTheirKeywords)
{
    LocaleScope locale("C.UTF-8");
    if (!locale.active)
        GTEST_SKIP() << "no UTF-8 locale";
    // ASCII keywords: capital I with dot above is an i, the Kelvin sign a k; other letters are none.
    MonitorSettings::ParseKeywords("error kernel", settings.GetKeywords(Severity::Error));
    feed("\xC4\xB0NFO started\n"
         "\xE2\x84\xAA"
         "ERNEL halted\n"
         "\xD0\x9E\xD1\x88\xD0\xB8\xD0\xB1\xD0\xBA\xD0\xB0 error\n"
         "\xD0\x9A\xD0\x98 nothing\n"
         "a line begun in one piece, \xE2\x84\xAA");
    feed("ERNEL in the next\n");
    // A keyword beyond ASCII: capital A with stroke lowers to a small letter of three bytes.
    MonitorSettings::ParseKeywords("fatal \xC8\xBA", settings.GetKeywords(Severity::Fatal));
    EXPECT_EQ(settings.GetKeywords(Severity::Fatal).Get(1)->Length(), 3);
    feed("an \xC8\xBA here\n"
         "\xE2\xB1\xA5 too\n"
         "\xE2\x84\xAA"
         "ERNEL again\n");
    EXPECT_EQ(severities(),
        (std::vector<int32_t> {Severity::Information, Severity::Error, Severity::Error, Severity::Unknown,
            Severity::Error, Severity::Fatal, Severity::Fatal, Severity::Error}));
}

TEST_F(CutterTest, ALineLongerThanManyPiecesIsCutOnce)
{
    const std::string chunk(8192, 'y');
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(feed(chunk), Severity::None);
    EXPECT_EQ(cutter.getPendingLength(), 64 * 8192);
    EXPECT_EQ(feed(" error\nnext"), Severity::Error);
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_EQ(texts()[0].size(), 64u * 8192 + 6);
    EXPECT_EQ(pending(), "next");
}

TEST_F(CutterTest, ALongLineKeepsItsBoundWhileItGrowsAndIsClassifiedWhole)
{
    // 3 MiB without a line end, a keyword beyond the bound across two pieces, another in the window.
    const std::string chunk(65536, 'y');
    for (int i = 0; i < 48; ++i) {
        feed(i == 40 ? chunk.substr(0, 65533) + "FaT" : i == 41 ? "AL" + chunk.substr(2) : chunk);
        EXPECT_LE(cutter.getPendingLength(), Message::MaxTextBytes + 2 * 65536);
    }
    EXPECT_EQ(feed("\nnext"), Severity::Fatal);
    ASSERT_EQ(texts().size(), 1u);
    const Message& message = *cutter.getMessages().GetHead();
    EXPECT_EQ(message.getSeverity(), Severity::Fatal);
    EXPECT_EQ(message.getCutBytes(), 48 * 65536 - Message::MaxTextBytes);
    const std::string text = message.getText();
    EXPECT_EQ(text, std::string(Message::MaxTextBytes, 'y') + " [... 2097152 bytes cut]");
    EXPECT_EQ(pending(), "next");

    // A keyword right at the end of a long line, seen only through the window.
    for (int i = 0; i < 20; ++i)
        feed(chunk);
    EXPECT_EQ(feed("WARN"), Severity::None);
    EXPECT_EQ(feed("ing\n"), Severity::Warning);
}

TEST_F(CutterTest, ContinuationsBeyondTheBoundAreCountedNotKept)
{
    feed("info: dump follows\n");
    const std::string line = "    " + std::string(300000, 'z') + " fatal";
    for (int i = 0; i < 5; ++i)
        feed(line + "\n");
    feed("\tlast\n");
    const Message& message = *cutter.getMessages().GetHead();
    EXPECT_EQ(message.getSeverity(), Severity::Information);
    const std::string text = message.getText();
    ASSERT_LT(text.size(), static_cast<size_t>(Message::MaxTextBytes) + 40);
    const int64_t whole = 18 + 5 * (2 + 300006) + 2 + 4;
    EXPECT_EQ(message.getCutBytes(), whole - Message::MaxTextBytes);
    EXPECT_EQ(text.substr(Message::MaxTextBytes),
        " [... " + std::to_string(whole - Message::MaxTextBytes) + " bytes cut]");
    EXPECT_EQ(text.substr(0, 24), "info: dump follows\r\nzzzz");
}

TEST_F(CutterTest, MessagesNothingWouldSeeAreNotMadeButStillCount)
{
    dropUnseen = true;
    settings.SetKeepLines(2);
    EXPECT_EQ(feed("fatal early\n  its continuation\nwarn\nb\n  b2\nc\n"), Severity::Fatal);
    EXPECT_EQ(texts(), (Texts {"b\r\nb2", "c"}));
    EXPECT_EQ(events, (Texts {"show b", "continued b\r\nb2", "show c"}));
    // Without enough newer lines in the same piece every message is made.
    events.clear();
    feed("d\n");
    EXPECT_EQ(events, (Texts {"show d"}));
    EXPECT_EQ(texts(), (Texts {"c", "d"}));
}

} // namespace
} // namespace kestrano::test
