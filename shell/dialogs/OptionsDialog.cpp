#include "shell/dialogs/OptionsDialog.h"

#include "core/settings/MonitorSettings.h"
#include "core/settings/SettingsTable.h"
#include "core/text/Severity.h"
#include "shell/app/Kestrano.h"

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

// The texts of a bounded number: its refusal below the row's minimum, its question below warnBelow.
struct NumberCheck {
    SettingsTable::Id id;
    const char* belowMinimum;
    const char* belowWarning;
};

constexpr NumberCheck numberChecks[] = {
    {SettingsTable::UpdateEvery,
        QT_TRANSLATE_NOOP(
            "kestrano::OptionsDialog", "The update interval may not be less than 100 milli seconds."),
        QT_TRANSLATE_NOOP("kestrano::OptionsDialog",
            "Settings the update interval to less than 500 milli seconds\n"
            "May slow down your system. Are you sure you want to do this?")},
    {SettingsTable::KeepLines, QT_TRANSLATE_NOOP("kestrano::OptionsDialog", "Invalid keep lines value."),
        nullptr},
    {SettingsTable::QuietGap,
        QT_TRANSLATE_NOOP("kestrano::OptionsDialog", "The quiet gap may not be less than 0 seconds."),
        nullptr},
    {SettingsTable::HistoryUpTo,
        QT_TRANSLATE_NOOP("kestrano::OptionsDialog", "The history size may not be negative."), nullptr},
};

static_assert(SettingsTable::rows[SettingsTable::UpdateEvery].minimum == 100
        && SettingsTable::rows[SettingsTable::UpdateEvery].warnBelow == 500,
    "the texts name the bounds");

// Whether each bound of the table has its texts.
constexpr bool everyBoundChecked()
{
    for (const Setting& row : SettingsTable::rows) {
        const NumberCheck* check = nullptr;
        for (const NumberCheck& each : numberChecks)
            check = each.id == row.id ? &each : check;
        if (row.minimum != INT32_MIN && !(check && check->belowMinimum))
            return false;
        if (row.warnBelow != INT32_MIN && !(check && check->belowWarning))
            return false;
    }
    return true;
}
static_assert(everyBoundChecked(), "a bound without its texts");

QComboBox* thresholdList(QWidget* parent)
{
    auto* list = new QComboBox(parent);
    for (const char* entry : thresholdEntries)
        list->addItem(OptionsDialog::tr(entry));
    return list;
}

