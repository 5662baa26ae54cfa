// Blocks drawn by the real driver: where they are, which faces exist, how the
// shared texture looks on them.

#include <GL/glew.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <tuple>

#include "SceneTestFiles.h"
#include "scene/Block.h"
#include "support/ExitCapture.h"
#include "support/GLTestWindow.h"
#include "support/TempDir.h"

using scenetest::Texel;

namespace {

const Texel RED{255, 0, 0, 255};
const Texel GREEN{0, 255, 0, 255};
const Texel BLUE{0, 0, 255, 255};
const Texel WHITE{255, 255, 255, 255};

// 2 x 2 texels: red bottom left, green bottom right, blue top left, white top right.
Texel quadrantTexel(int column, int row) {
    if (row == 0) {
        return column == 0 ? RED : GREEN;
    }
    return column == 0 ? BLUE : WHITE;
}

class BlockTest : public testing::Test {
protected:
    void SetUp() override {
        testgl::prepareContext();
        folder.write("data/tex/g/block.tga", scenetest::tgaFile(2, 2, quadrantTexel));
        // Each test makes the shared texture afresh from its own file.
        Block::blockTexture = 0;
        glDisable(GL_LIGHTING);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    }

    // Looks along -z with 4 pixels per world unit: x 0 to 80 and y 10 to 70
    // fill the 320 x 240 window.
    void frontView() {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0.0, 80.0, 10.0, 70.0, 0.0, 1000.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    TempDir folder;
};

bool isPure(const testgl::Rgba& pixel) {
    auto pure = [](int channel) { return channel == 0 || channel == 255; };
    return pure(pixel.r) && pure(pixel.g) && pure(pixel.b);
}

void expectColour(const testgl::Rgba& pixel, const Texel& colour, const char* where) {
    EXPECT_EQ(std::make_tuple(pixel.r, pixel.g, pixel.b), std::make_tuple(int(colour.r), int(colour.g), int(colour.b)))
        << where;
}

}  // namespace

TEST_F(BlockTest, FrontFaceCoversTheCubeAndShowsTheTextureUprightWithHardTexels) {
    Block* block;
    {
        WorkingDirectory inFolder(folder.path());
        block = new Block(40.0f, 40.0f, -150.0f);
    }
    frontView();
    block->draw();

    // The face spans x 30..50 and y 30..50: pixels 120..200 across, 80..160 up.
    expectColour(testgl::readPixel(125, 85), RED, "bottom left");
    expectColour(testgl::readPixel(195, 85), GREEN, "bottom right");
    expectColour(testgl::readPixel(125, 155), BLUE, "top left");
    expectColour(testgl::readPixel(195, 155), WHITE, "top right");
    const testgl::Rgba clear = testgl::readPixel(5, 5);
    for (auto [x, y] : {std::pair{117, 120}, {203, 120}, {160, 77}, {160, 163}}) {
        EXPECT_EQ(testgl::readPixel(x, y).r, clear.r) << "outside the block at " << x << "," << y;
    }

    // Nearest filtering: 40 x 40 pixels per texel and not one blended pixel.
    std::vector<std::uint8_t> face = testgl::readPixels(121, 81, 78, 78);
    int blended = 0;
    for (size_t i = 0; i < face.size(); i += 4) {
        blended += !isPure({face[i], face[i + 1], face[i + 2], face[i + 3]});
    }
    EXPECT_EQ(blended, 0);
    delete block;
}

TEST_F(BlockTest, EveryFaceShowsTheWholeTextureFromItsFirstCorner) {
    Block* block;
    {
        WorkingDirectory inFolder(folder.path());
        block = new Block(0.0f, 0.0f, 0.0f);
    }
    struct FaceView {
        const char* name;
        float normal[3];
        float corners[4][3];  // relative to the centre, in drawing order
    };
    // Corner by corner the texture's top left, bottom left, bottom right and top right.
    const Texel cornerTexels[4] = {BLUE, RED, GREEN, WHITE};
    const FaceView faces[] = {
        {"front", {0, 0, 1}, {{-1, 1, 1}, {-1, -1, 1}, {1, -1, 1}, {1, 1, 1}}},
        {"top", {0, 1, 0}, {{-1, 1, -1}, {-1, 1, 1}, {1, 1, 1}, {1, 1, -1}}},
        {"bottom", {0, -1, 0}, {{-1, -1, -1}, {-1, -1, 1}, {1, -1, 1}, {1, -1, -1}}},
        {"right", {1, 0, 0}, {{1, 1, 1}, {1, -1, 1}, {1, -1, -1}, {1, 1, -1}}},
        {"left", {-1, 0, 0}, {{-1, 1, 1}, {-1, -1, 1}, {-1, -1, -1}, {-1, 1, -1}}},
    };
    // 8 pixels per unit; each face is seen straight on from outside.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-20.0, 20.0, -15.0, 15.0, 1.0, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    for (const FaceView& face : faces) {
        testgl::clearBuffers();
        glLoadIdentity();
        bool vertical = face.normal[1] != 0.0f;
        gluLookAt(face.normal[0] * 100.0, face.normal[1] * 100.0, face.normal[2] * 100.0, 0.0, 0.0, 0.0, 0.0,
                  vertical ? 0.0 : 1.0, vertical ? -1.0 : 0.0);
        block->draw();

        GLdouble modelview[16], projection[16];
        GLint viewport[4];
        glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);
        auto onScreen = [&](const float* corner, double towardsCentre) {
            const double s = block->halfSize * (1.0 - towardsCentre);
            GLdouble x, y, z;
            gluProject(corner[0] * s, corner[1] * s, corner[2] * s, modelview, projection, viewport, &x, &y, &z);
            return std::pair{static_cast<int>(x), static_cast<int>(y)};
        };
        for (int corner = 0; corner < 4; ++corner) {
            // A quarter of the way in from the corner, so inside the corner's texel.
            auto [x, y] = onScreen(face.corners[corner], 0.5);
            std::string where = std::string(face.name) + " corner " + std::to_string(corner + 1);
            expectColour(testgl::readPixel(x, y), cornerTexels[corner], where.c_str());
        }
    }
    delete block;
}

