// Kestrano: the application object (with the configuration), then the diagnostic logger, then the
// QApplication; start-up and the event loop; destroyed in reverse order. A later start in the same
// session hands its files to the running Kestrano and ends before it loads anything.
#include "ProgramVersion.h"
#include "config/ApplicationPath.h"
#include "foundation/Logger.h"
#include "platform/LinuxFileSystem.h"
#include "platform/qt/resources/Resources.h"
#include "shell/app/ErrorGuard.h"
#include "shell/app/GuardedApplication.h"
#include "shell/app/InstanceHandover.h"
#include "shell/app/Kestrano.h"
#include "shell/app/ProgramArguments.h"
#include "shell/app/QuitOnSignal.h"
#include "shell/app/Translations.h"

#include <QGuiApplication>

#include <clocale>
#include <cstdio>

namespace {

int run(int argc, char** argv)
{
    const kestrano::ProgramArguments early = kestrano::parseProgramArguments(argc, argv);
    if (!early.error.empty()) {
        std::fputs(kestrano::usageErrorText(argv[0], early.error).c_str(), stderr);
        return 2;
    }
    if (early.help) {
        const QCoreApplication console(argc, argv); // for the translation of the text
        const kestrano::Translations translations;
        std::fputs(kestrano::usageText(argv[0]).c_str(), stdout);
        return 0;
    }
    if (early.version) {
        std::fputs(kestrano::versionText("kestrano").c_str(), stdout);
        return 0;
    }
    haspel::SetApplicationArguments(argc, argv);
    // Keywords are lower-cased when the settings load, before QApplication would set the locale.
    std::setlocale(LC_ALL, "");

    const std::unique_ptr<kestrano::SessionInstance> instance = kestrano::sessionInstance();
    if (kestrano::handOverToRunningInstance(*instance, early.files))
        return 0;

    kestrano::raiseDescriptorLimit(); // each open log's file stays open
    kestrano::Kestrano app;
    haspel::Logger logger(early.logLevel ? early.logLevel->c_str() : nullptr);
    kestrano::GuardedApplication application(argc, argv);
    const kestrano::Translations translations;
    // Docks find the desktop file (its name and icon) by the window's class (X11) or app_id (Wayland).
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kestrano::DesktopFileId));
    QCoreApplication::setApplicationName(QString::fromLatin1(kestrano::DesktopFileId));
    kestrano::quitOnTerminationSignals();
    // Without the options Qt took for itself (-platform, -style and the like).
    const kestrano::ProgramArguments arguments = kestrano::parseProgramArguments(argc, argv);
    if (!kestrano::runGuarded(nullptr, [&] { app.InitInstance(arguments.files); }))
        return 1;
    const std::unique_ptr<kestrano::InstanceServer> server = kestrano::serveLaterInstances(*instance, app);
    const int status = application.exec();
    server->stop();
    app.ExitInstance();
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return run(argc, argv);
    } catch (...) {
        std::fprintf(
            stderr, "kestrano: %s\n", kestrano::describeCurrentException().toLocal8Bit().constData());
    }
    return 1;
}
