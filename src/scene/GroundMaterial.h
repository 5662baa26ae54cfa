#pragma once

#include <memory>

class TGAImage;

// The ground: rows of square tiles in the plane y = 0 of the frame it is
// drawn in. At a wrapped scroll of 0 they cover GROUND_EXTENT; a wrapped
// scroll u shifts them by u along x.
constexpr float GROUND_TILE_SIZE = 200.0f;
constexpr int GROUND_TILE_ROWS = 3;
constexpr int GROUND_TILES_PER_ROW = 6;
struct GroundExtent {
    float minX, maxX, minZ, maxZ;
};
constexpr GroundExtent GROUND_EXTENT = {-700.0f, 500.0f, -200.0f, 400.0f};
static_assert(GROUND_EXTENT.maxX - GROUND_EXTENT.minX == GROUND_TILES_PER_ROW * GROUND_TILE_SIZE &&
                  GROUND_EXTENT.maxZ - GROUND_EXTENT.minZ == GROUND_TILE_ROWS * GROUND_TILE_SIZE,
              "the extent is the tiles' own");

// The ground's two maps. Every tile carries the whole colour map and the
// whole normal map, and is shaded by the bump program, which samples
// the colour map on texture unit 0 and the normal map on unit 1.
class GroundMaterial {
public:
    unsigned int colourMap = 0;  // GL texture name: mipmapped, linear, repeat
    unsigned int normalMap = 0;  // GL texture name: level 0 only, linear, repeat

    // Loads the colour map. Needs a current GL context.
    explicit GroundMaterial(const char* colourPath);
    ~GroundMaterial();

    // Loads the normal map; uploaded at the file's own size, which must be
    // one GL accepts (a power of two in each direction to be safe).
    void loadNormalMap(const char* path);

    // One tile in the plane y = 0 of the current modelview, centred on its
    // origin, with both maps bound. Needs GLEW initialised (buildBumpShader),
    // for the second texture unit. Leaves unit 0 active with texturing off;
    // the normal map stays bound on unit 1.
    void drawTile();

private:
    // The images the maps were made from, kept as long as the material lives.
    std::unique_ptr<TGAImage> colourImage;
    std::unique_ptr<TGAImage> normalImage;
};

// The scene's ground. Created once by the scene assembly (the ground tests
// put their own here); read by drawGround.
extern GroundMaterial* groundMaterial;

// The ground offset folded into one tile width: while above it subtract it,
// then while below 0 add it, in single precision. The result lies in
// [0, 200], both ends included (400 gives 200, -200 gives 0).
float wrapGroundScroll(float scroll);

// Draws the tiles of groundMaterial over GROUND_EXTENT of the current
// modelview, shifted along x by the wrapped groundScroll. Leaves groundScroll
// and the matrix as they were.
void drawGround();