TEST_F(BlockTest, TheSideFacingAwayFromTheCameraIsOpen) {
    folder.write("data/tex/g/block.tga", scenetest::plainTgaFile(2, 2, GREEN));
    Block* block;
    {
        WorkingDirectory inFolder(folder.path());
        block = new Block(0.0f, 0.0f, 0.0f);
    }
    // The block and a red marker inside it, on its centre plane z = 0.
    auto drawBlockWithMarker = [&] {
        block->draw();
        glColor4f(1.0f, 0.0f, 0.0f, 1.0f);
        glBegin(GL_QUADS);
        glVertex3f(-5.0f, -5.0f, 0.0f);
        glVertex3f(5.0f, -5.0f, 0.0f);
        glVertex3f(5.0f, 5.0f, 0.0f);
        glVertex3f(-5.0f, 5.0f, 0.0f);
        glEnd();
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    };
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-40.0, 40.0, -30.0, 30.0, 0.0, 1000.0);
    glMatrixMode(GL_MODELVIEW);

    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -500.0f);
    drawBlockWithMarker();
    expectColour(testgl::readPixel(160, 120), GREEN, "from the front the closed face hides the marker");

    testgl::clearBuffers();
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -500.0f);
    glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
    drawBlockWithMarker();
    expectColour(testgl::readPixel(160, 120), RED, "from behind the marker shows through the missing face");
    expectColour(testgl::readPixel(160 + 30, 120), GREEN, "beside the marker, the inside of the front face");
    delete block;
}

TEST_F(BlockTest, TextureIsMadeOnceAndBothDrawsRestoreTheirState) {
    WorkingDirectory inFolder(folder.path());
    Block first(40.0f, 40.0f, -150.0f);
    const unsigned int shared = Block::blockTexture;
    ASSERT_NE(shared, 0u);
    // Later blocks never look for the file again.
    std::remove("data/tex/g/block.tga");
    testexit::Outcome outcome = testexit::run([&] {
        Block second(60.0f, 40.0f, -150.0f);
        EXPECT_EQ(second.halfSize, 10.0f);
    });
    EXPECT_FALSE(outcome.exited) << outcome.standardError;
    EXPECT_EQ(Block::blockTexture, shared);

    float before[16], after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    glEnable(GL_TEXTURE_2D);
    first.draw();
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    glEnable(GL_TEXTURE_2D);
    first.drawShadow();
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(before[i], after[i]);
    }
}

TEST_F(BlockTest, ShadowDrawCoversTheSamePixelsAsTheSceneDraw) {
    WorkingDirectory inFolder(folder.path());
    Block block(40.0f, 40.0f, -150.0f);
    frontView();
    // Without texture coordinates of its own the whole shadow shows the one
    // texel at the coordinate current before the call (here the blue one).
    glTexCoord2f(0.25f, 0.75f);
    block.drawShadow();
    for (auto [x, y] : {std::pair{125, 85}, {195, 85}, {125, 155}, {195, 155}}) {
        expectColour(testgl::readPixel(x, y), BLUE, "a shadow quarter");
    }
    testgl::clearBuffers();

    // The shadow pass: half-transparent black, modulated by the texel at the
    // texture coordinate current before the call (here the white one).
    glColor4f(0.0f, 0.0f, 0.0f, 0.5f);
    glDisable(GL_DEPTH_TEST);
    glTexCoord2f(0.75f, 0.75f);
    block.drawShadow();
    glEnable(GL_DEPTH_TEST);
    const testgl::Rgba clear = testgl::readPixel(5, 5);
    const testgl::Rgba inside = testgl::readPixel(160, 120);
    EXPECT_NEAR(inside.r, clear.r / 2, 1);
    EXPECT_EQ(testgl::readPixel(117, 120).r, clear.r);
    EXPECT_NEAR(testgl::readPixel(123, 83).r, clear.r / 2, 1);
    EXPECT_EQ(testgl::readPixel(160, 163).r, clear.r);
}
