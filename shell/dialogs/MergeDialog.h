// The dialog of Window > "Merge Logs...": the open logs as check boxes, "All" to check or clear them
// at once; OK once two or more are checked.
#pragma once

#include <QDialog>

#include <vector>

class QCheckBox;
class QDialogButtonBox;

namespace kestrano {

class MergeDialog : public QDialog {
    Q_OBJECT

public:
    // The logs' titles, in the order shown.
    MergeDialog(const QStringList& logs, QWidget* parent);

    // The indexes of the checked logs.
    std::vector<int> chosen() const;

    QCheckBox* allBox() const { return all; }
    const std::vector<QCheckBox*>& logBoxes() const { return boxes; }
    QDialogButtonBox* buttonBox() const { return buttons; }

private:
    void updateButtons();

    QCheckBox* all;
    std::vector<QCheckBox*> boxes;
    QDialogButtonBox* buttons;
};

} // namespace kestrano
