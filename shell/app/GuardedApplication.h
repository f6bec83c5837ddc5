// The QApplication of the program: an exception that escapes an event handler ends in an error box
// instead of unwinding through Qt's event loop.
#pragma once

#include <QApplication>

namespace kestrano {

class GuardedApplication : public QApplication {
    Q_OBJECT

public:
    GuardedApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace kestrano
