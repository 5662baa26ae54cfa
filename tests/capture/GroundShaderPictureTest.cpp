// The ground's shaders (data/bump.vsh and bump.fsh) were rewritten to cost less;
// the pair they replaced lies in tests/reference-shader. Whole frames of the
// show drawn through each must look the same: the new pair may change the
// picture only by rounding.

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

class GroundShaderPicture : public ShowFixture {
protected:
    void SetUp() override {
        ShowFixture::SetUp();
        shippedProgram = shaderProgram;
        WorkingDirectory inReference(ZORBI_SOURCE_DIR "/tests/reference-shader");
        testexit::Outcome build = testexit::run(buildBumpShader);
        ASSERT_FALSE(build.exited) << build.standardOutput;
        referenceProgram = shaderProgram;
    }
    void TearDown() override {
        shaderProgram = shippedProgram;
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        ShowFixture::TearDown();
    }

    std::vector<std::uint8_t> drawWith(unsigned program, const OffscreenTarget& target) {
        shaderProgram = program;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        drawFrame();
        return target.readPixels();
    }

    unsigned shippedProgram = 0;
    unsigned referenceProgram = 0;
};

}  // namespace

TEST_F(GroundShaderPicture, MatchesTheReplacedPairAtTwoSizesThroughTheShow) {
    // The sun circles 124 units above the ground once every 6.3 s; it never
    // sinks far enough for the fade at the horizon, so the last case lowers it.
    const struct {
        int ms;
        const char* what;
        float sunHeight;  // 0: where the show has it
    } CASES[] = {
        {1000, "the sun to the right of one figure", 0.0f},
        {4700, "the sun far behind, low over the horizon", 0.0f},
        {7900, "the sun high over the camera", 0.0f},
        {26000, "the cast on stage", 0.0f},
        {41000, "everybody running the other way", 0.0f},
        {41000, "the sun 40 above the ground: the horizon's fade crosses it", 16.0f},
    };
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
            // The first draw at a moment takes the figures' keyframe step.
            drawFrame();
            std::vector<std::uint8_t> shipped = drawWith(shippedProgram, *target);
            std::vector<std::uint8_t> reference = drawWith(referenceProgram, *target);
            double squares = 0.0;
            int largest = 0;
            for (size_t i = 0; i < shipped.size(); ++i) {
                const int step = i % 4 == 3 ? 0 : std::abs(shipped[i] - reference[i]);
                squares += step * step;
                largest = std::max(largest, step);
            }
            const double rmse = std::sqrt(squares / (shipped.size() * 3 / 4)) / 255.0;
            EXPECT_LE(rmse, 0.002) << moment.what << " at " << target->width;
            EXPECT_LE(largest, 8) << moment.what << " at " << target->width;
        }
    }
}
