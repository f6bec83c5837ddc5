// Answers the message boxes a test provokes: each box that opens is recorded and closed with the answer.
#pragma once

#include <QMessageBox>
#include <QStringList>
#include <QTimer>

namespace kestrano::test {

class MessageBoxAnswerer {
public:
    explicit MessageBoxAnswerer(QMessageBox::StandardButton answer);

    QStringList texts;
    QList<QMessageBox::Icon> icons;
    QStringList captions;

private:
    QMessageBox::StandardButton answer;
    QTimer timer;
};

} // namespace kestrano::test
