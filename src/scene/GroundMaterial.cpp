#include "scene/GroundMaterial.h"

#include <GL/glew.h>

#include <cmath>

#include "app/RunState.h"
#include "resource/TGAImage.h"
#include "resource/TextureUpload.h"

GroundMaterial* groundMaterial = nullptr;

namespace {

constexpr float HALF_TILE = 0.5f * GROUND_TILE_SIZE;

// A tile as a strip of two triangles in its own frame; s runs along +x and t
// along +z, which is the tangent frame the bump shaders assume.
struct TileVertex {
    float s, t;
    float x, y, z;
};
const TileVertex TILE_STRIP[4] = {
    {0.0f, 0.0f, -HALF_TILE, 0.0f, -HALF_TILE},
    {1.0f, 0.0f, HALF_TILE, 0.0f, -HALF_TILE},
    {0.0f, 1.0f, -HALF_TILE, 0.0f, HALF_TILE},
    {1.0f, 1.0f, HALF_TILE, 0.0f, HALF_TILE},
};

// The centre of the first tile drawn, at a wrapped scroll of 0.
constexpr float FIRST_TILE_X = GROUND_EXTENT.minX + HALF_TILE;
constexpr float FIRST_TILE_Z = GROUND_EXTENT.minZ + HALF_TILE;

}  // namespace

GroundMaterial::GroundMaterial(const char* colourPath) {
    colourImage = std::make_unique<TGAImage>(colourPath);
    colourMap = uploadTexture(*colourImage, UploadKind::Mipmaps, GL_LINEAR, NameRecord::AlsoInImage);
}

GroundMaterial::~GroundMaterial() = default;

void GroundMaterial::loadNormalMap(const char* path) {
    normalImage = std::make_unique<TGAImage>(path);
    // Level 0 alone at the file's own size: no resampling blurs the normals.
    normalMap = uploadTexture(*normalImage, UploadKind::LevelZeroOnly, GL_LINEAR, NameRecord::AlsoInImage);
}

void GroundMaterial::drawTile() {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, colourMap);
    // The shader samples unit 1 through "normalMapTexture"; fixed-function
    // texturing stays off there.
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, normalMap);

    // The normal goes with every vertex and the colour before the strip: GL
    // takes either way alike, and a GL that keeps no current normal or
    // colour inside a strip (a browser's emulation of the fixed pipeline)
    // still gets both.
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBegin(GL_TRIANGLE_STRIP);
    for (const TileVertex& vertex : TILE_STRIP) {
        glNormal3f(0.0f, 1.0f, 0.0f);
        glTexCoord2f(vertex.s, vertex.t);
        glVertex3f(vertex.x, vertex.y, vertex.z);
    }
    glEnd();

    glActiveTexture(GL_TEXTURE0);
    glDisable(GL_TEXTURE_2D);
}

float wrapGroundScroll(float scroll) {
    float wrapped = scroll;
    // Beyond about 4e9 a tile width is below half a float step, so the loops
    // below would subtract forever; there the remainder is the only answer.
    if (std::fabs(wrapped) - GROUND_TILE_SIZE == std::fabs(wrapped)) {
        wrapped = std::fmod(wrapped, GROUND_TILE_SIZE);
    }
    while (wrapped > GROUND_TILE_SIZE) {
        wrapped -= GROUND_TILE_SIZE;
    }
    while (wrapped < 0.0f) {
        wrapped += GROUND_TILE_SIZE;
    }
    return wrapped;
}

// Pushes and pops the modelview matrix itself; each tile leaves texturing off.
void drawGround() {
    const float wrapped = wrapGroundScroll(groundScroll);
    glPushMatrix();
    glTranslatef(wrapped + FIRST_TILE_X, 0.0f, FIRST_TILE_Z);
    for (int row = 0; row < GROUND_TILE_ROWS; ++row) {
        glPushMatrix();
        groundMaterial->drawTile();
        for (int column = 1; column < GROUND_TILES_PER_ROW; ++column) {
            glTranslatef(GROUND_TILE_SIZE, 0.0f, 0.0f);
            groundMaterial->drawTile();
        }
        glPopMatrix();
        if (row + 1 < GROUND_TILE_ROWS) {
            glTranslatef(0.0f, 0.0f, GROUND_TILE_SIZE);
        }
    }
    glPopMatrix();
}
