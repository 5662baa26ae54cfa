#pragma once

#include <cstdint>
#include <vector>

// A framebuffer object of its own size with an RGBA colour buffer and a
// combined depth and 8-bit stencil buffer, so the show can be drawn at any
// size without a window of that size. Needs a current GL context and GLEW.
class OffscreenTarget {
public:
    OffscreenTarget(int width, int height);
    ~OffscreenTarget();
    OffscreenTarget(const OffscreenTarget&) = delete;
    OffscreenTarget& operator=(const OffscreenTarget&) = delete;

    // Directs drawing and reading to this target.
    void bind();

    // The picture as RGBA bytes, bottom row first (GL's order).
    std::vector<std::uint8_t> readPixels() const;

    // False when the driver refused the attachment combination.
    bool complete() const { return isComplete; }

    const int width;
    const int height;

private:
    unsigned framebuffer = 0;
    unsigned colourBuffer = 0;
    unsigned depthStencilBuffer = 0;
    bool isComplete = false;
};

// RGBA bottom-up rows to RGB top-down rows, as picture files want them.
std::vector<std::uint8_t> toTopDownRgb(const std::vector<std::uint8_t>& rgbaBottomUp, int width, int height);
