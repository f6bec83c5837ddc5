#include "shell/widgets/FilterBar.h"

#include "shell/widgets/PatternField.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QToolButton>

namespace kestrano {

FilterBar::FilterBar(ChangeHandler changed, QWidget* parent)
    : QToolBar(tr("Filter"), parent)
    , changed(std::move(changed))
    , text(new QLineEdit(this))
    , hides(new QComboBox(this))
    , matchCase(new QToolButton(this))
    , regex(new QToolButton(this))
{
    setObjectName(QStringLiteral("Filter"));
    setAllowedAreas(Qt::AllToolBarAreas);
    setUpPatternField(*text, tr("Filter"));
    text->setMinimumWidth(200);
    hides->addItem(tr("Show matching"));
    hides->addItem(tr("Hide matching"));
    hides->setToolTip(tr("Show only the messages that match, or hide them"));
    matchCase->setText(tr("Aa"));
    matchCase->setToolTip(tr("Match case"));
    regex->setText(tr(".*"));
    regex->setToolTip(tr("Regular expression"));
    matchCase->setAccessibleName(matchCase->toolTip());
    regex->setAccessibleName(regex->toolTip());
    const auto hand = [this] { this->changed(filter()); };
    for (QToolButton* button : {matchCase, regex}) {
        button->setCheckable(true);
        connect(button, &QToolButton::toggled, this, hand);
    }
    addWidget(text);
    addWidget(hides);
    addWidget(matchCase);
    addWidget(regex);
    connect(text, &QLineEdit::textChanged, this, hand);
    connect(hides, &QComboBox::currentIndexChanged, this, hand);
}

TextFilter FilterBar::filter() const
{
    TextFilter filter;
    filter.pattern = text->text().toLocal8Bit().toStdString();
    filter.hides = hides->currentIndex() == 1;
    filter.regex = regex->isChecked();
    filter.matchCase = matchCase->isChecked();
    return filter;
}

void FilterBar::showFilter(const TextFilter& filter, const PatternError& error)
{
    const QString pattern = QString::fromLocal8Bit(filter.pattern.c_str());
    const QSignalBlocker blockText(text), blockMode(hides), blockCase(matchCase), blockRegex(regex);
    if (text->text() != pattern)
        text->setText(pattern);
    hides->setCurrentIndex(filter.hides ? 1 : 0);
    matchCase->setChecked(filter.matchCase);
    regex->setChecked(filter.regex);
    showError(error);
}

void FilterBar::showError(const PatternError& error)
{
    showPatternError(*text, error);
}

void FilterBar::focusField()
{
    show();
    text->setFocus(Qt::ShortcutFocusReason);
    text->selectAll();
}

} // namespace kestrano
