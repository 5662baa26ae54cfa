// The generated world textures, read from the ready-to-run folder through the
// program's own TGA loader.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <utility>

#include "resource/TGAImage.h"
#include "support/RunFolder.h"
#include "support/ShowExpectations.h"
#include "support/TempDir.h"

namespace {

std::string dataFile(const std::string& relativePath) {
    return readyToRunFolder() + "/" + relativePath;
}

std::unique_ptr<TGAImage> load(const std::string& relativePath) {
    return std::make_unique<TGAImage>(dataFile(relativePath).c_str());
}

int channel(TGAImage& image, int x, int y, int c) {
    return image.getPixels()[(y * image.getWidth() + x) * 4 + c];
}

enum class Lines { Columns, Rows };

// Mean absolute RGB difference between columns (or rows) a and b.
double lineStep(TGAImage& image, Lines lines, int a, int b) {
    const bool columns = lines == Lines::Columns;
    const int length = columns ? image.getHeight() : image.getWidth();
    double sum = 0.0;
    for (int along = 0; along < length; ++along) {
        for (int c = 0; c < 3; ++c) {
            sum += columns ? std::abs(channel(image, a, along, c) - channel(image, b, along, c))
                           : std::abs(channel(image, along, a, c) - channel(image, along, b, c));
        }
    }
    return sum / (length * 3);
}

// A seam shows as a step between the last and the first column (or row)
// that is larger than the steps between neighbours inside the picture.
void expectLinesWrap(TGAImage& image, Lines lines) {
    SCOPED_TRACE(lines == Lines::Columns ? "columns" : "rows");
    const int count = lines == Lines::Columns ? image.getWidth() : image.getHeight();
    double largestInside = 0.0;
    for (int i = 0; i + 1 < count; ++i) {
        largestInside = std::max(largestInside, lineStep(image, lines, i, i + 1));
    }
    const double seam = lineStep(image, lines, count - 1, 0);
    EXPECT_LE(seam, largestInside);
    EXPECT_LE(seam, 2.0 * lineStep(image, lines, count / 2 - 1, count / 2) + 1.0);
}

bool isPowerOfTwo(int value) {
    return value > 0 && (value & (value - 1)) == 0;
}

double brightness(TGAImage& image, int x, int y) {
    return channel(image, x, y, 0) + channel(image, x, y, 1) + channel(image, x, y, 2);
}

// The normal map's vector at a texel, decoded as bump.fsh does.
void normalAt(TGAImage& image, int x, int y, double normal[3]) {
    for (int c = 0; c < 3; ++c) {
        normal[c] = channel(image, x, y, c) / 255.0 * 2.0 - 1.0;
    }
}

}  // namespace

TEST(WorldTextures, EveryFileLoadsAtItsSize) {
    const std::pair<const char*, std::pair<int, int>> expected[] = {
        {BLOCK_TEXTURE_FILE, {64, 64}},
        {GROUND_TEXTURE_FILE, {512, 512}},
        {GROUND_NORMAL_MAP_FILE, {512, 512}},
    };
    for (const auto& [path, size] : expected) {
        auto image = load(path);
        EXPECT_EQ(image->getWidth(), size.first) << path;
        EXPECT_EQ(image->getHeight(), size.second) << path;
    }
    // The background: powers of two, so the mipmap builder does not resample
    // it, and a 0.3-wide band covers an 800-pixel-wide window without magnifying.
    auto background = load(BACKGROUND_TEXTURE_FILE);
    EXPECT_TRUE(isPowerOfTwo(background->getWidth()));
    EXPECT_TRUE(isPowerOfTwo(background->getHeight()));
    EXPECT_GE(0.3 * background->getWidth(), 800.0);
    EXPECT_GE(background->getHeight(), 600);
}

TEST(WorldTextures, TogetherTheyUseEveryStorageTheLoaderReads) {
    std::set<std::pair<int, int>> typeAndOrder;
    std::set<int> depths;
    for (const char* path :
         {BLOCK_TEXTURE_FILE, GROUND_TEXTURE_FILE, GROUND_NORMAL_MAP_FILE, BACKGROUND_TEXTURE_FILE}) {
        const std::string bytes = readWholeFile(dataFile(path));
        ASSERT_GE(bytes.size(), 18u) << path;
        const int imageType = static_cast<std::uint8_t>(bytes[2]);
        const int screenDestination = (static_cast<std::uint8_t>(bytes[17]) >> 4) & 3;
        typeAndOrder.insert({imageType, screenDestination});
        depths.insert(static_cast<std::uint8_t>(bytes[16]));
    }
    const std::set<std::pair<int, int>> all = {{2, 0}, {2, 2}, {10, 0}, {10, 2}};
    EXPECT_EQ(typeAndOrder, all);
    EXPECT_EQ(depths, (std::set<int>{24, 32}));
}

