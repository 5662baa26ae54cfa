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

// The classic timedemo summary: one line for the show, one for the
// clear-and-finish baseline and one for the floor frame (what llvmpipe must
// do for any frame of the scene), with the show's median over each.
std::string timedemoReport(const FrameTimes& show, const FrameTimes& baseline, const FrameTimes& floor,
                           long peakResidentKiB);

// The process's peak resident memory in KiB (VmHWM), or -1 when unknown.
long peakResidentMemoryKiB();
