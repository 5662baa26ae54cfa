#include <cmath>
#include <cstdlib>

#include "kit/Colour.h"
#include "kit/Noise.h"
#include "textures/TexturePainters.h"

namespace {

constexpr int BLOCK_SIZE = 64;
constexpr int FRAME_WIDTH = 6;
constexpr int PLANK_COUNT = 4;
constexpr int PLANK_HEIGHT = (BLOCK_SIZE - 2 * FRAME_WIDTH) / PLANK_COUNT;  // 13 texels
constexpr int BRACE_HALF_WIDTH = 4;

// Which board of the crate a texel belongs to; the shading treats every
// change of board between neighbours as an edge.
enum Part { LEFT_BOARD, RIGHT_BOARD, BOTTOM_BOARD, TOP_BOARD, BRACE, FIRST_PLANK };

int partAt(int x, int y) {
    if (x < FRAME_WIDTH) {
        return LEFT_BOARD;
    }
    if (x >= BLOCK_SIZE - FRAME_WIDTH) {
        return RIGHT_BOARD;
    }
    if (y < FRAME_WIDTH) {
        return BOTTOM_BOARD;
    }
    if (y >= BLOCK_SIZE - FRAME_WIDTH) {
        return TOP_BOARD;
    }
    if (std::abs(x - y) <= BRACE_HALF_WIDTH) {
        return BRACE;
    }
    return FIRST_PLANK + (y - FRAME_WIDTH) / PLANK_HEIGHT;
}

// Grain runs along each board: vertical on the side boards, diagonal on the
// brace, horizontal elsewhere. Returns a value in about [-1, 1].
double grainAt(int part, int x, int y) {
    double along = x;
    double across = y;
    if (part == LEFT_BOARD || part == RIGHT_BOARD) {
        along = y;
        across = x;
    } else if (part == BRACE) {
        along = (x + y) * 0.7071;
        across = (x - y) * 0.7071;
    }
    const double streaks = noise::fractal(along / 24.0, across / 1.7, 64, 64, 3, 0.5, 101 + part);
    const double rings = std::sin(across * 1.3 + 3.0 * noise::gradient(along / 16.0, across / 8.0, 64, 64, 202));
    return 0.7 * streaks + 0.3 * rings;
}

Colour boardColour(int part) {
    if (part == BRACE) {
        return {0.66, 0.42, 0.19};
    }
    if (part < BRACE) {
        return {0.52, 0.31, 0.14};
    }
    // Planks differ a little from each other, as cut from different wood.
    static const double plankShade[PLANK_COUNT] = {1.0, 0.93, 1.05, 0.96};
    return scaleColour({0.80, 0.55, 0.28}, plankShade[part - FIRST_PLANK]);
}

bool isNail(int x, int y) {
    const int nailSpots[][2] = {{2, 2},
                                {BLOCK_SIZE - 4, 2},
                                {2, BLOCK_SIZE - 4},
                                {BLOCK_SIZE - 4, BLOCK_SIZE - 4},
                                {2, 30},
                                {BLOCK_SIZE - 4, 30},
                                {30, 2},
                                {30, BLOCK_SIZE - 4}};
    for (const auto& spot : nailSpots) {
        if (x >= spot[0] && x < spot[0] + 2 && y >= spot[1] && y < spot[1] + 2) {
            return true;
        }
    }
    return false;
}

// Bevel light from the top left: a texel whose upper or left neighbour is
// another board is lit, one whose lower or right neighbour is another board
// is in shade. Plank texels just below and right of the brace get its shadow.
double bevelAt(int x, int y) {
    const int part = partAt(x, y);
    auto differs = [&](int nx, int ny) {
        return nx >= 0 && ny >= 0 && nx < BLOCK_SIZE && ny < BLOCK_SIZE && partAt(nx, ny) != part;
    };
    double factor = 1.0;
    if (differs(x, y + 1) || differs(x - 1, y)) {
        factor *= 1.22;
    }
    if (differs(x, y - 1) || differs(x + 1, y)) {
        factor *= 0.62;
    }
    if (part >= FIRST_PLANK && (partAt(x - 1, y + 1) == BRACE || partAt(x - 2, y + 2) == BRACE)) {
        factor *= 0.7;
    }
    // The outermost ring of texels is the crate's edge: darker, so blocks
    // standing side by side stay apart.
    if (x == 0 || y == 0 || x == BLOCK_SIZE - 1 || y == BLOCK_SIZE - 1) {
        factor *= 0.55;
    }
    return factor;
}

Colour nailColour(int x, int y) {
    const bool highlight = (x % 2 == 0) && (y % 2 == 1);
    return highlight ? Colour{0.85, 0.85, 0.8} : Colour{0.35, 0.35, 0.38};
}

}  // namespace

Picture paintBlock() {
    Picture picture(BLOCK_SIZE, BLOCK_SIZE);
    for (int y = 0; y < BLOCK_SIZE; ++y) {
        for (int x = 0; x < BLOCK_SIZE; ++x) {
            if (isNail(x, y)) {
                putColour(picture, x, y, nailColour(x, y));
                continue;
            }
            const int part = partAt(x, y);
            const double grain = grainAt(part, x, y);
            // A few broad grain levels rather than a smooth ramp: crisp texels
            // under nearest filtering.
            const double steppedGrain = std::floor(grain * 3.0 + 0.5) / 3.0;
            Colour colour = scaleColour(boardColour(part), (1.0 + 0.13 * steppedGrain) * bevelAt(x, y));
            putColour(picture, x, y, colour);
        }
    }
    return picture;
}
