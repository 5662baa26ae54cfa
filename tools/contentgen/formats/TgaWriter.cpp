#include "formats/TgaWriter.h"

#include <cstring>

#include "formats/FileWriter.h"

namespace {

void appendPixel(std::vector<std::uint8_t>& out, const std::uint8_t* rgba, bool withAlpha) {
    out.push_back(rgba[2]);
    out.push_back(rgba[1]);
    out.push_back(rgba[0]);
    if (withAlpha) {
        out.push_back(rgba[3]);
    }
}

bool samePixel(const std::uint8_t* a, const std::uint8_t* b, bool withAlpha) {
    return std::memcmp(a, b, withAlpha ? 4 : 3) == 0;
}

// Pixels in file order: bottom row first, or top row first when topDown.
std::vector<const std::uint8_t*> fileOrder(const Picture& picture, bool topDown) {
    std::vector<const std::uint8_t*> order;
    order.reserve(static_cast<size_t>(picture.width) * picture.height);
    for (int row = 0; row < picture.height; ++row) {
        int y = topDown ? picture.height - 1 - row : row;
        for (int x = 0; x < picture.width; ++x) {
            order.push_back(picture.at(x, y));
        }
    }
    return order;
}

// Packets run across row ends, as the format allows.
void appendRunLength(std::vector<std::uint8_t>& out, const std::vector<const std::uint8_t*>& pixels, bool withAlpha) {
    size_t index = 0;
    while (index < pixels.size()) {
        size_t run = 1;
        while (index + run < pixels.size() && run < 128 && samePixel(pixels[index], pixels[index + run], withAlpha)) {
            ++run;
        }
        if (run >= 2) {
            out.push_back(static_cast<std::uint8_t>(0x80 | (run - 1)));
            appendPixel(out, pixels[index], withAlpha);
            index += run;
            continue;
        }
        size_t raw = 1;
        while (
            index + raw < pixels.size() && raw < 128 &&
            !(index + raw + 1 < pixels.size() && samePixel(pixels[index + raw], pixels[index + raw + 1], withAlpha))) {
            ++raw;
        }
        out.push_back(static_cast<std::uint8_t>(raw - 1));
        for (size_t i = 0; i < raw; ++i) {
            appendPixel(out, pixels[index + i], withAlpha);
        }
        index += raw;
    }
}

}  // namespace

std::vector<std::uint8_t> encodeTga(const Picture& picture, const TgaOptions& options) {
    std::vector<std::uint8_t> out(18, 0);
    const bool runLength = options.storage == TgaStorage::RunLength;
    const bool topDown = options.rowOrder == TgaRowOrder::TopDown;
    const bool withAlpha = options.channels == TgaChannels::Rgba;
    out[2] = runLength ? 10 : 2;
    out[12] = static_cast<std::uint8_t>(picture.width & 0xFF);
    out[13] = static_cast<std::uint8_t>(picture.width >> 8);
    out[14] = static_cast<std::uint8_t>(picture.height & 0xFF);
    out[15] = static_cast<std::uint8_t>(picture.height >> 8);
    out[16] = withAlpha ? 32 : 24;
    out[17] = static_cast<std::uint8_t>((withAlpha ? 8 : 0) | (topDown ? 0x20 : 0));
    std::vector<const std::uint8_t*> pixels = fileOrder(picture, topDown);
    if (runLength) {
        appendRunLength(out, pixels, withAlpha);
    } else {
        for (const std::uint8_t* pixel : pixels) {
            appendPixel(out, pixel, withAlpha);
        }
    }
    return out;
}

bool writeTga(const std::string& path, const Picture& picture, const TgaOptions& options) {
    return writeFileBytes(path, encodeTga(picture, options));
}
