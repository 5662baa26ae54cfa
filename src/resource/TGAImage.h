#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/ProcessExit.h"
#include "resource/Image.h"

// What decoding TGA bytes came to. On failure, `message` is the one line the
// loader writes to `stream` before it ends the process with status 1.
struct TGADecodeResult {
    bool succeeded = true;
    platform::OutputStream stream = platform::OutputStream::StandardError;
    std::string message;
};

// A Truevision TGA image: uncompressed or run-length encoded (image type 10)
// true colour, 3 bytes a pixel (blue, green, red) or 4 when the descriptor
// declares an alpha channel, stored bottom-up or top-down. The pixels end up
// as RGBA with row 0 at the bottom whatever the file's row order.
class TGAImage : public Image {
public:
    // Reads the whole file and decodes it; returns only with a complete image.
    // A missing or unusable file ends the process with one line and status 1.
    explicit TGAImage(const char* fileName);

    // An empty image, for decoding bytes that are already in memory.
    TGAImage() = default;

    TGAImage(const TGAImage&) = delete;
    TGAImage& operator=(const TGAImage&) = delete;

    // Decodes a whole file's bytes into this image and reports a failure
    // instead of ending the process; `fileName` only names the file in messages.
    TGADecodeResult decode(const std::uint8_t* bytes, std::size_t size, const std::string& fileName);

    unsigned char* getPixels() override { return pixels.data(); }
    int getWidth() override { return width; }
    int getHeight() override { return height; }
    int getBitsPerPixel() override { return pixelDepth; }

    // The largest pixel buffer an image may need; a few header bytes could
    // otherwise ask for 65535 x 65535 pixels (16 GiB).
    static constexpr std::uint64_t MAX_PIXEL_BYTES = 256ull * 1024 * 1024;
    // The largest file that can hold such an image: its pixels at their least
    // compact (a packet header before every 4-byte pixel) with room to spare
    // for the header, ID field and trailing areas. A larger file is refused
    // before it is read.
    static constexpr std::size_t MAX_FILE_BYTES = 320u * 1024 * 1024;

private:
    struct ByteCursor;

    void readHeader(const std::uint8_t* bytes);
    bool firstPixelInside(std::size_t size) const;
    void decodePixels(ByteCursor& cursor);
    void readPixels(ByteCursor& cursor, std::uint8_t* target, int count);
    void repeatCurrentPixel(std::uint8_t* target, int count) const;
    void readPixel(ByteCursor& cursor);

    // The pixel most recently read; run packets repeat it, and a file that
    // ends early leaves it as it was, so the missing pixels repeat it too.
    std::uint8_t currentPixel[4] = {0, 0, 0, 0};

    std::uint8_t idLength = 0;
    std::uint8_t imageType = 0;
    std::uint8_t pixelDepth = 0;
    std::uint8_t imageDescriptor = 0;
    // Bits 4 and 5 of the descriptor: 0 bottom-up, 2 top-down, 1 and 3
    // (right-to-left) are refused.
    std::uint8_t screenDestination = 0;
    bool hasAlpha = false;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
};
