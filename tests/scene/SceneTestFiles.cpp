#include "SceneTestFiles.h"

#include "formats/TgaWriter.h"

namespace scenetest {

std::vector<std::uint8_t> tgaFile(int width, int height, const std::function<Texel(int column, int row)>& texel) {
    Picture picture(width, height);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            Texel colour = texel(column, row);
            std::uint8_t* stored = picture.at(column, row);
            stored[0] = colour.r, stored[1] = colour.g, stored[2] = colour.b, stored[3] = colour.a;
        }
    }
    TgaOptions options;
    options.channels = TgaChannels::Rgba;
    return encodeTga(picture, options);
}

std::vector<std::uint8_t> plainTgaFile(int width, int height, Texel colour) {
    return tgaFile(width, height, [colour](int, int) { return colour; });
}

}  // namespace scenetest
