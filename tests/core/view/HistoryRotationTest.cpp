// A view with the rotated files in its history while the real logrotate rotates its log in each mode:
// the history's rows and the kept messages hold every line of the log's chain once, in order.
#include "core/view/HistoryRows.h"
#include "tests/core/ViewFixture.h"
#include "tests/support/LogRotation.h"
#include "tests/support/MadeLogs.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace kestrano::test {
namespace {

std::string line(int n)
{
    return "line " + std::to_string(n) + (n % 7 == 0 ? " ERROR" : " INFO") + " step done\n";
}

struct RotationCase {
    const char* name;
    const char* directives; // of logrotate, beside "rotate 5"
    int linesPerRound;
};

std::ostream& operator<<(std::ostream& out, const RotationCase& rotation)
{
    return out << rotation.name;
}

class HistoryRotationTest : public ViewTest, public testing::WithParamInterface<RotationCase> {
protected:
    int written = 0;

    void SetUp() override
    {
        settings.SetKeepLines(100);
        settings.SetStatedLevel(false);
        settings.SetInitiallyReadBytes(4096);
        view.offerHistory(files);
        writeFile(dir.file("logrotate.conf"),
            path + " {\n  rotate 5\n  missingok\n  " + GetParam().directives + "\n}\n");
    }

    void write(int lines)
    {
        std::string text;
        for (int i = 0; i < lines; ++i)
            text += line(++written);
        appendFile(path, text);
    }

    void rotate()
    {
        // A dated name tells rotations apart by the second.
        const std::time_t before = std::time(nullptr);
        while (std::string(GetParam().directives).find("dateext") != std::string::npos
            && std::time(nullptr) == before)
            usleep(20000);
        runFilter({"/usr/sbin/logrotate", "-s", dir.file("state"), "-f", dir.file("logrotate.conf")},
            "/dev/null", "");
    }

    // Polls until the view read everything and its history counted it.
    void settle()
    {
        HistoryRows& history = *view.getHistoryRows();
        for (int polls = 0; polls < 10000 && (polls < 2 || view.hasMoreToRead() || !history.isCounted());
             ++polls)
            view.pollLogFile();
        ASSERT_TRUE(history.isCounted());
    }

    // The history's rows, all revealed, then the kept messages, notices left out.
    std::vector<std::string> shown()
    {
        HistoryRows& history = *view.getHistoryRows();
        history.reveal(-1);
        std::vector<std::string> texts;
        for (int64_t row = 0; row < history.getRevealedCount(); ++row) {
            const Message* message = history.revealedMessage(row);
            texts.push_back(message ? message->getText() : "<unread>");
        }
        for (Message* message = view.getMessages().GetHead(); message; message = message->GetNext())
            if (message->getNotice().id == CoreText::None)
                texts.push_back(message->getText());
        return texts;
    }

    void expectEveryLineOnce()
    {
        const std::vector<std::string> texts = shown();
        std::vector<std::string> wanted;
        for (int n = 1; n <= written; ++n)
            wanted.push_back(line(n).substr(0, line(n).size() - 1));
        EXPECT_EQ(texts.size(), wanted.size());
        const auto parted = std::mismatch(texts.begin(), texts.end(), wanted.begin(), wanted.end());
        if (parted.first != texts.end() || parted.second != wanted.end())
            ADD_FAILURE() << "parted at row " << (parted.first - texts.begin()) << ": "
                          << (parted.first != texts.end() ? *parted.first : "<end>") << " instead of "
                          << (parted.second != wanted.end() ? *parted.second : "<end>");
    }
};

TEST_P(HistoryRotationTest, ShowsEveryLineOfTheChainOnceAndInOrder)
{
    write(500);
    settle();
    view.toggleRotatedHistory();
    settle();
    expectEveryLineOnce();
    for (int round = 1; round <= 4; ++round) {
        SCOPED_TRACE(testing::Message() << "rotation " << round);
        rotate();
        write(GetParam().linesPerRound);
        settle();
        expectEveryLineOnce();
        // Lines that push kept ones out make them the history's newest rows.
        write(60);
        settle();
        expectEveryLineOnce();
    }
}

INSTANTIATE_TEST_SUITE_P(EveryMode, HistoryRotationTest,
    testing::Values(RotationCase {"create", "create", 30}, RotationCase {"create_more", "create", 400},
        RotationCase {"copytruncate", "copytruncate", 30},
        RotationCase {"dateext", "create\n  dateext\n  dateformat -%Y%m%d-%s", 30},
        RotationCase {"compress", "create\n  compress", 30},
        RotationCase {"compress_more", "create\n  compress", 400},
        RotationCase {"delaycompress", "create\n  compress\n  delaycompress", 30}),
    [](const testing::TestParamInfo<RotationCase>& info) { return std::string(info.param.name); });

class HistoryWhileWritingTest : public ViewTest {
protected:
    void SetUp() override
    {
        settings.SetKeepLines(300);
        settings.SetInitiallyReadBytes(4096);
        view.offerHistory(files);
        writeFile(path, "info start\n");
        view.pollLogFile();
        view.toggleRotatedHistory();
    }

    // Polls as a timer would until the last line was read (or a generous while passed), then until
    // the history counted everything.
    void pollUntilShown(long last)
    {
        const std::string lastText = writtenLine(last).substr(0, 20);
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        while (std::chrono::steady_clock::now() < giveUp
            && !(view.getMessages().GetTail() && view.getMessages().GetTail()->getText() == lastText)) {
            view.pollLogFile();
            usleep(5000);
        }
        HistoryRows& history = *view.getHistoryRows();
        for (int polls = 0; polls < 10000 && (polls < 2 || view.hasMoreToRead() || !history.isCounted());
             ++polls)
            view.pollLogFile();
        ASSERT_TRUE(history.isCounted());
    }

    // No line of the log's files lost, repeated or out of order in the history and the kept messages.
    void expectEveryLineOnce()
    {
        HistoryRows& history = *view.getHistoryRows();
        history.reveal(-1);
        std::string shown;
        for (int64_t row = 0; row < history.getRevealedCount(); ++row)
            if (const Message* message = history.revealedMessage(row))
                shown += std::string(message->getText()) + "\n";
        for (Message* message = view.getMessages().GetHead(); message; message = message->GetNext())
            shown += std::string(message->getText()) + "\n";
        const LineCount counted = countLines(lineNumbers(shown), linesOnDisk(dir.path()));
        EXPECT_EQ(counted.lost + counted.repeated + counted.reordered, 0) << counted.describe();
    }
};

// A writer process appending while the real logrotate rotates and compresses, the view polling
// meanwhile: whatever state of the rotation a poll meets, no line of the chain is lost or repeated.
TEST_F(HistoryWhileWritingTest, TheRealLogrotateLosesAndRepeatsNoLineOfTheChain)
{
    const long count = 8000;
    const pid_t writer = startLogWriter(path, count, 4000, "hup");
    std::thread rotations = runLogrotate(dir.path(), path, writer, 4);
    pollUntilShown(count - 1);
    rotations.join();
    ASSERT_TRUE(waitForLogWriter(writer));
    ASSERT_TRUE(std::filesystem::exists(path + ".2.gz")) << "rotated four times";
    expectEveryLineOnce();
}

} // namespace
} // namespace kestrano::test
