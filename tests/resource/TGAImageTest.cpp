#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "formats/TgaWriter.h"
#include "resource/TGAImage.h"
#include "support/ExitCapture.h"
#include "support/TempDir.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Pixel = std::vector<int>;

constexpr std::uint8_t UNCOMPRESSED = 2;
constexpr std::uint8_t RUN_LENGTH = 10;
constexpr std::uint8_t ALPHA_BITS = 8;
constexpr std::uint8_t TOP_DOWN = 0x20;

Bytes header(std::uint8_t imageType, int width, int height, std::uint8_t depth, std::uint8_t descriptor,
             std::uint8_t idLength = 0) {
    Bytes bytes = encodeTgaHeader({idLength, imageType, width, height, depth, descriptor});
    bytes.insert(bytes.end(), idLength, 0x77);
    return bytes;
}

void append(Bytes& bytes, const Bytes& more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
}

// Pixels as the file stores them: blue, green, red.
Bytes bgr(int r, int g, int b) {
    return {std::uint8_t(b), std::uint8_t(g), std::uint8_t(r)};
}

Pixel pixelAt(TGAImage& image, int x, int y) {
    const unsigned char* p = image.getPixels() + (y * image.getWidth() + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

TGADecodeResult decodeInto(TGAImage& image, const Bytes& bytes) {
    return image.decode(bytes.data(), bytes.size(), "test.tga");
}

// A 2 x 2 picture: bottom row red, green; top row blue, white.
const Pixel RED{255, 0, 0, 255}, GREEN{0, 255, 0, 255}, BLUE{0, 0, 255, 255}, WHITE{255, 255, 255, 255};

void expectTwoByTwoPicture(TGAImage& image) {
    ASSERT_EQ(image.getWidth(), 2);
    ASSERT_EQ(image.getHeight(), 2);
    EXPECT_EQ(pixelAt(image, 0, 0), RED);
    EXPECT_EQ(pixelAt(image, 1, 0), GREEN);
    EXPECT_EQ(pixelAt(image, 0, 1), BLUE);
    EXPECT_EQ(pixelAt(image, 1, 1), WHITE);
}

}  // namespace

TEST(TGAImage, UncompressedRowsInBothOrdersGiveTheSameBottomUpPixels) {
    Bytes bottomUp = header(UNCOMPRESSED, 2, 2, 24, 0);
    for (const Bytes& pixel : {bgr(255, 0, 0), bgr(0, 255, 0), bgr(0, 0, 255), bgr(255, 255, 255)}) {
        append(bottomUp, pixel);
    }
    TGAImage fromBottomUp;
    ASSERT_TRUE(decodeInto(fromBottomUp, bottomUp).succeeded);
    expectTwoByTwoPicture(fromBottomUp);
    EXPECT_EQ(fromBottomUp.getBitsPerPixel(), 24);

    Bytes topDown = header(UNCOMPRESSED, 2, 2, 24, TOP_DOWN);
    for (const Bytes& pixel : {bgr(0, 0, 255), bgr(255, 255, 255), bgr(255, 0, 0), bgr(0, 255, 0)}) {
        append(topDown, pixel);
    }
    TGAImage fromTopDown;
    ASSERT_TRUE(decodeInto(fromTopDown, topDown).succeeded);
    expectTwoByTwoPicture(fromTopDown);
}

TEST(TGAImage, OnlyTheAlphaFlagDecidesFourBytesAPixel) {
    Bytes withAlpha = header(UNCOMPRESSED, 2, 1, 32, ALPHA_BITS);
    append(withAlpha, {10, 20, 30, 40, 50, 60, 70, 80});
    TGAImage alpha;
    ASSERT_TRUE(decodeInto(alpha, withAlpha).succeeded);
    EXPECT_EQ(pixelAt(alpha, 0, 0), (Pixel{30, 20, 10, 40}));
    EXPECT_EQ(pixelAt(alpha, 1, 0), (Pixel{70, 60, 50, 80}));
    EXPECT_EQ(alpha.getBitsPerPixel(), 32);

    // 32 bits declared without the flag: read as 3 bytes a pixel.
    Bytes withoutFlag = header(UNCOMPRESSED, 2, 1, 32, 0);
    append(withoutFlag, {10, 20, 30, 40, 50, 60});
    TGAImage noAlpha;
    ASSERT_TRUE(decodeInto(noAlpha, withoutFlag).succeeded);
    EXPECT_EQ(pixelAt(noAlpha, 0, 0), (Pixel{30, 20, 10, 255}));
    EXPECT_EQ(pixelAt(noAlpha, 1, 0), (Pixel{60, 50, 40, 255}));
}

TEST(TGAImage, RunAndRawPacketsCrossRowsAndAreCutOffAtTheEnd) {
    // 4 x 2: a run of 6 crosses into the second row, a raw packet of 6 has
    // only 2 places left and the rest of it is never read.
    Bytes bytes = header(RUN_LENGTH, 4, 2, 24, 0);
    bytes.push_back(0x85);
    append(bytes, bgr(1, 2, 3));
    bytes.push_back(0x05);
    append(bytes, bgr(4, 5, 6));
    append(bytes, bgr(7, 8, 9));
    TGAImage image;
    ASSERT_TRUE(decodeInto(image, bytes).succeeded);
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(pixelAt(image, x, 0), (Pixel{1, 2, 3, 255}));
    }
    EXPECT_EQ(pixelAt(image, 0, 1), (Pixel{1, 2, 3, 255}));
    EXPECT_EQ(pixelAt(image, 1, 1), (Pixel{1, 2, 3, 255}));
    EXPECT_EQ(pixelAt(image, 2, 1), (Pixel{4, 5, 6, 255}));
    EXPECT_EQ(pixelAt(image, 3, 1), (Pixel{7, 8, 9, 255}));
}

