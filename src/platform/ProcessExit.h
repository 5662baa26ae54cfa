#pragma once

#include <string>

// The one way out for fatal errors: every loader that meets a file it cannot
// use ends the process through here, so the line, its stream, the flush and
// the status are decided in one place, and tests need only one seam.
namespace platform {

enum class OutputStream { StandardOutput, StandardError };

// Writes `line` and a newline to `stream`, flushes it and exits with `status`.
[[noreturn]] void exitWithMessage(OutputStream stream, const std::string& line, int status);

// Ends the process with `status` through the normal exit path (no message).
[[noreturn]] void exitProcess(int status);

// Tests install a handler that throws, so an error path can be checked in
// process; the handler receives the status and must not return. nullptr
// restores the real exit.
using ExitHandler = void (*)(int status);
void setExitHandler(ExitHandler handler);

}  // namespace platform
