#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Files that appear under their name only once whole. Each is written beside
// its name and renamed when every byte is written and the file is closed, so
// that a full disk or a failed write never leaves a file cut short where a
// script, a player or a person would take it for finished; after a failure
// nothing is left under either name.

// The name a file has while it is written: "show.mp4.partial.mp4" for
// "show.mp4", with the extension kept for programs that go by it (ffmpeg).
std::string partialFileName(const std::string& path);

// Writes every byte to `fd`, going on after interruptions by signals; false
// with errno saying why when a write fails.
bool writeAll(int fd, const std::uint8_t* bytes, std::size_t count);

// Writes `bytes` as the file `path`; false with `error` set to
// "cannot write PATH: REASON", the system's reason, when any step fails.
bool writeFinishedFile(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error);
