#pragma once

#include <cstdint>
#include <vector>

// A real GL context for tests that draw: one double-buffered RGBA window with
// depth and an 8-bit stencil, opened once per test program on the X display
// (Xvfb in the test command) and kept current. Pixels are read back from the
// back buffer before any swap, which is reliable under Xvfb.
namespace testgl {

constexpr int WINDOW_WIDTH = 320;
constexpr int WINDOW_HEIGHT = 240;

struct Rgba {
    int r, g, b, a;
};

// Opens the window on first use, initialises GLEW and sets the program's own
// fixed GL state (initGLState) and projection (onReshape) at the window size.
// Later calls restore that state for the next test: identity matrices, clear
// buffers, texturing, stencil and shader program off.
void prepareContext();

// Clears colour, depth and stencil with the program's clear colour.
void clearBuffers();

Rgba readPixel(int x, int y);

// width * height RGBA pixels, bottom row first.
std::vector<std::uint8_t> readPixels(int x, int y, int width, int height);

// Mean brightness (r + g + b) / 3 over a rectangle.
double meanBrightness(int x, int y, int width, int height);

}  // namespace testgl
