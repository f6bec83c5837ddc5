#include "platform/qt/LogListModel.h"

#include "core/DisplayText.h"
#include "core/Message.h"
#include "platform/qt/LogText.h"
#include "platform/qt/SeverityIcons.h"

#include <QPixmap>
#include <QTimer>

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
    return parent.isValid() ? 0 : announced;
}

QString LogListModel::rowText(const Message& message) const
{
    textBuffer.resize(static_cast<size_t>(message.getTextLength()) + 1);
    int32_t length = displayText(message.getText(), message.getTextLength(), textBuffer.data());
    return logText(textBuffer.data(), length);
}

QVariant LogListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= announced)
        return {};
    const Message* message = rows[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return rowText(*message);
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
    if (row < 0 || row >= size())
        return nullptr;
    return rows[static_cast<size_t>(row)];
}

void LogListModel::append(Message* message)
{
    rows.push_back(message);
    scheduleFlush();
}

void LogListModel::removeFirst()
{
    if (rows.empty())
        return;
    if (announced > 0) {
        beginRemoveRows(QModelIndex(), 0, 0);
        rows.pop_front();
        --announced;
        endRemoveRows();
    } else {
        rows.pop_front();
    }
}

void LogListModel::clear()
{
    beginResetModel();
    rows.clear();
    rows.shrink_to_fit();
    announced = 0;
    endResetModel();
}

void LogListModel::refresh(int32_t row)
{
    if (row >= 0 && row < announced)
        emit dataChanged(index(row), index(row));
}

bool LogListModel::flush()
{
    flushScheduled = false;
    if (size() <= announced)
        return false;
    beginInsertRows(QModelIndex(), announced, size() - 1);
    announced = size();
    endInsertRows();
    emit flushed();
    return true;
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
