// Feeds arbitrary bytes to the TGA decoder. A refused file is an answer, not
// a finding: only crashes, hangs and sanitiser reports count.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

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
    // those bytes must belong to the buffer, which AddressSanitizer checks here.
    const std::size_t pixelBytes = std::size_t(image.getWidth()) * image.getHeight() * 4;
    const unsigned char* pixels = image.getPixels();
    unsigned sum = 0;
    for (std::size_t i = 0; i < pixelBytes; i += 4) {
        sum += pixels[i] + pixels[i + 3];
    }
    if (pixelBytes > 0 && sum == 0xFFFFFFFFu) {
        std::abort();  // never true; keeps the reads from being optimised away
    }
    return 0;
}
