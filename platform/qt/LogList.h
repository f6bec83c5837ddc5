// The list control of a log view: a QListView over a LogListModel, one line per shown message with its
// severity icon, no header, single selection. A double-click asks for the message details.
#pragma once

#include "platform/ListControl.h"

#include <QListView>

#include <functional>

namespace kestrano {

class LogListModel;

class LogList : public QListView, public ListControl {
    Q_OBJECT

public:
    explicit LogList(QWidget* parent = nullptr);

    int32_t rowCount() const override;
    void appendRow(Message* message) override;
    void deleteFirstRow() override;
    void deleteAllRows() override;
    void refreshRow(int32_t row) override;
    Message* rowMessage(int32_t row) const override;
    void scrollIntoView(int32_t row) override;
    int32_t selectedRow() const override;
    bool showsRowsLater() const override { return true; }

    LogListModel& model() const { return *rows; }
    // Called on a double-click, instead of the list's own handling.
    void setDoubleClickHandler(std::function<void()> handler) { onDoubleClick = std::move(handler); }

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void scrollToLastIfPending();

    LogListModel* rows;
    std::function<void()> onDoubleClick;
    bool scrollToLastPending = false;
};

} // namespace kestrano
