// Fuzz target for the line cutter: arbitrary bytes fed in pieces of arbitrary size must give exactly
// the messages, severities and pending text of a plain model of the cutting rules.
//
// Input: byte 0 holds the switches (bit 0 multi-line, bit 1 skip the first line, bits 2-4 KeepLines
// minus 1, bit 5 short custom keywords, bit 6 an empty keyword too), byte 1 the piece size minus 1,
// the rest is the log text.
#include "core/LineCutter.h"
#include "core/LowerCase.h"
#include "core/MonitorSettings.h"
#include "core/Severity.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <string_view>
#include <utility>

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
        std::string lowered(line.size(), '\0');
        kestrano::lowerCase(line.data(), static_cast<int32_t>(line.size()), lowered.data());
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

class Keeper : public LineCutterListener {
public:
    explicit Keeper(const MonitorSettings& settings)
        : settings(settings)
    { }
    void showMessage(Message*) override { }
    void trimToKeepLines() override
    {
        while (cutter->getMessages().GetCount() > settings.GetKeepLines())
            delete cutter->getMessages().RemoveFirst();
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
    LineCutter* cutter = nullptr;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const uint8_t switches = data[0];
    const size_t pieceSize = size_t {data[1]} + 1;
    const auto* text = reinterpret_cast<const char*>(data + 2);
    const size_t textSize = size - 2;

    MonitorSettings settings;
    settings.SetMultiLine(switches & 1);
    settings.SetKeepLines(1 + ((switches >> 2) & 7));
    if (switches & 32) {
        const char* custom[Severity::ListCount] = {"a", "bc Ab", "", "\tq zz", "zzz x\xE9"};
        for (int32_t list = 0; list < Severity::ListCount; ++list)
            MonitorSettings::ParseKeywords(custom[list], settings.GetKeywords(list));
    }
    if (switches & 64)
        settings.GetKeywords(Severity::DebugInformation).Add(new haspel::String(""));

    Keeper keeper(settings);
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
