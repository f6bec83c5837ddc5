// kestrano-tail: Kestrano's monitoring core on a terminal. Prints the messages at the end of each
// FILE, then follows the files until interrupted (or reads them once with --once).
#include "config/ApplicationPath.h"
#include "config/Config.h"
#include "core/search/TextMatcher.h"
#include "core/settings/MonitorSettings.h"
#include "core/view/PollScheduler.h"
#include "foundation/Exception.h"
#include "platform/ChildProcess.h"
#include "platform/InotifyWatcher.h"
#include "platform/LinuxFileSystem.h"
#include "tail/FollowedLog.h"
#include "tail/QuietDesktop.h"
#include "tail/TailFileSystem.h"
#include "tail/TailOptions.h"
#include "tail/TailSettings.h"
#include "tail/TerminalOutput.h"

#include <atomic>
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace kestrano;
using namespace kestrano::tail;

namespace {

std::atomic<bool> stopRequested {false};

extern "C" void requestStop(int)
{
    stopRequested.store(true);
}

void installSignalHandlers()
{
    struct sigaction action { };
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    // A closed pipe shows as EPIPE on the next write.
    std::signal(SIGPIPE, SIG_IGN);
}

struct Woken {
    bool changes = false; // the descriptor of changes is readable
    bool pipeClosed = false; // the reader closed standard output
};

// Waits up to the given milliseconds for changes (descriptor -1: none) and, with watchPipe, for a
// reader closing standard output; a stop request, before or while waiting, ends the wait.
Woken waitUnlessStopped(int32_t milliseconds, int changes, bool watchPipe)
{
    Woken woken;
    sigset_t stopSignals, previous;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigprocmask(SIG_BLOCK, &stopSignals, &previous);
    if (!stopRequested.load()) {
        const struct timespec timeout = {milliseconds / 1000, (milliseconds % 1000) * 1000000L};
        // poll(2) passes over a negative descriptor.
        struct pollfd waited[] = {{changes, POLLIN, 0}, {watchPipe ? STDOUT_FILENO : -1, 0, 0}};
        // The signals are let through only while waiting.
        if (ppoll(waited, 2, &timeout, &previous) > 0) {
            woken.changes = (waited[0].revents & POLLIN) != 0;
            woken.pipeClosed = (waited[1].revents & (POLLERR | POLLHUP)) != 0;
        }
    }
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    return woken;
}

bool stdoutIsPipe()
{
    struct stat status;
    return fstat(STDOUT_FILENO, &status) == 0 && S_ISFIFO(status.st_mode);
}

// Auto colours a terminal unless NO_COLOR is set (not empty) or the terminal is "dumb".
bool useColor(ColorWhen when)
{
    if (when != ColorWhen::Auto)
        return when == ColorWhen::Always;
    const char* noColor = std::getenv("NO_COLOR");
    const char* term = std::getenv("TERM");
    return isatty(STDOUT_FILENO) && !(noColor && *noColor) && !(term && std::strcmp(term, "dumb") == 0);
}

// The matcher of the --grep patterns, nullptr without any; throws EInvalidPattern.
std::unique_ptr<TextMatcher> grepMatcher(const TailOptions& options)
{
    if (options.patterns.empty())
        return nullptr;
    return std::make_unique<TextMatcher>(TextQuery {options.patterns, options.regex, options.matchCase});
}

// Whether every --grep pattern compiles; says why not on standard error.
bool patternsValid(const TailOptions& options)
{
    for (const std::string& pattern : options.patterns) {
        try {
            TextMatcher matcher(TextQuery {{pattern}, options.regex, options.matchCase});
        } catch (const EInvalidPattern& error) {
            std::fprintf(stderr, "kestrano-tail: invalid regular expression '%s': %s at offset %d\n",
                pattern.c_str(), error.GetMessage(), static_cast<int>(error.getOffset()));
            return false;
        }
    }
    return true;
}

// Why a log could not be read, as tail says it: the errno of the failed open or read, else what the
// file is (missing, a folder, not a regular file).
std::string failureReason(const FollowedLog& log, int error)
{
    if (log.getSource() && !log.getSource()->getFailureReason().empty())
        return log.getSource()->getFailureReason();
    if (error != 0)
        return std::strerror(error);
    struct stat status;
    if (stat(log.getName().c_str(), &status) != 0)
        return std::strerror(errno);
    if (S_ISDIR(status.st_mode))
        return std::strerror(EISDIR);
    return "not a regular file";
}

struct Unread {
    const FollowedLog* log;
    std::string reason;
};

int run(const TailOptions& options)
{
    if (!patternsValid(options))
        return 2;
    haspel::Config config;
    MonitorSettings settings;
    if (!loadTailSettings(options, config, settings))
        return 2;
    // Only now: while the configuration loads, a stop ends the program at once (it writes nothing).
    installSignalHandlers();

    // Merged output names the log on each line instead of in headers.
    TerminalOutput output(useColor(options.color), options.files.size() > 1 && !options.merge,
        !options.raw && isatty(STDOUT_FILENO), stopRequested);
    output.showTimes(options.times);
    TailFileSystem files(systemFileSystem(), stopRequested, options.once);
    QuietDesktop desktop;
    const ViewContext context {settings, config.GetRoot(), desktop, desktop};
    const SourceContext sources(files, options.journalFiles, &systemProcessStarter(), options.once);
    std::vector<std::unique_ptr<FollowedLog>> logs;
    for (const std::string& file : options.files) {
        logs.push_back(std::make_unique<FollowedLog>(
            file, context, sources, desktop, output, !options.once, options.merge));
        ChildView& view = logs.back()->getView();
        view.setMinimumSeveritySwitch(options.minimumSeverity);
        view.setShowUnknownSwitch(!options.hideUnknown);
        view.setTextMatcherSwitch(grepMatcher(options), options.invertMatch);
    }

    // Followed files wake their polls when they change; the timer polls the rest, and all of them.
    std::unique_ptr<InotifyWatcher> watcher = options.once ? nullptr : std::make_unique<InotifyWatcher>();
    PollScheduler scheduler(watcher.get());
    scheduler.restart(settings.GetUpdateEvery());
    std::vector<Unread> unread;
    // With --once a log is done after one reading; a stream only at its end.
    std::vector<bool> done(logs.size(), false);
    // Merged output holds the first pass until every log has read what it holds.
    bool holding = options.merge;
    for (size_t i = 0; i < logs.size(); ++i) {
        scheduler.addLog(logs[i]->getSource()->getWatchPath(), [&, i] {
            FollowedLog& log = *logs[i];
            if (stopRequested.load() || done[i])
                return false;
            files.resetFailure();
            // Read once means read to the end, over as many polls as that takes; so does the first
            // pass of merged output.
            do
                log.poll();
            while ((options.once || holding) && log.hasMoreToRead() && !stopRequested.load());
            const ChildView& view = log.getView();
            const bool stream = log.isStream();
            if (options.once && !(stream && !view.hasEnded() && !view.getReadFailed())) {
                done[i] = true;
                if (!stopRequested.load() && (files.failed() || log.missing() || view.getReadFailed()))
                    unread.push_back({&log, failureReason(log, files.getFailureError())});
            }
            return log.hasMoreToRead();
        });
    }
    // A log that may still bring something.
    const auto open = [&] {
        for (size_t i = 0; i < logs.size(); ++i)
            if (!done[i] && !logs[i]->getView().hasEnded())
                return true;
        return false;
    };

    const bool watchPipe = stdoutIsPipe();
    scheduler.runPass();
    if (holding) {
        FollowedLog::releaseInOrder(logs);
        holding = false;
    }
    while (!stopRequested.load()) {
        output.flush();
        if (!open())
            break; // read once, or every log is a stream that ended
        const Woken woken
            = waitUnlessStopped(scheduler.getTimeUntilDue(), scheduler.getDescriptor(), watchPipe);
        if (woken.pipeClosed)
            output.closeQuietly();
        if (woken.changes)
            scheduler.takeChanges();
        if (!stopRequested.load())
            scheduler.runDue();
    }
    output.flush();

    if (output.getWriteError() != 0) {
        std::fprintf(stderr, "kestrano-tail: write error: %s\n", std::strerror(output.getWriteError()));
        return 1;
    }
    if (output.closed())
        return 0;
    for (const Unread& failed : unread)
        std::fprintf(stderr, "kestrano-tail: cannot read '%s': %s\n", failed.log->getName().c_str(),
            failed.reason.c_str());
    return unread.empty() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        std::setlocale(LC_ALL, "");
        haspel::SetApplicationArguments(argc, argv);
        const ParsedCommandLine command = parseCommandLine(argc, argv);
        if (command.exitStatus)
            return *command.exitStatus;
        raiseDescriptorLimit(); // each followed file stays open
        return run(command.options);
    } catch (const haspel::Exception& error) {
        std::fprintf(
            stderr, "kestrano-tail: %s\n", error.GetMessage() ? error.GetMessage() : error.GetClassName());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kestrano-tail: %s\n", error.what());
    }
    return 1;
}
