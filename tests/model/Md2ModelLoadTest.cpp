#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "model/Md2Model.h"
#include "platform/FileBytes.h"
#include "support/ExitCapture.h"
#include "support/Md2FileBuilder.h"
#include "support/Md2ReferenceNormals.h"
#include "support/TempDir.h"

using namespace md2test;

namespace {

Md2ParseResult parseInto(Md2Model& model, const std::vector<std::uint8_t>& bytes) {
    return model.parse(bytes.data(), bytes.size(), "test.md2");
}

// One triangle with a strip over it, in one frame.
Md2FileBuilder oneTriangle() {
    Md2FileBuilder file;
    file.vertexCount = 3;
    Frame frame = gridFrame("stand01");
    frame.vertices = {sceneVertex(0, 0, 0), sceneVertex(1, 0, 0), sceneVertex(0, 1, 0)};
    file.frames = {frame};
    file.triangles = {{0, 1, 2}};
    file.addPrimitive({{0, 0, 0}, {1, 0, 1}, {0, 1, 2}}, Primitive::Strip);
    file.endCommands();
    return file;
}

void expectEmpty(const Md2Model& model) {
    EXPECT_EQ(model.vertexCount, 0);
    EXPECT_EQ(model.frameCount, 0);
    EXPECT_EQ(model.triangleCount, 0);
    EXPECT_EQ(model.commandCount, 0);
    EXPECT_EQ(model.animationCount, 0);
    EXPECT_TRUE(model.positions.empty());
    EXPECT_TRUE(model.commands.empty());
}

std::vector<float> normalOf(const Md2Model& model, int frame, int vertex) {
    const float* n = model.normals.data() + (frame * model.vertexCount + vertex) * 3;
    return {n[0], n[1], n[2]};
}

// Random triangles over 40 vertices in four frames, some with a repeated
// corner (degenerate in every frame); in frame 2 the first ten vertices
// collapse into one point, so triangles among them are degenerate there only.
Md2FileBuilder tangledModel() {
    Md2FileBuilder file;
    file.vertexCount = 40;
    unsigned seed = 12345;
    auto next = [&seed](unsigned range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % range;
    };
    for (int f = 0; f < 4; ++f) {
        Frame frame = gridFrame("pose" + std::to_string(f + 1));
        for (int v = 0; v < file.vertexCount; ++v) {
            bool collapsed = f == 2 && v < 10;
            frame.vertices.push_back(
                collapsed ? sceneVertex(1, 1, 1)
                          : PackedVertex{std::uint8_t(next(256)), std::uint8_t(next(256)), std::uint8_t(next(256))});
        }
        file.frames.push_back(frame);
    }
    for (int t = 0; t < 90; ++t) {
        unsigned range = t % 4 == 0 ? 10 : 40;
        std::int16_t a = std::int16_t(next(range)), b = std::int16_t(next(range));
        std::int16_t c = t % 9 == 0 ? a : std::int16_t(next(range));
        file.triangles.push_back({{a, b, c}});
    }
    file.endCommands();
    return file;
}

std::vector<std::string> showModelPaths() {
    const std::string folder = std::string(ZORBI_RUN_DIR) + "/data/models/c";
    std::vector<std::string> paths;
    if (DIR* directory = opendir(folder.c_str())) {
        while (dirent* entry = readdir(directory)) {
            std::string name = entry->d_name;
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".md2") == 0) {
                paths.push_back(folder + "/" + name);
            }
        }
        closedir(directory);
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

}  // namespace

TEST(Md2ModelLoad, EitherTheMagicOrTheVersionAcceptsTheHeader) {
    Md2FileBuilder oldVersion = oneTriangle();
    oldVersion.version = 7;
    Md2Model magicOnly;
    EXPECT_EQ(parseInto(magicOnly, oldVersion.bytes()).status, Md2ParseStatus::Loaded);
    EXPECT_EQ(magicOnly.vertexCount, 3);

    Md2FileBuilder otherMagic = oneTriangle();
    otherMagic.magic = {'I', 'D', 'P', '3'};
    Md2Model versionOnly;
    EXPECT_EQ(parseInto(versionOnly, otherMagic.bytes()).status, Md2ParseStatus::Loaded);

    otherMagic.version = 7;
    TempDir folder;
    folder.write("rejected.md2", otherMagic.bytes());
    std::string path = folder.file("rejected.md2");
    Md2Model* rejected = nullptr;
    bool loaded = true;
    testexit::Outcome outcome = testexit::run([&] {
        rejected = new Md2Model();
        loaded = rejected->load(path.c_str());
    });
    EXPECT_FALSE(outcome.exited);
    EXPECT_FALSE(loaded);
    EXPECT_EQ(outcome.standardOutput + outcome.standardError, "");
    expectEmpty(*rejected);
    delete rejected;
}

