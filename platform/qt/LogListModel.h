// The rows of one log list: a pointer to each shown message, oldest first, in a ring that grows by
// doubling and keeps its room when emptied, so a rebuild allocates nothing per row. Row texts and
// icons are computed only when Qt asks for them. Appended rows reach the attached views in one batch
// when the event loop next runs, so filling a list with many rows costs one insertion, not one per row.
// For assistive technology a row's text begins with its severity's name. A merged window's list reads
// its rows from the merged order instead, each after its log's name, on its log's colour. Before a log's
// kept rows come the rows of the file's history, as the view's HistoryRows has them; row numbers of the
// kept rows (at, allRows) do not count them.
#pragma once

#include <QAbstractListModel>
#include <QColor>

#include <cstdint>
#include <string>
#include <vector>

namespace kestrano {

class HistoryRows;
class Message;
class MergedOrder;

// How a merged window's rows name their log.
struct SourceLabel {
    QString name;
    QColor colour;
};

class LogListModel : public QAbstractListModel {
    Q_OBJECT

public:
    explicit LogListModel(QObject* parent = nullptr);

    // Qt's count: the history's rows and the kept rows already announced to the views.
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // All rows, including those not yet announced to the views.
    int32_t allRows() const { return count; }
    // The rows the views know of (the first announcedRows() of allRows()).
    int32_t announcedRows() const { return announced; }
    Message* at(int32_t row) const;
    void append(Message* message);
    void removeFirst();
    void clear();
    void refresh(int32_t row);
    // Announces the rows appended since the last batch; true if there were any.
    bool flush();
    // The most characters a row held since the list was last emptied (at most a row's bound).
    int32_t widestRow() const { return widest; }
    // The history whose rows come first; nullptr: none. It must outlive its use.
    void setHistory(HistoryRows* rows);
    HistoryRows* history() const { return historyRows; }
    // The rows before the kept ones, as announced to the views.
    int32_t historyRowCount() const { return shownHistory; }
    // Announces what the history's rows did; returns where the row (as Qt counted rows before) is now,
    // -1 when it was concealed. Messages that left the kept rows count as the same rows, now the
    // history's; the first row stands for the newest revealed row.
    int32_t historyChanged(int32_t row = -1);
    // The message of a row as Qt counts rows (nullptr for the history's first row).
    const Message* messageOfRow(int32_t row) const;
    // Whether the row, as Qt counts rows, is the history's first row, which counts earlier messages.
    bool isEarlierRow(int32_t row) const { return shownHeader && row == 0; }
    // Whether each row starts with its message's stated time (a column of its own in a fixed font).
    void setShowTime(bool on);
    bool showsTime() const { return showTime; }

    // The rows are the order's from now on (told by insertedAt, deletedAt and resetRows), each
    // labelled by its log's slot.
    void showMerged(const MergedOrder& order);
    void setSourceLabels(std::vector<SourceLabel> bySlot);
    void insertedAt(int32_t row);
    void deletedAt(int32_t row);
    void resetRows();

signals:
    void flushed();
    void widestRowChanged();

private:
    void scheduleFlush();
    void noteWidth(const Message& message);
    QString rowText(const Message& message, const SourceLabel* source) const;
    QString earlierText() const;
    QVariant messageData(const Message& message, const SourceLabel* source, int role) const;
    void syncHistory();
    QVariant historyData(int32_t row, int role) const;

    Message* row(int32_t index) const;
    const SourceLabel* sourceOf(int32_t index) const;

    std::vector<Message*> ring; // a power of two long, or empty
    size_t first = 0;
    int32_t count = 0;
    int32_t announced = 0;
    bool flushScheduled = false;
    int32_t widest = 0;
    bool showTime = false;
    mutable std::string textBuffer;
    const MergedOrder* merged = nullptr;
    std::vector<SourceLabel> sources; // by slot
    qsizetype sourceWidth = 0; // the longest name
    HistoryRows* historyRows = nullptr;
    int32_t shownHistory = 0;
    bool shownHeader = false;
};

} // namespace kestrano
