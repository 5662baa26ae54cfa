#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An image being painted: RGBA bytes, row 0 at the bottom of the picture,
// the layout the program's loader produces.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;

    Picture(int w, int h) : width(w), height(h), rgba(static_cast<size_t>(w) * h * 4, 255) {}
    std::uint8_t* at(int x, int y) { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
    const std::uint8_t* at(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};

struct TgaOptions {
    bool runLengthEncoded = false;
    bool topDown = false;    // store the top row first (screen destination 2)
    bool withAlpha = false;  // 32 bits with an 8-bit alpha channel, else 24 bits
};

// Encodes as a true-colour TGA (type 2, or 10 when run-length encoded).
std::vector<std::uint8_t> encodeTga(const Picture& picture, const TgaOptions& options);

// Writes the file, making its folders; false after a message on standard error.
bool writeTga(const std::string& path, const Picture& picture, const TgaOptions& options);

// Writes bytes to a file, making its folders; false after a message on standard error.
bool writeFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
