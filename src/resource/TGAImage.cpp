#include "resource/TGAImage.h"

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
    if (!platform::readFileBytes(fileName, bytes)) {
        platform::exitWithMessage(platform::OutputStream::StandardError,
                                  std::string("Error! Cannot find file: ") + fileName, 1);
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
        int packetPixels = 1;
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
        // of the image.
        for (int i = 0; i < packetPixels && row != endRow; ++i) {
            if (readEveryPixel) {
                readPixel(cursor);
            }
            std::uint8_t* target = pixels.data() + (std::size_t(row) * width + column) * 4;
            target[0] = currentPixel[0];
            target[1] = currentPixel[1];
            target[2] = currentPixel[2];
            target[3] = currentPixel[3];
            if (++column == width) {
                column = 0;
                row += step;
            }
        }
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
