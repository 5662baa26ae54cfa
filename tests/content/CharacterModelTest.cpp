// The generated characters, read from the ready-to-run folder through the
// program's own MD2 and TGA loaders: they load silently, carry the frames
// and animations the show plays, stand on the ground facing +x, are drawn
// from the outside, and are all different figures.

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ShowFacts.h"
#include "model/Actor.h"
#include "model/Md2Model.h"
#include "resource/TGAImage.h"
#include "support/ExitCapture.h"
#include "support/GLTestWindow.h"
#include "support/RunFolder.h"
#include "support/TempDir.h"

namespace {

const std::vector<std::string> FIGURES(std::begin(CAST_NAMES), std::end(CAST_NAMES));

// Frames of the runs the show plays.
constexpr int STAND_FIRST = animationRanges[STAND].firstFrame;
constexpr int STAND_LAST = animationRanges[STAND].lastFrame;
constexpr int RUN_FIRST = animationRanges[RUN].firstFrame;
constexpr int RUN_LAST = animationRanges[RUN].lastFrame;
constexpr int POINT_HOLD = 127;
static_assert(POINT_HOLD >= animationRanges[POINT].firstFrame && POINT_HOLD <= animationRanges[POINT].lastFrame);
constexpr float GROUND = -GROUND_DEPTH;

std::string modelPath(const std::string& name) {
    return readyToRunFolder() + "/data/models/c/" + name + ".md2";
}
std::string skinPath(const std::string& name) {
    return readyToRunFolder() + "/data/tex/c/" + name + ".tga";
}

struct Point {
    double x, y, z;
};

Point sub(const Point& a, const Point& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Point cross(const Point& a, const Point& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double dot(const Point& a, const Point& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

std::unique_ptr<Md2Model> loadModel(const std::string& name) {
    return std::make_unique<Md2Model>(modelPath(name).c_str());
}

Point position(const Md2Model& model, int frame, int vertex) {
    const float* p = &model.positions[(static_cast<size_t>(frame) * model.vertexCount + vertex) * 3];
    return {p[0], p[1], p[2]};
}

// Root-mean-square distance between the same vertices in two frames.
double frameDistance(const Md2Model& model, int a, int b) {
    double sum = 0.0;
    for (int v = 0; v < model.vertexCount; ++v) {
        Point d = sub(position(model, a, v), position(model, b, v));
        sum += dot(d, d);
    }
    return std::sqrt(sum / model.vertexCount);
}

// One corner of a primitive of the command list.
struct CommandCorner {
    float s, t;
    int vertex;
};

struct Primitive {
    bool fan;
    std::vector<CommandCorner> corners;
};

std::vector<Primitive> primitives(const Md2Model& model) {
    std::vector<Primitive> result;
    size_t word = 0;
    while (word < model.commands.size() && model.commands[word] != 0) {
        int count = model.commands[word++];
        Primitive primitive{count < 0, {}};
        for (int i = 0; i < std::abs(count); ++i) {
            CommandCorner corner;
            std::memcpy(&corner.s, &model.commands[word], 4);
            std::memcpy(&corner.t, &model.commands[word + 1], 4);
            corner.vertex = model.commands[word + 2];
            primitive.corners.push_back(corner);
            word += 3;
        }
        result.push_back(primitive);
    }
    return result;
}

// The triangles as OpenGL draws the strips and fans, in drawing winding.
std::vector<std::array<int, 3>> drawnTriangles(const Md2Model& model) {
    std::vector<std::array<int, 3>> triangles;
    for (const Primitive& p : primitives(model)) {
        const std::vector<CommandCorner>& c = p.corners;
        for (size_t i = 2; i < c.size(); ++i) {
            if (p.fan) {
                triangles.push_back({c[0].vertex, c[i - 1].vertex, c[i].vertex});
            } else if (i % 2 == 0) {
                triangles.push_back({c[i - 2].vertex, c[i - 1].vertex, c[i].vertex});
            } else {
                triangles.push_back({c[i - 1].vertex, c[i - 2].vertex, c[i].vertex});
            }
        }
    }
    return triangles;
}

// Six times the enclosed volume, positive when the faces that survive
// clockwise-front back-face culling are the outside ones. The program lights
// a triangle with -(p0 - p1) x (p1 - p2), which points out of such a face.
double outwardVolume(const Md2Model& model, int frame) {
    double volume = 0.0;
    for (const std::array<int, 3>& t : drawnTriangles(model)) {
        Point p0 = position(model, frame, t[0]);
        Point p1 = position(model, frame, t[1]);
        Point p2 = position(model, frame, t[2]);
        Point n = cross(sub(p0, p1), sub(p1, p2));
        Point centre{(p0.x + p1.x + p2.x) / 3.0, (p0.y + p1.y + p2.y) / 3.0, (p0.z + p1.z + p2.z) / 3.0};
        volume -= dot(centre, n);
    }
    return volume;
}

struct Extent {
    double low[3] = {1e9, 1e9, 1e9};
    double high[3] = {-1e9, -1e9, -1e9};
};

Extent frameExtent(const Md2Model& model, int frame) {
    Extent e;
    for (int v = 0; v < model.vertexCount; ++v) {
        Point p = position(model, frame, v);
        const double c[3] = {p.x, p.y, p.z};
        for (int k = 0; k < 3; ++k) {
            e.low[k] = std::min(e.low[k], c[k]);
            e.high[k] = std::max(e.high[k], c[k]);
        }
    }
    return e;
}

TEST(CharacterFiles, EveryModelAndSkinLoadsWithoutAMessage) {
    std::vector<std::string> names = FIGURES;
    names.push_back("zorbi_backup");
    names.push_back("sun");
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        int vertexCount = 0;
        int width = 0;
        int height = 0;
        testexit::Outcome outcome = testexit::run([&] {
            Md2Model model(modelPath(name).c_str());
            TGAImage skin(skinPath(name).c_str());
            vertexCount = model.vertexCount;
            width = skin.getWidth();
            height = skin.getHeight();
        });
        EXPECT_FALSE(outcome.exited);
        EXPECT_EQ(outcome.standardOutput, "");
        EXPECT_EQ(outcome.standardError, "");
        EXPECT_GT(vertexCount, 0);
        EXPECT_EQ(width, SKIN_SIZE);
        EXPECT_EQ(height, SKIN_SIZE);
    }
}

TEST(CharacterFiles, SkinsUseBothUncompressedAndRunLengthEncodedFiles) {
    std::set<int> imageTypes;
    for (const std::string& name : FIGURES) {
        std::ifstream file(skinPath(name), std::ios::binary);
        char header[18] = {};
        file.read(header, sizeof header);
        imageTypes.insert(static_cast<unsigned char>(header[2]));
    }
    EXPECT_EQ(imageTypes, (std::set<int>{2, 10}));
}

TEST(CharacterFiles, FiguresCarryTheFramesAndAnimationsOfTheShow) {
    for (const std::string& name : FIGURES) {
        SCOPED_TRACE(name);
        std::unique_ptr<Md2Model> model = loadModel(name);
        EXPECT_EQ(model->frameCount, KEYFRAME_COUNT);
        EXPECT_EQ(model->animationCount, 14);
        EXPECT_LE(model->vertexCount, Md2Model::MAX_VERTICES);
        size_t triangles = drawnTriangles(*model).size();
        EXPECT_GE(triangles, 400u);
        EXPECT_LE(triangles, 1500u);
    }
}

TEST(CharacterFiles, CommandListsAreRealStripsAndFansWithinTheSkin) {
    for (const std::string& name : FIGURES) {
        SCOPED_TRACE(name);
        std::unique_ptr<Md2Model> model = loadModel(name);
        std::vector<Primitive> list = primitives(*model);
        size_t corners = 0;
        bool fans = false;
        bool strips = false;
        for (const Primitive& p : list) {
            corners += p.corners.size();
            (p.fan ? fans : strips) = true;
            for (const CommandCorner& c : p.corners) {
                // Strictly inside: a coordinate on the edge would blend in the
                // opposite edge of the repeating skin.
                EXPECT_GT(c.s, 0.0f);
                EXPECT_LT(c.s, 1.0f);
                EXPECT_GT(c.t, 0.0f);
                EXPECT_LT(c.t, 1.0f);
                EXPECT_LT(c.vertex, model->vertexCount);
            }
        }
        EXPECT_TRUE(fans);
        EXPECT_TRUE(strips);
        EXPECT_GT(static_cast<double>(corners) / list.size(), 8.0);
        EXPECT_EQ(model->commands.back(), 0);
    }
}

TEST(CharacterShapes, FiguresStandOnTheGroundFiftyToSixtyUnitsTall) {
    for (const std::string& name : FIGURES) {
        SCOPED_TRACE(name);
        std::unique_ptr<Md2Model> model = loadModel(name);
        for (int frame = STAND_FIRST; frame <= STAND_LAST; ++frame) {
            Extent e = frameExtent(*model, frame);
            // Quantised to 255 steps of the frame's own height.
            double step = (e.high[1] - e.low[1]) / 255.0;
            EXPECT_NEAR(e.low[1], GROUND, step);
        }
        Extent rest = frameExtent(*model, 0);
        EXPECT_GE(rest.high[1] - rest.low[1], 49.0);
        EXPECT_LE(rest.high[1] - rest.low[1], 61.0);
    }
}

TEST(CharacterShapes, FiguresFacePositiveX) {
    for (const std::string& name : FIGURES) {
        SCOPED_TRACE(name);
        std::unique_ptr<Md2Model> model = loadModel(name);
        // The feet reach further forwards than backwards.
        double toes = -1e9;
        double heels = 1e9;
        for (int v = 0; v < model->vertexCount; ++v) {
            Point p = position(*model, 0, v);
            if (p.y < GROUND + 1.5) {
                toes = std::max(toes, p.x);
                heels = std::min(heels, p.x);
            }
        }
        EXPECT_GT(toes, -heels + 1.0);
        // Pointing stretches the hand out along +x: the vertex that moves
        // furthest from the rest pose moves forwards, not sideways.
        Point furthest{0.0, 0.0, 0.0};
        for (int v = 0; v < model->vertexCount; ++v) {
            Point d = sub(position(*model, POINT_HOLD, v), position(*model, 0, v));
            if (dot(d, d) > dot(furthest, furthest)) {
                furthest = d;
            }
        }
        EXPECT_GT(furthest.x, 8.0);
        EXPECT_GT(furthest.x, 2.0 * std::fabs(furthest.z));
    }
}

TEST(CharacterShapes, RunCycleLoopsFromItsLastFrameToItsFirst) {
    for (const std::string& name : FIGURES) {
        SCOPED_TRACE(name);
        std::unique_ptr<Md2Model> model = loadModel(name);
        double largestStep = 0.0;
        for (int frame = RUN_FIRST; frame < RUN_LAST; ++frame) {
            double step = frameDistance(*model, frame, frame + 1);
            EXPECT_GT(step, 0.5);
            largestStep = std::max(largestStep, step);
        }
        EXPECT_LE(frameDistance(*model, RUN_LAST, RUN_FIRST), 1.2 * largestStep);
        // And standing loops too: its last frame is next to its first.
        EXPECT_LT(frameDistance(*model, STAND_LAST, STAND_FIRST), 0.5);
    }
}

TEST(CharacterShapes, OutsideSurvivesBackFaceCulling) {
    for (const std::string& name : FIGURES) {
        SCOPED_TRACE(name);
        std::unique_ptr<Md2Model> model = loadModel(name);
        for (int frame : {0, RUN_FIRST, POINT_HOLD}) {
            EXPECT_GT(outwardVolume(*model, frame), 1000.0);
        }
    }
    std::unique_ptr<Md2Model> sun = loadModel("sun");
    EXPECT_EQ(sun->frameCount, 1);
    for (int v = 0; v < sun->vertexCount; ++v) {
        Point p = position(*sun, 0, v);
        const float* n = &sun->normals[static_cast<size_t>(v) * 3];
        // Drawn normals are the stored ones negated; they point away from the middle.
        EXPECT_GT(-(n[0] * p.x + n[1] * p.y + n[2] * p.z), 0.0);
        EXPECT_NEAR(std::sqrt(dot(p, p)), 12.0, 0.3);
    }
}

TEST(CharacterShapes, NoTwoCharactersAreTheSameMesh) {
    std::vector<std::unique_ptr<Md2Model>> models;
    for (const std::string& name : FIGURES) {
        models.push_back(loadModel(name));
    }
    for (size_t a = 0; a < models.size(); ++a) {
        for (size_t b = a + 1; b < models.size(); ++b) {
            SCOPED_TRACE(FIGURES[a] + " and " + FIGURES[b]);
            if (models[a]->vertexCount != models[b]->vertexCount) {
                continue;
            }
            double sum = 0.0;
            for (int v = 0; v < models[a]->vertexCount; ++v) {
                Point d = sub(position(*models[a], 0, v), position(*models[b], 0, v));
                sum += dot(d, d);
            }
            EXPECT_GT(std::sqrt(sum / models[a]->vertexCount), 1.0);
        }
    }
    // The figure on stage is the hero himself.
    std::unique_ptr<Md2Model> backup = loadModel("zorbi_backup");
    EXPECT_EQ(backup->positions, models[0]->positions);
}

// The colours down a character drawn facing the viewer, unlit, from the top
// of its silhouette to the bottom, against a black background: a column just
// beside its middle, clear of the zip down the hero's front and of his eyes.
std::vector<testgl::Rgba> middleColumn(const char* name) {
    testgl::prepareContext();
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    testgl::clearBuffers();
    WorkingDirectory inRunFolder(readyToRunFolder());
    Actor actor(name);
    actor.facing = 0;
    glDisable(GL_LIGHTING);
    glPushMatrix();
    glTranslatef(0.0f, -4.0f, -120.0f);
    actor.draw(0.0f);
    glPopMatrix();
    glEnable(GL_LIGHTING);
    std::vector<testgl::Rgba> column;
    for (int y = testgl::WINDOW_HEIGHT - 1; y >= 0; --y) {
        testgl::Rgba pixel = testgl::readPixel(testgl::WINDOW_WIDTH / 2 + 1, y);
        if (pixel.r + pixel.g + pixel.b > 30) {
            column.push_back(pixel);
        }
    }
    return column;
}

// The share of pixels in [from, to) of the column (fractions of its length)
// that `looksLike` accepts.
template <typename Test>
double share(const std::vector<testgl::Rgba>& column, double from, double to, Test looksLike) {
    size_t first = static_cast<size_t>(from * column.size());
    size_t last = static_cast<size_t>(to * column.size());
    size_t hits = 0;
    for (size_t i = first; i < last; ++i) {
        hits += looksLike(column[i]) ? 1 : 0;
    }
    return last > first ? static_cast<double>(hits) / (last - first) : 0.0;
}

// The skin is painted top-down into each part's own rectangle, and the
// program samples it at (s, -t) with repeat: a wrong t would put the suit on
// the head and the head's green on the legs.
TEST(CharacterSkins, PaintedSkinLandsOnTheMatchingParts) {
    std::vector<testgl::Rgba> alien = middleColumn("marvin");
    ASSERT_GT(alien.size(), 60u);
    auto green = [](const testgl::Rgba& p) { return p.g > p.r + 40 && p.g > p.b + 40; };
    EXPECT_GT(share(alien, 0.1, 0.35, green), 0.7);
    EXPECT_LT(share(alien, 0.6, 1.0, green), 0.1);

    std::vector<testgl::Rgba> hero = middleColumn("zorbi");
    ASSERT_GT(hero.size(), 60u);
    auto blue = [](const testgl::Rgba& p) { return p.b > p.r + 60 && p.b > p.g + 30; };
    auto brownOrSkin = [](const testgl::Rgba& p) { return p.r > p.b + 40; };
    // Hair and face in the top third, the blue jacket below the scarf.
    EXPECT_GT(share(hero, 0.02, 0.35, brownOrSkin), 0.9);
    EXPECT_EQ(share(hero, 0.02, 0.35, blue), 0.0);
    EXPECT_GT(share(hero, 0.5, 0.75, blue), 0.6);
    EXPECT_LT(share(hero, 0.5, 0.75, brownOrSkin), 0.2);
}

}  // namespace
