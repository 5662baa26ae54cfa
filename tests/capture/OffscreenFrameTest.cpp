// The capture tool draws into a framebuffer object, the demo into its window:
// the same state must give the same picture either way.

#define STB_IMAGE_IMPLEMENTATION
#include <GL/glew.h>
#include <gtest/gtest.h>
#include <stb_image.h>

#include <algorithm>
#include <cstdlib>

#include "OffscreenTarget.h"
#include "app/GLState.h"
#include "demo/FrameComposition.h"
#include "support/GLTestWindow.h"
#include "support/ShowFixture.h"

using OffscreenFrame = ShowFixture;

TEST_F(OffscreenFrame, MatchesTheWindowFrameForTheSameState) {
    runUntil(17500, 20);
    // Draw twice in the window first, so every model has taken its frame step
    // for this time and both pictures show the same keyframes.
    testgl::clearBuffers();
    drawFrame();
    testgl::clearBuffers();
    drawFrame();
    std::vector<std::uint8_t> window = testgl::readPixels(0, 0, testgl::WINDOW_WIDTH, testgl::WINDOW_HEIGHT);

    OffscreenTarget target(testgl::WINDOW_WIDTH, testgl::WINDOW_HEIGHT);
    ASSERT_TRUE(target.complete());
    target.bind();
    testgl::clearBuffers();
    drawFrame();
    std::vector<std::uint8_t> offscreen = target.readPixels();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);

    ASSERT_EQ(window.size(), offscreen.size());
    // Colour only: the window has no alpha channel to read back. The window
    // stores BGRX and the target RGBA, and the software rasteriser rounds into
    // the two formats a little differently: a few channels come out off by a
    // few steps, where a different frame would change thousands of pixels.
    size_t different = 0;
    int largest = 0;
    for (size_t i = 0; i < window.size(); ++i) {
        if (i % 4 != 3 && window[i] != offscreen[i]) {
            ++different;
            largest = std::max(largest, std::abs(window[i] - offscreen[i]));
        }
    }
    EXPECT_LE(largest, 16);
    EXPECT_LT(different, window.size() / 100);
}
