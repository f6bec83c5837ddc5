#include "shell/windows/TimeNavigation.h"

#include "core/ports/MessageBox.h"
#include "core/search/TimeSearch.h"
#include "core/text/LogTime.h"
#include "core/text/Message.h"
#include "core/view/HistoryRows.h"
#include "platform/qt/LogList.h"
#include "platform/qt/LogListModel.h"
#include "platform/qt/TimeText.h"
#include "platform/qt/TimelineStrip.h"
#include "shell/app/ErrorGuard.h"
#include "shell/dialogs/GoToTimeDialog.h"

#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTimer>

namespace kestrano {

TimeNavigation::TimeNavigation(LogList& list, QWidget& owner, QWidget* stripParent, MessageBox& box,
    std::function<void()> followOff, std::function<void()> selectionMoved)
    : list(list)
    , owner(owner)
    , box(box)
    , timeline(new TimelineStrip(list, stripParent))
    , followOff(std::move(followOff))
{
    timeline->setGoToHandler(
        [this](int64_t at) { runGuarded(this->owner.window(), [this, at] { goToTime(at); }); });
    timeline->hide();
    // Connected to this object, so that the list, going after it, tells nothing more.
    connect(list.selectionModel(), &QItemSelectionModel::currentChanged, this, selectionMoved);
    connect(list.selectionModel(), &QItemSelectionModel::selectionChanged, this, selectionMoved);
    connect(&list.model(), &LogListModel::flushed, this, selectionMoved);
    // Rows coming and going above the selected one (the history's, revealed or folded) move it without
    // a signal, and may be told while the history already changed: told again once they are in.
    const auto afterRowsChanged = [this, selectionMoved] {
        if (rowsChangedScheduled)
            return;
        rowsChangedScheduled = true;
        QTimer::singleShot(0, this, [this, selectionMoved] {
            rowsChangedScheduled = false;
            selectionMoved();
        });
    };
    connect(&list.model(), &QAbstractItemModel::rowsInserted, this, afterRowsChanged);
    connect(&list.model(), &QAbstractItemModel::rowsRemoved, this, afterRowsChanged);
    connect(&list.model(), &QAbstractItemModel::modelReset, this, afterRowsChanged);
}

TimeNavigation::~TimeNavigation() = default;

void TimeNavigation::askForTime()
{
    const int64_t newest = timeAtOrBefore(list);
    if (newest == LogTime::None) {
        box.showError(tr("No message in this window states its time.").toLocal8Bit().constData());
        return;
    }
    const int64_t selected
        = list.selectedRow() >= 0 ? timeAtOrBefore(list, list.selectedRow()) : LogTime::None;
    GoToTimeDialog dialog(selected != LogTime::None ? selected : newest, &owner);
    while (dialog.exec() == QDialog::Accepted) {
        const std::optional<int64_t> at = readTypedTime(dialog.field().text(), LogTime::microseconds(newest));
        if (!at) {
            box.showError(tr("\"%1\" is not a time.").arg(dialog.field().text()).toLocal8Bit().constData());
            continue;
        }
        if (!goToTime(*at))
            box.showError(tr("No message is at or after %1.")
                              .arg(shownTime(LogTime::pack(*at, 0)))
                              .toLocal8Bit()
                              .constData());
        return;
    }
}

bool TimeNavigation::goToTime(int64_t microseconds)
{
    const int32_t row = firstRowAtOrAfter(list, microseconds);
    // Before the first kept row, the moment may lie in the file's history.
    if (HistoryRows* history = list.model().history();
        history && history->isOn() && (row == 0 || list.rowCount() == 0)) {
        if (const int64_t shown = history->revealDownTo(history->firstAtOrAfterTime(microseconds));
            shown >= 0) {
            list.historyChanged();
            followOff();
            list.selectHistoryRow(shown);
            return true;
        }
    }
    if (row < 0)
        return false;
    followOff();
    list.selectRow(row);
    return true;
}

QString TimeNavigation::selectedTimeText() const
{
    const Message* message = list.selectedMessage(); // a kept row's or a history row's
    if (!message || message->getTime() == LogTime::None)
        return {};
    const int64_t newest = timeAtOrBefore(list);
    return tr("%1, %2").arg(shownTime(message->getTime()),
        distanceToEndText(LogTime::microseconds(newest) - LogTime::microseconds(message->getTime())));
}

} // namespace kestrano
