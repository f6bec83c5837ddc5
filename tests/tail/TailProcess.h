// Runs the built kestrano-tail as a child process with its standard output and error in pipes, in
// the test's temporary HOME and XDG folders.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace kestrano::test {

struct TailResult {
    std::string out;
    std::string err;
    int status = -1; // exit status; 128 + signal when killed
};

// How the program is started: under a wrapper command (setpriv ...), with standard output on a
// terminal (a pseudo-terminal in raw mode) instead of a pipe.
struct TailLaunch {
    std::vector<std::string> wrapper;
    bool terminal = false;
    // Standard input is a pipe the test writes (else the test's own is inherited).
    bool inputPipe = false;
};

class TailProcess {
public:
    explicit TailProcess(const std::vector<std::string>& arguments, const TailLaunch& launch = {});
    ~TailProcess();
    TailProcess(const TailProcess&) = delete;
    TailProcess& operator=(const TailProcess&) = delete;

    // Reads standard output until it holds text (everything read so far is kept); false when the
    // program ended or 20 seconds passed first. A safety net for a broken program, not a timing.
    bool waitForOutput(const std::string& text);
    // The same for standard error.
    bool waitForError(const std::string& text);
    const std::string& out() const { return output; }
    const std::string& err() const { return errors; }

    // Writes to standard input (with TailLaunch::inputPipe); closing it ends the input.
    void writeInput(const std::string& text);
    void closeInput();
    // Closes the reading end of standard output, as a reader that went away.
    void closeOutput();
    // Sends the signal and waits for the end; the exit status, or 128 + signal when killed by it.
    int stop(int signal);
    // Waits for the end; the exit status, or 128 + signal.
    int wait();
    // Sends the signal and waits up to 20 seconds for the end without reading the pipes; the exit
    // status, 128 + signal, or -1 when the program was still running (it is killed then).
    int stopWithoutReading(int signal);

private:
    bool waitFor(const std::string& text, const std::string& where);
    bool readAvailable(int timeoutMilliseconds);

    pid_t pid = -1;
    int outPipe = -1;
    int errPipe = -1;
    int inPipe = -1;
    std::string output;
    std::string errors;
};

// Runs kestrano-tail to its end.
TailResult runTail(const std::vector<std::string>& arguments, const TailLaunch& launch = {});

} // namespace kestrano::test
