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
    void setMatcher(const TextMatcher* matcher) { this->matcher = matcher; }
    const TextMatcher* getMatcher() const { return matcher; }

    void paint(
        QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const TextMatcher* matcher = nullptr;
};

} // namespace kestrano
