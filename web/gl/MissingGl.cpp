// The GL, GLU and GLUT calls the show makes that the browser's GL emulation
// (emscripten's, over WebGL 1) does not offer, made of the calls it does
// (glPushAttrib and glPopAttrib are in gl_emulation_fixes.js).

// The GL 2 calls the ARB names map to.
#define GL_GLEXT_PROTOTYPES
#include <GL/glew.h>
#include <GL/freeglut.h>
#include <GL/glu.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ShaderForWebGl.h"

extern "C" {
// Sets the web layer's fixed-function uniforms of the program just made
// current from the emulation's lighting state (gl_emulation_fixes.js).
void webSetFixedFunctionUniforms(GLuint program);
// The page asks for the browser's full screen at the person's click.
void webAskForFullScreen(const char* modeString);
}

namespace {

bool isPowerOfTwo(int value) {
    return value > 0 && (value & (value - 1)) == 0;
}

// GLU's rule: the power of two nearest to the side, the larger one when it
// is three quarters of the way.
int nearestPowerOfTwo(int value) {
    int power = 1;
    while (value > 1) {
        if (value == 3) {
            return power * 4;
        }
        value >>= 1;
        power *= 2;
    }
    return power;
}

// Resamples RGBA pixels to a new size by averaging each target texel's
// footprint, as GLU's scaling does.
std::vector<GLubyte> scaledPixels(const GLubyte* pixels, int width, int height, int newWidth, int newHeight) {
    std::vector<GLubyte> scaled(static_cast<std::size_t>(newWidth) * newHeight * 4);
    for (int y = 0; y < newHeight; ++y) {
        const int top = y * height / newHeight, bottom = std::max(top + 1, (y + 1) * height / newHeight);
        for (int x = 0; x < newWidth; ++x) {
            const int left = x * width / newWidth, right = std::max(left + 1, (x + 1) * width / newWidth);
            for (int channel = 0; channel < 4; ++channel) {
                int sum = 0;
                for (int sy = top; sy < bottom; ++sy) {
                    for (int sx = left; sx < right; ++sx) {
                        sum += pixels[(static_cast<std::size_t>(sy) * width + sx) * 4 + channel];
                    }
                }
                const int count = (bottom - top) * (right - left);
                scaled[(static_cast<std::size_t>(y) * newWidth + x) * 4 + channel] =
                    static_cast<GLubyte>((sum + count / 2) / count);
            }
        }
    }
    return scaled;
}

}  // namespace

extern "C" {

void glMaterialf(GLenum face, GLenum name, GLfloat value) {
    glMaterialfv(face, name, &value);
}

// The emulation reads the texture environment only through glTexEnvi.
void glTexEnvf(GLenum target, GLenum name, GLfloat value) {
    glTexEnvi(target, name, static_cast<GLint>(value));
}

// WebGL always interpolates colours smoothly, which is what the show asks for.
void glShadeModel(GLenum) {}

GLint gluBuild2DMipmaps(GLenum target, GLint, GLsizei width, GLsizei height, GLenum format, GLenum type,
                        const void* data) {
    if (format != GL_RGBA || type != GL_UNSIGNED_BYTE || width < 1 || height < 1 || !data) {
        return GLU_INVALID_ENUM;
    }
    // WebGL 1 builds mipmaps only for sides that are powers of two.
    const GLubyte* pixels = static_cast<const GLubyte*>(data);
    std::vector<GLubyte> scaled;
    int levelWidth = width, levelHeight = height;
    if (!isPowerOfTwo(width) || !isPowerOfTwo(height)) {
        levelWidth = nearestPowerOfTwo(width);
        levelHeight = nearestPowerOfTwo(height);
        scaled = scaledPixels(pixels, width, height, levelWidth, levelHeight);
        pixels = scaled.data();
    }
    glTexImage2D(target, 0, GL_RGBA, levelWidth, levelHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    glGenerateMipmap(target);
    return 0;
}

// The ARB shader objects are the GL 2 shader and program calls under older
// names; the sources are made into GLSL ES on the way (ShaderForWebGl.h).

GLhandleARB glCreateProgramObjectARB() {
    return glCreateProgram();
}

GLhandleARB glCreateShaderObjectARB(GLenum type) {
    return glCreateShader(type);
}

void glShaderSourceARB(GLhandleARB shader, GLsizei count, const GLcharARB** strings, const GLint* lengths) {
    std::string source;
    for (GLsizei i = 0; i < count; ++i) {
        if (lengths && lengths[i] >= 0) {
            source.append(strings[i], static_cast<std::size_t>(lengths[i]));
        } else {
            source.append(strings[i]);
        }
    }
    GLint type = 0;
    glGetShaderiv(shader, GL_SHADER_TYPE, &type);
    const std::string adapted = shaderForWebGl(source, type == GL_VERTEX_SHADER);
    const GLchar* text = adapted.c_str();
    glShaderSource(shader, 1, &text, nullptr);
}

void glCompileShaderARB(GLhandleARB shader) {
    glCompileShader(shader);
}

// Shaders and programs have names of their own in WebGL; the two questions
// the show asks tell which one is meant.
void glGetObjectParameterivARB(GLhandleARB object, GLenum name, GLint* value) {
    if (name == GL_OBJECT_LINK_STATUS_ARB) {
        glGetProgramiv(object, GL_LINK_STATUS, value);
    } else {
        glGetShaderiv(object, name, value);
    }
}

void glAttachObjectARB(GLhandleARB program, GLhandleARB shader) {
    glAttachShader(program, shader);
}

void glLinkProgramARB(GLhandleARB program) {
    glLinkProgram(program);
}

void glUseProgramObjectARB(GLhandleARB program) {
    glUseProgram(program);
    if (program != 0) {
        webSetFixedFunctionUniforms(program);
    }
}

GLint glGetUniformLocationARB(GLhandleARB program, const GLcharARB* name) {
    return glGetUniformLocation(program, name);
}

void glUniform1iARB(GLint location, GLint value) {
    glUniform1i(location, value);
}

// WebGL 1 takes matrices only untransposed.
void glUniformMatrix4fvARB(GLint location, GLsizei count, GLboolean transpose, const GLfloat* values) {
    if (!transpose) {
        glUniformMatrix4fv(location, count, GL_FALSE, values);
        return;
    }
    std::vector<GLfloat> transposed(static_cast<std::size_t>(count) * 16);
    for (GLsizei matrix = 0; matrix < count; ++matrix) {
        for (int row = 0; row < 4; ++row) {
            for (int column = 0; column < 4; ++column) {
                transposed[matrix * 16 + column * 4 + row] = values[matrix * 16 + row * 4 + column];
            }
        }
    }
    glUniformMatrix4fv(location, count, GL_FALSE, transposed.data());
}

// A page cannot be closed from inside, so there is no window-close action
// to choose.
void glutSetOption(GLenum, int) {}

// Game mode becomes the browser's full screen, which only a person's click
// can grant: the mode is noted for the page, and the show opens in the
// canvas meanwhile, as it opens a window where game mode is refused.
namespace {
std::string gameMode;
}

void glutGameModeString(const char* mode) {
    gameMode = mode ? mode : "";
}

int glutEnterGameMode() {
    webAskForFullScreen(gameMode.c_str());
    return 0;
}

int glutGameModeGet(GLenum) {
    return 0;
}
}
