#pragma once

#include <cstdint>

// Integer hashing for the generator's pseudo-random numbers: the SplitMix64
// increment and finaliser, and odd multipliers that spread lattice
// coordinates over all 64 bits. Integer arithmetic only, so every machine
// hashes alike.
constexpr std::uint64_t GOLDEN_GAMMA = 0x9E3779B97F4A7C15ull;  // also the lattice's x multiplier
constexpr std::uint64_t LATTICE_Y_MULTIPLIER = 0xC2B2AE3D27D4EB4Full;
constexpr std::uint64_t LATTICE_Z_MULTIPLIER = 0x165667B19E3779F9ull;

// SplitMix64's finaliser: every input bit reaches every output bit.
inline std::uint64_t finalizeHash(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// A hash of a lattice point under `seed`; 2D lattices pass z = 0.
inline std::uint64_t hashLattice(std::int64_t x, std::int64_t y, std::int64_t z, std::uint64_t seed) {
    return finalizeHash(seed ^ (static_cast<std::uint64_t>(x) * GOLDEN_GAMMA) ^
                        (static_cast<std::uint64_t>(y) * LATTICE_Y_MULTIPLIER) ^
                        (static_cast<std::uint64_t>(z) * LATTICE_Z_MULTIPLIER));
}

// The top 53 bits of a hash as a double uniform in [0, 1).
inline double unitFromHash(std::uint64_t hash) {
    return static_cast<double>(hash >> 11) * (1.0 / 9007199254740992.0);
}
