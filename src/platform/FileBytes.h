#pragma once

#include <cstdint>
#include <vector>

namespace platform {

// Reads a whole regular file into `bytes` in one go. Returns false, leaving
// `bytes` empty, when the file cannot be opened, is not a regular file or
// cannot be read to its end; the loaders report all of these as a file they
// cannot find.
bool readFileBytes(const char* path, std::vector<std::uint8_t>& bytes);

}  // namespace platform
