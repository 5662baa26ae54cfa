#include "SceneTestFiles.h"

namespace scenetest {

std::vector<std::uint8_t> tgaFile(int width, int height, const std::function<Texel(int column, int row)>& texel) {
    std::vector<std::uint8_t> bytes(18, 0);
    bytes[2] = 2;  // uncompressed true colour
    bytes[12] = width & 0xFF;
    bytes[13] = (width >> 8) & 0xFF;
    bytes[14] = height & 0xFF;
    bytes[15] = (height >> 8) & 0xFF;
    bytes[16] = 32;
    bytes[17] = 8;  // 8 alpha bits, first row at the bottom
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            Texel colour = texel(column, row);
            bytes.insert(bytes.end(), {colour.b, colour.g, colour.r, colour.a});
        }
    }
    return bytes;
}

std::vector<std::uint8_t> plainTgaFile(int width, int height, Texel colour) {
    return tgaFile(width, height, [colour](int, int) { return colour; });
}

}  // namespace scenetest
