#include "shell/app/GuardedApplication.h"

#include "shell/app/ErrorGuard.h"

namespace kestrano {

GuardedApplication::GuardedApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{ }

bool GuardedApplication::notify(QObject* receiver, QEvent* event)
{
    bool result = false;
    runGuarded(activeWindow(), [&] { result = QApplication::notify(receiver, event); });
    return result;
}

} // namespace kestrano
