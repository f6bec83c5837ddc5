// Kestrano: the diagnostic logger, then the application object (with the configuration), then the
// QApplication; start-up and the event loop; destroyed in reverse order. A later start in the same
// session hands its files to the running Kestrano and ends before it loads anything.
#include "ProgramVersion.h"
#include "config/ApplicationPath.h"
#include "foundation/Logger.h"
#include "platform/LinuxFileSystem.h"
#include "platform/qt/resources/Resources.h"
#include "shell/app/DisplayOpening.h"
#include "shell/app/ErrorGuard.h"
#include "shell/app/GuardedApplication.h"
#include "shell/app/InstanceHandover.h"
#include "shell/app/Kestrano.h"
#include "shell/app/ProgramArguments.h"
#include "shell/app/QuitOnSignal.h"
#include "shell/app/SessionEnd.h"
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
    // Journal files are this run's own: the running Kestrano would read its own journal instead.
    if (early.journalFiles.empty() && kestrano::handOverToRunningInstance(*instance, early.files))
        return 0;
    if (const char* reason = kestrano::missingDisplayReason(argc, argv)) {
        const QCoreApplication console(argc, argv); // for the translation of the text
        const kestrano::Translations translations;
        kestrano::reportNoDisplay(reason);
        return 1;
    }

    kestrano::raiseDescriptorLimit(); // each open log's file stays open
    // The logger outlives the application object, whose end saves the settings and logs a failure.
    haspel::Logger logger(early.logLevel ? early.logLevel->c_str() : nullptr);
    kestrano::Kestrano app;
    std::unique_ptr<kestrano::DisplayOpening> opening
        = std::make_unique<kestrano::DisplayOpening>([&instance] { instance->stopListening(); });
    kestrano::GuardedApplication application(argc, argv);
    opening.reset();
    const kestrano::Translations translations;
    // Docks find the desktop file (its name and icon) by the window's class (X11) or app_id (Wayland).
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kestrano::DesktopFileId));
    QCoreApplication::setApplicationName(QString::fromLatin1(kestrano::DesktopFileId));
    kestrano::quitOnTerminationSignals();
    // Without the options Qt took for itself (-platform, -style and the like).
    const kestrano::ProgramArguments arguments = kestrano::parseProgramArguments(argc, argv);
    app.SetJournalFiles(arguments.journalFiles);
    if (!kestrano::runGuarded(nullptr, [&] { app.InitInstance(arguments.files); }))
        return 1;
    const std::unique_ptr<kestrano::InstanceServer> server = kestrano::serveLaterInstances(*instance, app);
    const kestrano::SessionEnd sessionEnd(app);
    const int status = application.exec();
    server->stop();
    kestrano::interruptSavingOnTerminationSignals();
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
