// TGA files written by another program, ImageMagick, in every variant the
// loader reads (uncompressed and run-length, 24 and 32 bits, bottom-up and
// top-down, with an ID field), decoded by the loader and by ImageMagick
// itself and compared pixel by pixel.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "resource/TGAImage.h"
#include "support/TempDir.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Wide enough that a flat row needs two run packets (128 pixels at most).
constexpr int WIDTH = 200;
constexpr int HEIGHT = 37;

constexpr std::uint8_t UNCOMPRESSED = 2;
constexpr std::uint8_t RUN_LENGTH = 10;

// Flat bands that become long runs, noise that becomes raw packets, short
// stripes in between, and alpha that changes across the picture. RGBA, row 0
// at the top, as ImageMagick counts rows.
Bytes sourcePicture() {
    Bytes pixels;
    std::uint32_t noise = 12345;
    for (int y = 0; y < HEIGHT; ++y) {
        for (int x = 0; x < WIDTH; ++x) {
            noise = noise * 1103515245u + 12345u;
            std::uint8_t r, g, b;
            if (y < 10) {
                r = 200, g = 40, b = std::uint8_t(y * 20);
            } else if (y < 20) {
                r = std::uint8_t(noise >> 24), g = std::uint8_t(noise >> 16), b = std::uint8_t(noise >> 8);
            } else {
                r = std::uint8_t((x / 3) * 7), g = std::uint8_t(255 - y), b = std::uint8_t(x % 2 ? 0 : 255);
            }
            std::uint8_t a = std::uint8_t(x < WIDTH / 2 ? 255 : (x * 5 + y * 3) & 0xFF);
            pixels.insert(pixels.end(), {r, g, b, a});
        }
    }
    return pixels;
}

std::string pamFile(const Bytes& rgba) {
    std::string text = "P7\nWIDTH " + std::to_string(WIDTH) + "\nHEIGHT " + std::to_string(HEIGHT) +
                       "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
    text.append(rgba.begin(), rgba.end());
    return text;
}

Bytes fileBytes(const std::string& path) {
    std::string text = readWholeFile(path);
    return Bytes(text.begin(), text.end());
}

bool imageMagick(const std::string& arguments) {
    return std::system(("convert " + arguments).c_str()) == 0;
}

struct Variant {
    const char* name;
    int bits;
    bool runLength;
    bool topDown;
};

// ImageMagick 6 writes the rows in the order it holds them, top row first,
// and only labels the file with its orientation setting; so for a bottom-up
// file it is handed the picture upside down. Reading, it keeps the file's row
// order unless told to -auto-orient.
std::string writeOptions(const Variant& variant) {
    std::string options = variant.bits == 32 ? " -type TrueColorAlpha" : " -alpha off -type TrueColor";
    options += variant.runLength ? " -compress RLE" : " -compress None";
    options += variant.topDown ? " -orient TopLeft" : " -flip -orient BottomLeft";
    // Written as the file's ID field, which only moves the start of the pixels.
    return options + " -set comment 'written by a peer'";
}

// Names the variant in test output instead of dumping its bytes.
void PrintTo(const Variant& variant, std::ostream* out) {
    *out << variant.name;
}

class TGAPeer : public ::testing::TestWithParam<Variant> {};

}  // namespace

TEST_P(TGAPeer, EveryPixelMatchesImageMagicksOwnDecoding) {
    const Variant& variant = GetParam();
    TempDir folder;
    const Bytes source = sourcePicture();
    folder.write("source.pam", pamFile(source));
    const std::string tga = folder.file("peer.tga");
    const std::string decoded = folder.file("peer.rgba");
    ASSERT_TRUE(imageMagick("'" + folder.file("source.pam") + "'" + writeOptions(variant) + " '" + tga + "'"));
    ASSERT_TRUE(imageMagick("'" + tga + "' -auto-orient -depth 8 'rgba:" + decoded + "'"));

    // The file really is the variant asked for.
    Bytes file = fileBytes(tga);
    ASSERT_GE(file.size(), 18u);
    EXPECT_GT(file[0], 0) << "no ID field";
    EXPECT_EQ(file[2], variant.runLength ? RUN_LENGTH : UNCOMPRESSED);
    EXPECT_EQ(file[16], variant.bits);
    EXPECT_EQ((file[17] & 8) != 0, variant.bits == 32) << "alpha flag";
    EXPECT_EQ((file[17] >> 4) & 3, variant.topDown ? 2 : 0) << "row order";
    if (variant.runLength) {
        EXPECT_LT(file.size(), 18u + file[0] + std::size_t(WIDTH) * HEIGHT * variant.bits / 8) << "no runs";
    }

    const Bytes theirs = fileBytes(decoded);
    ASSERT_EQ(theirs.size(), std::size_t(WIDTH) * HEIGHT * 4);

    TGAImage ours;
    TGADecodeResult result = ours.decode(file.data(), file.size(), tga);
    ASSERT_TRUE(result.succeeded) << result.message;
    ASSERT_EQ(ours.getWidth(), WIDTH);
    ASSERT_EQ(ours.getHeight(), HEIGHT);
    EXPECT_EQ(ours.getBitsPerPixel(), variant.bits);

    // Ours is bottom-up, ImageMagick's raw output top-down.
    int mismatches = 0;
    std::string first;
    for (int y = 0; y < HEIGHT; ++y) {
        for (int x = 0; x < WIDTH; ++x) {
            const std::uint8_t* mine = ours.getPixels() + ((HEIGHT - 1 - y) * WIDTH + x) * 4;
            const std::uint8_t* peer = theirs.data() + (y * WIDTH + x) * 4;
            if (mine[0] != peer[0] || mine[1] != peer[1] || mine[2] != peer[2] || mine[3] != peer[3]) {
                if (mismatches++ == 0) {
                    first = "first at column " + std::to_string(x) + ", row " + std::to_string(y) + " from the top";
                }
            }
        }
    }
    EXPECT_EQ(mismatches, 0) << first;

    // And the comparison is not between two equally wrong pictures: the
    // written file holds the source, without its alpha at 24 bits.
    for (std::size_t i = 0; i < source.size(); i += 4) {
        const std::uint8_t expectedAlpha = variant.bits == 32 ? source[i + 3] : 255;
        ASSERT_TRUE(theirs[i] == source[i] && theirs[i + 1] == source[i + 1] && theirs[i + 2] == source[i + 2] &&
                    theirs[i + 3] == expectedAlpha)
            << "pixel " << i / 4 << " did not survive ImageMagick's round trip";
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllVariants, TGAPeer,
    ::testing::Values(Variant{"Raw24BottomUp", 24, false, false}, Variant{"Raw24TopDown", 24, false, true},
                      Variant{"Raw32BottomUp", 32, false, false}, Variant{"Raw32TopDown", 32, false, true},
                      Variant{"RunLength24BottomUp", 24, true, false}, Variant{"RunLength24TopDown", 24, true, true},
                      Variant{"RunLength32BottomUp", 32, true, false}, Variant{"RunLength32TopDown", 32, true, true}),
    [](const ::testing::TestParamInfo<Variant>& info) { return info.param.name; });
