#include "platform/qt/LogListModel.h"

#include "core/text/DisplayText.h"
#include "core/text/LogTime.h"
#include "core/text/Message.h"
#include "core/view/HistoryRows.h"
#include "core/view/MergedOrder.h"
#include "foundation/Exception.h"
#include "platform/qt/CoreTexts.h"
#include "platform/qt/LogText.h"
#include "platform/qt/SeverityIcons.h"
#include "platform/qt/TimeText.h"

#include <QFont>
#include <QLocale>
#include <QPixmap>
#include <QTimer>

#include <algorithm>
#include <new>

namespace kestrano {

namespace {

// Keeps the text of rows without an icon in line with the others.
const QIcon& blankIcon()
{
    static const QIcon blank = [] {
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::transparent);
        return QIcon(pixmap);
    }();
    return blank;
}

} // namespace

LogListModel::LogListModel(QObject* parent)
    : QAbstractListModel(parent)
{ }

int LogListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : shownHistory + announced;
}

Message* LogListModel::row(int32_t index) const
{
    if (merged)
        return (*merged)[index].message;
    return ring[(first + static_cast<size_t>(index)) & (ring.size() - 1)];
}

const SourceLabel* LogListModel::sourceOf(int32_t index) const
{
    if (!merged)
        return nullptr;
    const auto slot = static_cast<size_t>((*merged)[index].getLog());
    return slot < sources.size() ? &sources[slot] : nullptr;
}

QString LogListModel::rowText(const Message& message, const SourceLabel* source) const
{
    // Qt lays out the whole text at every paint: a row gets a bounded prefix, marked when cut.
    const int32_t shown = rowPrefixLength(message.getText(), message.getTextLength());
    textBuffer.resize(static_cast<size_t>(shown) + 1);
    const int32_t length = displayText(message.getText(), shown, textBuffer.data());
    QString text = translatedRowText(message, visibleLogText(textBuffer.data(), length));
    if (shown < message.getTextLength())
        text += QChar(0x2026);
    if (source)
        text = source->name.leftJustified(sourceWidth) + QStringLiteral("  ") + text;
    if (!showTime)
        return text;
    // Rows without a time keep the column blank, as wide as a time of the same kind.
    static const qsizetype width = shownTime(LogTime::pack(0, 3)).size();
    const QString time = shownTime(message.getTime());
    return (time.isEmpty() ? QString(width, QLatin1Char(' ')) : time) + QStringLiteral("  ") + text;
}

void LogListModel::setShowTime(bool on)
{
    if (on == showTime)
        return;
    showTime = on;
    if (rowCount() > 0)
        emit dataChanged(index(0), index(rowCount() - 1), {Qt::DisplayRole});
}

QString LogListModel::earlierText() const
{
    const int64_t earlier = historyRows->getEarlierCount();
    const QString count = QLocale().toString(static_cast<qlonglong>(earlier)); // grouped as the locale does
    if (!historyRows->isCounted())
        return earlier == 1 ? tr("%1 earlier message in the file so far, counting...").arg(count)
                            : tr("%1 earlier messages in the file so far, counting...").arg(count);
    return earlier == 1 ? tr("%1 earlier message in the file").arg(count)
                        : tr("%1 earlier messages in the file").arg(count);
}

QVariant LogListModel::historyData(int32_t row, int role) const
{
    if (isEarlierRow(row)) {
        switch (role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole:
            return earlierText();
        case Qt::FontRole: {
            QFont font;
            font.setItalic(true);
            return font;
        }
        case Qt::DecorationRole:
            return blankIcon();
        default:
            return {};
        }
    }
    const Message* message = messageOfRow(row);
    if (!message)
        return role == Qt::DecorationRole ? QVariant(blankIcon()) : QVariant();
    return messageData(*message, nullptr, role);
}

QVariant LogListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (index.row() < shownHistory)
        return historyData(index.row(), role);
    const int32_t kept = index.row() - shownHistory;
    return messageData(*row(kept), sourceOf(kept), role);
}

