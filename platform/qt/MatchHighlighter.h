// Draws a log list's rows with the matches of a find pattern marked; without a pattern, or in a row
// without a match, the row is drawn as usual.
#pragma once

#include <QStyledItemDelegate>

namespace kestrano {

class TextMatcher;

class MatchHighlighter : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The matcher outlives its use here, or is replaced first; nullptr marks nothing.
    void setMatcher(const TextMatcher* matcher) { marked = matcher; }
    const TextMatcher* matcher() const { return marked; }

    void paint(
        QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const TextMatcher* marked = nullptr; // what is marked
};

} // namespace kestrano
