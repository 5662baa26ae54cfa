#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "formats/Picture.h"

struct TgaOptions {
    bool runLengthEncoded = false;
    bool topDown = false;    // store the top row first (screen destination 2)
    bool withAlpha = false;  // 32 bits with an 8-bit alpha channel, else 24 bits
};

// Encodes as a true-colour TGA (type 2, or 10 when run-length encoded).
std::vector<std::uint8_t> encodeTga(const Picture& picture, const TgaOptions& options);

// Writes the file, making its folders; false after a message on standard error.
bool writeTga(const std::string& path, const Picture& picture, const TgaOptions& options);
