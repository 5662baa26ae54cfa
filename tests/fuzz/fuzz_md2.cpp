// Feeds arbitrary bytes to the MD2 parser, then plays and blends whatever it
// accepted the way drawing does (everything short of the GL calls). A broken
// or rejected file is an answer, not a finding.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "model/AnimationState.h"
#include "model/Md2Model.h"

namespace {

float blendedPositions[Md2Model::MAX_VERTICES * 3];
float blendedNormals[Md2Model::MAX_VERTICES * 3];

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Md2Model model;
    Md2ParseResult result = model.parse(data, size, "fuzz.md2");
    if (result.status != Md2ParseStatus::Loaded) {
        return 0;
    }
    if (model.vertexCount > Md2Model::MAX_VERTICES ||
        model.positions.size() != std::size_t(model.frameCount) * model.vertexCount * 3 ||
        model.normals.size() != model.positions.size() || model.commands.size() != std::size_t(model.commandCount)) {
        std::abort();
    }

    // Every animation the table has, a few steps each: frames the model lacks
    // must wrap to frame 0 rather than index past the positions.
    AnimationState state;
    float time = 0.0f;
    // One past the model's count and the table's last row are refused (to 0).
    for (std::int32_t animation = 0; animation <= ANIMATION_RANGE_COUNT && animation <= model.animationCount + 1;
         ++animation) {
        model.setAnimation(state, animation);
        for (int step = 0; step < 3; ++step) {
            time += 0.3f;
            model.animate(time);
            model.interpolate(blendedPositions, blendedNormals);
        }
    }
    return 0;
}
