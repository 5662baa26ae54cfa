#pragma once

#include <cstdint>

#include "kit/Hash.h"

// A small deterministic generator (SplitMix64): the same seed gives the same
// numbers on every machine and library, unlike the std distributions.
class Random {
public:
    explicit Random(std::uint64_t seed) : state(seed) {}

    std::uint64_t next() { return finalizeHash(state += GOLDEN_GAMMA); }

    // Uniform in [0, 1).
    double uniform() { return unitFromHash(next()); }

    // Uniform in [low, high).
    double range(double low, double high) { return low + (high - low) * uniform(); }

private:
    std::uint64_t state;
};
