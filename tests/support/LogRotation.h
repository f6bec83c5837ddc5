// A log written by a real writer process while it is rotated the way logrotate does it in each of its
// modes, and the count of the lines a follower lost, repeated or reordered.
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <sys/types.h>
#include <thread>
#include <tuple>
#include <vector>

namespace kestrano::test {

// The numbers of the writer's lines on disk now in the folder: app.log and every rotated file in it
// or below, decompressed.
std::set<long> linesOnDisk(const std::string& dir);

enum class RotationMode {
    Create, // renamed to app.log.1 (older ones shifted), a new app.log created
    CopyTruncate, // copied to app.log.1, then truncated in place; the writer keeps its descriptor
    DelayCompress, // as Create, app.log.1 compressed to app.log.2.gz at the next rotation
    DateExt, // renamed to app.log-YYYYMMDD
    OldDir, // renamed into the folder old/
    CreateHup, // as Create, then SIGHUP to the writer, which opens the name again
};
const char* nameOf(RotationMode mode);

// A rotation test's case: the mode and the writer's lines a second.
using RotationCase = std::tuple<RotationMode, long>;
// Every mode, at 100 and at 5,000 lines a second; named "create_100" and so on.
inline auto everyRotationCase()
{
    return testing::Combine(
        testing::Values(RotationMode::Create, RotationMode::CopyTruncate, RotationMode::DelayCompress,
            RotationMode::DateExt, RotationMode::OldDir, RotationMode::CreateHup),
        testing::Values(100L, 5000L));
}
std::string nameOfCase(const testing::TestParamInfo<RotationCase>& info);

// dir/app.log with its writer (kestrano_log_writer) and the rotations.
class RotatedLog {
public:
    RotatedLog(const std::string& dir, RotationMode mode);
    ~RotatedLog();
    RotatedLog(const RotatedLog&) = delete;
    RotatedLog& operator=(const RotatedLog&) = delete;

    const std::string& path() const { return log; }
    // Starts writing count lines at rate a second, rotating the log `rotations` times meanwhile (on
    // a thread, evenly over the writing time).
    void start(long count, long rate, int rotations);
    // Waits for the writer and the rotations; false when the writer failed.
    bool finish();
    std::set<long> linesOnDisk() const { return test::linesOnDisk(dir); }

    // Rotates once, as logrotate would in this mode (the n-th rotation, from 1).
    void rotate(int n);

private:
    const std::string dir;
    const std::string log;
    const RotationMode mode;
    pid_t writer = -1;
    std::thread rotations;
};

// Rotates the log `times` times with the real logrotate (create, compress, delaycompress, its state
// and configuration in dir), telling the writer to open the log again by SIGHUP; on a thread, with
// pauses before each rotation.
std::thread runLogrotate(const std::string& dir, const std::string& log, pid_t writer, int times);

// Starts the writer alone; its process id.
pid_t startLogWriter(const std::string& path, long count, long rate, const char* mode);
// Waits for the writer's end; true when it wrote every line.
bool waitForLogWriter(pid_t writer);

// The writer's line of that number, with its line end.
std::string writtenLine(long number);
// The numbers of the writer's lines ("000000042 error line") in the text, in order.
std::vector<long> lineNumbers(const std::string& text);

struct LineCount {
    long lost = 0; // on disk, never seen
    long repeated = 0; // seen more than once
    long reordered = 0; // seen after a higher number
    long gaps = 0; // runs of lost lines
    std::string describe() const;
};
LineCount countLines(const std::vector<long>& seen, const std::set<long>& onDisk);

} // namespace kestrano::test
