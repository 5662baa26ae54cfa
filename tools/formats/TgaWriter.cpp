#include "formats/TgaWriter.h"

#include <cstring>

#include "formats/ByteSink.h"
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

// Packets for the pixels [begin, end) of `pixels`; none runs past `end`.
void appendRunLength(std::vector<std::uint8_t>& out, const std::vector<const std::uint8_t*>& pixels, size_t begin,
                     size_t end, bool withAlpha) {
    size_t index = begin;
    while (index < end) {
        size_t run = 1;
        while (index + run < end && run < 128 && samePixel(pixels[index], pixels[index + run], withAlpha)) {
            ++run;
        }
        if (run >= 2) {
            out.push_back(static_cast<std::uint8_t>(0x80 | (run - 1)));
            appendPixel(out, pixels[index], withAlpha);
            index += run;
            continue;
        }
        size_t raw = 1;
        while (index + raw < end && raw < 128 &&
               !(index + raw + 1 < end && samePixel(pixels[index + raw], pixels[index + raw + 1], withAlpha))) {
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

std::vector<std::uint8_t> encodeTgaHeader(const TgaHeader& header) {
    ByteSink out;
    out.byte(header.idLength);
    out.byte(0);  // no colour map
    out.byte(header.imageType);
    out.text("", 5);  // colour map origin, length and entry size: unused
    out.uint16(0);    // x origin
    out.uint16(0);    // y origin
    out.uint16(static_cast<std::uint32_t>(header.width));
    out.uint16(static_cast<std::uint32_t>(header.height));
    out.byte(header.bitsPerPixel);
    out.byte(header.descriptor);
    return out.bytes;
}

std::vector<std::uint8_t> encodeTga(const Picture& picture, const TgaOptions& options) {
    const bool runLength = options.storage == TgaStorage::RunLength;
    const bool topDown = options.rowOrder == TgaRowOrder::TopDown;
    const bool withAlpha = options.channels == TgaChannels::Rgba;
    TgaHeader header;
    header.imageType = runLength ? 10 : 2;
    header.width = picture.width;
    header.height = picture.height;
    header.bitsPerPixel = withAlpha ? 32 : 24;
    header.descriptor = static_cast<std::uint8_t>((withAlpha ? 8 : 0) | (topDown ? 0x20 : 0));
    std::vector<std::uint8_t> out = encodeTgaHeader(header);
    std::vector<const std::uint8_t*> pixels = fileOrder(picture, topDown);
    if (!runLength) {
        for (const std::uint8_t* pixel : pixels) {
            appendPixel(out, pixel, withAlpha);
        }
    } else if (options.packets == TgaPackets::AcrossRows) {
        appendRunLength(out, pixels, 0, pixels.size(), withAlpha);
    } else {
        const size_t width = static_cast<size_t>(picture.width);
        for (size_t rowStart = 0; rowStart < pixels.size(); rowStart += width) {
            appendRunLength(out, pixels, rowStart, rowStart + width, withAlpha);
        }
    }
    return out;
}

bool writeTga(const std::string& path, const Picture& picture, const TgaOptions& options) {
    return writeFileBytes(path, encodeTga(picture, options));
}
