// Whole frames drawn by the real frame code with the real data, read back
// from the back buffer and compared pixel by pixel.

#include <GL/glew.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "ShowFacts.h"
#include "app/RunState.h"
#include "app/SceneAssembly.h"
#include "demo/FrameComposition.h"
#include "model/Actor.h"
#include "model/Md2Model.h"
#include "scene/Background.h"
#include "scene/Block.h"
#include "scene/SunLight.h"
#include "support/GLTestWindow.h"
#include "support/ShowFixture.h"

namespace {

using Picture = std::vector<std::uint8_t>;
constexpr float FAR_AWAY = 5000.0f;

struct ScreenPoint {
    int x, y;
};

class FramePixels : public ShowFixture {
protected:
    void SetUp() override {
        ShowFixture::SetUp();
        // A still scene: animation time 0 never advances a model, so two
        // renders of one state are the same picture.
        elapsedSeconds = 0.0f;
        backupActor->visible = false;
        for (Block* block : blocks) {
            block->x = FAR_AWAY;
        }
        placeSun(0.0f, 200.0f, 0.0f);
    }

    void placeSun(float x, float y, float z) { sun->position = Vec4(x, y, z, 1.0f); }

    // Platform `slot` 20 units over the origin, 44 over the ground.
    void hangOverOrigin(int slot) {
        blocks[slot]->x = 0.0f;
        blocks[slot]->y = 20.0f;
        blocks[slot]->z = 0.0f;
    }

    Picture render() {
        testgl::clearBuffers();
        drawFrame();
        return testgl::readPixels(0, 0, testgl::WINDOW_WIDTH, testgl::WINDOW_HEIGHT);
    }

    // Where a point of the scene lands in the window, through the frame's camera.
    ScreenPoint project(float x, float y, float z) {
        GLdouble modelview[16], projection[16];
        GLint viewport[4];
        glPushMatrix();
        glLoadIdentity();
        glTranslatef(0.0f, cameraHeight, cameraDistance);
        glRotatef(cameraPitch, 1.0f, 0.0f, 0.0f);
        glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
        glPopMatrix();
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);
        GLdouble windowX, windowY, windowZ;
        gluProject(x, y, z, modelview, projection, viewport, &windowX, &windowY, &windowZ);
        return {static_cast<int>(windowX), static_cast<int>(windowY)};
    }
};

int brightnessAt(const Picture& picture, ScreenPoint at) {
    const std::uint8_t* pixel = &picture[(static_cast<size_t>(at.y) * testgl::WINDOW_WIDTH + at.x) * 4];
    return pixel[0] + pixel[1] + pixel[2];
}

bool samePixel(const Picture& a, const Picture& b, size_t pixel) {
    return a[pixel * 4] == b[pixel * 4] && a[pixel * 4 + 1] == b[pixel * 4 + 1] && a[pixel * 4 + 2] == b[pixel * 4 + 2];
}

// The ground lies GROUND_DEPTH below the actors' origin.
constexpr float GROUND_Y = -GROUND_DEPTH;

}  // namespace

// Slots 3 and 4 are hung at one place: the first shadow halves the ground's
// brightness, the second falls on it without darkening it again.
TEST_F(FramePixels, AShadowHalvesTheGroundAndOverlappingShadowsDarkenItOnce) {
    ScreenPoint underBlocks = project(0.0f, GROUND_Y, 0.0f);
    int before = brightnessAt(render(), underBlocks);
    ASSERT_GT(before, 60);
    for (int slot : {3, 4}) {
        hangOverOrigin(slot);
        EXPECT_NEAR(brightnessAt(render(), underBlocks), before / 2.0, 4.0) << "platforms 3 to " << slot;
    }
}

TEST_F(FramePixels, AShadowFallsWhereTheSunsRaysPastAPlatformMeetTheGround) {
    // The sun 100 up and 100 to the left: rays past the platform's top and
    // bottom edges reach the ground (24 below) from about x = 24 to x = 95.
    placeSun(-100.0f, 100.0f, 0.0f);
    Picture lit = render();
    hangOverOrigin(0);
    Picture shadowed = render();
    for (float x : {40.0f, 80.0f}) {
        ScreenPoint at = project(x, GROUND_Y, 0.0f);
        EXPECT_NEAR(brightnessAt(shadowed, at), brightnessAt(lit, at) / 2.0, 4.0) << "in the shadow at x " << x;
    }
    for (float x : {5.0f, 110.0f}) {
        ScreenPoint at = project(x, GROUND_Y, 0.0f);
        EXPECT_EQ(brightnessAt(shadowed, at), brightnessAt(lit, at)) << "beside the shadow at x " << x;
    }
}