TEST(TGAImage, RawPacketReadsEachPixelTopDownWithAlpha) {
    Bytes bytes = header(RUN_LENGTH, 3, 2, 32, TOP_DOWN | ALPHA_BITS);
    bytes.push_back(0x05);
    for (std::uint8_t i = 0; i < 6; ++i) {
        append(bytes, {i, i, i, std::uint8_t(100 + i)});
    }
    TGAImage image;
    ASSERT_TRUE(decodeInto(image, bytes).succeeded);
    // The file's first row is the top of the picture.
    EXPECT_EQ(pixelAt(image, 0, 1), (Pixel{0, 0, 0, 100}));
    EXPECT_EQ(pixelAt(image, 2, 1), (Pixel{2, 2, 2, 102}));
    EXPECT_EQ(pixelAt(image, 0, 0), (Pixel{3, 3, 3, 103}));
    EXPECT_EQ(pixelAt(image, 2, 0), (Pixel{5, 5, 5, 105}));
}

TEST(TGAImage, IdFieldOnlyMovesThePixelData) {
    Bytes bytes = header(UNCOMPRESSED, 1, 1, 24, 0, 5);
    append(bytes, bgr(9, 8, 7));
    TGAImage image;
    ASSERT_TRUE(decodeInto(image, bytes).succeeded);
    EXPECT_EQ(pixelAt(image, 0, 0), (Pixel{9, 8, 7, 255}));
}

TEST(TGAImage, ZeroWidthOrHeightGivesAnEmptyImageWithoutPixelData) {
    TGAImage noWidth;
    ASSERT_TRUE(decodeInto(noWidth, header(UNCOMPRESSED, 0, 5, 24, 0)).succeeded);
    EXPECT_EQ(noWidth.getWidth(), 0);
    EXPECT_EQ(noWidth.getHeight(), 5);

    TGAImage noHeight;
    ASSERT_TRUE(decodeInto(noHeight, header(RUN_LENGTH, 5, 0, 24, TOP_DOWN)).succeeded);
    EXPECT_EQ(noHeight.getWidth(), 5);
    EXPECT_EQ(noHeight.getHeight(), 0);
}

TEST(TGAImage, FileCutShortRepeatsTheLastPixelDecoded) {
    Bytes raw = header(UNCOMPRESSED, 3, 1, 24, 0);
    append(raw, bgr(10, 20, 30));
    // Only the blue byte of the second pixel is left: it replaces blue alone.
    raw.push_back(99);
    TGAImage rawImage;
    ASSERT_TRUE(decodeInto(rawImage, raw).succeeded);
    EXPECT_EQ(pixelAt(rawImage, 0, 0), (Pixel{10, 20, 30, 255}));
    EXPECT_EQ(pixelAt(rawImage, 1, 0), (Pixel{10, 20, 99, 255}));
    EXPECT_EQ(pixelAt(rawImage, 2, 0), (Pixel{10, 20, 99, 255}));

    // A run-length file cut after its first packet: the missing headers and
    // pixels keep their last values.
    Bytes encoded = header(RUN_LENGTH, 8, 2, 24, 0);
    encoded.push_back(0x01);
    append(encoded, bgr(1, 1, 1));
    append(encoded, bgr(5, 6, 7));
    TGAImage encodedImage;
    ASSERT_TRUE(decodeInto(encodedImage, encoded).succeeded);
    EXPECT_EQ(pixelAt(encodedImage, 0, 0), (Pixel{1, 1, 1, 255}));
    for (int i = 1; i < 16; ++i) {
        EXPECT_EQ(pixelAt(encodedImage, i % 8, i / 8), (Pixel{5, 6, 7, 255})) << i;
    }
}

