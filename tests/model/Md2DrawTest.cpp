#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "formats/TgaWriter.h"
#include "model/Md2Model.h"
#include "resource/TGAImage.h"
#include "resource/TextureUpload.h"
#include "support/GLTestWindow.h"
#include "support/Md2FileBuilder.h"

using namespace md2test;

namespace {

// The camera looks down -z from the origin with a 50 degree field of view:
// at depth 10 the window spans about +-6.2 across and +-4.7 up, so one unit
// there is about 25.7 pixels.
constexpr float DEPTH = -10.0f;
constexpr int CENTRE_X = testgl::WINDOW_WIDTH / 2;
constexpr int CENTRE_Y = testgl::WINDOW_HEIGHT / 2;
constexpr double DRAWN = 80.0;  // brightness; the clear colour is about 25

// A frame holding a square of side 2 centred at (centreX, 0, DEPTH), corners
// bottom left, top left, top right, bottom right: clockwise on screen.
Frame squareFrame(const std::string& name, float centreX) {
    Frame frame = gridFrame(name);
    frame.vertices = {sceneVertex(centreX - 1, -1, DEPTH), sceneVertex(centreX - 1, 1, DEPTH),
                      sceneVertex(centreX + 1, 1, DEPTH), sceneVertex(centreX + 1, -1, DEPTH)};
    return frame;
}

// A fan over the square; MD2 texture coordinates count t down from the top
// of the skin, so the top corners take t 0.25 and the bottom ones 0.75.
Md2FileBuilder squareModel(const std::vector<float>& frameCentres, bool clockwise = true) {
    Md2FileBuilder file;
    file.vertexCount = 4;
    for (size_t i = 0; i < frameCentres.size(); ++i) {
        file.frames.push_back(squareFrame("square" + std::to_string(i + 1), frameCentres[i]));
    }
    file.triangles = {{0, 1, 2}, {0, 2, 3}};
    std::vector<CommandVertex> fan = {{0.25f, 0.75f, 0}, {0.25f, 0.25f, 1}, {0.75f, 0.25f, 2}, {0.75f, 0.75f, 3}};
    if (!clockwise) {
        fan = {fan[0], fan[3], fan[2], fan[1]};
    }
    file.addPrimitive(fan, Primitive::Fan);
    file.endCommands();
    return file;
}

void load(Md2Model& model, const Md2FileBuilder& file) {
    std::vector<std::uint8_t> bytes = file.bytes();
    ASSERT_EQ(model.parse(bytes.data(), bytes.size(), "square.md2").status, Md2ParseStatus::Loaded);
}

// An 8 x 8 skin whose lower half is `bottom` and upper half `top` (RGB).
GLuint uploadSkin(std::vector<std::uint8_t> bottom, std::vector<std::uint8_t> top) {
    Picture skin(8, 8);
    for (int y = 0; y < 8; ++y) {
        const std::vector<std::uint8_t>& colour = y < 4 ? bottom : top;
        for (int x = 0; x < 8; ++x) {
            std::copy(colour.begin(), colour.end(), skin.at(x, y));
        }
    }
    std::vector<std::uint8_t> bytes = encodeTga(skin, {});
    TGAImage image;
    EXPECT_TRUE(image.decode(bytes.data(), bytes.size(), "skin.tga").succeeded);
    return uploadTexture(image, UploadKind::Mipmaps, GL_NEAREST, NameRecord::CallerOnly);
}

double brightnessAt(int x, int y) {
    return testgl::meanBrightness(x - 2, y - 2, 5, 5);
}

}  // namespace

TEST(Md2Draw, TwoFramesAtBlendHalfLandHalfWay) {
    testgl::prepareContext();
    Md2Model model;
    load(model, squareModel({-3.0f, 3.0f}));
    model.setTexture(uploadSkin({255, 255, 255}, {255, 255, 255}));
    AnimationState state;
    model.setAnimation(state, 0);
    state.currentFrame = 0;
    state.nextFrame = 1;

    model.draw(0.0f);
    EXPECT_GT(brightnessAt(CENTRE_X - 77, CENTRE_Y), DRAWN);
    EXPECT_LT(brightnessAt(CENTRE_X, CENTRE_Y), DRAWN);

    // A time of 0 does not advance: the stored blend is drawn as it is.
    testgl::clearBuffers();
    state.blend = 0.5f;
    model.draw(0.0f);
    EXPECT_EQ(state.blend, 0.5f);
    EXPECT_EQ(state.currentFrame, 0);
    EXPECT_GT(brightnessAt(CENTRE_X, CENTRE_Y), DRAWN);
    EXPECT_LT(brightnessAt(CENTRE_X - 77, CENTRE_Y), DRAWN);
    EXPECT_LT(brightnessAt(CENTRE_X + 77, CENTRE_Y), DRAWN);
}

