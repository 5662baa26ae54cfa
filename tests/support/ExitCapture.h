#pragma once

#include <functional>
#include <string>

// Runs code that may end the process through platform::exitWithMessage or
// platform::exitProcess, and turns that exit into a value the test can check,
// together with what was written to standard output and standard error.
namespace testexit {

struct Outcome {
    bool exited = false;
    int status = 0;
    std::string standardOutput;
    std::string standardError;
};

Outcome run(const std::function<void()>& body);

}  // namespace testexit
