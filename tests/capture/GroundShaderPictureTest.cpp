// The ground's shaders (data/bump.vsh and bump.fsh) were rewritten to cost
// less; the pair they replaced lies in tests/reference-shader. Whole frames
// of the show drawn through each may differ only by rounding.

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "OffscreenTarget.h"
#include "app/GLState.h"
#include "demo/FrameComposition.h"
#include "resource/ShaderProgram.h"
#include "scene/SunLight.h"
#include "support/ExitCapture.h"
#include "support/ShowFixture.h"
#include "support/TempDir.h"

namespace {

using GroundShaderPicture = ShowFixture;

std::vector<std::uint8_t> drawWith(unsigned program, const OffscreenTarget& target) {
    shaderProgram = program;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    drawFrame();
    return target.readPixels();
}

}  // namespace

TEST_F(GroundShaderPicture, MatchesTheReplacedPairAtTwoSizesThroughTheShow) {
    const unsigned shipped = shaderProgram;
    unsigned reference = 0;
    {
        WorkingDirectory inReference(ZORBI_SOURCE_DIR "/tests/reference-shader");
        testexit::Outcome build = testexit::run(buildBumpShader);
        reference = shaderProgram;
        shaderProgram = shipped;
        ASSERT_FALSE(build.exited) << build.standardOutput;
    }
    // The show's sun circles 124 units over the ground and never sinks far
    // enough for the fade at the horizon: the last case lowers it to 40.
    const struct {
        int ms;
        float sunHeight;  // 0: where the show has it
        const char* what;
    } CASES[] = {{1000, 0.0f, "the sun beside one figure"},    {4700, 0.0f, "the sun far behind, low"},
                 {7900, 0.0f, "the sun high over the camera"}, {26000, 0.0f, "the cast on stage"},
                 {41000, 0.0f, "everybody running back"},      {41000, 16.0f, "the horizon's fade on the ground"}};
    OffscreenTarget small(800, 600), large(1920, 1080);
    ASSERT_TRUE(small.complete() && large.complete());
    for (const auto& moment : CASES) {
        runUntil(moment.ms);
        if (moment.sunHeight != 0.0f) {
            sun->position = Vec4(0.0f, moment.sunHeight, 0.0f, 1.0f);
        }
        for (OffscreenTarget* target : {&small, &large}) {
            target->bind();
            onReshape(target->width, target->height);
            drawFrame();  // the first draw at a moment takes the figures' keyframe step
            // The shipped program drawn last stays current for the tests that follow.
            std::vector<std::uint8_t> theirs = drawWith(reference, *target), ours = drawWith(shipped, *target);
            double squares = 0.0;
            int largest = 0;
            for (size_t i = 0; i < ours.size(); ++i) {
                const int step = i % 4 == 3 ? 0 : std::abs(ours[i] - theirs[i]);
                squares += step * step;
                largest = std::max(largest, step);
            }
            const double rmse = std::sqrt(squares / (ours.size() * 3 / 4)) / 255.0;
            EXPECT_LE(rmse, 0.002) << moment.what << " at " << target->width;
            EXPECT_LE(largest, 8) << moment.what << " at " << target->width;
        }
    }
}