TEST_F(FramePixels, GroundCoveredByAPlatformGetsNoShadow) {
    Block* front = blocks[0];
    Block* floating = blocks[1];
    placeSun(0.0f, 200.0f, -20.0f);
    Picture nothing = render();
    front->x = 0.0f;
    front->y = -14.0f;  // resting on the ground
    front->z = 0.0f;
    Picture frontOnly = render();
    front->x = FAR_AWAY;
    floating->x = 0.0f;
    floating->y = 40.0f;
    floating->z = -20.0f;
    Picture floatingOnly = render();
    front->x = 0.0f;
    Picture both = render();

    // Where the floating block darkens the bare ground and the front block is
    // drawn, the front block must come out unchanged.
    int overlap = 0;
    int darkenedPlatformPixels = 0;
    for (size_t pixel = 0; pixel < nothing.size() / 4; ++pixel) {
        bool platform = !samePixel(frontOnly, nothing, pixel);
        bool shadowOrBlock = !samePixel(floatingOnly, nothing, pixel);
        if (platform && shadowOrBlock) {
            ++overlap;
            darkenedPlatformPixels += !samePixel(both, frontOnly, pixel);
        }
    }
    ASSERT_GT(overlap, 50) << "the shadow should fall where the platform stands";
    EXPECT_EQ(darkenedPlatformPixels, 0);
}

TEST_F(FramePixels, HiddenActorsCastNoShadowAndAreNotDrawn) {
    placeSun(-200.0f, 100.0f, 0.0f);
    Picture empty = render();
    Actor* figure = actors[0];
    figure->x = 0.0f;
    figure->z = 0.0f;
    figure->visible = false;
    Picture hidden = render();
    EXPECT_EQ(hidden, empty);

    figure->visible = true;
    Picture shown = render();
    // The light stands to the left, so the shadow reaches out to the right.
    ScreenPoint inShadow = project(60.0f, GROUND_Y, 0.0f);
    EXPECT_LT(brightnessAt(shown, inShadow), brightnessAt(empty, inShadow) * 0.6);
}

// The background is drawn in eye space, before the camera is placed, so it
// stays fixed on screen: the frame's top rows, which nothing else reaches,
// are the background drawn alone.
TEST_F(FramePixels, TheBackgroundStaysFixedOnScreenWhereverTheCameraLooks) {
    placeSun(0.0f, 100.0f, 200.0f);
    const int topRows = 12;
    Picture frame = render();
    testgl::clearBuffers();
    drawBackground();
    Picture alone = testgl::readPixels(0, 0, testgl::WINDOW_WIDTH, testgl::WINDOW_HEIGHT);

    size_t firstTopPixel = static_cast<size_t>(testgl::WINDOW_HEIGHT - topRows) * testgl::WINDOW_WIDTH;
    for (size_t pixel = firstTopPixel; pixel < frame.size() / 4; ++pixel) {
        ASSERT_TRUE(samePixel(frame, alone, pixel)) << "pixel " << pixel;
    }
    EXPECT_NE(frame, alone) << "the frame should show the scene in front of the background";
}

TEST_F(FramePixels, TheSunIsDrawnUnlitAndCastsNoShadow) {
    const float sunX = -80.0f, sunY = 40.0f;
    placeSun(sunX, sunY, 0.0f);
    Picture withSun = render();
    Md2Model* body = sun->actor->model;
    body->scale = 0.0f;
    Picture withoutBody = render();
    body->scale = 1.0f;
    // Light 0 and the ambient light switched off: only unlit drawing keeps its colours.
    const GLfloat dark[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, dark);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, dark);
    glLightfv(GL_LIGHT0, GL_SPECULAR, dark);
    Picture inTheDark = render();
    testgl::prepareContext();

    // The body reaches no further than its farthest vertex from its centre.
    float reach = 0.0f;
    for (size_t i = 0; i + 2 < body->positions.size(); i += 3) {
        reach = std::max(reach, std::hypot(body->positions[i], body->positions[i + 1], body->positions[i + 2]));
    }
    ScreenPoint centre = project(sunX, sunY, 0.0f);
    ScreenPoint edge = project(sunX + reach, sunY, 0.0f);
    const int radius = std::abs(edge.x - centre.x) + 3;
    ASSERT_GT(centre.x - radius, 0);
    ASSERT_GT(centre.y - radius, 0);

    int bodyPixels = 0, darkened = 0, elsewhere = 0;
    for (size_t pixel = 0; pixel < withSun.size() / 4; ++pixel) {
        if (samePixel(withSun, withoutBody, pixel)) {
            continue;
        }
        int x = static_cast<int>(pixel % testgl::WINDOW_WIDTH), y = static_cast<int>(pixel / testgl::WINDOW_WIDTH);
        if (std::abs(x - centre.x) > radius || std::abs(y - centre.y) > radius) {
            ++elsewhere;
        } else {
            ++bodyPixels;
            darkened += !samePixel(withSun, inTheDark, pixel);
        }
    }
    ASSERT_GT(bodyPixels, 30) << "the sun should be seen";
    EXPECT_EQ(darkened, 0) << "the sun's colours should not depend on the light";
    EXPECT_EQ(elsewhere, 0) << "the sun's body should cast no shadow";
}