TEST(WorldTextures, GroundAndNormalMapTileWithoutASeam) {
    for (const char* path : {GROUND_TEXTURE_FILE, GROUND_NORMAL_MAP_FILE}) {
        SCOPED_TRACE(path);
        auto image = load(path);
        expectLinesWrap(*image, Lines::Columns);
        expectLinesWrap(*image, Lines::Rows);
    }
}

TEST(WorldTextures, NormalMapHoldsUnitNormalsFacingOutOfTheGroundWithClearRelief) {
    auto normalMap = load(GROUND_NORMAL_MAP_FILE);
    int tilted = 0;
    const int texels = normalMap->getWidth() * normalMap->getHeight();
    for (int y = 0; y < normalMap->getHeight(); ++y) {
        for (int x = 0; x < normalMap->getWidth(); ++x) {
            double n[3];
            normalAt(*normalMap, x, y, n);
            const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
            ASSERT_NEAR(length, 1.0, 0.02) << x << "," << y;
            ASSERT_GT(n[2], 0.0) << x << "," << y;
            // More than 20 degrees off the flat.
            if (n[2] < 0.94) {
                ++tilted;
            }
        }
    }
    EXPECT_GT(tilted, texels / 10);
    EXPECT_LT(tilted, texels / 2);
}

// The stones are lighter than the mortar and stand above it, so where the
// colour map brightens towards +s the surface rises towards +s and its normal
// leans towards -s (red below 128); the same holds along +t (green), with rows
// counted from the bottom as bump.fsh reads them.
TEST(WorldTextures, NormalMapLeansAwayFromWhereTheColourMapRises) {
    auto colour = load(GROUND_TEXTURE_FILE);
    auto normalMap = load(GROUND_NORMAL_MAP_FILE);
    const int size = colour->getWidth();
    double alongS = 0.0;
    double alongT = 0.0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double n[3];
            normalAt(*normalMap, x, y, n);
            const double riseS = brightness(*colour, (x + 1) % size, y) - brightness(*colour, (x + size - 1) % size, y);
            const double riseT = brightness(*colour, x, (y + 1) % size) - brightness(*colour, x, (y + size - 1) % size);
            alongS += riseS * n[0];
            alongT += riseT * n[1];
        }
    }
    EXPECT_LT(alongS, 0.0);
    EXPECT_LT(alongT, 0.0);
}

TEST(WorldTextures, BackgroundEdgesMeetAndItIsOpaqueSkyOverHills) {
    auto background = load(BACKGROUND_TEXTURE_FILE);
    expectLinesWrap(*background, Lines::Columns);
    const int width = background->getWidth();
    const int height = background->getHeight();
    double topBlue = 0.0;
    double topRed = 0.0;
    double bottomGreen = 0.0;
    double bottomBlue = 0.0;
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            // Its alpha blends with the clear colour: it must hide it everywhere.
            ASSERT_EQ(channel(*background, x, y, 3), 255) << x << "," << y;
        }
        topRed += channel(*background, x, height - 1, 0);
        topBlue += channel(*background, x, height - 1, 2);
        bottomGreen += channel(*background, x, 0, 1);
        bottomBlue += channel(*background, x, 0, 2);
    }
    EXPECT_GT(topBlue, 1.5 * topRed);
    EXPECT_GT(bottomGreen, 1.5 * bottomBlue);
}

TEST(WorldTextures, BlockHasADarkRimSoNeighbouringBlocksStayApart) {
    auto block = load(BLOCK_TEXTURE_FILE);
    double rim = 0.0;
    int rimTexels = 0;
    double inside = 0.0;
    int insideTexels = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const bool onRim = x == 0 || y == 0 || x == 63 || y == 63;
            (onRim ? rim : inside) += brightness(*block, x, y);
            ++(onRim ? rimTexels : insideTexels);
        }
    }
    EXPECT_LT(rim / rimTexels, 0.75 * inside / insideTexels);
}
