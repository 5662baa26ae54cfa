#include "support/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "support/TempDir.h"

namespace {
int childCounter = 0;
}

ChildProcess::ChildProcess(const std::string& executable, const std::vector<std::string>& arguments,
                           const std::string& workingDirectory, const std::string& display,
                           const std::vector<std::string>& environment) {
    std::string stem = "/tmp/zorbi-child-" + std::to_string(getpid()) + "-" + std::to_string(childCounter++);
    outputPath = stem + ".out";
    errorPath = stem + ".err";
    processId = fork();
    if (processId == 0) {
        int out = open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int nothing = open("/dev/null", O_RDONLY);
        dup2(out, 1);
        dup2(err, 2);
        dup2(nothing, 0);
        if (!display.empty()) {
            setenv("DISPLAY", display.c_str(), 1);
        }
        for (const std::string& setting : environment) {
            putenv(const_cast<char*>(setting.c_str()));
        }
        if (chdir(workingDirectory.c_str()) != 0) {
            _exit(127);
        }
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(executable.c_str()));
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        execv(executable.c_str(), argv.data());
        _exit(127);
    }
}

ChildProcess::~ChildProcess() {
    kill();
    std::remove(outputPath.c_str());
    std::remove(errorPath.c_str());
}

bool ChildProcess::waitForExit(int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!finished) {
        int rawStatus = 0;
        pid_t result = waitpid(processId, &rawStatus, WNOHANG);
        if (result == processId) {
            finished = true;
            signalled = WIFSIGNALED(rawStatus);
            exitStatus = WIFEXITED(rawStatus) ? WEXITSTATUS(rawStatus) : -1;
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

bool ChildProcess::running() { return !waitForExit(0); }

void ChildProcess::kill() {
    if (processId > 0 && !finished) {
        ::kill(processId, SIGKILL);
        waitForExit(5000);
    }
}

std::string ChildProcess::standardOutput() const { return readWholeFile(outputPath); }

std::string ChildProcess::standardError() const { return readWholeFile(errorPath); }

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

namespace {

bool exited(pid_t process) { return waitpid(process, nullptr, WNOHANG) == process; }

// Starts Xvfb on display `number` and waits until a client can talk to it.
// Returns its pid, or -1 when it did not come up (the number was taken).
pid_t startXvfb(int number) {
    std::string name = ":" + std::to_string(number);
    pid_t server = fork();
    if (server == 0) {
        int nothing = open("/dev/null", O_RDWR);
        dup2(nothing, 0);
        dup2(nothing, 1);
        dup2(nothing, 2);
        execlp("Xvfb", "Xvfb", name.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    std::string probe = "xdpyinfo -display " + name + " >/dev/null 2>&1";
    for (int wait = 0; wait < 100; ++wait) {
        if (exited(server)) {
            return -1;
        }
        // Our server must still be alive after the answer: a server that lost
        // the number to another one exits, and the answer came from that other.
        if (std::system(probe.c_str()) == 0) {
            if (exited(server)) {
                return -1;
            }
            return server;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ::kill(server, SIGKILL);
    waitpid(server, nullptr, 0);
    return -1;
}

}  // namespace

PrivateDisplay::PrivateDisplay() {
    // High numbers spread by process id stay clear of a desktop's :0, of
    // xvfb-run's :99 and of other tests starting servers at the same moment.
    for (int attempt = 0; attempt < 20; ++attempt) {
        int number = 200 + (static_cast<int>(getpid()) * 7 + attempt * 13) % 700;
        serverPid = startXvfb(number);
        if (serverPid > 0) {
            displayName = ":" + std::to_string(number);
            return;
        }
    }
}

PrivateDisplay::~PrivateDisplay() {
    if (serverPid > 0) {
        ::kill(serverPid, SIGTERM);
        waitpid(serverPid, nullptr, 0);
    }
}

std::string PrivateDisplay::run(const std::string& command) const {
    return shellOutput("DISPLAY=" + displayName + " " + command + " 2>/dev/null");
}

std::string PrivateDisplay::findWindow(const std::string& title, int timeoutMs) const {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        std::string id = run("xdotool search --name '^" + title + "$' | head -n 1");
        while (!id.empty() && (id.back() == '\n' || id.back() == ' ')) {
            id.pop_back();
        }
        if (!id.empty()) {
            return id;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return "";
}
