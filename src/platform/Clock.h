#pragma once

// The program's one time base: wall-clock milliseconds since the process
// started. Tests and the capture tool replace the tick source and the sleep
// so that time can be driven instead of waited for.
namespace platform {

using TickFunction = int (*)();
using SleepFunction = void (*)(int milliseconds);

// Milliseconds since process start (1000 ticks per second), never processor time.
int ticks();

// Blocks the calling thread for about `milliseconds`.
void sleepMilliseconds(int milliseconds);

// Replace the tick source or the sleep; nullptr restores the wall clock.
void setTickFunction(TickFunction function);
void setSleepFunction(SleepFunction function);

}  // namespace platform
