// A line cutter with real settings and a listener that records what the view would be told and
// trims to KeepLines as the view does.
#pragma once

#include "core/settings/MonitorSettings.h"
#include "core/text/LineCutter.h"
#include "tests/core/text/CutterContents.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrano::test {

class CutterTest : public ::testing::Test, public LineCutterListener {
protected:
    void messageAdded(Message* message) override
    {
        events.push_back("show " + std::string(message->getText()));
    }
    void messageDropping(Message* message) override
    {
        ASSERT_EQ(message, cutter.getMessages().GetHead());
        dropped.push_back(std::string(message->getText()) + " after " + events.back());
    }
    bool mayDropUnseen(int32_t) const override { return dropUnseen; }
    void messageContinued(Message* message) override
    {
        ASSERT_EQ(message, cutter.getMessages().GetTail());
        events.push_back("continued " + std::string(message->getText()));
    }

    // Appends the text and splits it; returns what the split returned.
    int32_t feed(const std::string& text)
    {
        cutter.appendPendingText(text.data(), static_cast<int32_t>(text.size()));
        return cutter.splitPendingText();
    }

    Texts texts() const { return messageTexts(cutter); }

    std::vector<int32_t> severities() const
    {
        std::vector<int32_t> result;
        for (const Message* m = cutter.getMessages().GetHead(); m; m = m->GetNext())
            result.push_back(m->getSeverity());
        return result;
    }

    std::string pending() const { return pendingText(cutter); }

    MonitorSettings settings;
    LineCutter cutter {settings, *this};
    std::vector<std::string> events;
    // "text after last event" of each message dropped for KeepLines
    std::vector<std::string> dropped;
    bool dropUnseen = false;
};

} // namespace kestrano::test
