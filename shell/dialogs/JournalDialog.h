// The dialog of File > "Open Journal...": all entries, or one unit's, picked from the units the journal
// names or typed.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;
class QDialogButtonBox;
class QRadioButton;

namespace kestrano {

class JournalDialog : public QDialog {
    Q_OBJECT

public:
    JournalDialog(const std::vector<std::string>& units, QWidget* parent);

    // The unit chosen, empty for all entries.
    std::string unit() const;

    QRadioButton* allButton() const { return all; }
    QRadioButton* unitButton() const { return one; }
    QComboBox* unitBox() const { return units; }
    QDialogButtonBox* buttonBox() const { return buttons; }

private:
    void updateButtons();

    QRadioButton* all;
    QRadioButton* one;
    QComboBox* units;
    QDialogButtonBox* buttons;
};

} // namespace kestrano