// The field of a row by its type; none for a Text (the font has a dialog of its own).
QWidget* newField(const Setting& row, QWidget* parent)
{
    switch (row.type) {
    case SettingType::Keywords:
    case SettingType::Number:
        return new QLineEdit(parent);
    case SettingType::Flag:
        return new QCheckBox(parent);
    case SettingType::Threshold:
        return thresholdList(parent);
    case SettingType::Text:
        break;
    }
    return nullptr;
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
{
    setWindowTitle(tr("Options"));
    for (const Setting& row : SettingsTable::rows)
        fields[static_cast<size_t>(row.id)] = newField(row, this);
    multiLineBox().setText(tr("&Treat lines with leading spaces as multi-line messages"));
    statedLevelBox().setText(tr("Let the &level a line states decide its severity"));
    desktopNotificationsBox().setText(tr("Show desktop &notifications for:"));

    auto* analyzer = new QGroupBox(tr("Log analyzer"), this);
    auto* analyzerLayout = new QVBoxLayout(analyzer);
    auto* keywordGrid = new QGridLayout;
    for (int i = 0; i < Severity::ListCount; ++i) {
        auto* label = new QLabel(tr(keywordLabels[i]), analyzer);
        label->setBuddy(&keywordField(i));
        keywordGrid->addWidget(label, i, 0);
        keywordGrid->addWidget(&keywordField(i), i, 1);
    }
    analyzerLayout->addLayout(keywordGrid);
    analyzerLayout->addWidget(&multiLineBox());
    analyzerLayout->addWidget(&statedLevelBox());
    analyzerLayout->addLayout(
        numberRow(tr("&Update the views every"), &updateEveryField(), tr("milli seconds")));

    auto* sizes = new QGroupBox(tr("Log sizes"), this);
    auto* sizesLayout = new QVBoxLayout(sizes);
    sizesLayout->addLayout(
        numberRow(tr("Initially, &read the last"), &initiallyReadField(), tr("bytes of the log file")));
    sizesLayout->addLayout(
        numberRow(tr("&Keep"), &keepLinesField(), tr("lines of unfiltered log in each view")));
    sizesLayout->addLayout(numberRow(
        tr("Show the &history of plain files up to"), &historyUpToField(), tr("MiB (View > History)")));

    auto* list = new QGroupBox(tr("Log list"), this);
    auto* listLayout = new QVBoxLayout(list);
    listLayout->addLayout(numberRow(tr("Mark &quiet gaps of more than"), &line(SettingsTable::QuietGap),
        tr("seconds between messages (0: none)")));

    auto* notifications = new QGroupBox(tr("Notifications"), this);
    auto* notificationsLayout = new QGridLayout(notifications);
    auto* onTopLabel = new QLabel(tr("&Bring log window on top:"), notifications);
    onTopLabel->setBuddy(&onTopList());
    auto* playSoundLabel = new QLabel(tr("&Play sound:"), notifications);
    playSoundLabel->setBuddy(&playSoundList());
    notificationsLayout->addWidget(onTopLabel, 0, 0);
    notificationsLayout->addWidget(&onTopList(), 0, 1);
    notificationsLayout->addWidget(playSoundLabel, 1, 0);
    notificationsLayout->addWidget(&playSoundList(), 1, 1);
    // The notifications' own threshold beside their switch.
    notificationsLayout->addWidget(&desktopNotificationsBox(), 2, 0);
    notificationsLayout->addWidget(&notifyList(), 2, 1);
    notifyList().setEnabled(desktopNotificationsBox().isChecked());
    connect(&desktopNotificationsBox(), &QCheckBox::toggled, &notifyList(), &QWidget::setEnabled);
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
    layout->addWidget(list);
    layout->addWidget(buttons);

    // The tab order is the table's, which is the order of the fields above.
    QWidget* previous = nullptr;
    for (QWidget* field : fields) {
        if (previous && field)
            setTabOrder(previous, field);
        previous = field ? field : previous;
    }
    fill();
}

QLineEdit& OptionsDialog::line(SettingsTable::Id id) const
{
    return *static_cast<QLineEdit*>(field(id));
}

QCheckBox& OptionsDialog::box(SettingsTable::Id id) const
{
    return *static_cast<QCheckBox*>(field(id));
}

QComboBox& OptionsDialog::list(SettingsTable::Id id) const
{
    return *static_cast<QComboBox*>(field(id));
}

// A Flag that MonitorSettings does not hold is the desktop notifications' switch.
void OptionsDialog::fill()
{
    const MonitorSettings& settings = app.GetSettings();
    for (const Setting& row : SettingsTable::rows) {
        const auto id = static_cast<SettingsTable::Id>(row.id);
        switch (row.type) {
        case SettingType::Keywords:
            line(id).setText(QString::fromLocal8Bit(
                MonitorSettings::JoinKeywords(settings.GetKeywords(row.keywordList)).GetText()));
            break;
        case SettingType::Flag:
            box(id).setChecked(row.flag ? settings.*row.flag : app.GetDesktopNotifications());
            break;
        case SettingType::Number:
            line(id).setText(QString::number(settings.*row.number));
            break;
        case SettingType::Threshold:
            selectThreshold(list(id), settings.*row.number);
            break;
        case SettingType::Text:
            break;
        }
    }
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

bool OptionsDialog::checkNumbers()
{
    for (const NumberCheck& check : numberChecks) {
        const Setting& row = SettingsTable::rows[check.id];
        QLineEdit& field = line(check.id);
        const int32_t value = leadingNumber(field.text());
        if (value < row.minimum) {
            showError(tr(check.belowMinimum));
            failAt(field);
            return false;
        }
        if (value < row.warnBelow
            && !app.GetMessageBox().warnYesNo(tr(check.belowWarning).toLocal8Bit().constData())) {
            failAt(field);
            return false;
        }
    }
    return true;
}

bool OptionsDialog::takeValues()
{
    if (!checkNumbers())
        return false;
    MonitorSettings chosen;
    bool desktopNotifications = false;
    for (const Setting& row : SettingsTable::rows) {
        const auto id = static_cast<SettingsTable::Id>(row.id);
        switch (row.type) {
        case SettingType::Keywords:
            MonitorSettings::ParseKeywords(
                line(id).text().toLocal8Bit().constData(), chosen.GetKeywords(row.keywordList));
            break;
        case SettingType::Flag:
            (row.flag ? chosen.*row.flag : desktopNotifications) = box(id).isChecked();
            break;
        case SettingType::Number:
            chosen.*row.number = leadingNumber(line(id).text());
            break;
        case SettingType::Threshold:
            chosen.*row.number = list(id).currentIndex() + Severity::Unknown;
            break;
        case SettingType::Text:
            break;
        }
    }
    app.applySettings(chosen, desktopNotifications);
    return true;
}

} // namespace kestrano
