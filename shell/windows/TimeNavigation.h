// Moving through a log list by time, the same in a log window and in a merged window: the timeline strip
// above the list (clicking a bucket goes to its first message), Go to Time, and the selected message's
// time and distance to the newest for the status bar.
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>

class QWidget;

namespace kestrano {

class LogList;
class MessageBox;
class TimelineStrip;

class TimeNavigation : public QObject {
    Q_OBJECT

public:
    // Makes the strip, hidden, in stripParent. followOff turns the window's Follow off; selectionMoved is
    // told when the selected message or the rows change. The owner is the window asking.
    TimeNavigation(LogList& list, QWidget& owner, QWidget* stripParent, MessageBox& box,
        std::function<void()> followOff, std::function<void()> selectionMoved);
    ~TimeNavigation() override;

    TimelineStrip& strip() const { return *timeline; }
    // Selects and shows the first message at or after the moment (microseconds since the epoch), Follow
    // off; false when no message is.
    bool goToTime(int64_t microseconds);
    // Asks for a moment and goes there, telling the user when no message is at or after it.
    void askForTime();
    // The selected message's time and how far it lies from the newest one's; empty without either.
    QString selectedTimeText() const;

private:
    LogList& list;
    QWidget& owner; // the window the dialog belongs to
    MessageBox& box;
    TimelineStrip* timeline;
    std::function<void()> followOff;
    bool rowsChangedScheduled = false;
};

} // namespace kestrano
