// The Options dialog: a field for each row of the settings table but the font (keywords, multi-line,
// interval, sizes, notification thresholds, desktop notifications). OK checks the values against the
// table's bounds, then hands them to the application, which takes them over; Cancel changes nothing.
#pragma once

#include "core/settings/SettingsTable.h"

#include <QDialog>

#include <array>
#include <cstdint>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace kestrano {

class Kestrano;

class OptionsDialog : public QDialog {
    Q_OBJECT

public:
    OptionsDialog(Kestrano& app, QWidget* parent);

    // The fields, for those who drive the dialog without a keyboard: a line for Keywords and Number
    // rows, a box for a Flag, a list for a Threshold; none for the font.
    QWidget* field(SettingsTable::Id id) const { return fields[static_cast<size_t>(id)]; }
    QLineEdit& keywordField(int32_t severity) const { return line(static_cast<SettingsTable::Id>(severity)); }
    QCheckBox& multiLineBox() const { return box(SettingsTable::MultiLine); }
    QCheckBox& statedLevelBox() const { return box(SettingsTable::StatedLevel); }
    QLineEdit& updateEveryField() const { return line(SettingsTable::UpdateEvery); }
    QLineEdit& initiallyReadField() const { return line(SettingsTable::InitiallyReadBytes); }
    QLineEdit& keepLinesField() const { return line(SettingsTable::KeepLines); }
    QLineEdit& historyUpToField() const { return line(SettingsTable::HistoryUpTo); }
    QComboBox& onTopList() const { return list(SettingsTable::OnTop); }
    QComboBox& playSoundList() const { return list(SettingsTable::PlaySound); }
    QCheckBox& desktopNotificationsBox() const { return box(SettingsTable::DesktopNotifications); }
    QComboBox& notifyList() const { return list(SettingsTable::Notify); }

    void accept() override;

private:
    QLineEdit& line(SettingsTable::Id id) const;
    QCheckBox& box(SettingsTable::Id id) const;
    QComboBox& list(SettingsTable::Id id) const;

    void fill();
    // Whether every number lies within its row's bounds, asking below a row's warnBelow; on a refusal
    // the field has the focus.
    bool checkNumbers();
    // The checks, then the values to the application; false (nothing handed over) when a check failed.
    bool takeValues();
    void showError(const QString& text);
    void failAt(QLineEdit& field);

    Kestrano& app;
    std::array<QWidget*, SettingsTable::Count> fields {};
};

// The number at the start of a text as the C library's atol reads it (leading white space, optional
// sign, decimal digits up to the first other character; none gives 0), limited to 32 bits.
int32_t leadingNumber(const QString& text);

} // namespace kestrano
