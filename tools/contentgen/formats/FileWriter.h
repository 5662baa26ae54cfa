#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes bytes to a file, making its folders; false after a message on standard error.
bool writeFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
