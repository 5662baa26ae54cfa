#include "scene/GroundMaterial.h"

#include <GL/glew.h>

#include <cmath>

#include "app/RunState.h"
#include "resource/TGAImage.h"
#include "resource/TextureUpload.h"

GroundMaterial* groundMaterial = nullptr;

namespace {

constexpr float TILE_SIZE = 200.0f;
constexpr int TILE_ROWS = 3;
constexpr int TILES_PER_ROW = 6;

// A tile as a strip of two triangles in its own frame; s runs along +x and t
// along +z, which is the tangent frame the bump shaders assume.
struct TileVertex {
    float s, t;
    float x, y, z;
};
const TileVertex TILE_STRIP[4] = {
    {0.0f, 0.0f, -100.0f, 0.0f, -100.0f},
    {1.0f, 0.0f, 100.0f, 0.0f, -100.0f},
    {0.0f, 1.0f, -100.0f, 0.0f, 100.0f},
    {1.0f, 1.0f, 100.0f, 0.0f, 100.0f},
};

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

    glBegin(GL_TRIANGLE_STRIP);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glNormal3f(0.0f, 1.0f, 0.0f);
    for (const TileVertex& vertex : TILE_STRIP) {
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
    if (std::fabs(wrapped) - TILE_SIZE == std::fabs(wrapped)) {
        wrapped = std::fmod(wrapped, TILE_SIZE);
    }
    while (wrapped > TILE_SIZE) {
        wrapped -= TILE_SIZE;
    }
    while (wrapped < 0.0f) {
        wrapped += TILE_SIZE;
    }
    return wrapped;
}

// Pushes and pops the modelview matrix itself; each tile leaves texturing off.
void drawGround() {
    const float wrapped = wrapGroundScroll(groundScroll);
    glPushMatrix();
    glTranslatef(wrapped - 3.0f * TILE_SIZE, 0.0f, -0.5f * TILE_SIZE);
    for (int row = 0; row < TILE_ROWS; ++row) {
        glPushMatrix();
        groundMaterial->drawTile();
        for (int column = 1; column < TILES_PER_ROW; ++column) {
            glTranslatef(TILE_SIZE, 0.0f, 0.0f);
            groundMaterial->drawTile();
        }
        glPopMatrix();
        if (row + 1 < TILE_ROWS) {
            glTranslatef(0.0f, 0.0f, TILE_SIZE);
        }
    }
    glPopMatrix();
}
