#include "shell/app/QuitOnSignal.h"

#include "config/ConfigProblem.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace kestrano {

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] ssize_t written = write(signalPipe[1], &byte, 1);
}

void onSignalWhileEnding(int)
{
    haspel::InterruptSaving();
}

const int TerminationSignals[] = {SIGTERM, SIGINT, SIGHUP};

} // namespace

void quitOnTerminationSignals()
{
    if (pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
        char byte;
        while (read(signalPipe[0], &byte, 1) > 0) { }
        // Closing the main window is the Exit command; the loop ends when it is gone.
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible())
                window->close();
        }
        QApplication::quit();
    });
    struct sigaction action { };
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : TerminationSignals)
        sigaction(signal, &action, nullptr);
}

void interruptSavingOnTerminationSignals()
{
    struct sigaction action { };
    action.sa_handler = onSignalWhileEnding;
    sigemptyset(&action.sa_mask);
    // Without SA_RESTART a save waiting for its lock is woken.
    for (int signal : TerminationSignals)
        sigaction(signal, &action, nullptr);
}

} // namespace kestrano
