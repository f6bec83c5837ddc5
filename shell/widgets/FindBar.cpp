#include "shell/widgets/FindBar.h"

#include "core/search/TextMatcher.h"
#include "core/view/ChildView.h"
#include "core/view/HistoryFind.h"
#include "platform/qt/LogList.h"
#include "platform/qt/LogListModel.h"
#include "shell/app/ErrorGuard.h"
#include "shell/widgets/PatternField.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

#include <chrono>

namespace kestrano {

namespace {

// A step of a search in the history, so that keys are answered meanwhile.
constexpr std::chrono::milliseconds HistoryStep {20};

HistoryRows::Deadline stepDeadline()
{
    return std::chrono::steady_clock::now() + HistoryStep;
}

} // namespace

FindBar::FindBar(LogList& list, ChildView& view, QWidget* parent)
    : FindBar(
        list, [&view] { view.setFollow(false); }, parent)
{
    this->view = &view;
}

FindBar::FindBar(LogList& list, std::function<void()> stopFollowing, QWidget* parent)
    : QWidget(parent)
    , list(list)
    , stopFollowing(std::move(stopFollowing))
    , field(new QLineEdit(this))
    , matchCase(new QCheckBox(tr("Match case"), this))
    , regex(new QCheckBox(tr("Regular expression"), this))
    , previous(new QPushButton(tr("Previous"), this))
    , next(new QPushButton(tr("Next"), this))
    , count(new QLabel(this))
    , note(new QLabel(this))
{
    setUpPatternField(*field, tr("Find"));
    field->installEventFilter(this);
    auto* closer = new QToolButton(this);
    closer->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    closer->setToolTip(tr("Close the find bar"));
    closer->setAccessibleName(closer->toolTip());
    closer->setAutoRaise(true);
    for (QPushButton* button : {previous, next}) {
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::TabFocus);
    }
    previous->setToolTip(tr("Previous match (Shift+F3)"));
    next->setToolTip(tr("Next match (F3)"));
    matchCase->setToolTip(tr("Match case"));
    regex->setToolTip(tr("Regular expression"));
    // Named as their full labels read, whether shown or not.
    for (QAbstractButton* button : std::initializer_list<QAbstractButton*> {matchCase, regex, previous, next})
        button->setAccessibleName(button->text());
    count->setAccessibleName(tr("Matches"));
    // A long note gives way first; its text stays in its tool tip.
    note->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(closer);
    layout->addWidget(field, 1);
    layout->addWidget(matchCase);
    layout->addWidget(regex);
    layout->addWidget(previous);
    layout->addWidget(next);
    layout->addWidget(count);
    layout->addWidget(note);

    connect(field, &QLineEdit::textChanged, this, &FindBar::patternChanged);
    connect(matchCase, &QCheckBox::toggled, this, &FindBar::patternChanged);
    connect(regex, &QCheckBox::toggled, this, &FindBar::patternChanged);
    connect(previous, &QPushButton::clicked, this, &FindBar::findPrevious);
    connect(next, &QPushButton::clicked, this, &FindBar::findNext);
    connect(closer, &QToolButton::clicked, this, &FindBar::close);
    LogListModel* rows = &list.model();
    connect(rows, &QAbstractItemModel::rowsInserted, this, &FindBar::scheduleRecount);
    connect(rows, &QAbstractItemModel::rowsRemoved, this, &FindBar::scheduleRecount);
    connect(rows, &QAbstractItemModel::modelReset, this, &FindBar::scheduleRecount);
    // A new filter or a history started anew: what the history held is searched and counted again.
    connect(rows, &QAbstractItemModel::modelReset, this, &FindBar::forgetHistory);
    connect(rows, &QAbstractItemModel::dataChanged, this, &FindBar::scheduleRecount);
    hide();
}

FindBar::~FindBar()
{
    finding.reset();
    if (list.highlight() == matcher.get())
        list.setHighlight(nullptr);
}

void FindBar::open()
{
    const bool wasHidden = isHidden();
    show();
    field->setFocus(Qt::ShortcutFocusReason);
    field->selectAll();
    if (wasHidden)
        list.setHighlight(matcher.get());
}

void FindBar::close()
{
    hide();
    list.setHighlight(nullptr);
    list.setFocus(Qt::OtherFocusReason);
}

void FindBar::findNext()
{
    if (!matcher) {
        open();
        return;
    }
    search(true, false);
}

void FindBar::findPrevious()
{
    if (!matcher) {
        open();
        return;
    }
    search(false, false);
}

void FindBar::patternChanged()
{
    list.setHighlight(nullptr);
    forgetHistory();
    matcher.reset();
    note->clear();
    PatternError error;
    const QByteArray pattern = field->text().toLocal8Bit();
    if (!pattern.isEmpty())
        matcher = TextMatcher::compile(
            TextQuery {{pattern.toStdString()}, regex->isChecked(), matchCase->isChecked()}, error);
    showPatternError(*field, error);
    if (!matcher) {
        count->setText(error.message.empty() ? QString() : tr("Invalid expression"));
        return;
    }
    if (isVisible())
        list.setHighlight(matcher.get());
    // As the pattern grows, the selected row stays while it still matches.
    search(true, true);
}

