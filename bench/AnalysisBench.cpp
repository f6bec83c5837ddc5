// Throughput of message analysis: a deterministic synthetic log of 200 MB or more is fed through the
// line cutter in 8192-byte pieces, as the follower reads it, with KeepLines 1000 and the default
// keywords; `grep -c -i -F` with the same nine keywords over the same file is the yardstick. Where
// Vectorscan is installed, it classifies the same lines side by side with the cutter (multi-line off, so
// every line is classified), and the severities of the two are compared. The last line printed is
// "analysis_vs_grep X.XX", the ratio of the two throughputs; before it, "structured_vs_grep X.XX"
// compares the same over 200 MB of JSON lines, whose stated levels and times are read.
#include "bench/SyntheticLog.h"
#include "core/settings/MonitorSettings.h"
#include "core/text/LineCutter.h"
#include "core/text/Severity.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#ifdef KESTRANO_HAVE_VECTORSCAN
#include <hs.h>
#endif

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

constexpr int64_t LogBytes = 210LL * 1000 * 1000;
constexpr int64_t JsonBytes = 200LL * 1000 * 1000;
constexpr int32_t PieceSize = 8192;

class Counter : public kestrano::LineCutterListener {
public:
    void messageAdded(kestrano::Message* message) override
    {
        ++messages;
        ++severities[static_cast<size_t>(message->getSeverity() + 1)];
    }
    void messageContinued(kestrano::Message*) override { ++continuations; }

    int64_t messages = 0;
    int64_t continuations = 0;
    std::array<int64_t, 6> severities {}; // Unknown to Fatal
};

// Processor seconds taken to read and cut the whole file.
double analyse(const std::string& path, int64_t& messages, int64_t& continuations,
    std::array<int64_t, 6>* severities = nullptr)
{
    kestrano::MonitorSettings settings;
    settings.SetKeepLines(1000);
    settings.SetMultiLine(severities == nullptr);
    settings.SetStatedLevel(severities == nullptr); // Vectorscan's side knows keywords only
    Counter counter;
    kestrano::LineCutter cutter(settings, counter);

    const double start = kestrano::bench::processorSeconds(RUSAGE_SELF);
    const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) {
        std::perror(path.c_str());
        std::exit(1);
    }
    char piece[PieceSize];
    int32_t highest = kestrano::Severity::None;
    for (ssize_t n; (n = read(file, piece, sizeof piece)) > 0;) {
        cutter.appendPendingText(piece, static_cast<int32_t>(n));
        highest = std::max(highest, cutter.splitPendingText());
    }
    close(file);
    const double seconds = kestrano::bench::processorSeconds(RUSAGE_SELF) - start;
    messages = counter.messages;
    continuations = counter.continuations;
    if (severities)
        *severities = counter.severities;
    if (highest != kestrano::Severity::Fatal) {
        std::fprintf(stderr, "unexpected highest severity %d\n", highest);
        std::exit(1);
    }
    return seconds;
}

#ifdef KESTRANO_HAVE_VECTORSCAN

// Each non-empty line's severity by Vectorscan: the nine keywords as caseless literals (the id is the
// severity) and the two line ends, scanned as one stream in 8192-byte pieces; matches come in the
// order of their ends, so a keyword belongs to the line whose end comes next.
struct LineState {
    int64_t lineStart = 0;
    int32_t severity = kestrano::Severity::Unknown;
    std::array<int64_t, 6> severities {};
};

int onMatch(unsigned int id, unsigned long long, unsigned long long to, unsigned int, void* context)
{
    auto& state = *static_cast<LineState*>(context);
    const auto end = static_cast<int64_t>(to);
    if (id < 5) {
        state.severity = std::max(state.severity, static_cast<int32_t>(id));
        return 0;
    }
    if (end - 1 > state.lineStart)
        ++state.severities[static_cast<size_t>(state.severity + 1)];
    state.lineStart = end;
    state.severity = kestrano::Severity::Unknown;
    return 0;
}

