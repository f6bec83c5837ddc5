// The Options dialog: the program-wide monitoring settings (keywords, multi-line, interval, sizes,
// notification thresholds, desktop notifications). OK checks the interval and the kept lines, then hands
// the values to the application, which takes them over; Cancel changes nothing.
#pragma once

#include "core/Severity.h"

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

    // The fields, for those who drive the dialog without a keyboard.
    QLineEdit& keywordField(int32_t severity) const { return *keywords[static_cast<size_t>(severity)]; }
    QCheckBox& multiLineBox() const { return *multiLine; }
    QLineEdit& updateEveryField() const { return *updateEvery; }
    QLineEdit& initiallyReadField() const { return *initiallyRead; }
    QLineEdit& keepLinesField() const { return *keepLines; }
    QComboBox& onTopList() const { return *onTop; }
    QComboBox& playSoundList() const { return *playSound; }
    QCheckBox& desktopNotificationsBox() const { return *desktopNotifications; }

    void accept() override;

private:
    void fill();
    // The checks, then the values to the application; false (nothing handed over) when a check failed.
    bool takeValues();
    void showError(const QString& text);
    void failAt(QLineEdit& field);

    Kestrano& app;
    std::array<QLineEdit*, Severity::ListCount> keywords {};
    QCheckBox* multiLine;
    QLineEdit* updateEvery;
    QLineEdit* initiallyRead;
    QLineEdit* keepLines;
    QComboBox* onTop;
    QComboBox* playSound;
    QCheckBox* desktopNotifications;
};

// The number at the start of a text as the C library's atol reads it (leading white space, optional
// sign, decimal digits up to the first other character; none gives 0), limited to 32 bits.
int32_t leadingNumber(const QString& text);

} // namespace kestrano