TEST(Md2ModelLoad, PackedVerticesDecodeIntoSceneAxes) {
    Md2FileBuilder file;
    file.vertexCount = 1;
    file.frames = {{"base", {0.5f, 0.5f, 0.5f}, {1.0f, 2.0f, 3.0f}, {{10, 20, 30}}}};
    Md2Model model;
    ASSERT_EQ(parseInto(model, file.bytes()).status, Md2ParseStatus::Loaded);
    ASSERT_EQ(model.positions.size(), 3u);
    EXPECT_EQ(model.positions[0], 6.0f);
    EXPECT_EQ(model.positions[1], 18.0f);
    EXPECT_EQ(model.positions[2], -12.0f);
    EXPECT_EQ(model.scale, 1.0f);
    EXPECT_EQ(model.skinTexture, 0u);
    EXPECT_EQ(model.state, nullptr);
}

TEST(Md2ModelLoad, FrameNumbersAreTheTrailingDigits) {
    EXPECT_EQ(Md2Model::frameNumber("stand01"), 1);
    EXPECT_EQ(Md2Model::frameNumber("run6"), 6);
    EXPECT_EQ(Md2Model::frameNumber("pain104"), 104);
    EXPECT_EQ(Md2Model::frameNumber("base"), 0);
    EXPECT_EQ(Md2Model::frameNumber("2048"), 2048);
    EXPECT_EQ(Md2Model::frameNumber("a1b"), 0);
    EXPECT_EQ(Md2Model::frameNumber(""), 0);
    // All 16 bytes count when there is no NUL among them.
    const char unterminated[20] = {'w', 'a', 'l', 'k', 'w', 'a', 'l', 'k', 'w', 'a',
                                   'l', 'k', 'w', 'a', '4', '2', '7', '7', '7', '\0'};
    EXPECT_EQ(Md2Model::frameNumber(unterminated), 42);
}

TEST(Md2ModelLoad, OnlyAFallingFrameNumberStartsANewAnimation) {
    Md2FileBuilder file;
    file.vertexCount = 1;
    auto addRun = [&](const std::string& name, int first, int last, bool padded) {
        for (int i = first; i <= last; ++i) {
            std::string number = std::to_string(i);
            file.frames.push_back(gridFrame(name + (padded && i < 10 ? "0" : "") + number));
            file.frames.back().vertices = {sceneVertex(0, 0, 0)};
        }
    };
    addRun("stand", 1, 40, true);
    addRun("run", 1, 6, false);
    addRun("attack", 1, 8, false);
    Md2Model threeRuns;
    ASSERT_EQ(parseInto(threeRuns, file.bytes()).status, Md2ParseStatus::Loaded);
    EXPECT_EQ(threeRuns.animationCount, 3);
    EXPECT_EQ(threeRuns.frameCount, 54);

    // pain101 follows attack8 with a higher number, so it merges; so does a
    // frame that repeats the number before it.
    addRun("pain", 101, 104, false);
    addRun("hold", 104, 104, false);
    Md2Model merged;
    ASSERT_EQ(parseInto(merged, file.bytes()).status, Md2ParseStatus::Loaded);
    EXPECT_EQ(merged.animationCount, 3);

    Md2FileBuilder noFrames;
    noFrames.vertexCount = 3;
    Md2Model empty;
    ASSERT_EQ(parseInto(empty, noFrames.bytes()).status, Md2ParseStatus::Loaded);
    EXPECT_EQ(empty.animationCount, 1);
    EXPECT_TRUE(empty.positions.empty());
}

