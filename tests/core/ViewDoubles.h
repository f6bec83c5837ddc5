// Recording stand-ins for the desktop around a log view (tests and benchmarks).
#pragma once

#include "core/ports/ListControl.h"
#include "core/ports/LogFrame.h"
#include "core/ports/MergedList.h"
#include "core/ports/MessageBox.h"
#include "core/ports/MessageDetails.h"
#include "core/ports/Notifier.h"
#include "core/text/Message.h"
#include "core/view/MergedOrder.h"

#include <deque>
#include <string>
#include <vector>

namespace kestrano::test {

class RecordingList : public ListControl {
public:
    std::deque<Message*> rows;
    int32_t lastScrolledTo = -1;
    int scrolls = 0;
    int appended = 0; // rows appended in all
    std::vector<int32_t> refreshed;
    int32_t selected = -1;
    bool rowsLater = false; // as the desktop's list: rows reach the screen after the poll
    // "gone" or "restarted" as told, " with rows" added when rows were left at that time.
    std::vector<std::string> told;
    // When set, each deletion of the first row counts whether its message was no longer the oldest.
    const haspel::ContainingList<Message>* messages = nullptr;
    int firstRowsDeletedLate = 0;

    int32_t rowCount() const override { return static_cast<int32_t>(rows.size()); }
    void appendRow(Message* message) override
    {
        rows.push_back(message);
        ++appended;
    }
    void deleteFirstRow() override
    {
        if (messages && rows.front() != messages->GetHead())
            ++firstRowsDeletedLate;
        rows.pop_front();
    }
    void deleteAllRows() override { rows.clear(); }
    void logGone() override { told.push_back(rows.empty() ? "gone" : "gone with rows"); }
    void logRestarted() override { told.push_back(rows.empty() ? "restarted" : "restarted with rows"); }
    void refreshRow(int32_t row) override { refreshed.push_back(row); }
    Message* rowMessage(int32_t row) const override { return rows.at(static_cast<size_t>(row)); }
    void scrollIntoView(int32_t row) override
    {
        lastScrolledTo = row;
        ++scrolls;
    }
    int32_t selectedRow() const override { return selected; }
    bool showsRowsLater() const override { return rowsLater; }

    std::vector<std::string> texts() const
    {
        std::vector<std::string> result;
        for (Message* message : rows)
            result.push_back(message->getText());
        return result;
    }
};

// Keeps its own rows by what it is told, so a test can compare them with the order it was told about.
class RecordingMergedList : public MergedList {
public:
    const MergedOrder* order = nullptr; // set before the first change
    std::vector<Message*> rows;
    int resets = 0;
    std::vector<int32_t> changed;
    int32_t lastScrolledTo = -1;
    int32_t selected = -1;

    void rowInserted(int32_t row) override { rows.insert(rows.begin() + row, (*order)[row].message); }
    void rowDeleted(int32_t row) override { rows.erase(rows.begin() + row); }
    void rowChanged(int32_t row) override { changed.push_back(row); }
    void rowsReset() override
    {
        ++resets;
        rows.clear();
        for (int32_t i = 0; i < order->size(); ++i)
            rows.push_back((*order)[i].message);
    }
    void scrollIntoView(int32_t row) override { lastScrolledTo = row; }
    int32_t selectedRow() const override { return selected; }

    std::vector<std::string> texts() const
    {
        std::vector<std::string> result;
        for (Message* message : rows)
            result.push_back(message->getText());
        return result;
    }
};

class RecordingFrame : public LogFrame {
public:
    int toolbarUpdates = 0;
    int newsShown = 0;
    void UpdateToolbarChecks() override { ++toolbarUpdates; }
    void showNews() override { ++newsShown; }
};

class RecordingNotifier : public Notifier {
public:
    int attentionAsked = 0;
    int sounds = 0;
    // "path|severity|first line" of each announcement, and its count
    std::vector<std::string> announced;
    std::vector<int32_t> announcedCounts;
    void askForAttention() override { ++attentionAsked; }
    void playAlertSound() override { ++sounds; }
    void announce(const char* path, int32_t severity, const char* firstLine, int32_t count) override
    {
        announced.push_back(std::string(path) + "|" + std::to_string(severity) + "|" + firstLine);
        announcedCounts.push_back(count);
    }
};

class RecordingDetails : public MessageDetails {
public:
    std::vector<std::string> shown;
    void show(const Message& message) override { shown.push_back(message.getText()); }
};

class ScriptedMessageBox : public MessageBox {
public:
    bool answer = false;
    std::vector<std::string> questions;
    std::vector<std::string> warnings;
    std::vector<std::string> errors;
    // The English the user would read.
    bool askYesNo(const ShownText& text) override
    {
        questions.push_back(text.english());
        return answer;
    }
    bool warnYesNo(const ShownText& text) override
    {
        warnings.push_back(text.english());
        return answer;
    }
    void showError(const ShownText& text) override { errors.push_back(text.english()); }
};

} // namespace kestrano::test
