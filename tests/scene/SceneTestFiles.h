#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// Small image files made by the tests themselves.
namespace scenetest {

struct Texel {
    std::uint8_t r, g, b, a;
};

// An uncompressed 32-bit TGA file, stored bottom-up: texel(column, row) is
// asked for with row 0 at the bottom of the picture.
std::vector<std::uint8_t> tgaFile(int width, int height, const std::function<Texel(int column, int row)>& texel);

// A picture of one colour.
std::vector<std::uint8_t> plainTgaFile(int width, int height, Texel colour);

}  // namespace scenetest
