#pragma once

#include <memory>

class TGAImage;

// The ground's two maps. Every 200 x 200 tile carries the whole colour map
// and the whole normal map, and is shaded by the bump program, which samples
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

// The scene's ground. Created once by the scene assembly; read by drawGround.
extern GroundMaterial* groundMaterial;

// The ground offset folded into one tile width: while above 200 subtract 200,
// then while below 0 add 200, in single precision. The result lies in
// [0, 200], both ends included (400 gives 200, -200 gives 0).
float wrapGroundScroll(float scroll);

// Draws the 3 rows of 6 tiles of groundMaterial around the current modelview,
// shifted along x by the wrapped groundScroll: tile centres at x = u - 600 to
// u + 400 and z = -100, 100, 300. Leaves groundScroll and the matrix as they were.
void drawGround();
