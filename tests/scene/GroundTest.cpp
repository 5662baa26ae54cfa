// The ground: the scroll wrap, where the 18 tiles lie, and how the bump
// program lights them through the real driver.

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "SceneTestFiles.h"
#include "ShowFacts.h"
#include "app/RunState.h"
#include "resource/ShaderProgram.h"
#include "scene/GroundMaterial.h"
#include "scene/Vec4.h"
#include "support/ExitCapture.h"
#include "support/GLTestWindow.h"
#include "support/TempDir.h"

using scenetest::Texel;

TEST(GroundScrollWrapTest, FoldsIntoOneTileWidthWithBothEndsIncluded) {
    EXPECT_EQ(wrapGroundScroll(0.0f), 0.0f);
    EXPECT_EQ(wrapGroundScroll(250.0f), 50.0f);
    EXPECT_EQ(wrapGroundScroll(-50.0f), 150.0f);
    EXPECT_EQ(wrapGroundScroll(400.0f), 200.0f);
    EXPECT_EQ(wrapGroundScroll(-200.0f), 0.0f);
    EXPECT_EQ(wrapGroundScroll(200.0f), 200.0f);
    EXPECT_EQ(wrapGroundScroll(-399.5f), 0.5f);
    EXPECT_NEAR(wrapGroundScroll(123456.75f), 56.75f, 0.01f);
}

TEST(GroundScrollWrapTest, EndsEvenWhereATileIsBelowFloatResolution) {
    for (float far : {1e10f, -1e10f, 3e38f}) {
        const float wrapped = wrapGroundScroll(far);
        EXPECT_GE(wrapped, 0.0f) << far;
        EXPECT_LE(wrapped, 200.0f) << far;
    }
}

namespace {

// A flat texel and texels tilted 45 degrees towards +s, -s, +t and -t.
const Texel FLAT{128, 128, 255, 255};
const Texel TOWARDS_PLUS_S{218, 128, 218, 255};
const Texel TOWARDS_MINUS_S{37, 128, 218, 255};
const Texel TOWARDS_PLUS_T{128, 218, 218, 255};
const Texel TOWARDS_MINUS_T{128, 37, 218, 255};

class GroundTest : public testing::Test {
protected:
    void SetUp() override {
        testgl::prepareContext();
        // A mid grey, so lighting neither saturates nor vanishes.
        folder.write("ground.tga", scenetest::plainTgaFile(4, 4, {100, 100, 100, 255}));
        material = new GroundMaterial(folder.file("ground.tga").c_str());
        groundMaterial = material;
        groundScroll = 0.0f;
    }
    void TearDown() override {
        groundMaterial = nullptr;
        delete material;
    }

    void useNormalMap(Texel normal) {
        const std::string name = "normals" + std::to_string(normalMaps++) + ".tga";
        folder.write(name, scenetest::plainTgaFile(4, 4, normal));
        material->loadNormalMap(folder.file(name).c_str());
    }

    // The ground as the frame draws it: fixed camera, light 0 placed in the
    // scene's frame, the bump program current, the ground 24 units down.
    void drawLitGround(Vec4 light) {
        WorkingDirectory inData(std::string(ZORBI_SOURCE_DIR) + "/data");
        testexit::Outcome build = testexit::run(buildBumpShader);
        ASSERT_FALSE(build.exited) << build.standardOutput;

        testgl::clearBuffers();
        glPushMatrix();
        glTranslatef(0.0f, cameraHeight, cameraDistance);
        glRotatef(cameraPitch, 1.0f, 0.0f, 0.0f);
        glLightfv(GL_LIGHT0, GL_POSITION, &light.x);
        glDisable(GL_LIGHTING);
        glUseProgramObjectARB(shaderProgram);
        glUniform1iARB(glGetUniformLocationARB(shaderProgram, "texture"), 0);
        glUniform1iARB(glGetUniformLocationARB(shaderProgram, "normalMapTexture"), 1);
        glTranslatef(0.0f, -GROUND_DEPTH, 0.0f);
        drawGround();
        glUseProgramObjectARB(0);
        glEnable(GL_LIGHTING);
        glPopMatrix();
    }

    TempDir folder;
    GroundMaterial* material = nullptr;
    int normalMaps = 0;
};

}  // namespace

