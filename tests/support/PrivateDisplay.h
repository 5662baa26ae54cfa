#pragma once

#include <sys/types.h>

#include <string>

class ChildProcess;

// An Xvfb server of its own (24-bit, 1280x1024) for one test, so tests that
// look for windows by title can run side by side. The server picks a free
// display number itself and reports it once it takes clients (-displayfd):
// no two tests share one, and none adopts a server that another process
// started or is just shutting down. It never resets (-noreset): an X server
// that resets when its last client leaves refuses the client that comes next
// while it does, and every xdotool call here is a client that comes and goes.
// It dies with the test process, however that ends.
class PrivateDisplay {
public:
    PrivateDisplay();  // a server that does not start fails the test, with its messages
    ~PrivateDisplay();
    PrivateDisplay(const PrivateDisplay&) = delete;
    PrivateDisplay& operator=(const PrivateDisplay&) = delete;

    const std::string& name() const { return displayName; }
    // Runs an X client command (xdotool, xwininfo) against this display.
    std::string run(const std::string& command) const;
    // The id of the first window with exactly this title, as soon as it
    // exists; "" when `program` ends first.
    std::string findWindow(const std::string& title, ChildProcess& program) const;
    // The window's size as "WIDTHxHEIGHT" ("?x?" when it cannot be read).
    std::string windowSize(const std::string& window) const;
    // The window's pixels as the X server holds them (what a swap last put
    // there), 8-bit RGB.
    std::string screenshot(const std::string& window) const;

private:
    pid_t serverPid = -1;
    std::string displayName;
    std::string logPath;
};
