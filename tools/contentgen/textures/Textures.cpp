#include "Generators.h"
#include "ShowFacts.h"
#include "formats/TgaWriter.h"
#include "textures/TexturePainters.h"

namespace {

// Height of a stone above the mortar, in pixels of the normal map: slopes of
// about 45 degrees at the stone's edges, so the relief reads in any sun angle.
constexpr double GROUND_RELIEF_DEPTH = 11.0;

}  // namespace

// The four files use every storage the loader knows between them: 24 and 32
// bits, uncompressed and run-length encoded, bottom-up and top-down.
bool generateTextures(const std::string& outputRoot) {
    const std::string root = outputRoot + "/";
    bool ok = writeTga(root + BLOCK_TEXTURE_PATH, paintBlock(),
                       {TgaStorage::RunLength, TgaRowOrder::BottomUp, TgaChannels::Rgb});

    const GroundRelief ground = paintGround();
    ok = writeTga(root + GROUND_TEXTURE_PATH, ground.colour,
                  {TgaStorage::Raw, TgaRowOrder::TopDown, TgaChannels::Rgb}) &&
         ok;
    ok = writeTga(root + GROUND_NORMAL_MAP_PATH, normalMapFromRelief(ground, GROUND_RELIEF_DEPTH),
                  {TgaStorage::Raw, TgaRowOrder::BottomUp, TgaChannels::Rgb}) &&
         ok;

    ok = writeTga(root + BACKGROUND_TEXTURE_PATH, paintBackground(),
                  {TgaStorage::RunLength, TgaRowOrder::TopDown, TgaChannels::Rgba}) &&
         ok;
    return ok;
}
