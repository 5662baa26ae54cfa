#include "support/ExitCapture.h"

#include <gtest/gtest.h>

#include "platform/ProcessExit.h"

namespace testexit {
namespace {

struct ExitCalled {
    int status;
};

[[noreturn]] void throwExit(int status) {
    throw ExitCalled{status};
}

}  // namespace

Outcome run(const std::function<void()>& body) {
    Outcome outcome;
    platform::setExitHandler(throwExit);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    try {
        body();
    } catch (const ExitCalled& exit) {
        outcome.exited = true;
        outcome.status = exit.status;
    }
    outcome.standardOutput = testing::internal::GetCapturedStdout();
    outcome.standardError = testing::internal::GetCapturedStderr();
    platform::setExitHandler(nullptr);
    return outcome;
}

}  // namespace testexit
