#pragma once

#include <string>
#include <vector>

#include "support/ChildProcess.h"
#include "support/PrivateDisplay.h"
#include "support/RunFolder.h"

// How a test starts the capture tool: the ready-to-run folder it plays from,
// further NAME=value settings, and a limit on the size of each file it
// writes (KiB, 0 for none), past which a write fails as on a full disk.
struct CaptureSetup {
    std::string dataFolder = readyToRunFolder();
    std::vector<std::string> environment;
    int fileSizeLimitKiB = 0;
};

// What a run of the tool left: its status (-1 when it did not end) and what
// it printed.
struct CaptureRun {
    int status;
    std::string output;
    std::string error;
};

// getzorbi-capture started with `arguments` (after --data), from /tmp,
// under an X server of its own.
class CaptureTool {
public:
    explicit CaptureTool(const std::vector<std::string>& arguments, const CaptureSetup& setup = {});

    // Waits for the end.
    CaptureRun finish();

    PrivateDisplay display;
    ChildProcess process;
};

// Runs the tool to its end.
CaptureRun capture(const std::vector<std::string>& arguments, const CaptureSetup& setup = {});
CaptureRun capture(const std::vector<std::string>& arguments, const std::string& dataFolder);