TEST(Md2ModelLoad, EachVertexKeepsTheFaceNormalOfTheLastTriangleUsingIt) {
    Md2FileBuilder file;
    file.vertexCount = 6;
    Frame frame = gridFrame("base");
    // Triangle A lies in the x-y plane, B in the x-z plane; both use vertex 0.
    frame.vertices = {sceneVertex(0, 0, 0), sceneVertex(1, 0, 0), sceneVertex(0, 1, 0),
                      sceneVertex(0, 0, 1), sceneVertex(5, 5, 5), sceneVertex(2, 0, 0)};
    file.frames = {frame};
    // The last triangle is degenerate (three points on the x axis): skipped.
    file.triangles = {{0, 1, 2}, {0, 3, 1}, {0, 1, 5}};
    Md2Model model;
    ASSERT_EQ(parseInto(model, file.bytes()).status, Md2ParseStatus::Loaded);

    // A: (P0 - P1) x (P1 - P2) = (-1,0,0) x (1,-1,0) = (0,0,1).
    EXPECT_EQ(normalOf(model, 0, 2), (std::vector<float>{0, 0, 1}));
    // B replaces A's normal on vertices 0 and 1: (0,0,-1) x (-1,0,1) = (0,1,0).
    EXPECT_EQ(normalOf(model, 0, 0), (std::vector<float>{0, 1, 0}));
    EXPECT_EQ(normalOf(model, 0, 1), (std::vector<float>{0, 1, 0}));
    EXPECT_EQ(normalOf(model, 0, 3), (std::vector<float>{0, 1, 0}));
    // Unused, or used only by the degenerate triangle: zero, never NaN.
    EXPECT_EQ(normalOf(model, 0, 4), (std::vector<float>{0, 0, 0}));
    EXPECT_EQ(normalOf(model, 0, 5), (std::vector<float>{0, 0, 0}));
}

