#pragma once

#include <string>
#include <vector>

// Frame times of a timedemo run, in milliseconds, and what they add up to.
struct FrameTimes {
    std::vector<double> milliseconds;

    double total() const;
    // The p-th percentile (0 to 100) by the nearest-rank rule.
    double percentile(double p) const;
};

// The classic timedemo summary, one line for the show and one for the
// clear-and-swap baseline.
std::string timedemoReport(const FrameTimes& show, const FrameTimes& baseline, long peakResidentKiB);

// The process's peak resident memory in KiB (VmHWM), or -1 when unknown.
long peakResidentMemoryKiB();
