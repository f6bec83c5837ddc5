// A fixture holding one log view of one file in a temporary folder, with recording stand-ins.
#pragma once

#include "config/Config.h"
#include "core/settings/MonitorSettings.h"
#include "core/view/ChildView.h"
#include "core/view/Document.h"
#include "tests/core/ViewDoubles.h"
#include "tests/platform/FailingFileSystem.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace kestrano::test {

// One view of dir/app.log with default settings; the file is not created.
class ViewTest : public testing::Test {
protected:
    TempDir dir;
    std::string path = dir.file("app.log");
    MonitorSettings settings;
    haspel::Config config;
    FailingFileSystem files;
    RecordingNotifier notifier;
    RecordingDetails details;
    ScriptedMessageBox boxes;
    RecordingList list;
    RecordingFrame frame;
    Document document {path.c_str(), files, boxes};
    ChildView view {document, ViewContext {settings, config.GetRoot(), notifier, details}, list, frame};

    // Appends to the log and polls it, as a timer tick after the write would (and the ticks that
    // come at once while the view has more to read: a busy machine may end a poll early).
    void appendAndPoll(const std::string& text)
    {
        appendFile(path, text);
        pollAndCatchUp();
    }
    void pollAndCatchUp()
    {
        view.pollLogFile();
        catchUp();
    }
    // Polls while the last poll ran out of time; the number of polls.
    int catchUp()
    {
        int polls = 0;
        for (; view.hasMoreToRead(); ++polls)
            view.pollLogFile();
        return polls;
    }
    std::vector<std::string> messageTexts()
    {
        std::vector<std::string> result;
        for (Message* message = view.getMessages().GetHead(); message; message = message->GetNext())
            result.push_back(message->getText());
        return result;
    }
    int notifications() const { return notifier.attentionAsked + frame.newsShown + notifier.sounds; }
    haspel::ConfigSection& workspace()
    {
        return config.GetRoot().GetSection("Workspace").GetSection(path.c_str());
    }
};

} // namespace kestrano::test
