#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// A program started in its own working folder, with its standard output and
// error collected in files, for end-to-end tests of the real executables.
class ChildProcess {
public:
    // `display`, when not empty, becomes the program's DISPLAY; `environment`
    // holds further NAME=value settings for the program.
    ChildProcess(const std::string& executable, const std::vector<std::string>& arguments,
                 const std::string& workingDirectory, const std::string& display = "",
                 const std::vector<std::string>& environment = {});
    ~ChildProcess();  // kills the program if it still runs

    // Waits up to timeoutMs; true when the program has ended (status() then valid).
    bool waitForExit(int timeoutMs);
    bool running();
    int status() const { return exitStatus; }
    bool killedBySignal() const { return signalled; }
    void kill();
    pid_t pid() const { return processId; }

    std::string standardOutput() const;
    std::string standardError() const;

private:
    pid_t processId = -1;
    bool finished = false;
    bool signalled = false;
    int exitStatus = -1;
    std::string outputPath;
    std::string errorPath;
};

// Runs a shell command and returns what it printed on standard output.
std::string shellOutput(const std::string& command);

// An Xvfb server of its own (24-bit, 1280x1024) for one test, so tests that
// look for windows by title can run side by side.
class PrivateDisplay {
public:
    PrivateDisplay();
    ~PrivateDisplay();
    const std::string& name() const { return displayName; }
    // Runs an X client command (xdotool, xwininfo) against this display.
    std::string run(const std::string& command) const;
    // The id of the first window with exactly this title, or "" after timeoutMs.
    std::string findWindow(const std::string& title, int timeoutMs) const;

private:
    pid_t serverPid = -1;
    std::string displayName;
};
