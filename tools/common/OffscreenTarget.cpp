#include "OffscreenTarget.h"

#include <GL/glew.h>

OffscreenTarget::OffscreenTarget(int targetWidth, int targetHeight) : width(targetWidth), height(targetHeight) {
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);

    glGenRenderbuffers(1, &colourBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, colourBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colourBuffer);

    glGenRenderbuffers(1, &depthStencilBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, depthStencilBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depthStencilBuffer);

    isComplete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
}

OffscreenTarget::~OffscreenTarget() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteRenderbuffers(1, &depthStencilBuffer);
    glDeleteRenderbuffers(1, &colourBuffer);
    glDeleteFramebuffers(1, &framebuffer);
}

void OffscreenTarget::bind() {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
}

std::vector<std::uint8_t> OffscreenTarget::readPixels() const {
    std::vector<std::uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

std::vector<std::uint8_t> toTopDownRgb(const std::vector<std::uint8_t>& rgbaBottomUp, int width, int height) {
    std::vector<std::uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* source = &rgbaBottomUp[static_cast<size_t>(height - 1 - row) * width * 4];
        std::uint8_t* target = &rgb[static_cast<size_t>(row) * width * 3];
        for (int x = 0; x < width; ++x) {
            target[x * 3] = source[x * 4];
            target[x * 3 + 1] = source[x * 4 + 1];
            target[x * 3 + 2] = source[x * 4 + 2];
        }
    }
    return rgb;
}
