// Fuzz target for the layout reader: the layout recognised from arbitrary text reads every line the
// same whether the line stands alone in an allocation of its exact size (so a read beyond it is
// caught by the sanitizer) or inside the text, and the line cutter makes exactly the messages a plain
// model of the rules makes from those headers: severities, times and texts.
//
// Input: byte 0 holds the switches (bit 0 multi-line, bit 1 the stated level, bit 2 a user layout),
// the rest is the log text.
#include "core/settings/MonitorSettings.h"
#include "core/text/KeywordLists.h"
#include "core/text/LineCutter.h"
#include "core/text/LogLayout.h"
#include "core/text/Severity.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using kestrano::LineHeader;
using kestrano::Message;
namespace Severity = kestrano::Severity;

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "layout fuzz: %s\n", what);
    std::abort();
}

class Quiet : public kestrano::LineCutterListener {
public:
    void messageAdded(Message*) override { }
    void messageContinued(Message*) override { }
};

struct Made {
    int32_t severity;
    int64_t time;
    std::string text;
    bool operator==(const Made&) const = default;
};

std::string trimmed(const std::string& text)
{
    const char* space = " \t\n\v\f\r";
    const size_t first = text.find_first_not_of(space);
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}

LineHeader readAlone(const kestrano::LogLayout& layout, const std::string& line)
{
    const std::unique_ptr<char[]> copy(new char[line.size() + 1]);
    std::memcpy(copy.get(), line.data(), line.size());
    LineHeader header;
    layout.read(copy.get(), static_cast<int32_t>(line.size()), header);
    return header;
}

bool sameHeader(const LineHeader& a, const LineHeader& b)
{
    return a.present == b.present && a.severity == b.severity && a.time == b.time;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const uint8_t switches = data[0];
    std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    text += '\n';

    kestrano::MonitorSettings settings;
    settings.SetMultiLine(switches & 1);
    settings.SetStatedLevel(switches & 2);
    settings.SetKeepLines(1 << 30);
    if (switches & 4) {
        auto layout
            = std::make_unique<haspel::String>("(?<time>\\S+ \\S+) \\[(?<level>\\w+)\\] (?<message>.*)");
        settings.GetLayouts().Add(layout.get());
        layout.release();
    }
    Quiet quiet;
    kestrano::LineCutter cutter(settings, quiet);
    cutter.appendPendingText(text.data(), static_cast<int32_t>(text.size()));
    cutter.splitPendingText();
    const kestrano::LogLayout& layout = cutter.getLayout();
    const kestrano::KeywordLists keywords(settings);

    // The model: the same layout's headers, the rules written plainly.
    std::vector<Made> expected;
    size_t start = 0;
    for (size_t end; (end = text.find_first_of("\r\n", start)) != std::string::npos; start = end + 1) {
        const std::string line = text.substr(start, end - start);
        const LineHeader header = readAlone(layout, line);
        LineHeader inPlace;
        layout.read(text.data() + start, static_cast<int32_t>(line.size()), inPlace);
        if (!sameHeader(header, inPlace))
            fail("a line read alone and in place differ");
        if (header.severity != Severity::None && !Severity::isNamed(header.severity))
            fail("a header's severity is out of range");
        if (!header.present && !layout.isRecognised()
            && (header.severity != Severity::None || header.time != 0))
            fail("a header without a layout");
        const std::string text = trimmed(line);
        const bool indented = !line.empty() && (line[0] == ' ' || line[0] == '\t');
        const bool headerless = settings.GetStatedLevel() && layout.isRecognised() && !header.present;
        if (!expected.empty() && settings.GetMultiLine() && (indented || (headerless && !text.empty()))) {
            expected.back().text += "\r\n" + text;
            continue;
        }
        if (text.empty())
            continue;
        const int32_t severity = settings.GetStatedLevel() && header.severity != Severity::None
            ? header.severity
            : keywords.classify(line.data(), static_cast<int32_t>(line.size()));
        expected.push_back({severity, header.time, text});
    }

    std::vector<Made> made;
    for (const Message* m = cutter.getMessages().GetHead(); m; m = m->GetNext())
        made.push_back({m->getSeverity(), m->getTime(),
            std::string(m->getText(), static_cast<size_t>(m->getTextLength()))});
    if (made != expected)
        fail("the cutter's messages differ from the model's");
    return 0;
}
