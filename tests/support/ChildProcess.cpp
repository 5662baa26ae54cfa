#include "support/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "support/TempDir.h"

extern char** environ;

namespace {

int childCounter = 0;

// The parent's environment with DISPLAY and `settings` (NAME=value) put over it.
std::vector<std::string> childEnvironment(const std::string& display, const std::vector<std::string>& settings) {
    std::vector<std::string> overrides = settings;
    if (!display.empty()) {
        overrides.push_back("DISPLAY=" + display);
    }
    std::vector<std::string> result;
    for (char** entry = environ; *entry; ++entry) {
        std::string setting = *entry;
        bool replaced = false;
        for (const std::string& override : overrides) {
            std::string name = override.substr(0, override.find('=') + 1);
            replaced = replaced || setting.rfind(name, 0) == 0;
        }
        if (!replaced) {
            result.push_back(setting);
        }
    }
    result.insert(result.end(), overrides.begin(), overrides.end());
    return result;
}

std::vector<char*> pointersTo(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

int millisecondsUntil(std::chrono::steady_clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

void dieWithParent(pid_t parent) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) {
        _exit(127);
    }
}

ChildProcess::ChildProcess(const std::string& executable, const std::vector<std::string>& arguments,
                           const std::string& workingDirectory, const std::string& display,
                           const std::vector<std::string>& environment) {
    std::string stem = "/tmp/zorbi-child-" + std::to_string(getpid()) + "-" + std::to_string(childCounter++);
    outputPath = stem + ".out";
    errorPath = stem + ".err";
    // Everything the child needs is made before the fork: between fork and
    // exec only system calls are safe in a process that may have threads.
    int out = open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    int err = open(errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    int nothing = open("/dev/null", O_RDONLY | O_CLOEXEC);
    std::vector<std::string> argumentTexts = {executable};
    argumentTexts.insert(argumentTexts.end(), arguments.begin(), arguments.end());
    std::vector<std::string> environmentTexts = childEnvironment(display, environment);
    std::vector<char*> argv = pointersTo(argumentTexts);
    std::vector<char*> envp = pointersTo(environmentTexts);

    pid_t parent = getpid();
    processId = fork();
    if (processId == 0) {
        setpgid(0, 0);
        dieWithParent(parent);
        dup2(out, 1);
        dup2(err, 2);
        dup2(nothing, 0);
        if (chdir(workingDirectory.c_str()) != 0) {
            _exit(127);
        }
        execve(executable.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    close(out);
    close(err);
    close(nothing);
    if (processId < 0) {
        finished = true;
        exitStatus = 127;
        return;
    }
    // Also here, so that the group exists before the parent may signal it.
    setpgid(processId, processId);
    exitFd = static_cast<int>(syscall(SYS_pidfd_open, processId, 0));
}

ChildProcess::~ChildProcess() {
    kill();
    if (exitFd >= 0) {
        close(exitFd);
    }
    std::remove(outputPath.c_str());
    std::remove(errorPath.c_str());
}

void ChildProcess::reap(int rawStatus) {
    finished = true;
    signalNumber = WIFSIGNALED(rawStatus) ? WTERMSIG(rawStatus) : 0;
    exitStatus = WIFEXITED(rawStatus) ? WEXITSTATUS(rawStatus) : -1;
}

// The program's end is seen without reaping it (WNOWAIT): until kill() reaps
// it, its process id, and so the id of its process group, cannot be reused.
bool ChildProcess::waitForExit(int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!finished) {
        siginfo_t info = {};
        if (waitid(P_PID, processId, &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == processId) {
            finished = true;
            bool exited = info.si_code == CLD_EXITED;
            signalNumber = exited ? 0 : info.si_status;
            exitStatus = exited ? info.si_status : -1;
            break;
        }
        int left = millisecondsUntil(deadline);
        if (left == 0) {
            return false;
        }
        if (exitFd >= 0) {
            pollfd entry = {exitFd, POLLIN, 0};
            poll(&entry, 1, left);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::min(left, 10)));
        }
    }
    return true;
}

bool ChildProcess::waitUntil(const std::function<bool()>& condition, int intervalMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(PATIENCE_MS);
    while (std::chrono::steady_clock::now() < deadline) {
        bool ended = !running();
        if (condition()) {
            return true;
        }
        if (ended) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(intervalMs));
    }
    return false;
}

bool ChildProcess::waitForOutput(const std::string& text) {
    return waitUntil([&] { return standardOutput().find(text) != std::string::npos; });
}

bool ChildProcess::waitForError(const std::string& text) {
    return waitUntil([&] { return standardError().find(text) != std::string::npos; });
}

void ChildProcess::sendSignal(int signal) {
    if (!finished) {
        ::kill(processId, signal);
    }
}

void ChildProcess::kill() {
    if (processId <= 0) {
        return;
    }
    // The whole group: whatever the program started goes with it.
    ::kill(-processId, SIGKILL);
    int rawStatus = 0;
    if (waitpid(processId, &rawStatus, 0) == processId && !finished) {
        reap(rawStatus);
    }
    finished = true;
    processId = -1;
}

std::string ChildProcess::standardOutput() const {
    return readWholeFile(outputPath);
}

std::string ChildProcess::standardError() const {
    return readWholeFile(errorPath);
}

std::string ChildProcess::report() {
    std::string state = running() ? "running"
                        : killedBySignal()
                            ? "ended by signal " + std::to_string(signalNumber) + " (" + strsignal(signalNumber) + ")"
                            : "exited with status " + std::to_string(exitStatus);
    return state + "\n--- standard output:\n" + standardOutput() + "--- standard error:\n" + standardError();
}

std::string shellOutput(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return output;
    }
    char buffer[4096];
    size_t count;
    while ((count = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, count);
    }
    pclose(pipe);
    return output;
}
