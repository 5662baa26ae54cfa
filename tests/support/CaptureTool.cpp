#include "support/CaptureTool.h"

namespace {

// The command line: the tool itself, or a shell that sets the file size
// limit and then becomes the tool. The limit's signal is ignored, so that a
// write past it fails with EFBIG as a write to a full disk fails, instead of
// ending the tool.
std::vector<std::string> commandLine(const std::vector<std::string>& arguments, const CaptureSetup& setup) {
    std::vector<std::string> command;
    if (setup.fileSizeLimitKiB > 0) {
        command = {"-c", "trap '' XFSZ; ulimit -f " + std::to_string(setup.fileSizeLimitKiB) + "; exec \"$0\" \"$@\"",
                   ZORBI_CAPTURE_EXECUTABLE};
    }
    command.insert(command.end(), {"--data", setup.dataFolder});
    command.insert(command.end(), arguments.begin(), arguments.end());
    return command;
}

}  // namespace

CaptureTool::CaptureTool(const std::vector<std::string>& arguments, const CaptureSetup& setup)
    : process(setup.fileSizeLimitKiB > 0 ? "/bin/bash" : ZORBI_CAPTURE_EXECUTABLE, commandLine(arguments, setup),
              "/tmp", display.name(), setup.environment) {}

CaptureRun CaptureTool::finish() {
    if (!process.waitForExit()) {
        return {-1, process.standardOutput(), "did not end: " + process.report()};
    }
    return {process.status(), process.standardOutput(), process.standardError()};
}

CaptureRun capture(const std::vector<std::string>& arguments, const CaptureSetup& setup) {
    return CaptureTool(arguments, setup).finish();
}

CaptureRun capture(const std::vector<std::string>& arguments, const std::string& dataFolder) {
    CaptureSetup setup;
    setup.dataFolder = dataFolder;
    return capture(arguments, setup);
}
