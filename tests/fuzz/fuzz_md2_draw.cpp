// Draws whatever the MD2 parser accepts through the model's own drawing code,
// textured and for the shadow pass, over a few animation steps, with the GL
// entry points it calls replaced by stubs. The stubs check what a driver
// would trust: begin and end in balance, no state change inside a primitive,
// attribute pushes popped, and every vertex and normal pointer pointing at a
// blended vertex of this model (not past vertexCount into stale or foreign
// memory; AddressSanitizer watches the reads themselves).

#include <GL/gl.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "model/AnimationState.h"
#include "model/Md2Model.h"

namespace {

struct StubState {
    bool insidePrimitive = false;
    int attributeDepth = 0;
    const GLfloat* lastNormal = nullptr;
    // The frame the draw should be emitting, blended by the harness itself.
    const float* positions = nullptr;
    const float* normals = nullptr;
    int vertexCount = 0;
};

StubState stub;
float expectedPositions[Md2Model::MAX_VERTICES * 3];
float expectedNormals[Md2Model::MAX_VERTICES * 3];

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "drawing fault: %s\n", what);
    std::abort();
}

void stateChange(const char* call) {
    if (stub.insidePrimitive) {
        fail(call);
    }
}

bool sameVector(const GLfloat* given, const float* expected) {
    return std::memcmp(given, expected, 3 * sizeof(float)) == 0;
}

// The emitted pair must be the blended position and normal of one vertex.
void checkVertex(const GLfloat* position) {
    if (!stub.insidePrimitive) {
        fail("glVertex3fv outside glBegin/glEnd");
    }
    if (position == nullptr || stub.lastNormal == nullptr) {
        fail("vertex without a position or a normal");
    }
    for (int vertex = 0; vertex < stub.vertexCount; ++vertex) {
        if (sameVector(position, stub.positions + vertex * 3) &&
            sameVector(stub.lastNormal, stub.normals + vertex * 3)) {
            return;
        }
    }
    fail("a vertex that is not one of the model's blended vertices");
}

enum class Pass { Lit, Shadow };

void drawAndCheck(Md2Model& model, Pass pass) {
    model.interpolate(expectedPositions, expectedNormals);
    stub.positions = expectedPositions;
    stub.normals = expectedNormals;
    stub.vertexCount = model.vertexCount;
    if (pass == Pass::Lit) {
        model.render();
    } else {
        model.renderShadow();
    }
    if (stub.insidePrimitive || stub.attributeDepth != 0) {
        fail("a draw left a primitive or an attribute push open");
    }
}

}  // namespace

extern "C" {

void glBegin(GLenum mode) {
    if (stub.insidePrimitive) {
        fail("glBegin inside glBegin/glEnd");
    }
    if (mode != GL_TRIANGLE_STRIP && mode != GL_TRIANGLE_FAN) {
        fail("a primitive other than a strip or a fan");
    }
    stub.insidePrimitive = true;
    stub.lastNormal = nullptr;
}

void glEnd() {
    if (!stub.insidePrimitive) {
        fail("glEnd without glBegin");
    }
    stub.insidePrimitive = false;
}

void glNormal3fv(const GLfloat* normal) {
    if (normal == nullptr) {
        fail("null normal");
    }
    stub.lastNormal = normal;
}

void glVertex3fv(const GLfloat* position) {
    checkVertex(position);
}

void glTexCoord2f(GLfloat, GLfloat) {
    if (!stub.insidePrimitive) {
        fail("glTexCoord2f outside glBegin/glEnd");
    }
}

void glColor3f(GLfloat, GLfloat, GLfloat) {}

void glPushAttrib(GLbitfield) {
    stateChange("glPushAttrib inside glBegin/glEnd");
    ++stub.attributeDepth;
}

void glPopAttrib() {
    stateChange("glPopAttrib inside glBegin/glEnd");
    if (--stub.attributeDepth < 0) {
        fail("glPopAttrib without glPushAttrib");
    }
}

void glEnable(GLenum) {
    stateChange("glEnable inside glBegin/glEnd");
}
void glDisable(GLenum) {
    stateChange("glDisable inside glBegin/glEnd");
}
void glFrontFace(GLenum) {
    stateChange("glFrontFace inside glBegin/glEnd");
}
void glCullFace(GLenum) {
    stateChange("glCullFace inside glBegin/glEnd");
}
void glBindTexture(GLenum, GLuint) {
    stateChange("glBindTexture inside glBegin/glEnd");
}

}  // extern "C"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Md2Model model;
    if (model.parse(data, size, "fuzz.md2").status != Md2ParseStatus::Loaded) {
        return 0;
    }
    // Before any animation is selected, then through a few animations and
    // steps: frames the model lacks must be drawn as frame 0.
    drawAndCheck(model, Pass::Lit);
    AnimationState state;
    float time = 0.0f;
    for (std::int32_t animation = 0; animation <= model.animationCount && animation < ANIMATION_RANGE_COUNT;
         ++animation) {
        model.setAnimation(state, animation);
        for (int step = 0; step < 2; ++step) {
            time += 0.3f;
            model.animate(time);
            drawAndCheck(model, Pass::Lit);
            drawAndCheck(model, Pass::Shadow);
        }
    }
    return 0;
}
