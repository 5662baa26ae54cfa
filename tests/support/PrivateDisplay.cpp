#include "support/PrivateDisplay.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace {

// What the server wrote on its display-number pipe up to the newline that
// ends the number; "" when it closed the pipe first (it could not start).
std::string readDisplayNumber(int pipeEnd) {
    std::string number;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(PATIENCE_MS);
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd entry = {pipeEnd, POLLIN, 0};
        poll(&entry, 1, PATIENCE_MS);
        char c = 0;
        ssize_t count = read(pipeEnd, &c, 1);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0 || c == '\n') {
            return count == 1 ? number : "";
        }
        number += c;
    }
    return "";
}

}  // namespace

PrivateDisplay::PrivateDisplay() {
    char logName[] = "/tmp/zorbi-xvfb-XXXXXX";
    int log = mkostemp(logName, O_CLOEXEC);
    logPath = logName;
    int ready[2];
    if (log < 0 || pipe2(ready, O_CLOEXEC) != 0) {
        ADD_FAILURE() << "no temporary file or pipe for Xvfb";
        return;
    }
    int nothing = open("/dev/null", O_RDWR | O_CLOEXEC);
    std::string readyFd = std::to_string(ready[1]);

    pid_t parent = getpid();
    serverPid = fork();
    if (serverPid == 0) {
        dieWithParent(parent);
        // The pipe's write end is the one descriptor the server keeps.
        fcntl(ready[1], F_SETFD, 0);
        dup2(nothing, 0);
        dup2(nothing, 1);
        dup2(log, 2);
        execlp("Xvfb", "Xvfb", "-displayfd", readyFd.c_str(), "-noreset", "-nolisten", "tcp", "-screen", "0",
               "1280x1024x24", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ready[1]);
    close(nothing);
    close(log);
    std::string number = serverPid > 0 ? readDisplayNumber(ready[0]) : "";
    close(ready[0]);
    if (number.empty()) {
        ADD_FAILURE() << "Xvfb did not start:\n" << readWholeFile(logPath);
        return;
    }
    displayName = ":" + number;
}

PrivateDisplay::~PrivateDisplay() {
    if (serverPid > 0) {
        ::kill(serverPid, SIGTERM);
        waitpid(serverPid, nullptr, 0);
    }
    std::remove(logPath.c_str());
}

std::string PrivateDisplay::run(const std::string& command) const {
    return shellOutput("DISPLAY=" + displayName + " " + command + " 2>/dev/null");
}

std::string PrivateDisplay::findWindow(const std::string& title, ChildProcess& program) const {
    std::string id;
    bool found = program.waitUntil(
        [&] {
            id = run("xdotool search --name '^" + title + "$' | head -n 1");
            while (!id.empty() && (id.back() == '\n' || id.back() == ' ')) {
                id.pop_back();
            }
            return !id.empty();
        },
        50);
    return found ? id : "";
}

std::string PrivateDisplay::windowSize(const std::string& window) const {
    std::string info = run("xwininfo -id " + window);
    auto field = [&](const std::string& name) {
        std::size_t at = info.find(name);
        return at == std::string::npos ? std::string("?") : std::to_string(std::stoi(info.substr(at + name.size())));
    };
    return field("Width: ") + "x" + field("Height: ");
}

// import waits for ever on a window that vanishes while it looks.
std::string PrivateDisplay::screenshot(const std::string& window) const {
    return run("timeout 10 import -window " + window + " -depth 8 rgb:-");
}
