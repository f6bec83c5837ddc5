// The About box: the program icon, the program's name and version, and OK.
#pragma once

#include <QDialog>

class QLabel;

namespace kestrano {

class AboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* parent);

    QLabel& versionLabel() const { return *version; }
    QLabel& iconLabel() const { return *icon; }

private:
    QLabel* icon;
    QLabel* version;
};

} // namespace kestrano
