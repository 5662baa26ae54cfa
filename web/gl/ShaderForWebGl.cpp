#include "ShaderForWebGl.h"

#include <cctype>
#include <utility>

namespace {

// Fixed-function state as the desktop shader names it, and the web layer's
// uniform for it (set in gl_emulation_fixes.js).
const std::pair<const char*, const char*> FIXED_FUNCTION_STATE[] = {
    {"gl_LightSource[0].position", "webLight0Position"},
    {"gl_LightSource[0].ambient", "webLight0Ambient"},
    {"gl_LightSource[0].diffuse", "webLight0Diffuse"},
    {"gl_LightSource[0].specular", "webLight0Specular"},
    {"gl_LightModel.ambient", "webLightModelAmbient"},
    {"gl_FrontMaterial.ambient", "webFrontMaterialAmbient"},
    {"gl_FrontMaterial.diffuse", "webFrontMaterialDiffuse"},
    {"gl_FrontMaterial.specular", "webFrontMaterialSpecular"},
    {"gl_FrontMaterial.shininess", "webFrontMaterialShininess"},
    {"gl_NormalMatrix", "webNormalMatrix()"},
};

const char* const UNIFORM_DECLARATIONS =
    "uniform vec4 webLight0Position;\n"
    "uniform vec4 webLight0Ambient;\n"
    "uniform vec4 webLight0Diffuse;\n"
    "uniform vec4 webLight0Specular;\n"
    "uniform vec4 webLightModelAmbient;\n"
    "uniform vec4 webFrontMaterialAmbient;\n"
    "uniform vec4 webFrontMaterialDiffuse;\n"
    "uniform vec4 webFrontMaterialSpecular;\n"
    "uniform float webFrontMaterialShininess;\n";

// The inverse transpose of the modelview's upper 3x3: its cofactor matrix
// over its determinant (GLSL ES has no inverse()).
const char* const NORMAL_MATRIX_FUNCTION =
    "mat3 webNormalMatrix() {\n"
    "    vec3 a = gl_ModelViewMatrix[0].xyz;\n"
    "    vec3 b = gl_ModelViewMatrix[1].xyz;\n"
    "    vec3 c = gl_ModelViewMatrix[2].xyz;\n"
    "    return mat3(cross(b, c), cross(c, a), cross(a, b)) / dot(a, cross(b, c));\n"
    "}\n";

bool isNameCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// Replaces whole occurrences of `name` only, never a longer name that
// starts with it.
void replaceName(std::string& text, const std::string& name, const std::string& replacement) {
    std::size_t at = 0;
    while ((at = text.find(name, at)) != std::string::npos) {
        const std::size_t end = at + name.size();
        const bool whole =
            (at == 0 || !isNameCharacter(text[at - 1])) && (end >= text.size() || !isNameCharacter(text[end]));
        if (whole) {
            text.replace(at, name.size(), replacement);
            at += replacement.size();
        } else {
            at = end;
        }
    }
}

// The #version line names a desktop version WebGL does not have.
void blankVersionLine(std::string& text) {
    std::size_t lineStart = 0;
    while (lineStart < text.size()) {
        std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string::npos) {
            lineEnd = text.size();
        }
        std::size_t first = text.find_first_not_of(" \t", lineStart);
        if (first != std::string::npos && first < lineEnd && text.compare(first, 8, "#version") == 0) {
            text.erase(lineStart, lineEnd - lineStart);
            return;
        }
        lineStart = lineEnd + 1;
    }
}

}  // namespace

std::string shaderForWebGl(const std::string& source, bool vertexStage) {
    std::string text = source;
    blankVersionLine(text);
    const std::string withoutVersion = text;
    for (const auto& [name, uniform] : FIXED_FUNCTION_STATE) {
        replaceName(text, name, uniform);
    }
    if (text == withoutVersion) {
        return text;
    }
    std::string prelude = UNIFORM_DECLARATIONS;
    if (vertexStage) {
        prelude += NORMAL_MATRIX_FUNCTION;
    }
    // Ahead of everything, as the emulation puts its own declarations: an
    // #extension line after it would be refused, but the show's shaders
    // enable extensions only where WebGL offers none.
    return prelude + text;
}
