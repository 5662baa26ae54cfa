// Writes the MD2 seeds of the fuzz corpus into the folder given: a few small,
// well-formed models that reach every part of the parser (frames with
// numbered names, triangles, strips and fans, the header variants).
//
//   fuzz_md2_seeds tests/fuzz/corpus/md2

#include <cstdio>
#include <string>
#include <vector>

#include "formats/FileWriter.h"
#include "support/Md2FileBuilder.h"

using namespace md2test;

namespace {

// A tetrahedron whose tip rises frame by frame: two animations (stand, run).
Md2FileBuilder tetrahedron() {
    Md2FileBuilder model;
    model.vertexCount = 4;
    const char* names[] = {"stand01", "stand02", "stand03", "run1", "run2"};
    float tip = 1.0f;
    for (const char* name : names) {
        Frame frame = gridFrame(name);
        frame.vertices = {sceneVertex(0.0f, 0.0f, 0.0f), sceneVertex(2.0f, 0.0f, 0.0f), sceneVertex(0.0f, 0.0f, -2.0f),
                          sceneVertex(0.5f, tip, -0.5f)};
        tip += 0.5f;
        model.frames.push_back(frame);
    }
    model.triangles = {{{0, 1, 2}}, {{0, 3, 1}}, {{1, 3, 2}}, {{2, 3, 0}}};
    model.addPrimitive({{0.0f, 0.0f, 0}, {1.0f, 0.0f, 1}, {0.0f, 1.0f, 2}, {1.0f, 1.0f, 3}}, Primitive::Strip);
    model.addPrimitive({{0.5f, 0.5f, 3}, {0.0f, 0.0f, 0}, {1.0f, 0.0f, 1}}, Primitive::Fan);
    model.endCommands();
    return model;
}

void write(const std::string& folder, const std::string& name, const std::vector<std::uint8_t>& bytes) {
    writeFileBytes(folder + "/" + name, bytes);
}

}  // namespace

int main(int argumentCount, char** arguments) {
    if (argumentCount != 2) {
        std::fprintf(stderr, "usage: fuzz_md2_seeds FOLDER\n");
        return 2;
    }
    const std::string folder = arguments[1];

    write(folder, "tetrahedron.md2", tetrahedron().bytes());

    Md2FileBuilder versionSeven = tetrahedron();
    versionSeven.version = 7;
    write(folder, "version7.md2", versionSeven.bytes());

    Md2FileBuilder otherMagic = tetrahedron();
    otherMagic.magic = {{'X', 'X', 'X', 'X'}};
    write(folder, "other-magic.md2", otherMagic.bytes());

    Md2FileBuilder noCommands = tetrahedron();
    noCommands.commandWords.clear();
    write(folder, "no-commands.md2", noCommands.bytes());

    Md2FileBuilder noFrames;
    write(folder, "no-frames.md2", noFrames.bytes());

    Md2FileBuilder manyAnimations;
    manyAnimations.addNumberedFrames("a", 3);
    Md2FileBuilder more;
    more.addNumberedFrames("b", 2);
    manyAnimations.frames.insert(manyAnimations.frames.end(), more.frames.begin(), more.frames.end());
    manyAnimations.frames.insert(manyAnimations.frames.end(), more.frames.begin(), more.frames.end());
    manyAnimations.addPrimitive({{0.0f, 0.0f, 0}, {0.0f, 0.0f, 0}, {0.0f, 0.0f, 0}}, Primitive::Strip);
    manyAnimations.endCommands();
    write(folder, "one-vertex-three-runs.md2", manyAnimations.bytes());
    return 0;
}
