#pragma once

#include <cstddef>
#include <cstdint>
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
