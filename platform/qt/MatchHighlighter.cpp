#include "platform/qt/MatchHighlighter.h"

#include "core/search/TextMatcher.h"

#include <QApplication>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace kestrano {

namespace {

// The matches in the row text, as ranges of the text's characters.
QList<QTextLayout::FormatRange> matchRanges(const TextMatcher& matcher, const QString& text)
{
    QList<QTextLayout::FormatRange> ranges;
    const QByteArray bytes = text.toLocal8Bit();
    const auto length = static_cast<int32_t>(bytes.size());
    QTextCharFormat marked;
    marked.setBackground(QColor(255, 214, 64));
    marked.setForeground(Qt::black);
    int32_t from = 0, start = 0, end = 0;
    while (matcher.find(bytes.constData(), length, from, start, end)) {
        const auto before = static_cast<int>(QString::fromLocal8Bit(bytes.constData(), start).size());
        const auto size
            = static_cast<int>(QString::fromLocal8Bit(bytes.constData() + start, end - start).size());
        ranges.append({before, size, marked});
        from = end;
    }
    return ranges;
}

} // namespace

void MatchHighlighter::paint(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem item(option);
    initStyleOption(&item, index);
    const QList<QTextLayout::FormatRange> ranges = marked && !item.text.isEmpty()
        ? matchRanges(*marked, item.text)
        : QList<QTextLayout::FormatRange>();
    if (ranges.isEmpty()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // The style draws the row without its text; the text follows with the matches marked.
    const QString text = item.text;
    QStyle* style = item.widget ? item.widget->style() : QApplication::style();
    QRect textArea = style->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget);
    item.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, item.widget) + 1;
    textArea.adjust(margin, 0, -margin, 0);

    QTextLayout layout(text, item.font);
    layout.setFormats(ranges);
    QTextOption wrap;
    const bool wraps = item.features & QStyleOptionViewItem::WrapText;
    wrap.setWrapMode(wraps ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    layout.setTextOption(wrap);
    layout.beginLayout();
    qreal height = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        if (wraps)
            line.setLineWidth(textArea.width());
        else
            line.setNumColumns(static_cast<int>(text.size()));
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();

    painter->save();
    painter->setClipRect(textArea);
    const bool selected = item.state & QStyle::State_Selected;
    painter->setPen(
        item.palette.color(QPalette::Normal, selected ? QPalette::HighlightedText : QPalette::Text));
    const qreal top = textArea.top() + (textArea.height() - height) / 2;
    layout.draw(painter, QPointF(textArea.left(), top));
    painter->restore();
}

QSize MatchHighlighter::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (rowWidthHint > 0)
        size.setWidth(std::max(size.width(), rowWidthHint));
    return size;
}

} // namespace kestrano
