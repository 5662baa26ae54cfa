// The characters of the show: every figure's MD2 model with 198 keyframes
// and its painted skin, plus the sun's glowing ball.

#include <cstdio>
#include <functional>
#include <iterator>
#include <vector>

#include "Generators.h"
#include "ShowFacts.h"
#include "characters/Figure.h"
#include "formats/FileWriter.h"

namespace {

using characters::Figure;

bool writeFigure(const std::string& outputRoot, const Figure& figure, const std::string& fileName,
                 const std::vector<Md2Frame>& frames) {
    std::vector<std::uint8_t> model = characters::figureModelBytes(figure, frames);
    if (!writeFileBytes(outputRoot + "/" + characterModelPath(fileName), model)) {
        return false;
    }
    return writeTga(outputRoot + "/" + characterSkinPath(fileName), characters::figureSkin(figure), figure.skinOptions);
}

// Refuses a figure the program could not draw.
bool checkFigure(const Figure& figure) {
    int vertices = static_cast<int>(figure.mesh.vertices.size());
    int triangles = figure.mesh.triangleCount();
    if (vertices > MODEL_MAX_VERTICES) {
        std::fprintf(stderr, "contentgen: %s has %d vertices, more than the %d a frame may have\n", figure.name.c_str(),
                     vertices, MODEL_MAX_VERTICES);
        return false;
    }
    if (figure.name != "sun" && (triangles < 400 || triangles > 1500)) {
        std::fprintf(stderr, "contentgen: %s has %d triangles, outside the 400 to 1500 of a figure\n",
                     figure.name.c_str(), triangles);
        return false;
    }
    std::printf("contentgen: %s: %d vertices, %d triangles\n", figure.name.c_str(), vertices, triangles);
    return true;
}

}  // namespace

bool generateCharacters(const std::string& outputRoot) {
    // In the order of CAST_NAMES; each figure names its files after itself.
    const std::function<Figure()> cast[] = {characters::makeZorbi, characters::makeKurbis, characters::makeMarvin,
                                            characters::makeDroid, characters::makeBunny,  characters::makeTigger};
    static_assert(std::size(cast) == CAST_SIZE, "a figure for every member of the cast");
    for (const std::function<Figure()>& make : cast) {
        Figure figure = make();
        if (!checkFigure(figure)) {
            return false;
        }
        std::vector<Md2Frame> frames = characters::animateFigure(figure);
        if (!writeFigure(outputRoot, figure, figure.name, frames)) {
            return false;
        }
        // zorbi_backup is the same hero, the figure on stage for the whole show.
        if (figure.name == CAST_NAMES[0] && !writeFigure(outputRoot, figure, figure.name + "_backup", frames)) {
            return false;
        }
    }
    Figure sun = characters::makeSun();
    Md2Frame glow;
    glow.name = "stand01";
    for (const characters::MeshVertex& vertex : sun.mesh.vertices) {
        glow.positions.push_back(vertex.rest);
    }
    return checkFigure(sun) && writeFigure(outputRoot, sun, "sun", {glow});
}
