#include "scene/Block.h"

#include <GL/glew.h>

#include <memory>

#include "ShowFacts.h"
#include "resource/TGAImage.h"
#include "resource/TextureUpload.h"

unsigned int Block::blockTexture = 0;

namespace {

constexpr float BLOCK_HALF_SIZE = 10.0f;

// The image the block texture was made from, kept for the life of the program.
std::unique_ptr<TGAImage> blockImage;

// A face as signs of the half size: the normal, then four corners in drawing
// order. The (0, 0, -1) face is left out.
struct Face {
    float normal[3];
    float corners[4][3];
};

const Face FACES[] = {
    // front
    {{0, 0, 1}, {{-1, 1, 1}, {-1, -1, 1}, {1, -1, 1}, {1, 1, 1}}},
    // top
    {{0, 1, 0}, {{-1, 1, -1}, {-1, 1, 1}, {1, 1, 1}, {1, 1, -1}}},
    // bottom
    {{0, -1, 0}, {{-1, -1, -1}, {-1, -1, 1}, {1, -1, 1}, {1, -1, -1}}},
    // right
    {{1, 0, 0}, {{1, 1, 1}, {1, -1, 1}, {1, -1, -1}, {1, 1, -1}}},
    // left
    {{-1, 0, 0}, {{-1, 1, 1}, {-1, -1, 1}, {-1, -1, -1}, {-1, 1, -1}}},
};

// Every face shows the whole texture once, t = 1 at its first corner.
const int CORNER_TEXTURE_COORDINATES[4][2] = {{0, 1}, {0, 0}, {1, 0}, {1, 1}};

}  // namespace

Block::Block(float x, float y, float z) : x(x), y(y), z(z), halfSize(BLOCK_HALF_SIZE) {
    if (blockTexture == 0) {
        blockImage = std::make_unique<TGAImage>(BLOCK_TEXTURE_PATH);
        // Mipmaps are built but never sampled: blocks show hard texels.
        blockTexture = uploadTexture(*blockImage, UploadKind::Mipmaps, GL_NEAREST, NameRecord::AlsoInImage);
    }
}

void Block::draw() {
    drawFaces(TexCoords::Send);
}

void Block::drawShadow() {
    drawFaces(TexCoords::Skip);
}

// Turns texturing on and off and pushes and pops the modelview matrix itself.
// Without texture coordinates (the shadow pass) the texture stays on, so the
// shadow colour is modulated by the texel at whatever coordinate was current.
void Block::drawFaces(TexCoords texCoords) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, blockTexture);
    glPushMatrix();
    glTranslatef(x, y, z);
    for (const Face& face : FACES) {
        glBegin(GL_QUADS);
        for (int corner = 0; corner < 4; ++corner) {
            // With every corner rather than once per face: the same to GL, and
            // what an emulated fixed pipeline reads.
            glNormal3f(face.normal[0], face.normal[1], face.normal[2]);
            if (texCoords == TexCoords::Send) {
                glTexCoord2i(CORNER_TEXTURE_COORDINATES[corner][0], CORNER_TEXTURE_COORDINATES[corner][1]);
            }
            const float* sign = face.corners[corner];
            glVertex3f(sign[0] * halfSize, sign[1] * halfSize, sign[2] * halfSize);
        }
        glEnd();
    }
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
}
