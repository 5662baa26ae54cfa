#include "resource/TGAImage.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/FileBytes.h"

namespace {

constexpr std::size_t HEADER_SIZE = 18;
constexpr std::uint8_t RUN_LENGTH_ENCODED = 10;
constexpr std::uint8_t BOTTOM_UP = 0;
constexpr std::uint8_t TOP_DOWN = 2;

std::uint16_t readLittleEndian16(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

TGADecodeResult failure(platform::OutputStream stream, const std::string& message) {
    return {false, stream, message};
}

TGADecodeResult brokenFile(const std::string& fileName, const std::string& what) {
    return failure(platform::OutputStream::StandardError, "Error! Broken image file: " + fileName + " (" + what + ")");
}

}  // namespace

// Reads the pixel section byte by byte from memory. A read past the end
// leaves its target unchanged: that is how a file cut short inside its pixel
// data still gives a whole image, the missing pixels repeating the last one.
struct TGAImage::ByteCursor {
    const std::uint8_t* bytes;
    std::size_t size;
    std::size_t position;

    void read(std::uint8_t& into) {
        if (position < size) {
            into = bytes[position];
        }
        ++position;
    }
};

TGAImage::TGAImage(const char* fileName) {
    std::vector<std::uint8_t> bytes;
    platform::FileReadStatus read = platform::readFileBytes(fileName, MAX_FILE_BYTES, bytes);
    if (read == platform::FileReadStatus::Missing) {
        platform::exitWithMessage(platform::OutputStream::StandardError,
                                  std::string("Error! Cannot find file: ") + fileName, 1);
    }
    if (read == platform::FileReadStatus::TooLarge) {
        TGADecodeResult tooLarge = brokenFile(
            fileName, "it is larger than the " + platform::byteCountText(MAX_FILE_BYTES) + " an image file may take");
        platform::exitWithMessage(tooLarge.stream, tooLarge.message, 1);
    }
    TGADecodeResult result = decode(bytes.data(), bytes.size(), fileName);
    if (!result.succeeded) {
        platform::exitWithMessage(result.stream, result.message, 1);
    }
}

TGADecodeResult TGAImage::decode(const std::uint8_t* bytes, std::size_t size, const std::string& fileName) {
    if (size < HEADER_SIZE) {
        return brokenFile(fileName, "it ends inside its 18-byte TGA header");
    }
    readHeader(bytes);
    if (pixelDepth <= 8) {
        return failure(platform::OutputStream::StandardOutput, "Image has less / equal 8 Bits!");
    }

    std::uint64_t pixelBytes = std::uint64_t(width) * height * 4;
    if (pixelBytes > MAX_PIXEL_BYTES) {
        return brokenFile(fileName, std::to_string(width) + " x " + std::to_string(height) +
                                        " pixels need more than the 256 MiB an image may take");
    }
    pixels.assign(static_cast<std::size_t>(pixelBytes), 0);

    if (screenDestination != BOTTOM_UP && screenDestination != TOP_DOWN) {
        return failure(platform::OutputStream::StandardError, "TGALoader#Error: Unrecognized screenDestination!");
    }
    if (pixelBytes > 0 && !firstPixelInside(size)) {
        return brokenFile(fileName, "it ends before its first pixel");
    }

    ByteCursor cursor{bytes, size, HEADER_SIZE + idLength};
    decodePixels(cursor);
    return {};
}

void TGAImage::readHeader(const std::uint8_t* bytes) {
    idLength = bytes[0];
    imageType = bytes[2];
    width = readLittleEndian16(bytes + 12);
    height = readLittleEndian16(bytes + 14);
    pixelDepth = bytes[16];
    imageDescriptor = bytes[17];
    hasAlpha = (imageDescriptor & 8) != 0;
    screenDestination = (imageDescriptor >> 4) & 3;
}

// Later pixels may be missing (they repeat the last one), but the first must
// be whole, or the image would start from bytes the file never gave.
bool TGAImage::firstPixelInside(std::size_t size) const {
    std::size_t firstPixelEnd = HEADER_SIZE + idLength + (hasAlpha ? 4 : 3);
    if (imageType == RUN_LENGTH_ENCODED) {
        ++firstPixelEnd;
    }
    return firstPixelEnd <= size;
}

void TGAImage::decodePixels(ByteCursor& cursor) {
    int row = screenDestination == TOP_DOWN ? height - 1 : 0;
    int endRow = screenDestination == TOP_DOWN ? -1 : height;
    int step = screenDestination == TOP_DOWN ? -1 : 1;
    int column = 0;
    currentPixel[3] = 0;
    if (width == 0) {
        return;
    }

    // Kept across packets: a file cut short repeats the last header it gave.
    std::uint8_t packetHeader = 0;
    while (row != endRow) {
        // An uncompressed file reads like one raw packet as long as the image.
        std::uint64_t packetPixels = std::uint64_t(width) * height;
        bool readEveryPixel = true;
        if (imageType == RUN_LENGTH_ENCODED) {
            cursor.read(packetHeader);
            packetPixels = (packetHeader & 0x7F) + 1;
            readEveryPixel = (packetHeader & 0x80) == 0;
            if (!readEveryPixel) {
                readPixel(cursor);
            }
        }
        // A packet may run on into the next row, and is cut off at the end
        // of the image; it is stored a row's stretch at a time.
        while (packetPixels > 0 && row != endRow) {
            const int stretch = int(std::min<std::uint64_t>(packetPixels, std::uint64_t(width - column)));
            std::uint8_t* target = pixels.data() + (std::size_t(row) * width + column) * 4;
            if (readEveryPixel) {
                readPixels(cursor, target, stretch);
            } else {
                repeatCurrentPixel(target, stretch);
            }
            packetPixels -= stretch;
            column += stretch;
            if (column == width) {
                column = 0;
                row += step;
            }
        }
    }
}

// Reads `count` pixels into `target`, leaving the last one as the current
// pixel. Where the file holds them all, straight from its bytes; near a cut
// short end, one byte at a time, so that missing bytes keep their last value.
void TGAImage::readPixels(ByteCursor& cursor, std::uint8_t* target, int count) {
    const std::size_t bytesPerPixel = hasAlpha ? 4 : 3;
    const std::size_t needed = std::size_t(count) * bytesPerPixel;
    if (cursor.position > cursor.size || cursor.size - cursor.position < needed) {
        for (int i = 0; i < count; ++i, target += 4) {
            readPixel(cursor);
            std::memcpy(target, currentPixel, 4);
        }
        return;
    }
    const std::uint8_t* source = cursor.bytes + cursor.position;
    if (hasAlpha) {
        // Four pixels at a time: BGRA read as little-endian words have red
        // and blue in their low and third bytes, which trade places. Written
        // as four independent words, the compiler does them in one vector.
        static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the pixel swap assumes little-endian words");
        int i = 0;
        for (; i + 4 <= count; i += 4, source += 16, target += 16) {
            std::uint32_t words[4];
            std::memcpy(words, source, 16);
            for (std::uint32_t& word : words) {
                word = (word & 0xFF00FF00u) | ((word >> 16) & 0xFFu) | ((word & 0xFFu) << 16);
            }
            std::memcpy(target, words, 16);
        }
        for (; i < count; ++i, source += 4, target += 4) {
            target[0] = source[2];
            target[1] = source[1];
            target[2] = source[0];
            target[3] = source[3];
        }
    } else {
        for (int i = 0; i < count; ++i, source += 3, target += 4) {
            target[0] = source[2];
            target[1] = source[1];
            target[2] = source[0];
            target[3] = 255;
        }
    }
    cursor.position += needed;
    std::memcpy(currentPixel, target - 4, 4);
}

void TGAImage::repeatCurrentPixel(std::uint8_t* target, int count) const {
    for (int i = 0; i < count; ++i, target += 4) {
        std::memcpy(target, currentPixel, 4);
    }
}

// The file stores blue, green, red (and alpha when the descriptor says so).
void TGAImage::readPixel(ByteCursor& cursor) {
    cursor.read(currentPixel[2]);
    cursor.read(currentPixel[1]);
    cursor.read(currentPixel[0]);
    if (hasAlpha) {
        cursor.read(currentPixel[3]);
    } else {
        currentPixel[3] = 255;
    }
}