void FindBar::search(bool forward, bool includeSelected)
{
    if (!matcher)
        return;
    if (isHidden()) {
        show();
        list.setHighlight(matcher.get());
    }
    if (HistoryRows* history = countedHistory()) {
        findingForward = forward;
        finding = std::make_unique<HistoryFind>(list, *history, *matcher,
            HistoryFind::From {list.selectedRow(), list.selectedHistoryNumber(), forward, includeSelected});
        continueFinding();
        return;
    }
    const RowMatch match = findRow(list, *matcher, list.selectedRow(), forward, includeSelected);
    showResult(match, forward);
}

HistoryRows* FindBar::countedHistory() const
{
    HistoryRows* history = view && view->showsHistory() ? view->getHistoryRows() : nullptr;
    return history && history->isCounted() && history->getHistoryCount() > 0 ? history : nullptr;
}

void FindBar::continueFinding()
{
    if (!finding)
        return;
    if (!finding->step(stepDeadline())) {
        count->setText(tr("Searching the file..."));
        QTimer::singleShot(0, this, [this] { runGuarded(window(), [this] { continueFinding(); }); });
        return;
    }
    const HistoryFind::Found found = finding->getFound();
    finding.reset();
    if (found.historyNumber < 0) {
        showResult(found.kept, findingForward);
        return;
    }
    HistoryRows* history = view ? view->getHistoryRows() : nullptr;
    const int64_t row = history ? history->revealDownTo(found.historyNumber) : -1;
    if (row < 0)
        return;
    list.historyChanged();
    note->setText(!found.wrapped ? QString()
            : findingForward     ? tr("Passed the end, continued from the top")
                                 : tr("Passed the top, continued from the end"));
    note->setToolTip(note->text());
    runGuarded(window(), [this] { stopFollowing(); });
    list.selectHistoryRow(row);
    scheduleRecount();
}

void FindBar::showResult(const RowMatch& match, bool forward)
{
    if (match.row < 0) {
        count->setText(tr("No match"));
        note->clear();
        return;
    }
    showCount(match, match.row);
    note->setText(!match.wrapped ? QString()
            : forward            ? tr("Passed the end, continued from the top")
                                 : tr("Passed the top, continued from the end"));
    note->setToolTip(note->text());
    // New lines would pull the view away from the match.
    runGuarded(window(), stopFollowing);
    list.selectRow(match.row);
}

void FindBar::scheduleRecount()
{
    if (recountScheduled || !matcher || isHidden())
        return;
    recountScheduled = true;
    QTimer::singleShot(0, this, &FindBar::recount);
}

void FindBar::recount()
{
    recountScheduled = false;
    if (!matcher || isHidden())
        return;
    const int32_t selected = list.selectedRow();
    showCount(findRow(list, *matcher, selected, true, true), selected);
    if (countedHistory() && !countingHistory) {
        // Messages that left the kept ones since the count are counted on.
        const int64_t to = countedHistory()->getHistoryCount();
        if (historyMatches < 0 || to > countedTo) {
            counting = countedHistory()->countFrom(historyMatches < 0 ? 0 : countedTo);
            countingHistory = true;
            continueCounting();
        }
    }
}

void FindBar::showCount(const RowMatch& match, int32_t selected)
{
    // The history's matches come before the kept rows'.
    const bool history = countedHistory() != nullptr;
    if (history && historyMatches < 0) {
        count->setText(tr("Counting..."));
        return;
    }
    const int64_t before = history ? historyMatches : 0;
    const int64_t total = before + match.count;
    if (total == 0)
        count->setText(tr("No match"));
    else if (match.row >= 0 && match.row == selected)
        count->setText(tr("%1 of %2").arg(before + match.ordinal).arg(total));
    else
        count->setText(total == 1 ? tr("1 match") : tr("%1 matches").arg(total));
}

void FindBar::continueCounting()
{
    HistoryRows* history = countedHistory();
    if (!countingHistory || !matcher || !history) {
        countingHistory = false;
        return;
    }
    if (!history->findStep(counting, *matcher, stepDeadline())) {
        QTimer::singleShot(0, this, [this] { runGuarded(window(), [this] { continueCounting(); }); });
        return;
    }
    countingHistory = false;
    historyMatches = std::max<int64_t>(historyMatches, 0) + counting.count;
    countedTo = history->getHistoryCount();
    recount();
}

void FindBar::forgetHistory()
{
    finding.reset();
    countingHistory = false;
    historyMatches = -1;
    countedTo = 0;
}

bool FindBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == field && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (key->modifiers() & Qt::ShiftModifier)
                findPrevious();
            else
                findNext();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            close();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FindBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    fitLabels();
}

void FindBar::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange
        || event->type() == QEvent::LanguageChange)
        fitLabels();
}

void FindBar::fitLabels()
{
    const bool wasCompact = compact;
    setCompact(false);
    const int least = field->fontMetrics().averageCharWidth() * 12 + field->minimumSizeHint().width();
    const int needed = layout()->sizeHint().width() - field->sizeHint().width() + least;
    setCompact(width() < needed);
    if (compact != wasCompact)
        updateGeometry();
}

void FindBar::setCompact(bool on)
{
    compact = on;
    previous->setText(on ? QString() : tr("Previous"));
    next->setText(on ? QString() : tr("Next"));
    previous->setIcon(on ? style()->standardIcon(QStyle::SP_ArrowUp) : QIcon());
    next->setIcon(on ? style()->standardIcon(QStyle::SP_ArrowDown) : QIcon());
    matchCase->setText(on ? tr("Aa") : tr("Match case"));
    regex->setText(on ? tr(".*") : tr("Regular expression"));
}

void FindBar::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace kestrano
