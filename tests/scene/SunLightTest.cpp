// The sun: its orbit, and its model drawn where the light is.

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "SceneTestFiles.h"
#include "scene/SunLight.h"
#include "support/GLTestWindow.h"
#include "support/Md2FileBuilder.h"
#include "support/TempDir.h"

namespace {

// A 2 x 2 square facing +z around the model's origin, wound both ways so it
// shows from either side, with frames enough for every animation.
std::vector<std::uint8_t> squareModel() {
    md2test::Md2FileBuilder file;
    file.vertexCount = 4;
    for (int i = 1; i <= 199; ++i) {
        md2test::Frame frame = md2test::gridFrame("glow" + std::to_string(i));
        frame.vertices = {md2test::sceneVertex(-1, -1, 0), md2test::sceneVertex(1, -1, 0),
                          md2test::sceneVertex(1, 1, 0), md2test::sceneVertex(-1, 1, 0)};
        file.frames.push_back(frame);
    }
    file.triangles = {{0, 1, 2}, {0, 2, 3}, {0, 2, 1}, {0, 3, 2}};
    file.addPrimitive({{0.5f, 0.5f, 0}, {0.5f, 0.5f, 1}, {0.5f, 0.5f, 3}, {0.5f, 0.5f, 2}}, md2test::Primitive::Strip);
    file.addPrimitive({{0.5f, 0.5f, 0}, {0.5f, 0.5f, 3}, {0.5f, 0.5f, 1}, {0.5f, 0.5f, 2}}, md2test::Primitive::Strip);
    file.endCommands();
    return file.bytes();
}

class SunLightTest : public testing::Test {
protected:
    void SetUp() override {
        testgl::prepareContext();
        folder.write("data/models/c/sun.md2", squareModel());
        folder.write("data/tex/c/sun.tga", scenetest::plainTgaFile(2, 2, {255, 255, 255, 255}));
        WorkingDirectory inFolder(folder.path());
        sun = new SunLight();
    }
    void TearDown() override { delete sun; }

    void expectPosition(float x, float y, float z) {
        EXPECT_NEAR(sun->position.x, x, 1e-4f);
        EXPECT_NEAR(sun->position.y, y, 1e-4f);
        EXPECT_NEAR(sun->position.z, z, 1e-4f);
        EXPECT_EQ(sun->position.w, 1.0f);
    }

    TempDir folder;
    SunLight* sun = nullptr;
};

const float PI = 3.14159265f;

}  // namespace

TEST_F(SunLightTest, StartsAtTheOriginAndOrbitsAtRadiusHundredUntilToldOtherwise) {
    ASSERT_NE(sun->actor, nullptr);
    EXPECT_TRUE(sun->enabled);
    EXPECT_EQ(sun->position.x, 0.0f);
    EXPECT_EQ(sun->position.y, 0.0f);
    EXPECT_EQ(sun->position.z, 0.0f);
    sun->update(0.0f);
    expectPosition(100.0f, 0.0f, 0.0f);
}

TEST_F(SunLightTest, CirclesItsCentreFromXTowardsZ) {
    sun->setCentre(0.0f, 100.0f, 0.0f);
    sun->setRadius(200.0f);
    EXPECT_EQ(sun->centre.w, 1.0f);
    sun->update(0.0f);
    expectPosition(200.0f, 100.0f, 0.0f);
    sun->update(PI / 2.0f);
    expectPosition(0.0f, 100.0f, 200.0f);
    sun->update(PI);
    expectPosition(-200.0f, 100.0f, 0.0f);
    // The angle is absolute: going back gives the same place again.
    sun->update(0.0f);
    expectPosition(200.0f, 100.0f, 0.0f);

    sun->setCentre(10.0f, 5.0f, -20.0f);
    sun->update(PI / 2.0f);
    expectPosition(10.0f, 5.0f, 180.0f);
}

TEST_F(SunLightTest, StandsStillWhileDisabled) {
    sun->setCentre(0.0f, 100.0f, 0.0f);
    sun->update(0.3f);
    const Vec4 before = sun->position;
    sun->enabled = false;
    sun->update(2.0f);
    EXPECT_EQ(sun->position.x, before.x);
    EXPECT_EQ(sun->position.z, before.z);
}

TEST_F(SunLightTest, ModelIsDrawnCentredOnTheLight) {
    glDisable(GL_LIGHTING);
    sun->position = Vec4(3.0f, 0.0f, -10.0f, 1.0f);
    float before[16], after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    sun->draw();
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(before[i], after[i]);
    }
    // At depth 10 one unit is about 26 pixels: the square spans 51 to 103
    // pixels right of the centre.
    const int centreX = testgl::WINDOW_WIDTH / 2, centreY = testgl::WINDOW_HEIGHT / 2;
    EXPECT_GT(testgl::meanBrightness(centreX + 75, centreY - 2, 5, 5), 200.0);
    EXPECT_LT(testgl::meanBrightness(centreX - 2, centreY - 2, 5, 5), 50.0);
    EXPECT_LT(testgl::meanBrightness(centreX + 75, centreY + 40, 5, 5), 50.0);
}