TEST_F(GroundTest, TilesCoverTwelveHundredByTwelveHundredShiftedByTheWrappedScroll) {
    // Seen from straight above, 5 units a pixel: x -800..800 across, z -600
    // (top of the window) to 600 (bottom).
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-800.0, 800.0, -600.0, 600.0, -10.0, 10.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    glDisable(GL_LIGHTING);
    useNormalMap(FLAT);

    // 250 wraps to 50: the ground covers x -650..550 and z -200..400.
    groundScroll = 250.0f;
    drawGround();
    EXPECT_EQ(groundScroll, 250.0f);
    auto column = [](float x) { return static_cast<int>((x + 800.0f) / 5.0f); };
    auto row = [](float z) { return static_cast<int>((600.0f - z) / 5.0f); };
    const int clear = testgl::readPixel(2, 2).r;
    const int ground = testgl::readPixel(160, 120).r;
    ASSERT_NE(ground, clear);
    EXPECT_EQ(testgl::readPixel(column(-640.0f), row(0.0f)).r, ground);
    EXPECT_EQ(testgl::readPixel(column(-660.0f), row(0.0f)).r, clear);
    EXPECT_EQ(testgl::readPixel(column(540.0f), row(0.0f)).r, ground);
    EXPECT_EQ(testgl::readPixel(column(560.0f), row(0.0f)).r, clear);
    EXPECT_EQ(testgl::readPixel(column(0.0f), row(-190.0f)).r, ground);
    EXPECT_EQ(testgl::readPixel(column(0.0f), row(-210.0f)).r, clear);
    EXPECT_EQ(testgl::readPixel(column(0.0f), row(390.0f)).r, ground);
    EXPECT_EQ(testgl::readPixel(column(0.0f), row(410.0f)).r, clear);
    // Drawing leaves unit 0 active with texturing off, and the matrix as it was.
    GLint activeUnit = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &activeUnit);
    EXPECT_EQ(activeUnit, GL_TEXTURE0);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    float modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    EXPECT_NEAR(modelview[6], 1.0f, 1e-6f);  // still just the 90 degree turn
}

namespace {

// The lower part of the window, which the ground fills, split in thirds.
double leftBrightness() {
    return testgl::meanBrightness(10, 10, 90, 60);
}
double middleBrightness() {
    return testgl::meanBrightness(115, 10, 90, 60);
}
double rightBrightness() {
    return testgl::meanBrightness(220, 10, 90, 60);
}

const Vec4 SUN_AT_PLUS_X(200.0f, 100.0f, 0.0f, 1.0f);
const Vec4 SUN_AT_MINUS_X(-200.0f, 100.0f, 0.0f, 1.0f);
const Vec4 SUN_AT_PLUS_Z(0.0f, 100.0f, 200.0f, 1.0f);

}  // namespace

TEST_F(GroundTest, FlatGroundIsBrighterOnTheSideOfTheSun) {
    useNormalMap(FLAT);
    drawLitGround(SUN_AT_PLUS_X);
    EXPECT_GT(rightBrightness(), leftBrightness() + 20.0);

    drawLitGround(SUN_AT_MINUS_X);
    EXPECT_GT(leftBrightness(), rightBrightness() + 20.0);
}

TEST_F(GroundTest, ReliefTurnedTowardsTheSunAlongSIsBrighter) {
    useNormalMap(TOWARDS_PLUS_S);
    drawLitGround(SUN_AT_PLUS_X);
    const double facingSun = middleBrightness();
    drawLitGround(SUN_AT_MINUS_X);
    const double facingAway = middleBrightness();
    EXPECT_GT(facingSun, facingAway + 20.0);

    // The same sun on the opposite relief.
    useNormalMap(TOWARDS_MINUS_S);
    drawLitGround(SUN_AT_PLUS_X);
    EXPECT_GT(facingSun, middleBrightness() + 20.0);
}

TEST_F(GroundTest, ReliefTurnedTowardsTheSunAlongTIsBrighter) {
    // t grows towards +z, towards the camera; the sun stands on that side.
    useNormalMap(TOWARDS_PLUS_T);
    drawLitGround(SUN_AT_PLUS_Z);
    const double facingSun = middleBrightness();
    useNormalMap(TOWARDS_MINUS_T);
    drawLitGround(SUN_AT_PLUS_Z);
    EXPECT_GT(facingSun, middleBrightness() + 20.0);
}