const Message* LogListModel::messageOfRow(int32_t qtRow) const
{
    if (qtRow < 0)
        return nullptr;
    if (qtRow < shownHistory) {
        try {
            return historyRows->revealedMessage(qtRow - (shownHeader ? 1 : 0));
        } catch (const haspel::Exception&) {
        } catch (const std::bad_alloc&) { }
        return nullptr; // out of memory: the row stays empty until it is painted again
    }
    return at(qtRow - shownHistory);
}

QVariant LogListModel::messageData(const Message& shown, const SourceLabel* source, int role) const
{
    const Message* message = &shown;
    switch (role) {
    case Qt::DisplayRole:
        return rowText(*message, source);
    case Qt::AccessibleTextRole:
        return severityName(message->getSeverity()) + QStringLiteral(": ") + rowText(*message, source);
    case Qt::BackgroundRole:
        return source ? QVariant(source->colour) : QVariant();
    case Qt::AccessibleDescriptionRole:
        return severityName(message->getSeverity());
    case Qt::DecorationRole: {
        const QIcon& icon = severityIcon(message->getSeverity());
        return icon.isNull() ? blankIcon() : icon;
    }
    default:
        return {};
    }
}

Message* LogListModel::at(int32_t row) const
{
    if (row < 0 || row >= allRows())
        return nullptr;
    return this->row(row);
}

void LogListModel::append(Message* message)
{
    if (static_cast<size_t>(count) == ring.size()) {
        std::vector<Message*> grown(ring.empty() ? 64 : 2 * ring.size());
        for (int32_t i = 0; i < count; ++i)
            grown[static_cast<size_t>(i)] = row(i);
        ring.swap(grown);
        first = 0;
    }
    ring[(first + static_cast<size_t>(count)) & (ring.size() - 1)] = message;
    ++count;
    noteWidth(*message);
    scheduleFlush();
}

void LogListModel::noteWidth(const Message& message)
{
    // Bytes, as many as characters or more: wide enough without measuring every row.
    const int32_t width = std::min(message.getTextLength(), RowTextBytes) + 1
        + (merged ? static_cast<int32_t>(sourceWidth) + 2 : 0);
    if (width <= widest)
        return;
    widest = width;
    emit widestRowChanged();
}

void LogListModel::removeFirst()
{
    if (count == 0)
        return;
    const bool shown = announced > 0;
    if (shown)
        beginRemoveRows(QModelIndex(), shownHistory, shownHistory);
    first = (first + 1) & (ring.size() - 1);
    --count;
    if (shown) {
        --announced;
        endRemoveRows();
    }
}

void LogListModel::clear()
{
    beginResetModel();
    count = 0;
    first = 0;
    announced = 0;
    widest = 0;
    syncHistory();
    endResetModel();
    emit widestRowChanged();
}

void LogListModel::refresh(int32_t row)
{
    if (row >= 0 && row < allRows())
        noteWidth(*at(row));
    if (row >= 0 && row < announced)
        emit dataChanged(index(shownHistory + row), index(shownHistory + row));
}

bool LogListModel::flush()
{
    flushScheduled = false;
    if (allRows() <= announced)
        return false;
    if (announced == 0) {
        // An empty list filled anew (a rebuild): a reset costs Qt less than inserting every row.
        beginResetModel();
        announced = allRows();
        syncHistory();
        endResetModel();
    } else {
        beginInsertRows(QModelIndex(), shownHistory + announced, shownHistory + allRows() - 1);
        announced = allRows();
        endInsertRows();
    }
    emit flushed();
    return true;
}

void LogListModel::showMerged(const MergedOrder& order)
{
    beginResetModel();
    merged = &order;
    count = announced = order.size();
    endResetModel();
}

