#pragma once

#include <memory>
#include <string>
#include <vector>

#include "support/ChildProcess.h"
#include "support/PrivateDisplay.h"
#include "support/TempDir.h"

// The real demo started in a fresh run folder (start.ini holding `startIni`,
// none when it is empty) under an X server of its own, with its window found.
class RunningDemo {
public:
    explicit RunningDemo(const std::string& startIni, const std::vector<std::string>& environment = {});

    // Waits until the window has the size `expected` ("800x600") or the demo
    // ends; GLUT applies the configured size once the main loop runs, after
    // loading, so the first size seen may be its default. Returns the size
    // the window has then.
    std::string settledSize(const std::string& expected);
    // Presses keys on the window. With no window manager, keys go to the
    // window under the pointer, so the pointer moves there first.
    void press(const std::string& keys);

    TempDir folder;
    PrivateDisplay display;
    std::unique_ptr<ChildProcess> demo;
    std::string window;  // "" when the demo ended before it opened one
};