TEST(Md2Draw, TheSkinAppearsTheRightWayUp) {
    testgl::prepareContext();
    Md2Model model;
    load(model, squareModel({0.0f}));
    model.setTexture(uploadSkin({0, 0, 255}, {255, 0, 0}));
    AnimationState state;
    model.setAnimation(state, 0);
    model.draw(1.0f);

    testgl::Rgba upper = testgl::readPixel(CENTRE_X, CENTRE_Y + 12);
    testgl::Rgba lower = testgl::readPixel(CENTRE_X, CENTRE_Y - 12);
    EXPECT_GT(upper.r, 150);
    EXPECT_LT(upper.b, 60);
    EXPECT_GT(lower.b, 150);
    EXPECT_LT(lower.r, 60);

    // Negated, not 1 - t: under the skin's repeat both look alike, but the
    // coordinates themselves differ (0.25 and 0.75 in the file).
    std::vector<GLfloat> feedback(256);
    glFeedbackBuffer(static_cast<GLsizei>(feedback.size()), GL_3D_COLOR_TEXTURE, feedback.data());
    glRenderMode(GL_FEEDBACK);
    model.draw(1.0f);
    GLint values = glRenderMode(GL_RENDER);
    // Each polygon: token, vertex count 3, then x, y, z, RGBA and s, t, r, q per vertex.
    std::set<float> tSeen;
    ASSERT_GT(values, 0);
    for (GLint at = 0; at + 2 < values; at += 2 + 3 * 11) {
        ASSERT_EQ(feedback[at], GLfloat(GL_POLYGON_TOKEN));
        for (int vertex = 0; vertex < 3; ++vertex) {
            tSeen.insert(feedback[at + 2 + vertex * 11 + 8]);
        }
    }
    EXPECT_EQ(tSeen, (std::set<float>{-0.75f, -0.25f}));

    // The draw leaves white, texturing off and the caller's polygon state.
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    GLint frontFace = 0;
    glGetIntegerv(GL_FRONT_FACE, &frontFace);
    EXPECT_EQ(frontFace, GL_CCW);
}

TEST(Md2Draw, CounterClockwiseFacesAreCulled) {
    testgl::prepareContext();
    Md2Model model;
    load(model, squareModel({0.0f}, false));
    model.setTexture(uploadSkin({255, 255, 255}, {255, 255, 255}));
    AnimationState state;
    model.setAnimation(state, 0);
    model.draw(1.0f);
    model.drawShadow(1.0f);
    EXPECT_LT(brightnessAt(CENTRE_X, CENTRE_Y), DRAWN);
}

TEST(Md2Draw, ShadowDrawTakesTheCallersColour) {
    testgl::prepareContext();
    Md2Model model;
    load(model, squareModel({0.0f}));
    AnimationState state;
    model.setAnimation(state, 0);
    glDisable(GL_LIGHTING);
    glColor3f(0.0f, 1.0f, 0.0f);
    model.drawShadow(1.0f);
    testgl::Rgba centre = testgl::readPixel(CENTRE_X, CENTRE_Y);
    EXPECT_EQ(centre.r, 0);
    EXPECT_EQ(centre.g, 255);
    EXPECT_EQ(centre.b, 0);
}

TEST(Md2Draw, ModelsWithoutCommandsFramesOrAcceptedHeaderDrawNothing) {
    testgl::prepareContext();
    GLuint white = uploadSkin({255, 255, 255}, {255, 255, 255});

    Md2FileBuilder noCommands = squareModel({0.0f});
    noCommands.commandWords.clear();
    Md2FileBuilder noFrames = squareModel({});
    Md2Model withoutCommands, withoutFrames, rejected;
    load(withoutCommands, noCommands);
    load(withoutFrames, noFrames);
    for (Md2Model* model : {&withoutCommands, &withoutFrames, &rejected}) {
        model->setTexture(white);
        AnimationState state;
        model->setAnimation(state, 0);
        model->draw(1.0f);
        model->drawShadow(1.0f);
        model->state = nullptr;
    }
    EXPECT_LT(brightnessAt(CENTRE_X, CENTRE_Y), DRAWN);
}
