// The header reader against the layout it reads for: lines alike and lines that differ from their
// neighbours in a digit, a separator, a level word, a token's width or their length, in every kind of
// layout, read as the layout reads them.
#include "core/text/HeaderReader.h"
#include "core/settings/MonitorSettings.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace kestrano::test {
namespace {

// Lines of one layout: a header with digits and a level word, then some text.
struct Sample {
    const char* name;
    std::string (*line)(std::mt19937& random);
};

// The first five are level words as a header writes them, from which a layout is recognised.
const char* const LevelWords[] = {"INFO", "Info", "WARN", "Warning", "ERROR", "info", "warn", "error",
    "[error]", "<warn>", "(Debug)", "Exception", "exception", "CRITICAL", "crit", "E", "W", "Emergency",
    "EMERGENCY", "INFO:root", "WARN/main", "plain", "Informational", "x", "ÉRROR", "\tINFO", "INFO\t"};
const char* const Texts[] = {"", " ", " disk full", " an error here", " request 404 done", " ü warn",
    " connection refused by peer at the far end of the link", "\tthe rest"};

template <size_t N> const char* pick(std::mt19937& random, const char* const (&from)[N])
{
    return from[random() % N];
}

bool recognising = false; // while the first lines are made, whose layout is recognised

const char* levelWord(std::mt19937& random)
{
    return LevelWords[random() % (recognising ? 5 : std::size(LevelWords))];
}

std::string digits(std::mt19937& random, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += static_cast<char>('0' + random() % 10);
    return text;
}

std::string isoLine(std::mt19937& random)
{
    std::string line = "2026-";
    line += digits(random, 2);
    line += "-";
    line += digits(random, 2);
    line += random() % 9 ? " " : "T";
    line += digits(random, 2);
    line += ":";
    line += digits(random, 2);
    line += ":";
    line += digits(random, 2);
    if (random() % 4) {
        line += random() % 2 ? "." : ",";
        line += digits(random, 1 + static_cast<int>(random() % 9));
    }
    if (random() % 10 == 0)
        line += random() % 2 ? "Z" : "+01:00";
    line += " [";
    line += digits(random, 1 + static_cast<int>(random() % 3));
    line += "] ";
    line += levelWord(random);
    return line + pick(random, Texts);
}

std::string levelFirstLine(std::mt19937& random)
{
    std::string line = levelWord(random);
    line += " ";
    line += digits(random, 4);
    return line + pick(random, Texts);
}

std::string syslogLine(std::mt19937& random)
{
    std::string line = "Dec ";
    line += std::to_string(1 + random() % 40);
    for (const char* separator : {" ", ":", ":"}) {
        line += separator;
        line += digits(random, 2);
    }
    line += " host app[";
    line += digits(random, 3);
    line += "]: ";
    line += levelWord(random);
    return line + pick(random, Texts);
}

std::string slashLine(std::mt19937& random)
{
    std::string line = "2026";
    for (const char* separator : {"/", "/", " ", ":", ":"}) {
        line += separator;
        line += digits(random, 2);
    }
    line += " ";
    line += levelWord(random);
    return line + pick(random, Texts);
}

std::string priorityLine(std::mt19937& random)
{
    std::string line = "<";
    line += digits(random, 1 + static_cast<int>(random() % 3));
    line += ">1 2026-12-09T10:";
    line += digits(random, 2);
    line += ":00Z host app - - ";
    line += levelWord(random);
    return line + pick(random, Texts);
}

// The same line changed a little: a byte replaced, removed or added, or the line cut.
std::string changed(std::mt19937& random, std::string line)
{
    if (line.empty())
        return line;
    const size_t at = random() % line.size();
    switch (random() % 6) {
    case 0:
        line[at] = "0a: -.T[]\t"[random() % 10];
        break;
    case 1:
        line.erase(at, 1);
        break;
    case 2:
        line.insert(at, 1, "7 x:"[random() % 4]);
        break;
    case 3:
        line.resize(at);
        break;
    default:
        break;
    }
    return line;
}

TEST(HeaderReaderTest, ReadsEveryLineAsItsLayoutDoes)
{
    const Sample samples[] = {{"iso", isoLine}, {"level first", levelFirstLine}, {"syslog", syslogLine},
        {"slash", slashLine}, {"priority", priorityLine}};
    MonitorSettings settings;
    const KeywordLists keywords(settings);
    std::mt19937 random(27);
    for (const Sample& sample : samples) {
        SCOPED_TRACE(sample.name);
        std::string first;
        recognising = true;
        for (int i = 0; i < 40; ++i)
            first += sample.line(random) + "\n";
        recognising = false;
        const LogLayout layout
            = recognizeLayout(first.data(), static_cast<int32_t>(first.size()), {}, 1765270000);
        ASSERT_EQ(layout.getKind(), LogLayout::Kind::Text);
        HeaderReader reader(layout, &keywords);
        std::string line = sample.line(random);
        std::string previous;
        for (int i = 0; i < 200000; ++i) {
            // Runs of lines alike, changed a little at times, and new lines.
            const unsigned turn = random() % 10;
            line = turn < 6 ? sample.line(random) : turn < 9 ? changed(random, line) : line;
            const auto length = static_cast<int32_t>(line.size());
            LineHeader expected;
            layout.read(line.data(), length, expected, true);
            LineHeader header;
            reader.read(line.data(), length, header);
            ASSERT_EQ(header.present, expected.present) << line << " after " << previous;
            ASSERT_EQ(header.severity, expected.severity) << line;
            ASSERT_EQ(header.time, expected.time) << line;
            const HeaderReader::WordSeen& word = reader.getLastWord();
            if (word.at >= 0) {
                ASSERT_LE(word.at + word.length, length) << line;
                ASSERT_EQ(word.keywordSeverity, keywords.classify(line.data() + word.at, word.length))
                    << line;
            }
            previous = line;
        }
    }
}

} // namespace
} // namespace kestrano::test
