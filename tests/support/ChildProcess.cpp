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

// Starts Xvfb on the first free display; returns its pid and sets `name`.
pid_t startXvfb(std::string& name) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        return -1;
    }
    pid_t server = fork();
    if (server == 0) {
        close(pipeEnds[0]);
        int nothing = open("/dev/null", O_RDWR);
        dup2(nothing, 0);
        dup2(nothing, 1);
        dup2(nothing, 2);
        std::string fd = std::to_string(pipeEnds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    // Xvfb writes the display number it chose once it accepts connections.
    std::string number;
    char c;
    while (read(pipeEnds[0], &c, 1) == 1 && c != '\n') {
        number += c;
    }
    close(pipeEnds[0]);
    name = number.empty() ? "" : ":" + number;
    return server;
}

// A client can talk to the server; a server that lost a race for its
// display number to another one starting at the same moment cannot.
bool answers(const std::string& name) {
    return !name.empty() && std::system(("xdpyinfo -display " + name + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace

PrivateDisplay::PrivateDisplay() {
    for (int attempt = 0; attempt < 5; ++attempt) {
        serverPid = startXvfb(displayName);
        if (answers(displayName)) {
            return;
        }
        if (serverPid > 0) {
            ::kill(serverPid, SIGTERM);
            waitpid(serverPid, nullptr, 0);
            serverPid = -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
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