TEST(TGAImage, FailuresGiveTheirLineOnTheirStream) {
    struct Case {
        const char* name;
        Bytes bytes;
        platform::OutputStream stream;
        std::string message;
    };
    Bytes depthEight = header(UNCOMPRESSED, 1, 1, 8, 0x10);
    append(depthEight, {1});
    Bytes rightToLeft = header(UNCOMPRESSED, 1, 1, 24, 0x10);
    append(rightToLeft, bgr(1, 2, 3));
    Bytes rightToLeftTopDown = header(UNCOMPRESSED, 1, 1, 24, 0x30);
    append(rightToLeftTopDown, bgr(1, 2, 3));
    Bytes headerCut = header(UNCOMPRESSED, 1, 1, 24, 0);
    headerCut.resize(17);
    Bytes noFirstPixel = header(UNCOMPRESSED, 1, 1, 24, 0);
    append(noFirstPixel, {1, 2});
    Bytes noFirstRunPixel = header(RUN_LENGTH, 1, 1, 24, 0);
    append(noFirstRunPixel, bgr(1, 2, 3));
    Bytes huge = header(UNCOMPRESSED, 65535, 65535, 24, 0);
    huge.push_back(0);

    const platform::OutputStream out = platform::OutputStream::StandardOutput;
    const platform::OutputStream err = platform::OutputStream::StandardError;
    const std::vector<Case> cases = {
        // The depth is checked before the row order.
        {"depth", depthEight, out, "Image has less / equal 8 Bits!"},
        {"rightToLeft", rightToLeft, err, "TGALoader#Error: Unrecognized screenDestination!"},
        {"rightToLeftTopDown", rightToLeftTopDown, err, "TGALoader#Error: Unrecognized screenDestination!"},
        {"headerCut", headerCut, err, "Error! Broken image file: test.tga (it ends inside its 18-byte TGA header)"},
        {"noFirstPixel", noFirstPixel, err, "Error! Broken image file: test.tga (it ends before its first pixel)"},
        {"noFirstRunPixel", noFirstRunPixel, err,
         "Error! Broken image file: test.tga (it ends before its first pixel)"},
        {"huge", huge, err,
         "Error! Broken image file: test.tga (65535 x 65535 pixels need more than the 256 MiB an image may "
         "take)"},
    };
    for (const Case& c : cases) {
        TGAImage image;
        TGADecodeResult result = decodeInto(image, c.bytes);
        EXPECT_FALSE(result.succeeded) << c.name;
        EXPECT_EQ(result.stream, c.stream) << c.name;
        EXPECT_EQ(result.message, c.message) << c.name;
    }
}

TEST(TGAImage, ConstructorReadsTheFileOrEndsTheProcessWithStatusOne) {
    TempDir folder;
    Bytes good = header(UNCOMPRESSED, 1, 1, 24, 0);
    append(good, bgr(3, 2, 1));
    folder.write("good.tga", good);
    Bytes shallow = header(UNCOMPRESSED, 1, 1, 8, 0);
    append(shallow, {1});
    folder.write("shallow.tga", shallow);

    TGAImage image(folder.file("good.tga").c_str());
    EXPECT_EQ(pixelAt(image, 0, 0), (Pixel{3, 2, 1, 255}));
    EXPECT_EQ(image.textureId, 0u);

    testexit::Outcome missing = testexit::run([] { TGAImage("data/tex/c/nobody.tga"); });
    EXPECT_TRUE(missing.exited);
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.standardError, "Error! Cannot find file: data/tex/c/nobody.tga\n");
    EXPECT_EQ(missing.standardOutput, "");

    testexit::Outcome folderInstead = testexit::run([&] { TGAImage(folder.path().c_str()); });
    EXPECT_EQ(folderInstead.standardError, "Error! Cannot find file: " + folder.path() + "\n");
    // A FIFO would block the open for ever; it is no image file either.
    std::string fifoPath = folder.file("fifo.tga");
    ASSERT_EQ(mkfifo(fifoPath.c_str(), 0600), 0);
    testexit::Outcome fifo = testexit::run([&] { TGAImage(fifoPath.c_str()); });
    EXPECT_EQ(fifo.status, 1);
    EXPECT_EQ(fifo.standardError, "Error! Cannot find file: " + fifoPath + "\n");
    // A terabyte (sparse) is refused before a byte of it is read.
    std::string hugePath = folder.file("huge.tga");
    folder.write("huge.tga", good);
    std::filesystem::resize_file(hugePath, std::uintmax_t(1) << 40);
    testexit::Outcome huge = testexit::run([&] { TGAImage(hugePath.c_str()); });
    EXPECT_EQ(huge.status, 1);
    EXPECT_EQ(huge.standardError,
              "Error! Broken image file: " + hugePath + " (it is larger than the 320 MiB an image file may take)\n");

    std::string shallowPath = folder.file("shallow.tga");
    testexit::Outcome depth = testexit::run([&] { TGAImage(shallowPath.c_str()); });
    EXPECT_TRUE(depth.exited);
    EXPECT_EQ(depth.status, 1);
    EXPECT_EQ(depth.standardOutput, "Image has less / equal 8 Bits!\n");
    EXPECT_EQ(depth.standardError, "");
}
