#include "platform/qt/MatchHighlighter.h"

#include "core/search/TextMatcher.h"
#include "core/text/LogTime.h"
#include "core/text/Message.h"
#include "platform/qt/LogListModel.h"
#include "platform/qt/TimeText.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

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

// Lays the row's text out: one line, or lines of the width given that break between words where they
// can and anywhere else where they must (a log's long tokens). Returns the height.
qreal layOut(QTextLayout& layout, bool wraps, qreal width)
{
    QTextOption option;
    option.setWrapMode(wraps ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal height = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        if (wraps)
            line.setLineWidth(width);
        else
            line.setNumColumns(static_cast<int>(layout.text().size()));
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    return height;
}

// The margin the style keeps on either side of a row's text.
int textMargin(const QStyleOptionViewItem& item)
{
    const QStyle* style = item.widget ? item.widget->style() : QApplication::style();
    return style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, item.widget) + 1;
}

} // namespace

void MatchHighlighter::paint(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    paintRow(painter, option, index);
    if (quietGap > 0 && index.row() > 0)
        paintQuietGap(painter, option, index);
}

void MatchHighlighter::paintQuietGap(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const auto* rows = qobject_cast<const LogListModel*>(index.model());
    if (!rows)
        return;
    const Message* message = rows->at(index.row());
    const Message* before = rows->at(index.row() - 1);
    if (!message || !before || message->getTime() == LogTime::None || before->getTime() == LogTime::None)
        return;
    const int64_t gap = LogTime::microseconds(message->getTime()) - LogTime::microseconds(before->getTime());
    if (gap <= quietGap)
        return;
    // The length at the right edge of what the view shows of the row.
    QRect shown = option.rect;
    if (const auto* view = qobject_cast<const QAbstractItemView*>(option.widget))
        shown &= view->viewport()->rect();
    const QColor colour = quietGapColour();
    painter->save();
    painter->fillRect(QRect(option.rect.left(), option.rect.top(), option.rect.width(), 2), colour);
    QFont font = option.font;
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * 0.85);
    const QString text = spanText(gap);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(text) + 8;
    const QRect label(shown.right() - width - 4, option.rect.top(), width, option.rect.height());
    painter->fillRect(label, option.palette.color(QPalette::Base));
    painter->setPen(colour);
    painter->drawRect(label.adjusted(0, 0, -1, -1));
    painter->setFont(font);
    painter->drawText(label, Qt::AlignCenter, text);
    painter->restore();
}

void MatchHighlighter::paintRow(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem item(option);
    initStyleOption(&item, index);
    const QList<QTextLayout::FormatRange> ranges = marked && !item.text.isEmpty()
        ? matchRanges(*marked, item.text)
        : QList<QTextLayout::FormatRange>();
    const bool wraps = item.features & QStyleOptionViewItem::WrapText;
    if (ranges.isEmpty() && !wraps) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // The style draws the row without its text; the text follows, wrapped and with the matches marked.
    const QString text = item.text;
    QStyle* style = item.widget ? item.widget->style() : QApplication::style();
    QRect textArea = style->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget);
    item.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);
    const int margin = textMargin(item);
    textArea.adjust(margin, 0, -margin, 0);

    QTextLayout layout(text, item.font);
    layout.setFormats(ranges);
    const qreal height = layOut(layout, wraps, textArea.width());

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
    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    if (view && (option.features & QStyleOptionViewItem::WrapText)) {
        // As wide as the list shows, as tall as the wrapped text.
        QStyleOptionViewItem item(option);
        initStyleOption(&item, index);
        item.rect = QRect(0, 0, view->viewport()->width(), size.height());
        const QStyle* style = view->style();
        const int width
            = style->subElementRect(QStyle::SE_ItemViewItemText, &item, view).width() - 2 * textMargin(item);
        QTextLayout layout(item.text, item.font);
        const int height = static_cast<int>(std::ceil(layOut(layout, true, std::max(width, 1))));
        return {view->viewport()->width(), std::max(size.height(), height + 2)};
    }
    if (rowWidthHint > 0)
        size.setWidth(std::max(size.width(), rowWidthHint));
    return size;
}

} // namespace kestrano