TEST(Md2ModelLoad, NormalsEqualThoseOfAPassOverEveryTriangleBitForBit) {
    struct Case {
        std::string name;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Case> cases;
    for (const std::string& path : showModelPaths()) {
        Case showModel{path, {}};
        ASSERT_EQ(platform::readFileBytes(path.c_str(), Md2Model::MAX_FILE_BYTES, showModel.bytes),
                  platform::FileReadStatus::Read)
            << path;
        cases.push_back(std::move(showModel));
    }
    // The show's seven figures and the sun.
    ASSERT_GE(cases.size(), 8u);
    cases.push_back({"tangled", tangledModel().bytes()});
    cases.push_back({"one triangle", oneTriangle().bytes()});

    for (const Case& test : cases) {
        Md2Model model;
        ASSERT_EQ(parseInto(model, test.bytes).status, Md2ParseStatus::Loaded) << test.name;
        std::vector<float> expected;
        normalsOfEveryTriangle(model, expected);
        ASSERT_EQ(model.normals.size(), expected.size()) << test.name;
        EXPECT_EQ(std::memcmp(model.normals.data(), expected.data(), expected.size() * sizeof(float)), 0) << test.name;
    }
}

TEST(Md2ModelLoad, FilesWithoutACommandListOrItsEndLoad) {
    Md2FileBuilder noCommands = oneTriangle();
    noCommands.commandWords.clear();
    Md2Model model;
    ASSERT_EQ(parseInto(model, noCommands.bytes()).status, Md2ParseStatus::Loaded);
    EXPECT_EQ(model.commandCount, 0);
    EXPECT_EQ(model.frameCount, 1);

    // The last primitive ends exactly at the end of the words, with no 0 count.
    Md2FileBuilder unterminated = oneTriangle();
    unterminated.commandWords.pop_back();
    Md2Model ends;
    ASSERT_EQ(parseInto(ends, unterminated.bytes()).status, Md2ParseStatus::Loaded);
    EXPECT_EQ(ends.commandCount, 10);
    EXPECT_EQ(ends.commands[0], 3);
}

TEST(Md2ModelLoad, BrokenFilesAreRefusedWithWhatIsWrong) {
    struct Case {
        std::vector<std::uint8_t> bytes;
        std::string what;
    };
    const std::vector<std::uint8_t> good = oneTriangle().bytes();
    auto with = [&](int field, std::int32_t value) {
        std::vector<std::uint8_t> bytes = good;
        setHeaderField(bytes, field, value);
        return bytes;
    };
    std::vector<std::uint8_t> headerCut(good.begin(), good.begin() + 67);
    Md2FileBuilder badTriangle = oneTriangle();
    badTriangle.triangles = {{0, 1, 3}};
    Md2FileBuilder negativeTriangle = oneTriangle();
    negativeTriangle.triangles = {{0, -1, 2}};
    Md2FileBuilder badCommandIndex = oneTriangle();
    badCommandIndex.commandWords[9] = 3;
    Md2FileBuilder longPrimitive = oneTriangle();
    longPrimitive.commandWords[0] = -4;
    Md2FileBuilder hugePrimitive = oneTriangle();
    hugePrimitive.commandWords[0] = INT32_MIN;
    Md2FileBuilder tooManyVertices;
    tooManyVertices.vertexCount = 2049;
    // 1000 frames of one vertex, read again as 3666 triangles of vertex 0:
    // every section is inside the file, but the normals would cost
    // frames x triangles, quadratic in the file's size.
    std::vector<std::uint8_t> overlapping(68 + 1000 * 44, 0);
    std::memcpy(overlapping.data(), "IDP2", 4);
    setHeaderField(overlapping, VERSION, 8);
    setHeaderField(overlapping, FRAME_SIZE, 44);
    setHeaderField(overlapping, VERTEX_COUNT, 1);
    setHeaderField(overlapping, FRAME_COUNT, 1000);
    setHeaderField(overlapping, FRAMES_OFFSET, 68);
    setHeaderField(overlapping, TRIANGLE_COUNT, 1000 * 44 / 12);
    setHeaderField(overlapping, TRIANGLES_OFFSET, 68);

    const std::vector<Case> cases = {
        {headerCut, "it ends inside its 68-byte header"},
        {with(VERTEX_COUNT, -1), "vertexCount -1 is negative"},
        {with(FRAME_COUNT, -5), "frameCount -5 is negative"},
        {with(COMMAND_COUNT, -1), "commandCount -1 is negative"},
        {with(TRIANGLE_COUNT, -1), "triangleCount -1 is negative"},
        {with(FRAME_SIZE, -1), "frameSize -1 is negative"},
        {tooManyVertices.bytes(), "2049 vertices per frame, more than the 2048 a model may have"},
        {with(FRAME_SIZE, 51), "frameSize 51 cannot hold 40 bytes and 3 packed vertices"},
        {with(FRAME_COUNT, 3), "its frames lie outside the file"},
        {with(FRAME_COUNT, 0x7FFFFFFF), "its frames lie outside the file"},
        {with(FRAMES_OFFSET, -4), "its frames lie outside the file"},
        {with(TRIANGLES_OFFSET, int(good.size()) - 11), "its triangles lie outside the file"},
        {with(COMMAND_COUNT, 12), "its command list lies outside the file"},
        {with(COMMANDS_OFFSET, 0x7FFFFFF0), "its command list lies outside the file"},
        {badTriangle.bytes(), "triangle 0 names vertex 3 of 3"},
        {negativeTriangle.bytes(), "triangle 0 names vertex -1 of 3"},
        {badCommandIndex.bytes(), "the command list names vertex 3 of 3"},
        {longPrimitive.bytes(), "the primitive at word 0 runs past the 11 words of the command list"},
        {hugePrimitive.bytes(), "the primitive at word 0 runs past the 11 words of the command list"},
        {overlapping, "1000 frames x 3666 triangles, more normals than its 44068 bytes can describe"},
    };
    for (const Case& c : cases) {
        Md2Model model;
        Md2ParseResult result = parseInto(model, c.bytes);
        EXPECT_EQ(result.status, Md2ParseStatus::Broken) << c.what;
        EXPECT_EQ(result.message, "Error! Broken model file: test.md2 (" + c.what + ")");
        expectEmpty(model);
    }
}

TEST(Md2ModelLoad, MissingOrBrokenFileEndsTheProcessWithStatusOne) {
    testexit::Outcome missing = testexit::run([] { Md2Model("data/models/c/nobody.md2"); });
    EXPECT_TRUE(missing.exited);
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.standardError, "Error! Cannot find file: data/models/c/nobody.md2\n");
    EXPECT_EQ(missing.standardOutput, "");

    TempDir folder;
    std::vector<std::uint8_t> bytes = oneTriangle().bytes();
    setHeaderField(bytes, VERTEX_COUNT, 5000);
    folder.write("big.md2", bytes);
    std::string path = folder.file("big.md2");
    testexit::Outcome broken = testexit::run([&] { Md2Model model(path.c_str()); });
    EXPECT_TRUE(broken.exited);
    EXPECT_EQ(broken.status, 1);
    EXPECT_EQ(broken.standardError, "Error! Broken model file: " + path +
                                        " (5000 vertices per frame, more than the 2048 a model may have)\n");

    // A FIFO would block the open for ever; a terabyte (sparse) is refused
    // before a byte of it is read.
    std::string fifoPath = folder.file("fifo.md2");
    ASSERT_EQ(mkfifo(fifoPath.c_str(), 0600), 0);
    testexit::Outcome fifo = testexit::run([&] { Md2Model model(fifoPath.c_str()); });
    EXPECT_EQ(fifo.status, 1);
    EXPECT_EQ(fifo.standardError, "Error! Cannot find file: " + fifoPath + "\n");
    std::filesystem::resize_file(path, std::uintmax_t(1) << 40);
    testexit::Outcome huge = testexit::run([&] { Md2Model model(path.c_str()); });
    EXPECT_EQ(huge.status, 1);
    EXPECT_EQ(huge.standardError,
              "Error! Broken model file: " + path + " (it is larger than the 16 MiB a model file may take)\n");
}
