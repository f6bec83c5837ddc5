#include "shell/widgets/LongTextView.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace kestrano {

namespace {

constexpr int Margin = 4;
constexpr int TabWidth = 8;

// The text with each tab replaced by the spaces up to the next tab stop.
QString expandTabs(const QString& text)
{
    if (!text.contains(QLatin1Char('\t')))
        return text;
    QString expanded;
    expanded.reserve(text.size() + text.size() / 8);
    qsizetype column = 0;
    for (const QChar c : text) {
        if (c == QLatin1Char('\t')) {
            const qsizetype spaces = TabWidth - column % TabWidth;
            expanded.append(QString(spaces, QLatin1Char(' ')));
            column += spaces;
        } else {
            expanded.append(c);
            column = c == QLatin1Char('\n') ? 0 : column + 1;
        }
    }
    return expanded;
}

} // namespace

LongTextView::LongTextView(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    lineStarts.push_back(0);
    rows.push_back(0);
}

void LongTextView::setPlainText(const QString& value)
{
    text = value;
    shown = expandTabs(value);
    lineStarts.clear();
    lineStarts.push_back(0);
    for (qsizetype at = shown.indexOf(QLatin1Char('\n')); at >= 0;
         at = shown.indexOf(QLatin1Char('\n'), at + 1))
        lineStarts.push_back(at + 1);
    lineStarts.push_back(shown.size() + 1);
    columns = 0;
    wrap();
}

int LongTextView::rowHeight() const
{
    return std::max(1, fontMetrics().lineSpacing());
}

// Counts the rows of every line at the current width; only a change of the width in columns costs.
void LongTextView::wrap()
{
    // The advance of a character is fractional; a row of them is as wide as their sum.
    const qreal advance = QFontMetricsF(font()).horizontalAdvance(QString(100, QLatin1Char('x'))) / 100;
    const qreal width = std::max(1, viewport()->width() - 2 * Margin);
    const int wanted = std::max(1, static_cast<int>(width / std::max<qreal>(1, advance)));
    if (wanted != columns) {
        columns = wanted;
        const size_t lines = lineStarts.size() - 1;
        rows.assign(lines + 1, 0);
        for (size_t i = 0; i < lines; ++i) {
            const qsizetype length = lineStarts[i + 1] - 1 - lineStarts[i];
            rows[i + 1] = rows[i] + std::max<int64_t>(1, (length + columns - 1) / columns);
        }
    }
    const int visible = std::max(1, viewport()->height() / rowHeight());
    const int64_t last = std::max<int64_t>(0, rowCount() - visible);
    verticalScrollBar()->setRange(0, static_cast<int>(std::min<int64_t>(last, INT32_MAX)));
    verticalScrollBar()->setPageStep(visible);
    verticalScrollBar()->setSingleStep(1);
}

void LongTextView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    wrap();
}

void LongTextView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Text));
    const int height = rowHeight();
    const int ascent = fontMetrics().ascent();
    const int64_t first = verticalScrollBar()->value();
    // The line holding the first row shown, then row after row down to the bottom.
    size_t line = static_cast<size_t>(std::upper_bound(rows.begin(), rows.end(), first) - rows.begin()) - 1;
    int64_t row = first - rows[line];
    for (int y = 0; y < viewport()->height() && line + 1 < rows.size(); y += height) {
        const qsizetype start = lineStarts[line] + row * columns;
        const qsizetype end = lineStarts[line + 1] - 1;
        painter.drawText(Margin, y + ascent, shown.mid(start, std::min<qsizetype>(columns, end - start)));
        if (++row >= rows[line + 1] - rows[line]) {
            ++line;
            row = 0;
        }
    }
}

void LongTextView::keyPressEvent(QKeyEvent* event)
{
    QScrollBar* bar = verticalScrollBar();
    if (event->matches(QKeySequence::MoveToStartOfDocument) || event->key() == Qt::Key_Home)
        bar->setValue(bar->minimum());
    else if (event->matches(QKeySequence::MoveToEndOfDocument) || event->key() == Qt::Key_End)
        bar->setValue(bar->maximum());
    else
        QAbstractScrollArea::keyPressEvent(event);
}

} // namespace kestrano
