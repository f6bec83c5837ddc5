#include "platform/qt/TimelineStrip.h"

#include "core/search/TimeSearch.h"
#include "core/text/LogTime.h"
#include "core/text/Message.h"
#include "platform/qt/LogList.h"
#include "platform/qt/LogListModel.h"
#include "platform/qt/SeverityIcons.h"
#include "platform/qt/TimeText.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>

#include <algorithm>

namespace kestrano {

namespace {

constexpr int Margin = 3;

// Bottom to top: the most severe at the foot of a bar.
constexpr int32_t StackOrder[] = {Severity::Fatal, Severity::Error, Severity::Warning, Severity::Information,
    Severity::DebugInformation, Severity::Unknown};

} // namespace

TimelineStrip::TimelineStrip(LogList& list, QWidget* parent)
    : QWidget(parent)
    , list(list)
{
    setAccessibleName(tr("Timeline"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAttribute(Qt::WA_OpaquePaintEvent);
    const LogListModel& model = list.model();
    connect(&model, &QAbstractItemModel::rowsInserted, this,
        [this](const QModelIndex&, int first, int last) { rowsAdded(first, last); });
    connect(&model, &QAbstractItemModel::rowsAboutToBeRemoved, this,
        [this](const QModelIndex&, int first, int last) { rowsRemoving(first, last); });
    connect(&model, &QAbstractItemModel::modelReset, this, &TimelineStrip::recountLater);
    connect(list.verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { update(); });
    connect(list.verticalScrollBar(), &QScrollBar::rangeChanged, this, [this] { update(); });
}

QSize TimelineStrip::sizeHint() const
{
    return {BucketWidth * 60, fontMetrics().height() * 3};
}

void TimelineStrip::rowsAdded(int first, int last)
{
    if (stale || !isVisible()) {
        stale = true;
        return;
    }
    const LogListModel& model = list.model();
    const int64_t start = counts.getBucketCount() > 0 ? counts.bucketStart(0) : 0;
    int32_t low = INT32_MAX, high = -1;
    // Qt's rows of the history come before the kept ones, which alone are counted.
    const int32_t history = model.historyRowCount();
    for (int row = std::max(first, history); row <= last; ++row) {
        const Message* message = model.at(row - history);
        if (!message)
            continue;
        const int32_t bucket = counts.add(*message);
        if (bucket == TimelineBuckets::Recount) {
            recountLater();
            return;
        }
        if (bucket >= 0) {
            low = std::min(low, bucket);
            high = std::max(high, bucket);
        }
    }
    if (high < 0)
        return;
    const bool moved = counts.bucketStart(0) != start;
    bool taller = false;
    for (int32_t bucket = low; bucket <= high && !taller; ++bucket)
        taller = counts.getTotal(bucket) > drawnLargest;
    markChanged(low, high, moved || taller);
}

void TimelineStrip::rowsRemoving(int first, int last)
{
    if (stale || !isVisible()) {
        stale = true;
        return;
    }
    const LogListModel& model = list.model();
    int32_t low = INT32_MAX, high = -1;
    bool shorter = false;
    const int32_t history = model.historyRowCount();
    for (int row = std::max(first, history); row <= last; ++row) {
        const Message* message = model.at(row - history);
        const int32_t bucket = message ? counts.remove(*message) : TimelineBuckets::NoBucket;
        if (bucket < 0)
            continue;
        // The tallest bar shrinking rescales them all.
        shorter = shorter || counts.getTotal(bucket) + 1 >= drawnLargest;
        low = std::min(low, bucket);
        high = std::max(high, bucket);
    }
    if (high < 0)
        return;
    const bool moved = counts.dropEmptyStart();
    markChanged(low, high, moved || shorter);
}

void TimelineStrip::recountLater()
{
    stale = true;
    if (recountScheduled || !isVisible())
        return;
    recountScheduled = true;
    QTimer::singleShot(0, this, [this] {
        recountScheduled = false;
        if (stale && isVisible())
            recount();
    });
}

void TimelineStrip::recount()
{
    const LogListModel& model = list.model();
    counts.setRoom(std::max(1, (width() - 2 * Margin) / BucketWidth));
    counts.recount(model.allRows(), [&model](int32_t row) { return model.at(row); });
    stale = false;
    markChanged(0, 0, true);
}

void TimelineStrip::markChanged(int32_t low, int32_t high, bool full)
{
    changedLow = std::min(changedLow, low);
    changedHigh = std::max(changedHigh, high);
    redrawAll = redrawAll || full;
    if (redrawScheduled)
        return;
    redrawScheduled = true;
    QTimer::singleShot(0, this, &TimelineStrip::redrawChanged);
}

void TimelineStrip::redrawChanged()
{
    redrawScheduled = false;
    if (redrawAll || changedHigh < changedLow)
        update();
    else
        update(bucketRect(changedLow).united(bucketRect(changedHigh)));
    redrawAll = false;
    changedLow = INT32_MAX;
    changedHigh = -1;
}

QRect TimelineStrip::bucketRect(int32_t bucket) const
{
    return {Margin + bucket * BucketWidth, 0, BucketWidth, height()};
}

QRect TimelineStrip::viewedSpan() const
{
    const LogListModel& model = list.model();
    if (model.allRows() == 0 || counts.getBucketCount() == 0)
        return {};
    // Kept rows (a history row in view counts as the first kept one).
    const int32_t history = model.historyRowCount();
    const QModelIndex top = list.indexAt(QPoint(1, 1));
    const QModelIndex bottom = list.indexAt(QPoint(1, list.viewport()->height() - 2));
    const int32_t topRow = top.isValid() ? std::max(0, top.row() - history) : 0;
    const int32_t bottomRow = bottom.isValid() ? std::max(0, bottom.row() - history) : model.allRows() - 1;
    int64_t from = timeAtOrBefore(list, topRow);
    const int64_t to = timeAtOrBefore(list, bottomRow);
    if (to == LogTime::None)
        return {};
    const int32_t first = from == LogTime::None ? 0 : counts.bucketAt(LogTime::microseconds(from));
    const int32_t last = counts.bucketAt(LogTime::microseconds(to));
    return QRect(bucketRect(first).topLeft(), bucketRect(last).bottomRight()).adjusted(-1, 0, 0, -1);
}

void TimelineStrip::paintEvent(QPaintEvent* event)
{
    if (stale)
        recount();
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Base));
    const int32_t largest = counts.getLargestTotal();
    // The bars are scaled anew: all of them.
    if (largest != drawnLargest && !event->rect().contains(rect()))
        update();
    drawnLargest = largest;
    const int floor = height() - Margin;
    const int tallest = floor - Margin;
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(event->rect().left(), floor, event->rect().right(), floor);
    if (largest > 0) {
        const int32_t from = std::max(0, (event->rect().left() - Margin) / BucketWidth);
        const int32_t to
            = std::min(counts.getBucketCount() - 1, (event->rect().right() - Margin) / BucketWidth);
        for (int32_t bucket = from; bucket <= to; ++bucket) {
            const TimelineBuckets::Counts& each = counts.getCounts(bucket);
            const QRect column = bucketRect(bucket);
            int32_t below = 0;
            for (const int32_t severity : StackOrder) {
                const int32_t count = each[static_cast<size_t>(severity + 1)];
                if (count == 0)
                    continue;
                // Edges from the running sum, so the parts meet without gaps; at least a pixel each.
                const int bottom = floor - static_cast<int>(int64_t {below} * tallest / largest);
                below += count;
                const int top
                    = std::min(bottom - 1, floor - static_cast<int>(int64_t {below} * tallest / largest));
                painter.fillRect(column.left(), top, BucketWidth - 1, bottom - top, severityColour(severity));
            }
        }
    }
    // An outline, which leaves the bars' colours as they are.
    if (const QRect viewed = viewedSpan(); !viewed.isEmpty()) {
        painter.setPen(palette().color(QPalette::Highlight));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(viewed);
    }
}

void TimelineStrip::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    counts.setRoom(std::max(1, (width() - 2 * Margin) / BucketWidth));
    if (counts.wantsOtherStep())
        recountLater();
}

