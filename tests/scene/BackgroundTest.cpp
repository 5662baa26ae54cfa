// The background band through the real driver: it fills the view, shows the
// band that backgroundScroll selects, upright, and leaves depth to the scene.

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cmath>

#include "SceneTestFiles.h"
#include "app/RunState.h"
#include "scene/Background.h"
#include "support/GLTestWindow.h"
#include "support/TempDir.h"

namespace {

constexpr int COLUMNS = 64;
constexpr int ROWS = 16;

// Red climbs 4 per column, so the red of a pixel tells which s it shows;
// green marks the top half of the picture; blue is 0 everywhere, unlike the
// clear colour.
scenetest::Texel bandTexel(int column, int row) {
    return {static_cast<std::uint8_t>(column * 4), static_cast<std::uint8_t>(row >= ROWS / 2 ? 255 : 0), 0, 255};
}

// Red that linear filtering gives at texture coordinate s (away from the wrap).
double redAt(double s) {
    double within = s - static_cast<long>(s);
    return 4.0 * (within * COLUMNS - 0.5);
}

// The texture s shown at a window column: the rectangle spans x -320..320 at
// distance 500, where the 50 degree view of the 4:3 window is about 622 wide.
double sAtColumn(int column, double scroll) {
    const double halfView = 500.0 * std::tan(25.0 * M_PI / 180.0) * testgl::WINDOW_WIDTH / testgl::WINDOW_HEIGHT;
    const double x = ((column + 0.5) / testgl::WINDOW_WIDTH * 2.0 - 1.0) * halfView;
    return scroll + 0.3 * (x + 320.0) / 640.0;
}

class BackgroundTest : public testing::Test {
protected:
    void SetUp() override {
        testgl::prepareContext();
        folder.write("data/gfx/background.tga", scenetest::tgaFile(COLUMNS, ROWS, bandTexel));
        WorkingDirectory inFolder(folder.path());
        loadBackgroundTexture();
        backgroundScroll = 0.0f;
    }
    void TearDown() override { backgroundScroll = 0.0f; }

    int centreRed(float scroll) {
        backgroundScroll = scroll;
        testgl::clearBuffers();
        drawBackground();
        return testgl::readPixel(160, 200).r;
    }

    TempDir folder;
};

}  // namespace

TEST_F(BackgroundTest, FillsTheWholeViewUprightWithoutLightingOrDepth) {
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    drawBackground();

    std::vector<std::uint8_t> pixels = testgl::readPixels(0, 0, testgl::WINDOW_WIDTH, testgl::WINDOW_HEIGHT);
    int uncovered = 0;
    for (size_t i = 0; i < pixels.size(); i += 4) {
        uncovered += pixels[i + 2] != 0;
    }
    EXPECT_EQ(uncovered, 0);
    EXPECT_EQ(testgl::readPixel(160, 230).g, 255) << "top of the picture at the top";
    EXPECT_EQ(testgl::readPixel(160, 10).g, 0);

    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    // It moves no matrix: drawn at the identity it stays fixed on screen, and
    // the camera set up after it starts from the identity too.
    float modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(modelview[i], i % 5 == 0 ? 1.0f : 0.0f);
    }

    // No depth written: a quad far behind the background still shows.
    glDisable(GL_LIGHTING);
    glColor4f(1.0f, 0.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    glVertex3f(-10.0f, -10.0f, -900.0f);
    glVertex3f(10.0f, -10.0f, -900.0f);
    glVertex3f(10.0f, 10.0f, -900.0f);
    glVertex3f(-10.0f, 10.0f, -900.0f);
    glEnd();
    EXPECT_EQ(testgl::readPixel(160, 120).b, 255);
}

TEST_F(BackgroundTest, ShowsThePointThreeWideBandThatTheScrollSelects) {
    for (float scroll : {0.0f, 0.5f}) {
        backgroundScroll = scroll;
        testgl::clearBuffers();
        drawBackground();
        for (int column : {80, 160, 240}) {
            EXPECT_NEAR(testgl::readPixel(column, 200).r, redAt(sAtColumn(column, scroll)), 3.0)
                << "scroll " << scroll << ", column " << column;
        }
    }
    // The picture repeats: 2.75 shows what 0.75 shows.
    EXPECT_NEAR(centreRed(2.75f), centreRed(0.75f), 1.0);
}