double vectorscanTime(const std::string& path, std::array<int64_t, 6>& severities)
{
    const char* const keywords[]
        = {"debug", "debg", "info", "notice", "warn", "error", "exception", "fatal", "crit", "\n", "\r"};
    const unsigned ids[] = {0, 0, 1, 1, 2, 3, 3, 4, 4, 5, 5};
    constexpr unsigned count = sizeof ids / sizeof *ids;
    unsigned flags[count];
    size_t lengths[count];
    for (unsigned i = 0; i < count; ++i) {
        flags[i] = i < 9 ? HS_FLAG_CASELESS : 0;
        lengths[i] = std::strlen(keywords[i]);
    }
    hs_database_t* database = nullptr;
    hs_compile_error_t* error = nullptr;
    if (hs_compile_lit_multi(keywords, flags, ids, lengths, count, HS_MODE_STREAM, nullptr, &database, &error)
        != HS_SUCCESS) {
        std::fprintf(stderr, "vectorscan: %s\n", error->message);
        std::exit(1);
    }
    hs_scratch_t* scratch = nullptr;
    hs_alloc_scratch(database, &scratch);
    LineState state;
    const double start = kestrano::bench::processorSeconds(RUSAGE_SELF);
    hs_stream_t* stream = nullptr;
    hs_open_stream(database, 0, &stream);
    const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    char piece[PieceSize];
    for (ssize_t n; (n = read(file, piece, sizeof piece)) > 0;)
        hs_scan_stream(stream, piece, static_cast<unsigned>(n), 0, scratch, onMatch, &state);
    hs_close_stream(stream, scratch, onMatch, &state);
    close(file);
    const double seconds = kestrano::bench::processorSeconds(RUSAGE_SELF) - start;
    hs_free_scratch(scratch);
    hs_free_database(database);
    severities = state.severities;
    return seconds;
}

// The cutter with multi-line off against Vectorscan over the same file, best of three each.
void compareWithVectorscan(const std::string& path, double megabytes)
{
    double cutterSeconds = 1e9;
    double vectorscanSeconds = 1e9;
    std::array<int64_t, 6> ours {};
    std::array<int64_t, 6> theirs {};
    for (int round = 0; round < 3; ++round) {
        int64_t messages = 0;
        int64_t continuations = 0;
        cutterSeconds = std::min(cutterSeconds, analyse(path, messages, continuations, &ours));
        vectorscanSeconds = std::min(vectorscanSeconds, vectorscanTime(path, theirs));
    }
    std::printf("every line classified: the cutter %.1f MB/s, Vectorscan %.1f MB/s, same severities: %s\n",
        megabytes / cutterSeconds, megabytes / vectorscanSeconds, ours == theirs ? "yes" : "NO");
    std::printf("analysis_vs_vectorscan %.2f\n", vectorscanSeconds / cutterSeconds);
}

#endif

} // namespace

// The best of three runs of the cutter and of grep over one file, interleaved, in processor time.
struct Race {
    double analysisSeconds = 1e9;
    double grepSeconds = 1e9;
    int64_t messages = 0;
    int64_t continuations = 0;
    int64_t grepLines = 0;
};

Race race(const std::string& path)
{
    Race result;
    for (int round = 0; round < 3; ++round) {
        result.analysisSeconds
            = std::min(result.analysisSeconds, analyse(path, result.messages, result.continuations));
        result.grepSeconds = std::min(result.grepSeconds, kestrano::bench::grepTime(path, result.grepLines));
    }
    return result;
}

int main()
{
    namespace fs = std::filesystem;
    const fs::path folder = kestrano::bench::makeBenchFolder();
    const std::string path = (folder / "synthetic.log").string();
    kestrano::bench::writeSyntheticLog(path, LogBytes);
    const double megabytes = static_cast<double>(fs::file_size(path)) / 1e6;
    const Race synthetic = race(path);
    const double analysisSeconds = synthetic.analysisSeconds;
    const double grepSeconds = synthetic.grepSeconds;
    const int64_t messages = synthetic.messages;
    const int64_t continuations = synthetic.continuations;
    const int64_t grepLines = synthetic.grepLines;
#ifdef KESTRANO_HAVE_VECTORSCAN
    compareWithVectorscan(path, megabytes);
#endif

    // JSON lines: the layout is recognised, every header read.
    const std::string jsonPath = (folder / "structured.log").string();
    kestrano::bench::writeJsonLog(jsonPath, JsonBytes);
    const double jsonMegabytes = static_cast<double>(fs::file_size(jsonPath)) / 1e6;
    const Race json = race(jsonPath);
    fs::remove_all(folder);
    std::printf("JSON lines: %.1f MB, analysis %.1f MB/s (%lld messages), grep %.1f MB/s\n", jsonMegabytes,
        jsonMegabytes / json.analysisSeconds, static_cast<long long>(json.messages),
        jsonMegabytes / json.grepSeconds);
    std::printf("structured_vs_grep %.2f\n", json.grepSeconds / json.analysisSeconds);

    const double analysisRate = megabytes / analysisSeconds;
    const double grepRate = megabytes / grepSeconds;
    std::printf("log: %.1f MB; throughput per processor second, best of 3\n", megabytes);
    std::printf("analysis: %.1f MB/s (%lld messages, %lld continuation lines)\n", analysisRate,
        static_cast<long long>(messages), static_cast<long long>(continuations));
    std::printf("grep: %.1f MB/s (%lld matching lines)\n", grepRate, static_cast<long long>(grepLines));
    std::printf("analysis_vs_grep %.2f\n", analysisRate / grepRate);
    return 0;
}
