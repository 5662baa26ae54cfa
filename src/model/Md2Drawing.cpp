#include <GL/gl.h>

#include "model/Md2File.h"
#include "model/Md2Model.h"

using namespace md2file;

// The two draw variants: the blended frame walked through the command list
// of strips and fans in immediate mode.

namespace {

// The blended frame being drawn, one pair for each draw variant. Shared by
// every model, so draws must not overlap; they are never allocated again.
float texturedPositions[Md2Model::MAX_VERTICES * 3];
float texturedNormals[Md2Model::MAX_VERTICES * 3];
float shadowPositions[Md2Model::MAX_VERTICES * 3];
float shadowNormals[Md2Model::MAX_VERTICES * 3];

}  // namespace

void Md2Model::draw(float time) {
    if (time > 0.0f) {
        animate(time);
    }
    render();
}

void Md2Model::drawShadow(float time) {
    if (time > 0.0f) {
        animate(time);
    }
    renderShadow();
}

// Changes culling and front face inside an attribute push, so the caller's
// polygon state comes back; leaves the colour white, texturing off and the
// skin bound.
void Md2Model::render() const {
    glPushAttrib(GL_POLYGON_BIT);
    glFrontFace(GL_CW);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    interpolate(texturedPositions, texturedNormals);
    glColor3f(1.0f, 1.0f, 1.0f);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, skinTexture);
    emitCommands(texturedPositions, texturedNormals, TexCoords::Send);
    glDisable(GL_TEXTURE_2D);
    glPopAttrib();
}

// Sets no colour, texture or lighting: the shadow pass has set them up.
void Md2Model::renderShadow() const {
    glPushAttrib(GL_POLYGON_BIT);
    glFrontFace(GL_CW);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    interpolate(shadowPositions, shadowNormals);
    emitCommands(shadowPositions, shadowNormals, TexCoords::Skip);
    glPopAttrib();
}

// The list was checked at load: every primitive fits in the words and names
// vertices below vertexCount, so the walk stops at a 0 count or the end.
void Md2Model::emitCommands(const float* blendedPositions, const float* blendedNormals, TexCoords texCoords) const {
    if (frameCount == 0) {
        return;
    }
    std::size_t word = 0;
    while (word < commands.size()) {
        std::int64_t count = commands[word++];
        if (count == 0) {
            break;
        }
        glBegin(count < 0 ? GL_TRIANGLE_FAN : GL_TRIANGLE_STRIP);
        std::int64_t vertices = count < 0 ? -count : count;
        for (std::int64_t v = 0; v < vertices; ++v, word += WORDS_PER_COMMAND_VERTEX) {
            std::int32_t index = commands[word + 2];
            if (texCoords == TexCoords::Send) {
                // Negated rather than 1 - t: the skin repeats, so both land alike.
                glTexCoord2f(wordAsFloat(commands[word]), -wordAsFloat(commands[word + 1]));
            }
            glNormal3fv(blendedNormals + index * 3);
            glVertex3fv(blendedPositions + index * 3);
        }
        glEnd();
    }
}
