// Draws a log list's rows with the matches of a find pattern marked; without a pattern, or in a row
// without a match, the row is drawn as usual. Rows that do not wrap are given one width, the widest
// row's, so the list scrolls sideways to the end of every row.
#pragma once

#include <QStyledItemDelegate>

#include <cstdint>

namespace kestrano {

class TextMatcher;

class MatchHighlighter : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The matcher outlives its use here, or is replaced first; nullptr marks nothing.
    void setMatcher(const TextMatcher* matcher) { marked = matcher; }
    const TextMatcher* matcher() const { return marked; }

    // The width of a row that does not wrap; 0 for the style's own measure.
    void setRowWidth(int width) { rowWidthHint = width; }
    int rowWidth() const { return rowWidthHint; }

    // Rows whose message states a time more than this after the row before are marked as following a
    // quiet gap (a line along their top and the gap's length); 0 marks none.
    void setQuietGap(int64_t microseconds) { quietGap = microseconds; }
    int64_t getQuietGap() const { return quietGap; }
    // The colour of the quiet gap's mark.
    static QColor quietGapColour() { return {0, 128, 128}; }

    void paint(
        QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    void paintRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;
    void paintQuietGap(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;

    int64_t quietGap = 0;
    int rowWidthHint = 0;
    const TextMatcher* marked = nullptr; // what is marked
};

} // namespace kestrano
