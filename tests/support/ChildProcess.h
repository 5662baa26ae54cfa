#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

// The longest any wait of a test on a program may last, short of CTest's
// limit for a whole test so that the test can still say what it saw. Only a
// program that hangs reaches it: every wait ends as soon as what it waits
// for has happened or the program has exited, so a busy machine makes tests
// slower, never red.
constexpr int PATIENCE_MS = 240000;

// A program started in its own working folder, with its standard output and
// error collected in files, for end-to-end tests of the real executables.
// It runs in a process group of its own and is killed with everything in
// that group when the object goes, and by the kernel when the test process
// dies first (however it dies), so no test leaves a program behind.
class ChildProcess {
public:
    // `display`, when not empty, becomes the program's DISPLAY; `environment`
    // holds further NAME=value settings for the program.
    ChildProcess(const std::string& executable, const std::vector<std::string>& arguments,
                 const std::string& workingDirectory, const std::string& display = "",
                 const std::vector<std::string>& environment = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Waits until the program ends, at most timeoutMs; true when it has ended
    // (status() and the rest are then valid).
    bool waitForExit(int timeoutMs = PATIENCE_MS);
    bool running() { return !waitForExit(0); }
    // Looks at `condition` every `intervalMs` until it holds (true) or the
    // program has ended without it holding (false); PATIENCE_MS catches a hang.
    bool waitUntil(const std::function<bool()>& condition, int intervalMs = 20);
    // Waits until the program has printed `text` on standard output or error.
    bool waitForOutput(const std::string& text);
    bool waitForError(const std::string& text);
    int status() const { return exitStatus; }  // -1 when a signal ended it
    bool killedBySignal() const { return signalNumber != 0; }
    int terminatingSignal() const { return signalNumber; }
    void sendSignal(int signal);
    void kill();
    pid_t pid() const { return processId; }

    std::string standardOutput() const;
    std::string standardError() const;
    // How it stands ("running", "exited with status 1", "ended by signal 9")
    // and what it printed: the message for a failed expectation.
    std::string report();

private:
    void reap(int rawStatus);

    pid_t processId = -1;
    int exitFd = -1;  // readable once the program has ended
    bool finished = false;
    int signalNumber = 0;
    int exitStatus = -1;
    std::string outputPath;
    std::string errorPath;
};

// Runs a shell command and returns what it printed on standard output.
std::string shellOutput(const std::string& command);

// In a child between fork and exec: asks the kernel to kill this process when
// the process that forked it dies, or ends it at once if that already happened.
void dieWithParent(pid_t parent);
