#include "shell/OptionsDialog.h"

#include "core/MonitorSettings.h"
#include "core/Severity.h"
#include "shell/Kestrano.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <climits>
#include <cstdlib>

namespace kestrano {

namespace {

// Shown translated, in the dialog's context; one per severity.
const char* const keywordLabels[Severity::ListCount]
    = {QT_TRANSLATE_NOOP("kestrano::OptionsDialog", "&Debug information keywords:"),
        QT_TRANSLATE_NOOP("kestrano::OptionsDialog", "&Information keywords:"),
        QT_TRANSLATE_NOOP("kestrano::OptionsDialog", "&Warning keywords:"),
        QT_TRANSLATE_NOOP("kestrano::OptionsDialog", "&Error keywords:"),
        QT_TRANSLATE_NOOP("kestrano::OptionsDialog", "&Fatal keywords:")};

// A threshold's entry, Unknown (any message) to Never.
const char* const thresholdEntries[Severity::Never - Severity::Unknown + 1]
    = {QT_TRANSLATE_NOOP("kestrano::OptionsDialog", "on any message"),
        QT_TRANSLATE_NOOP("kestrano::OptionsDialog", "on debug informations or higher"),
        QT_TRANSLATE_NOOP("kestrano::OptionsDialog", "on informations or higher"),
        QT_TRANSLATE_NOOP("kestrano::OptionsDialog", "on warnings or higher"),
        QT_TRANSLATE_NOOP("kestrano::OptionsDialog", "on errors or higher"),
        QT_TRANSLATE_NOOP("kestrano::OptionsDialog", "on fatals only"),
        QT_TRANSLATE_NOOP("kestrano::OptionsDialog", "never")};

QComboBox* thresholdList(QWidget* parent)
{
    auto* list = new QComboBox(parent);
    for (const char* entry : thresholdEntries)
        list->addItem(OptionsDialog::tr(entry));
    return list;
}

// A number field between two texts, on one row.
QHBoxLayout* numberRow(const QString& before, QLineEdit* field, const QString& after)
{
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(before);
    label->setBuddy(field);
    field->setMaximumWidth(100);
    row->addWidget(label);
    row->addWidget(field);
    row->addWidget(new QLabel(after));
    row->addStretch();
    return row;
}

void selectThreshold(QComboBox& list, int32_t value)
{
    list.setCurrentIndex(
        value >= Severity::Unknown && value <= Severity::Never ? value - Severity::Unknown : -1);
}

} // namespace

int32_t leadingNumber(const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    const long value = std::strtol(bytes.constData(), nullptr, 10);
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

OptionsDialog::OptionsDialog(Kestrano& app, QWidget* parent)
    : QDialog(parent)
    , app(app)
    , multiLine(new QCheckBox(tr("&Treat lines with leading spaces as multi-line messages"), this))
    , updateEvery(new QLineEdit(this))
    , initiallyRead(new QLineEdit(this))
    , keepLines(new QLineEdit(this))
    , onTop(thresholdList(this))
    , playSound(thresholdList(this))
    , desktopNotifications(new QCheckBox(tr("Show desktop notifications"), this))
{
    setWindowTitle(tr("Options"));

    auto* analyzer = new QGroupBox(tr("Log analyzer"), this);
    auto* analyzerLayout = new QVBoxLayout(analyzer);
    auto* keywordGrid = new QGridLayout;
    for (int i = 0; i < Severity::ListCount; ++i) {
        keywords[static_cast<size_t>(i)] = new QLineEdit(analyzer);
        auto* label = new QLabel(tr(keywordLabels[i]), analyzer);
        label->setBuddy(keywords[static_cast<size_t>(i)]);
        keywordGrid->addWidget(label, i, 0);
        keywordGrid->addWidget(keywords[static_cast<size_t>(i)], i, 1);
    }
    analyzerLayout->addLayout(keywordGrid);
    analyzerLayout->addWidget(multiLine);
    analyzerLayout->addLayout(numberRow(tr("&Update the views every"), updateEvery, tr("milli seconds")));

    auto* sizes = new QGroupBox(tr("Log sizes"), this);
    auto* sizesLayout = new QVBoxLayout(sizes);
    sizesLayout->addLayout(
        numberRow(tr("Initially, &read the last"), initiallyRead, tr("bytes of the log file")));
    sizesLayout->addLayout(numberRow(tr("&Keep"), keepLines, tr("lines of unfiltered log in each view")));

    auto* notifications = new QGroupBox(tr("Notifications"), this);
    auto* notificationsLayout = new QGridLayout(notifications);
    auto* onTopLabel = new QLabel(tr("&Bring log window on top:"), notifications);
    onTopLabel->setBuddy(onTop);
    auto* playSoundLabel = new QLabel(tr("&Play sound:"), notifications);
    playSoundLabel->setBuddy(playSound);
    notificationsLayout->addWidget(onTopLabel, 0, 0);
    notificationsLayout->addWidget(onTop, 0, 1);
    notificationsLayout->addWidget(playSoundLabel, 1, 0);
    notificationsLayout->addWidget(playSound, 1, 1);
    notificationsLayout->addWidget(desktopNotifications, 2, 0, 1, 2);
    notificationsLayout->setColumnStretch(1, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &OptionsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &OptionsDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(analyzer);
    layout->addWidget(sizes);
    layout->addWidget(notifications);
    layout->addWidget(buttons);

    // The tab order is the order of the fields above.
    QList<QWidget*> order(keywords.begin(), keywords.end());
    order << multiLine << updateEvery << initiallyRead << keepLines << onTop << playSound
          << desktopNotifications;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    fill();
}

void OptionsDialog::fill()
{
    MonitorSettings& settings = app.GetSettings();
    for (int32_t i = 0; i < Severity::ListCount; ++i) {
        const haspel::String text = MonitorSettings::JoinKeywords(settings.GetKeywords(i));
        keywords[static_cast<size_t>(i)]->setText(QString::fromLocal8Bit(text.GetText()));
    }
    multiLine->setChecked(settings.GetMultiLine());
    updateEvery->setText(QString::number(settings.GetUpdateEvery()));
    initiallyRead->setText(QString::number(settings.GetInitiallyReadBytes()));
    keepLines->setText(QString::number(settings.GetKeepLines()));
    selectThreshold(*onTop, settings.GetOnTop());
    selectThreshold(*playSound, settings.GetPlaySound());
    desktopNotifications->setChecked(app.GetDesktopNotifications());
}

void OptionsDialog::accept()
{
    if (takeValues())
        QDialog::accept();
}

void OptionsDialog::showError(const QString& text)
{
    app.GetMessageBox().showError(text.toLocal8Bit().constData());
}

void OptionsDialog::failAt(QLineEdit& field)
{
    field.setFocus();
    field.selectAll();
}

bool OptionsDialog::takeValues()
{
    const int32_t interval = leadingNumber(updateEvery->text());
    if (interval < 100) {
        showError(tr("The update interval may not be less than 100 milli seconds."));
        failAt(*updateEvery);
        return false;
    }
    if (interval < 500
        && !app.GetMessageBox().warnYesNo(tr("Settings the update interval to less than 500 milli seconds\n"
                                             "May slow down your system. Are you sure you want to do this?")
                                              .toLocal8Bit()
                                              .constData())) {
        failAt(*updateEvery);
        return false;
    }
    const int32_t lines = leadingNumber(keepLines->text());
    if (lines <= 0) {
        showError(tr("Invalid keep lines value."));
        failAt(*keepLines);
        return false;
    }

    MonitorSettings chosen;
    for (int32_t i = 0; i < Severity::ListCount; ++i) {
        const QByteArray text = keywords[static_cast<size_t>(i)]->text().toLocal8Bit();
        MonitorSettings::ParseKeywords(text.constData(), chosen.GetKeywords(i));
    }
    chosen.SetMultiLine(multiLine->isChecked());
    chosen.SetUpdateEvery(interval);
    chosen.SetInitiallyReadBytes(leadingNumber(initiallyRead->text()));
    chosen.SetKeepLines(lines);
    chosen.SetOnTop(onTop->currentIndex() + Severity::Unknown);
    chosen.SetPlaySound(playSound->currentIndex() + Severity::Unknown);
    app.applySettings(chosen, desktopNotifications->isChecked());
    return true;
}

} // namespace kestrano
