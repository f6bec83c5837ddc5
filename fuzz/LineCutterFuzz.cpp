// Fuzz target for the line cutter: arbitrary bytes fed in pieces of arbitrary size must give exactly
// the messages, severities and pending text of a plain model of the cutting rules (with the stated
// level off: the keywords alone decide, and only indented lines continue).
//
// The first pass of classification is checked too: every scan path marks the same line ends,
// non-ASCII bytes and candidates, and a candidate at every start of a keyword the scan looks for.
//
// Input: byte 0 holds the switches (bit 0 multi-line, bit 1 skip the first line, bits 2-4 KeepLines
// minus 1, bit 5 short custom keywords, some not ASCII, bit 6 an empty keyword too, bit 7 the C.UTF-8
// locale instead of C), byte 1 the piece size (below 128: that plus 1; else a multiple of 64 up to
// 8192), the rest is the log text.
#include "core/settings/MonitorSettings.h"
#include "core/text/KeywordLists.h"
#include "core/text/KeywordScan.h"
#include "core/text/LineCutter.h"
#include "core/text/LowerCase.h"
#include "core/text/Severity.h"

#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using kestrano::LineCutter;
using kestrano::LineCutterListener;
using kestrano::Message;
using kestrano::MonitorSettings;
namespace Severity = kestrano::Severity;

std::string trimmed(std::string_view text)
{
    const char* space = " \t\n\v\f\r";
    const size_t first = text.find_first_not_of(space);
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(space) - first + 1));
}

// The cutting rules applied to the whole text at once, every list searched in full.
class Model {
public:
    Model(const MonitorSettings& settings, bool skipFirstLine)
        : settings(settings)
        , skipFirstLine(skipFirstLine)
    { }

    void add(std::string_view piece)
    {
        pending += piece;
        for (size_t end; (end = pending.find_first_of("\r\n")) != std::string::npos;) {
            const std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            handle(line);
        }
    }

    std::deque<std::pair<int32_t, std::string>> messages;
    std::string pending;
    int32_t highest = Severity::None;

private:
    int32_t classify(const std::string& line) const
    {
        std::string lowered(kestrano::LoweredGrowth * line.size(), '\0');
        lowered.resize(static_cast<size_t>(
            kestrano::lowerCaseForSearch(line.data(), static_cast<int32_t>(line.size()), lowered.data())));
        int32_t severity = Severity::Unknown;
        for (int32_t list = 0; list < Severity::ListCount; ++list) {
            const MonitorSettings::KeywordList& keywords = settings.GetKeywords(list);
            for (int32_t i = 0; i < keywords.GetCount(); ++i) {
                if (lowered.find(keywords.Get(i)->GetText()) != std::string::npos)
                    severity = list;
            }
        }
        return severity;
    }

    void handle(const std::string& line)
    {
        if (skipFirstLine) {
            skipFirstLine = false;
            return;
        }
        if (!messages.empty() && settings.GetMultiLine() && !line.empty()
            && (line[0] == ' ' || line[0] == '\t')) {
            messages.back().second += "\r\n" + trimmed(line);
            return;
        }
        std::string text = trimmed(line);
        if (text.empty())
            return;
        messages.emplace_back(classify(line), std::move(text));
        if (messages.back().first > highest)
            highest = messages.back().first;
        while (messages.size() > static_cast<size_t>(settings.GetKeepLines()))
            messages.pop_front();
    }

    const MonitorSettings& settings;
    bool skipFirstLine;
};

// Inputs of odd length let the cutter drop the messages nothing would see: the model never drops.
class Keeper : public LineCutterListener {
public:
    Keeper(const MonitorSettings& settings, bool dropUnseen)
        : settings(settings)
        , dropUnseen(dropUnseen)
    { }
    void messageAdded(Message*) override { }
    bool mayDropUnseen(int32_t) const override { return dropUnseen; }
    void messageDropping(Message* message) override
    {
        if (message != cutter->getMessages().GetHead()
            || cutter->getMessages().GetCount() <= settings.GetKeepLines())
            fail("dropped message is not the oldest beyond KeepLines");
    }
    void messageContinued(Message* message) override
    {
        if (message != cutter->getMessages().GetTail())
            fail("continued message is not the last one");
    }

    [[noreturn]] static void fail(const char* what)
    {
        std::fprintf(stderr, "line cutter fuzz: %s\n", what);
        std::abort();
    }

    const MonitorSettings& settings;
    const bool dropUnseen;
    LineCutter* cutter = nullptr;
};

// The keywords the scan looks for: ASCII, lower-case, no line end.
bool scanned(const char* keyword)
{
    if (!*keyword)
        return false;
    for (const char* c = keyword; *c; ++c) {
        if ((*c & 0x80) || (*c >= 'A' && *c <= 'Z') || *c == '\r' || *c == '\n')
            return false;
    }
    return true;
}

