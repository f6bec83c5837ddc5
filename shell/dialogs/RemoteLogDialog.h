// The dialog of File > "Open Remote Log...": a host and a file's path or its journal (all entries or one
// unit's), or one of the remote logs opened last.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;
class QDialogButtonBox;
class QLineEdit;
class QRadioButton;

namespace kestrano {

class RemoteLogDialog : public QDialog {
    Q_OBJECT

public:
    RemoteLogDialog(const std::vector<std::string>& recent, QWidget* parent);

    // The name of the remote log chosen (ssh://...); empty while the fields make none.
    std::string name() const;

    QComboBox* recentBox() const { return recent; }
    QLineEdit* hostField() const { return host; }
    QRadioButton* fileButton() const { return file; }
    QLineEdit* pathField() const { return path; }
    QRadioButton* journalButton() const { return journal; }
    QLineEdit* unitField() const { return unit; }
    QDialogButtonBox* buttonBox() const { return buttons; }

private:
    void takeRecent(const QString& name);
    void updateButtons();

    QComboBox* recent;
    QLineEdit* host;
    QRadioButton* file;
    QLineEdit* path;
    QRadioButton* journal;
    QLineEdit* unit;
    QDialogButtonBox* buttons;
};

} // namespace kestrano
