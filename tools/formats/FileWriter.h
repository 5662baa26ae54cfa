#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes bytes to a file, making its folders; false after a line on standard
// error that names the program and the file.
bool writeFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