void checkScan(const MonitorSettings& settings, const char* text, size_t n)
{
    kestrano::KeywordLists keywords(settings);
    const size_t words = (n + 63) / 64;
    using Path = kestrano::ScanKeys::Path;
    std::vector<uint64_t> expected;
    for (const Path path : {Path::Portable, Path::Sse2, Path::Avx2}) {
        if (!kestrano::ScanKeys::supports(path))
            continue;
        std::vector<uint64_t> bits(3 * words + 3);
        keywords.getScanKeys().scanBy(path, text, static_cast<int32_t>(n),
            kestrano::ScanMarks {bits.data(), bits.data() + words + 1, bits.data() + 2 * words + 2});
        if (expected.empty())
            expected = bits;
        else if (bits != expected)
            Keeper::fail("scan paths differ");
    }
    for (size_t i = 0; i < n; ++i) {
        const auto bit
            = [&](size_t array) { return (expected[array * (words + 1) + i / 64] >> (i % 64)) & 1; };
        const auto c = static_cast<unsigned char>(text[i]);
        if (bit(0) != (c == '\r' || c == '\n') || bit(2) != (c >= 0x80))
            Keeper::fail("scan marks differ");
        for (int32_t list = 0; list < Severity::ListCount; ++list) {
            for (int32_t k = 0; k < settings.GetKeywords(list).GetCount(); ++k) {
                const char* keyword = settings.GetKeywords(list).Get(k)->GetText();
                if (!scanned(keyword))
                    continue;
                size_t j = 0;
                while (keyword[j] && i + j < n
                    && (text[i + j] | (text[i + j] >= 'A' && text[i + j] <= 'Z' ? 0x20 : 0)) == keyword[j])
                    ++j;
                if (!keyword[j] && !bit(1))
                    Keeper::fail("keyword start not marked");
            }
        }
    }
}

// Sets the locale for one input and puts C back after it.
class LocaleForInput {
public:
    explicit LocaleForInput(bool utf8)
    {
        if (utf8)
            std::setlocale(LC_CTYPE, "C.UTF-8");
    }
    ~LocaleForInput() { std::setlocale(LC_CTYPE, "C"); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const uint8_t switches = data[0];
    const size_t pieceSize = data[1] < 128 ? size_t {data[1]} + 1 : size_t {data[1] - 127u} * 64;
    const LocaleForInput locale(switches & 128);
    const auto* text = reinterpret_cast<const char*>(data + 2);
    const size_t textSize = size - 2;

    MonitorSettings settings;
    settings.SetMultiLine(switches & 1);
    settings.SetStatedLevel(false); // the keywords alone, as the model classifies (LayoutFuzz: the rest)
    settings.SetKeepLines(1 + ((switches >> 2) & 7));
    if (switches & 32) {
        const char* custom[Severity::ListCount]
            = {"a", "bc Ab \xC3\xA9t", "", "\tq zz", "zzz x\xE9 \xC3\x89T"};
        for (int32_t list = 0; list < Severity::ListCount; ++list)
            MonitorSettings::ParseKeywords(custom[list], settings.GetKeywords(list));
    }
    if (switches & 64)
        settings.GetKeywords(Severity::DebugInformation).Add(new haspel::String(""));

    Keeper keeper(settings, size & 1);
    LineCutter cutter(settings, keeper);
    keeper.cutter = &cutter;
    cutter.setSkipFirstLine(switches & 2);
    Model model(settings, switches & 2);

    int32_t highest = Severity::None;
    for (size_t offset = 0; offset < textSize; offset += pieceSize) {
        const size_t n = pieceSize < textSize - offset ? pieceSize : textSize - offset;
        cutter.appendPendingText(text + offset, static_cast<int32_t>(n));
        const int32_t result = cutter.splitPendingText();
        if (result > highest)
            highest = result;
        model.add(std::string_view(text + offset, strnlen(text + offset, n)));
    }

    checkScan(settings, text, textSize);
    if (highest != model.highest)
        Keeper::fail("highest severity differs");
    if (std::string_view(cutter.getPendingText(), static_cast<size_t>(cutter.getPendingLength()))
        != model.pending)
        Keeper::fail("pending text differs");
    if (static_cast<size_t>(cutter.getMessages().GetCount()) != model.messages.size())
        Keeper::fail("message count differs");
    const Message* message = cutter.getMessages().GetHead();
    for (const auto& [severity, expected] : model.messages) {
        if (message->getSeverity() != severity)
            Keeper::fail("severity differs");
        if (expected != std::string_view(message->getText(), static_cast<size_t>(message->getTextLength()))
            || std::strlen(message->getText()) != expected.size())
            Keeper::fail("text differs");
        message = message->GetNext();
    }
    return 0;
}
