// The timeline above a log list: its shown kept messages (not the rows of the file's history) over time, in
// buckets that fit the width, each a bar stacked by severity in the severities' colours, with the span of the
// rows in view marked. Hovering tells a bucket's time range and counts; clicking one asks to go to its start.
// The strip follows the list's model row by row (rows announced are counted, rows removed uncounted, only the
// changed bars redrawn); a reset of the model, a hidden strip shown again or a change of step counts all rows
// afresh.
#pragma once

#include "core/view/TimelineBuckets.h"

#include <QWidget>

#include <cstdint>
#include <functional>

namespace kestrano {

class LogList;

class TimelineStrip : public QWidget {
    Q_OBJECT

public:
    // Pixels per bucket: its bar and a gap.
    static constexpr int BucketWidth = 4;

    explicit TimelineStrip(LogList& list, QWidget* parent = nullptr);

    // Called with the start of the clicked bucket, microseconds since the epoch.
    void setGoToHandler(std::function<void(int64_t)> handler) { onGoTo = std::move(handler); }
    const TimelineBuckets& buckets() const { return counts; }
    // The pixel columns of a bucket's bar.
    QRect bucketRect(int32_t bucket) const;
    // The tool tip of the bucket under the point; empty where there is none.
    QString bucketText(const QPoint& place) const;

    QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void rowsAdded(int first, int last);
    void rowsRemoving(int first, int last);
    void recountLater();
    void recount();
    // Redraws the bars from low to high (bucket numbers) once the event loop runs; all when full.
    void markChanged(int32_t low, int32_t high, bool full);
    void redrawChanged();
    // The pixel columns of the rows in view, or an empty rectangle.
    QRect viewedSpan() const;

    LogList& list;
    TimelineBuckets counts;
    std::function<void(int64_t)> onGoTo;
    bool stale = true; // counts to be made afresh before use
    bool recountScheduled = false;
    bool redrawScheduled = false;
    bool redrawAll = false;
    int32_t changedLow = INT32_MAX;
    int32_t changedHigh = -1;
    int32_t drawnLargest = 0; // the tallest bar's total when the bars were scaled
};

} // namespace kestrano
