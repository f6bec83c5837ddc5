// The fixture of the tests of the sources beyond plain files: a log view over a document whose source
// the test makes, with recording doubles around it.
#pragma once

#include "config/Config.h"
#include "core/settings/MonitorSettings.h"
#include "core/text/Severity.h"
#include "core/view/ChildView.h"
#include "core/view/Document.h"
#include "platform/LinuxFileSystem.h"
#include "tests/core/ViewDoubles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace kestrano::test {

class SourceTest : public testing::Test {
protected:
    TempDir dir;
    MonitorSettings settings;
    haspel::Config config;
    RecordingNotifier notifier;
    RecordingDetails details;
    ScriptedMessageBox boxes;
    RecordingList list;
    RecordingFrame frame;
    std::unique_ptr<Document> document;
    std::unique_ptr<ChildView> view;

    SourceTest()
    {
        setenv("TZ", "UTC", 1);
        tzset();
        settings.SetOnTop(Severity::Error);
        settings.SetPlaySound(Severity::Never);
    }
    void open(std::unique_ptr<Document> opened)
    {
        view.reset(); // the view refers to its document
        document = std::move(opened);
        view = std::make_unique<ChildView>(
            *document, ViewContext {settings, config.GetRoot(), notifier, details}, list, frame);
    }
    void open(const char* name, std::unique_ptr<LogSource> source)
    {
        open(std::make_unique<Document>(name, std::move(source), systemFileSystem(), boxes));
    }
    // Polls, and again at once while the view has more to read (a busy machine ends polls early).
    void poll()
    {
        view->pollLogFile();
        while (view->hasMoreToRead())
            view->pollLogFile();
    }
    std::vector<std::string> texts()
    {
        std::vector<std::string> result;
        for (Message* message = view->getMessages().GetHead(); message; message = message->GetNext())
            result.push_back(message->getText());
        return result;
    }
    int notifications() const { return notifier.attentionAsked + frame.newsShown + notifier.sounds; }
    std::vector<int32_t> severities()
    {
        std::vector<int32_t> result;
        for (Message* message = view->getMessages().GetHead(); message; message = message->GetNext())
            result.push_back(message->getSeverity());
        return result;
    }
};

} // namespace kestrano::test
