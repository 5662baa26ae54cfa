#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// What reading a whole file came to. `Missing` covers every path that does
// not lead to a readable regular file (absent, a folder, a FIFO, a device);
// the loaders report it as a file they cannot find.
enum class FileReadStatus { Read, Missing, TooLarge };

// Opens `path` for reading without ever blocking: a FIFO or a device would
// hang the open or give bytes without end, so only a regular file is kept.
// Returns the descriptor (close-on-exec, blocking reads restored), or -1.
int openRegularFile(const char* path);

// Reads a whole regular file of at most `maxBytes` into `bytes`. Leaves
// `bytes` empty unless the result is Read. The size is taken once, when the
// file is opened, so a file that grows meanwhile cannot make the read
// unbounded.
FileReadStatus readFileBytes(const char* path, std::size_t maxBytes, std::vector<std::uint8_t>& bytes);

// A byte count for messages: "64 KiB", "16 MiB", or the bytes themselves.
std::string byteCountText(std::size_t bytes);

}  // namespace platform
