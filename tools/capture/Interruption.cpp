#include "Interruption.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// The handler may only read fixed buffers and make system calls, so what it
// needs is copied here beforehand, with both signals blocked while it changes.
constexpr int MAX_FILES = 4;
constexpr int MAX_TEXT = 4096;
char filesToRemove[MAX_FILES][MAX_TEXT];
int fileCount = 0;
char interruptLine[MAX_TEXT];
pid_t runningChild = -1;

void onInterrupt(int signalNumber) {
    if (runningChild > 0) {
        kill(runningChild, SIGKILL);
        waitpid(runningChild, nullptr, 0);
    }
    for (int i = 0; i < fileCount; ++i) {
        unlink(filesToRemove[i]);
    }
    if (write(STDERR_FILENO, interruptLine, strlen(interruptLine)) < 0) {
        // Nothing more can be said without a standard error.
    }
    // The handler was reset on entry (SA_RESETHAND): the signal, blocked until
    // the handler returns, then ends the process by its default action.
    raise(signalNumber);
}

void installHandlers() {
    static bool installed = false;
    if (installed) {
        return;
    }
    struct sigaction action = {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaddset(&action.sa_mask, SIGINT);
    sigaddset(&action.sa_mask, SIGTERM);
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    installed = true;
}

void copyText(char* target, const std::string& text) {
    std::snprintf(target, MAX_TEXT, "%s", text.c_str());
}

// Holds SIGINT and SIGTERM back for its lifetime; one that arrives meanwhile
// is handled when it ends.
class InterruptsHeld {
public:
    InterruptsHeld() {
        sigset_t held;
        sigemptyset(&held);
        sigaddset(&held, SIGINT);
        sigaddset(&held, SIGTERM);
        sigprocmask(SIG_BLOCK, &held, &previous);
    }
    ~InterruptsHeld() { sigprocmask(SIG_SETMASK, &previous, nullptr); }

private:
    sigset_t previous;
};

}  // namespace

void removeOnInterrupt(const std::vector<std::string>& files, const std::string& line) {
    InterruptsHeld held;
    fileCount = 0;
    for (const std::string& file : files) {
        if (fileCount < MAX_FILES) {
            copyText(filesToRemove[fileCount++], file);
        }
    }
    // A progress bar may stand on the terminal's last line without its newline.
    copyText(interruptLine, (isatty(STDERR_FILENO) ? "\n" : "") + line + "\n");
    installHandlers();
}

void setInterruptedChild(pid_t child) {
    InterruptsHeld held;
    runningChild = child;
}

bool publishFinishedFile(const std::string& temporary, const std::string& final) {
    InterruptsHeld held;
    if (std::rename(temporary.c_str(), final.c_str()) != 0) {
        std::fprintf(stderr, "getzorbi-capture: cannot write %s: %s\n", final.c_str(), std::strerror(errno));
        return false;
    }
    fileCount = 0;
    interruptLine[0] = '\0';
    return true;
}
