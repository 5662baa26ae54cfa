#include "platform/Clock.h"

#include <chrono>
#include <thread>

namespace platform {
namespace {

using SteadyClock = std::chrono::steady_clock;

// Taken during static initialisation, which is as close to process start as
// portable code gets.
const SteadyClock::time_point processStart = SteadyClock::now();

int wallClockTicks() {
    auto sinceStart = SteadyClock::now() - processStart;
    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}

void wallClockSleep(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

TickFunction tickFunction = wallClockTicks;
SleepFunction sleepFunction = wallClockSleep;

}  // namespace

int ticks() {
    return tickFunction();
}

void sleepMilliseconds(int milliseconds) {
    sleepFunction(milliseconds);
}

void setTickFunction(TickFunction function) {
    tickFunction = function ? function : wallClockTicks;
}

void setSleepFunction(SleepFunction function) {
    sleepFunction = function ? function : wallClockSleep;
}

}  // namespace platform
