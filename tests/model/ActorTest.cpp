#include <GL/glew.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/TgaWriter.h"
#include "model/Actor.h"
#include "support/ExitCapture.h"
#include "support/GLTestWindow.h"
#include "support/Md2FileBuilder.h"
#include "support/TempDir.h"

using namespace md2test;

namespace {

constexpr int CENTRE_X = testgl::WINDOW_WIDTH / 2;
constexpr int CENTRE_Y = testgl::WINDOW_HEIGHT / 2;
constexpr double DRAWN = 80.0;  // brightness; the clear colour is about 25
// One unit at depth 10 is about 25.7 pixels.
constexpr int TWO_UNITS = 51;

// A triangle pointing along +x from the origin, wound both ways so that it
// shows from either side: the model's front looks along +x.
std::vector<std::uint8_t> noseModel() {
    Md2FileBuilder file;
    file.vertexCount = 3;
    for (int i = 1; i <= 199; ++i) {
        Frame frame = gridFrame("nose" + std::to_string(i));
        frame.vertices = {sceneVertex(0, -1, 0), sceneVertex(0, 1, 0), sceneVertex(3, 0, 0)};
        file.frames.push_back(frame);
    }
    file.triangles = {{0, 1, 2}, {0, 2, 1}};
    file.addPrimitive({{0.5f, 0.5f, 0}, {0.5f, 0.5f, 1}, {0.5f, 0.5f, 2}}, Primitive::Strip);
    file.addPrimitive({{0.5f, 0.5f, 0}, {0.5f, 0.5f, 2}, {0.5f, 0.5f, 1}}, Primitive::Strip);
    file.endCommands();
    return file.bytes();
}

std::vector<std::uint8_t> whiteSkin() {
    return encodeTga(Picture(2, 2), {});
}

// A working folder holding the character's model and skin.
struct CharacterFolder {
    explicit CharacterFolder(const std::string& name, bool withSkin = true) {
        folder.write("data/models/c/" + name + ".md2", noseModel());
        if (withSkin) {
            folder.write("data/tex/c/" + name + ".tga", whiteSkin());
        }
    }
    TempDir folder;
    WorkingDirectory inside{folder.path()};
};

bool drawnAt(int x) {
    return testgl::meanBrightness(x - 2, CENTRE_Y - 2, 5, 5) > DRAWN;
}

}  // namespace

TEST(Actor, ConstructionLoadsModelAndSkinByName) {
    testgl::prepareContext();
    CharacterFolder files("sun");
    Actor actor("sun");
    ASSERT_NE(actor.model, nullptr);
    EXPECT_EQ(actor.model->vertexCount, 3);
    EXPECT_NE(actor.model->skinTexture, 0u);
    EXPECT_EQ(actor.animationState.animation, -1);
    EXPECT_EQ(actor.animationState.currentFrame, 0);
    EXPECT_EQ(actor.requestedAnimation, 0);
    EXPECT_EQ(actor.facing, 1);
    EXPECT_FALSE(actor.visible);
    EXPECT_EQ(actor.x, 0.0f);
    EXPECT_EQ(actor.z, 0.0f);

    // Every actor uploads its own skin, even for the same name.
    Actor twin("sun");
    EXPECT_NE(twin.model->skinTexture, actor.model->skinTexture);
}

TEST(Actor, NamesLongerThanThirtyOneCharactersMakeWholePaths) {
    testgl::prepareContext();
    const std::string name(60, 'k');
    CharacterFolder files(name);
    Actor actor(name.c_str());
    EXPECT_EQ(actor.model->vertexCount, 3);
}

TEST(Actor, MissingModelEndsTheProgramBeforeTheSkinIsRead) {
    testgl::prepareContext();
    TempDir empty;
    WorkingDirectory inside(empty.path());
    testexit::Outcome noModel = testexit::run([] { Actor actor("ghost"); });
    EXPECT_TRUE(noModel.exited);
    EXPECT_EQ(noModel.status, 1);
    EXPECT_EQ(noModel.standardError, "Error! Cannot find file: data/models/c/ghost.md2\n");

    CharacterFolder modelOnly("bare", false);
    testexit::Outcome noSkin = testexit::run([] { Actor actor("bare"); });
    EXPECT_EQ(noSkin.status, 1);
    EXPECT_EQ(noSkin.standardError, "Error! Cannot find file: data/tex/c/bare.tga\n");
}

TEST(Actor, FacingTurnsTheModelAboutTheUpAxis) {
    testgl::prepareContext();
    CharacterFolder files("nose");
    Actor actor("nose");
    actor.z = -10.0f;
    const int right = CENTRE_X + TWO_UNITS, left = CENTRE_X - TWO_UNITS;
    struct Case {
        int facing;
        float x;
        int column;
        bool drawn;
    };
    // Facing 1 and -1 point the nose to either side. Facing 0 points it at the
    // camera (+z): neither side. Seen off centre, at x = -4, a nose coming
    // closer reaches further out to the left than the body, and one going away
    // would stay between body and centre. Last, placed along x, with no culling
    // of its own.
    const Case cases[] = {
        {1, 0.0f, right, true},           {1, 0.0f, left, false},           {-1, 0.0f, right, false},
        {-1, 0.0f, left, true},           {0, 0.0f, right, false},          {0, 0.0f, left, false},
        {0, -4.0f, CENTRE_X - 135, true}, {0, -4.0f, CENTRE_X - 88, false}, {1, -2.0f, CENTRE_X - TWO_UNITS / 2, true}};
    for (const Case& c : cases) {
        testgl::clearBuffers();
        actor.facing = c.facing;
        actor.x = c.x;
        actor.draw(1.0f);
        EXPECT_EQ(drawnAt(c.column), c.drawn) << "facing " << c.facing << " at x " << c.x << ", column " << c.column;
    }
    actor.x = 1000.0f;
    actor.draw(1.0f);

    // The modelview matrix comes back as it was.
    GLfloat matrix[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    EXPECT_EQ(matrix[12], 0.0f);
    EXPECT_EQ(matrix[14], 0.0f);
}

TEST(Actor, RequestedAnimationIsReappliedOnEveryDraw) {
    testgl::prepareContext();
    CharacterFolder files("runner");
    Actor actor("runner");

    // Never asked: animation 0 from the first draw.
    actor.draw(0.5f);
    EXPECT_EQ(actor.animationState.animation, 0);

    // A scene draw then a shadow draw at one time step once, as one draw would.
    actor.setAnimation(1);
    actor.draw(1.0f);
    AnimationState afterScene = actor.animationState;
    actor.drawShadow(1.0f);
    EXPECT_EQ(actor.animationState.currentFrame, afterScene.currentFrame);
    EXPECT_EQ(actor.animationState.nextFrame, afterScene.nextFrame);
    EXPECT_EQ(actor.animationState.blend, afterScene.blend);

    // Asking again for the animation in effect does not restart it.
    actor.setAnimation(1);
    EXPECT_EQ(actor.animationState.nextFrame, afterScene.nextFrame);

    // A refused number plays 0 and stays requested.
    actor.setAnimation(25);
    EXPECT_EQ(actor.requestedAnimation, 25);
    EXPECT_EQ(actor.animationState.animation, 0);
    actor.drawShadow(2.0f);
    EXPECT_EQ(actor.animationState.animation, 0);
}