void TimelineStrip::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (stale)
        recountLater();
}

QString TimelineStrip::bucketText(const QPoint& place) const
{
    const int32_t bucket = (place.x() - Margin) / BucketWidth;
    if (place.x() < Margin || bucket >= counts.getBucketCount())
        return {};
    const int64_t start = counts.bucketStart(bucket);
    QString text = tr("%1 to %2")
                       .arg(shownTime(LogTime::pack(start, 0)),
                           shownTime(LogTime::pack(start + counts.getStepMicroseconds(), 0)));
    text += QLatin1Char('\n') + tr("Messages: %1").arg(counts.getTotal(bucket));
    const TimelineBuckets::Counts& each = counts.getCounts(bucket);
    for (int32_t severity = Severity::Fatal; severity >= Severity::Unknown; --severity) {
        if (const int32_t count = each[static_cast<size_t>(severity + 1)]; count > 0)
            text += QLatin1Char('\n') + tr("%1: %2").arg(severityName(severity)).arg(count);
    }
    return text;
}

bool TimelineStrip::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString text = bucketText(help->pos());
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(
                help->globalPos(), text, this, bucketRect((help->pos().x() - Margin) / BucketWidth));
        return true;
    }
    return QWidget::event(event);
}

void TimelineStrip::mousePressEvent(QMouseEvent* event)
{
    const int x = event->position().toPoint().x();
    const int32_t bucket = (x - Margin) / BucketWidth;
    if (event->button() != Qt::LeftButton || x < Margin || bucket >= counts.getBucketCount()
        || counts.getTotal(bucket) == 0) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    if (onGoTo)
        onGoTo(counts.bucketStart(bucket));
}

} // namespace kestrano
