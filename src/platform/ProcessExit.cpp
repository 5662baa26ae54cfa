#include "platform/ProcessExit.h"

#include <cstdio>
#include <cstdlib>

namespace platform {
namespace {
ExitHandler exitHandler = nullptr;
}

void exitWithMessage(OutputStream stream, const std::string& line, int status) {
    std::FILE* file = stream == OutputStream::StandardOutput ? stdout : stderr;
    std::fputs(line.c_str(), file);
    std::fputc('\n', file);
    std::fflush(file);
    exitProcess(status);
}

void exitProcess(int status) {
    if (exitHandler) {
        exitHandler(status);
    }
    std::exit(status);
}

void setExitHandler(ExitHandler handler) {
    exitHandler = handler;
}

}  // namespace platform
