// Feeds arbitrary bytes to the TGA decoder. A refused file is an answer, not
// a finding: crashes, hangs and sanitiser reports are. So is an accepted
// file whose pixels differ from those of the plain reference decoder below,
// which reads one byte at a time exactly as the format's rules say: the
// program's decoder takes shortcuts for speed and must not change a pixel.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "resource/TGAImage.h"

namespace {

// A few header bytes can ask for 64 M pixels, which the decoder allocates
// and fills whatever the file holds: up to a second per input under the
// sanitisers. Large pictures run the same code as small ones, so the fuzzer
// spends its time on pictures of at most 64 K pixels (65535 x 1 still fits).
constexpr std::uint64_t MAX_FUZZED_PIXELS = 64 * 1024;

bool declaresLargePicture(const std::uint8_t* data, std::size_t size) {
    if (size < 16) {
        return false;
    }
    std::uint64_t width = data[12] | data[13] << 8;
    std::uint64_t height = data[14] | data[15] << 8;
    return width * height > MAX_FUZZED_PIXELS;
}

// The pixel section as the rules read it: one packet after the other, a
// byte at a time; a byte past the end of the file leaves its target as it
// was (the current pixel, or the packet header).
std::vector<std::uint8_t> referencePixels(const std::uint8_t* data, std::size_t size) {
    const int width = data[12] | data[13] << 8;
    const int height = data[14] | data[15] << 8;
    const bool runLength = data[2] == 10;
    const bool hasAlpha = (data[17] & 8) != 0;
    const bool topDown = ((data[17] >> 4) & 3) == 2;
    std::vector<std::uint8_t> pixels(std::size_t(width) * height * 4, 0);
    std::size_t position = 18 + std::size_t(data[0]);
    auto read = [&](std::uint8_t& into) {
        if (position < size) {
            into = data[position];
        }
        ++position;
    };
    std::uint8_t pixel[4] = {0, 0, 0, 0};
    auto readPixel = [&] {
        read(pixel[2]);
        read(pixel[1]);
        read(pixel[0]);
        if (hasAlpha) {
            read(pixel[3]);
        } else {
            pixel[3] = 255;
        }
    };
    int row = topDown ? height - 1 : 0;
    const int endRow = topDown ? -1 : height;
    int column = 0;
    std::uint8_t header = 0;
    while (width > 0 && row != endRow) {
        int count = 1;
        bool every = true;
        if (runLength) {
            read(header);
            count = (header & 0x7F) + 1;
            every = (header & 0x80) == 0;
            if (!every) {
                readPixel();
            }
        }
        for (int i = 0; i < count && row != endRow; ++i) {
            if (every) {
                readPixel();
            }
            std::memcpy(pixels.data() + (std::size_t(row) * width + column) * 4, pixel, 4);
            if (++column == width) {
                column = 0;
                row += topDown ? -1 : 1;
            }
        }
    }
    return pixels;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (declaresLargePicture(data, size)) {
        return 0;
    }
    TGAImage image;
    TGADecodeResult result = image.decode(data, size, "fuzz.tga");
    if (!result.succeeded) {
        return 0;
    }
    // The upload reads width x height RGBA pixels from getPixels: every one of
    // those bytes must belong to the buffer (AddressSanitizer checks the
    // comparison's reads) and be the reference decoder's.
    const std::size_t pixelBytes = std::size_t(image.getWidth()) * image.getHeight() * 4;
    const std::vector<std::uint8_t> expected = referencePixels(data, size);
    if (expected.size() != pixelBytes ||
        (pixelBytes > 0 && std::memcmp(image.getPixels(), expected.data(), pixelBytes) != 0)) {
        std::abort();
    }
    return 0;
}
