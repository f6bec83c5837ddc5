// The find bar at the bottom of a log window: a pattern searched in the shown rows as it is typed,
// "Match case" and "Regular expression", Previous and Next (wrapping around with a note), the count of
// matching rows, and the matches marked in the list. Going to a match turns Follow off. Where the bar
// is narrow, the labels give way to icons and short signs (with tool tips) before the field gets
// narrower than twelve characters. With the file's history shown, the search goes on into the history
// (in steps, so the window stays responsive) and the count counts the whole file.
#pragma once

#include "core/search/RowSearch.h"
#include "core/view/HistoryRows.h"

#include <QWidget>

#include <functional>

#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kestrano {

class ChildView;
class HistoryFind;
class LogList;
class TextMatcher;

class FindBar : public QWidget {
    Q_OBJECT

public:
    FindBar(LogList& list, ChildView& view, QWidget* parent = nullptr);
    // stopFollowing turns the list's Follow off when a match is shown.
    FindBar(LogList& list, std::function<void()> stopFollowing, QWidget* parent = nullptr);
    ~FindBar() override;

    // Shows the bar and puts the focus in its field, its text selected.
    void open();
    // Hides the bar, unmarks the matches and gives the focus back to the list.
    void close();
    // Goes to the next or previous matching row; opens the bar when there is no pattern yet.
    void findNext();
    void findPrevious();

    QLineEdit& patternField() const { return *field; }
    QCheckBox& matchCaseBox() const { return *matchCase; }
    QCheckBox& regexBox() const { return *regex; }
    QLabel& countLabel() const { return *count; }
    QLabel& noteLabel() const { return *note; }
    QPushButton& previousButton() const { return *previous; }
    QPushButton& nextButton() const { return *next; }
    // Whether the labels gave way to icons.
    bool isCompact() const { return compact; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void patternChanged();
    void search(bool forward, bool includeSelected);
    void showResult(const RowMatch& match, bool forward);
    // The history shown, once counted; nullptr otherwise.
    HistoryRows* countedHistory() const;
    // Goes on with a search that reaches into the history, a step per turn of the event loop.
    void continueFinding();
    void showHistoryResult();
    // Counts the history's matches (the new ones only, when the pattern and filters stayed), in steps.
    void continueCounting();
    // Forgets the history's searches and count (a new pattern, filter or history).
    void forgetHistory();
    // The label of a count over the whole file: the kept rows' and the history's.
    void showCount(const RowMatch& match, int32_t selected);
    // Counts the matches again once the rows changed (new lines, a filter), without moving.
    void scheduleRecount();
    void recount();
    void setCompact(bool on);
    // Compact when the full labels would leave the field less than twelve characters.
    void fitLabels();

    LogList& list;
    std::function<void()> stopFollowing;
    ChildView* view = nullptr; // the log's view, whose history the search goes on into; nullptr: none
    QLineEdit* field;
    QCheckBox* matchCase;
    QCheckBox* regex;
    QPushButton* previous;
    QPushButton* next;
    QLabel* count;
    QLabel* note;
    std::unique_ptr<TextMatcher> matcher; // nullptr: no pattern, or an invalid one
    std::unique_ptr<HistoryFind> finding; // a search going on in the history
    bool findingForward = true;
    HistoryRows::Search counting; // the count of the history's matches going on, or done
    bool countingHistory = false;
    int64_t historyMatches = -1; // -1: not counted
    int64_t countedTo = 0; // the history's messages counted
    bool recountScheduled = false;
    bool compact = false;
};

} // namespace kestrano
