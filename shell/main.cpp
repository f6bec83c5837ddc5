// Kestrano: the application object (with the configuration), then the diagnostic logger, then the
// QApplication; start-up and the event loop; destroyed in reverse order.
#include "config/ApplicationPath.h"
#include "shell/ErrorGuard.h"
#include "shell/GuardedApplication.h"
#include "shell/Kestrano.h"
#include "shell/ProgramArguments.h"
#include "shell/QuitOnSignal.h"

#include <cstdio>

int main(int argc, char** argv)
{
    const kestrano::ProgramArguments arguments = kestrano::parseProgramArguments(argc, argv);
    if (arguments.help) {
        std::fputs(kestrano::usageText(argv[0]).c_str(), stdout);
        return 0;
    }
    if (arguments.version) {
        std::puts("Kestrano " KESTRANO_VERSION);
        return 0;
    }
    haspel::SetApplicationArguments(argc, argv);

    kestrano::Kestrano app;
    kestrano::GuardedApplication application(argc, argv);
    kestrano::quitOnTerminationSignals();
    if (!kestrano::runGuarded(nullptr, [&] { app.InitInstance(arguments.files); }))
        return 1;
    const int status = application.exec();
    app.ExitInstance();
    return status;
}