void LogListModel::setSourceLabels(std::vector<SourceLabel> bySlot)
{
    sources = std::move(bySlot);
    sourceWidth = 0;
    for (const SourceLabel& label : sources)
        sourceWidth = std::max(sourceWidth, label.name.size());
    if (announced > 0)
        emit dataChanged(index(0), index(announced - 1));
}

// The order has changed already: the views learn of it at once, before they ask for any row.
void LogListModel::insertedAt(int32_t row)
{
    beginInsertRows(QModelIndex(), row, row);
    count = announced = merged->size();
    endInsertRows();
    noteWidth(*this->row(row));
}

void LogListModel::deletedAt(int32_t row)
{
    beginRemoveRows(QModelIndex(), row, row);
    count = announced = merged->size();
    endRemoveRows();
}

void LogListModel::resetRows()
{
    beginResetModel();
    count = announced = merged->size();
    widest = 0;
    endResetModel();
    for (int32_t i = 0; i < count; ++i)
        noteWidth(*row(i));
    emit widestRowChanged();
}

void LogListModel::setHistory(HistoryRows* rows)
{
    beginResetModel();
    historyRows = rows;
    if (historyRows)
        historyRows->takeChange(); // announced anew by the reset
    syncHistory();
    endResetModel();
}

void LogListModel::syncHistory()
{
    shownHistory = historyRows ? historyRows->getRowCount() : 0;
    shownHeader = historyRows && historyRows->hasHeader();
}

int32_t LogListModel::historyChanged(int32_t shown)
{
    if (!historyRows)
        return shown;
    const HistoryRows::Change change = historyRows->takeChange();
    const int32_t headerBefore = shownHeader ? 1 : 0;
    const int32_t rowsBefore = shownHistory;
    if (change.reset) {
        beginResetModel();
        syncHistory();
        endResetModel();
        return shown < rowsBefore ? -1 : shown - rowsBefore + shownHistory;
    }
    // Concealed rows: the oldest revealed, after the first row.
    if (change.concealed > 0) {
        beginRemoveRows(QModelIndex(), headerBefore, headerBefore + change.concealed - 1);
        shownHistory -= change.concealed;
        endRemoveRows();
    }
    // Messages that left the kept ones: rows at the history's end.
    if (change.addedAtEnd > 0) {
        beginInsertRows(QModelIndex(), shownHistory, shownHistory + change.addedAtEnd - 1);
        shownHistory += change.addedAtEnd;
        endInsertRows();
    }
    // Revealed rows: after the first row.
    if (change.addedAtStart > 0) {
        beginInsertRows(QModelIndex(), headerBefore, headerBefore + change.addedAtStart - 1);
        shownHistory += change.addedAtStart;
        endInsertRows();
    }
    if (shownHeader && !historyRows->hasHeader()) {
        beginRemoveRows(QModelIndex(), 0, 0);
        shownHeader = false;
        --shownHistory;
        endRemoveRows();
    } else if (!shownHeader && historyRows->hasHeader()) {
        beginInsertRows(QModelIndex(), 0, 0);
        shownHeader = true;
        ++shownHistory;
        endInsertRows();
    } else if (shownHeader && change.header) {
        emit dataChanged(index(0), index(0));
    }
    if (shownHistory != historyRows->getRowCount()) {
        // Out of step (not expected): announce everything anew.
        beginResetModel();
        syncHistory();
        endResetModel();
        return -1;
    }
    if (shown < 0)
        return shown;
    if (headerBefore > 0 && shown == 0)
        return change.addedAtStart;
    const int32_t above = (shownHeader ? 1 : 0) - headerBefore + change.addedAtStart - change.concealed;
    return shown < headerBefore + change.concealed && shown < rowsBefore ? -1 : shown + above;
}

void LogListModel::scheduleFlush()
{
    if (flushScheduled)
        return;
    flushScheduled = true;
    QTimer::singleShot(0, this, [this] {
        if (flushScheduled)
            flush();
    });
}

} // namespace kestrano
