#include "foundation/Logger.h"

#include "config/ApplicationPath.h"
#include "foundation/CommandLine.h"
#include "foundation/Exception.h"

#include <cstdarg>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace haspel {

namespace {

const char kSeparator[]
    = "\n-------------------------------------------------------------------------------\n";

const SystemLogClock systemClock;

// The logger that receives the records of located exceptions.
Logger* installedLogger = nullptr;

// Opens for appending without ever blocking (a FIFO without a reader fails instead of freezing the
// program) and holds an exclusive advisory lock, so that two running copies never mix their records.
std::FILE* OpenLocked(const char* path)
{
    const int descriptor = open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
    if (descriptor < 0)
        return nullptr;
    if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        close(descriptor);
        return nullptr;
    }
    fcntl(descriptor, F_SETFL, O_APPEND);
    std::FILE* stream = fdopen(descriptor, "a");
    if (!stream)
        close(descriptor);
    return stream;
}

} // namespace

Logger::Logger(const char* level)
    : clock(systemClock)
    , startTick(systemClock.GetTickMilliseconds())
{
    Initialize(level);
}

Logger::Logger(int32_t argumentCount, const char* const* arguments, const LogClock& clock)
    : clock(clock)
    , startTick(clock.GetTickMilliseconds())
{
    CommandLine commandLine;
    commandLine.AddOption("/log", 1);
    commandLine.AddOption("--log", 1);
    commandLine.Parse(argumentCount, arguments);
    const ArrayList<String>* values = commandLine.GetOptionValues("/log");
    if (values->GetCount() == 0)
        values = commandLine.GetOptionValues("--log");
    Initialize(values->GetCount() > 0 ? values->GetFirst()->GetText() : nullptr);
}

void Logger::Initialize(const char* level)
{
    if (GetApplicationPath().GetComponentCount() == 0)
        throw EIllegalArgument("__argv[0] contains an illegal program path", "haspel::Logger::Logger", 39);
    if (level) {
        String name(level);
        name.ToLower();
        threshold = GetThresholdOfName(name.GetText());
    }

    Log("haspel::Logger::Logger", 83, LogLevel::Info, "Logger initialized");
    installedLogger = this;
    SetExceptionSink(ExceptionSinkFunction);
}

Logger::~Logger()
{
    try {
        Log("haspel::Logger::~Logger", 90, LogLevel::Info, "Shutting down logger");
    } catch (const Exception&) {
        // Out of memory while shutting down: the record is lost, the file is still closed.
    }
    if (installedLogger == this) {
        SetExceptionSink(nullptr);
        installedLogger = nullptr;
    }
    if (file) {
        std::fflush(file);
        std::fclose(file);
    }
}

void Logger::Log(const char* origin, int32_t line, LogLevel level, const char* format, ...)
{
    if (static_cast<int32_t>(level) < threshold || !EnsureOpen())
        return;
    String text;
    va_list arguments;
    va_start(arguments, format);
    try {
        text.FormatFromVargs(format, arguments);
    } catch (...) {
        va_end(arguments);
        throw;
    }
    va_end(arguments);
    WriteRecord(origin, line, level, text.GetText());
}

bool Logger::EnsureOpen()
{
    if (file)
        return true;
    // The state folder is made for the first record, so a run that writes none leaves no trace.
    if (path.IsEmpty())
        path = CreateApplicationLikePath(GetDocumentsOrApplicationDirectory(), "log").ToString(false);
    file = OpenLocked(path.GetText());
    if (!file)
        return false;
    std::fputs(kSeparator, file);
    std::fflush(file);
    return true;
}

void Logger::WriteRecord(const char* origin, int32_t line, LogLevel level, const char* text)
{
    const std::tm now = clock.GetLocalStandardTime();
    const int64_t elapsed = clock.GetTickMilliseconds() - startTick;
    String record;
    record.Format("[%04d-%02d-%02d %02d:%02d:%02d (T+%lld.%03d)] %s (%s:%d) ", now.tm_year + 1900,
        now.tm_mon + 1, now.tm_mday, now.tm_hour, now.tm_min, now.tm_sec,
        static_cast<long long>(elapsed / 1000), static_cast<int>(elapsed % 1000), GetLevelWord(level),
        AfterLastBackslash(origin), line);
    record.Append(text);
    record.AppendChar('\n');
    std::fputs(record.GetText(), file);
    std::fflush(file);
}

void Logger::ExceptionSinkFunction(const char* origin, int32_t line, int32_t level, const char* text)
{
    // Runs inside an exception's constructor, which must not be left by a second exception.
    try {
        if (installedLogger)
            installedLogger->Log(origin, line, static_cast<LogLevel>(level), "%s", text);
    } catch (const Exception&) { }
}

} // namespace haspel
