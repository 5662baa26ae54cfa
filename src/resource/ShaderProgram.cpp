#include "resource/ShaderProgram.h"

#include <GL/glew.h>

#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

#include "platform/FileBytes.h"
#include "platform/ProcessExit.h"

static_assert(std::is_same<GLhandleARB, unsigned int>::value, "shaderProgram holds an ARB handle");

unsigned int shaderProgram = 0;

namespace {

const char* const VERTEX_SHADER_PATH = "bump.vsh";
const char* const FRAGMENT_SHADER_PATH = "bump.fsh";

[[noreturn]] void failShaderBuild(const char* message) {
    // A shader that cannot be built ends the show quietly: the message alone,
    // no driver log, and status 0.
    platform::exitWithMessage(platform::OutputStream::StandardOutput, message, 0);
}

bool shaderEntryPointsPresent() {
    return glCreateProgramObjectARB && glCreateShaderObjectARB && glShaderSourceARB && glCompileShaderARB &&
           glGetObjectParameterivARB && glAttachObjectARB && glLinkProgramARB && glUseProgramObjectARB &&
           glGetUniformLocationARB && glUniform1iARB && glUniformMatrix4fvARB && glActiveTexture;
}

// Compiles one shader file and attaches it to shaderProgram, or ends the
// process with `compileError`. A missing file never reaches the driver: an
// absent source is not an empty one, and the build reports it as this
// shader's compile error.
void compileAndAttach(const char* path, GLenum type, const char* compileError) {
    std::unique_ptr<char[]> text = readTextFile(path);
    if (!text) {
        failShaderBuild(compileError);
    }
    GLhandleARB shader = glCreateShaderObjectARB(type);
    const GLcharARB* source = text.get();
    glShaderSourceARB(shader, 1, &source, nullptr);
    glCompileShaderARB(shader);
    GLint compiled = 0;
    glGetObjectParameterivARB(shader, GL_OBJECT_COMPILE_STATUS_ARB, &compiled);
    text.reset();
    if (compiled == 0) {
        failShaderBuild(compileError);
    }
    glAttachObjectARB(shaderProgram, shader);
}

}  // namespace

std::string shaderTextFromBytes(const char* bytes, std::size_t size) {
    std::string text;
    text.reserve(size);
    for (std::size_t i = 0; i < size && bytes[i] != '\0'; ++i) {
        const bool lineEndFollows = i + 1 < size && bytes[i + 1] == '\n';
        if (bytes[i] == '\r' && lineEndFollows) {
            continue;
        }
        text.push_back(bytes[i]);
    }
    return text;
}

std::unique_ptr<char[]> readTextFile(const char* path) {
    // A folder, FIFO or device has no text either.
    std::vector<std::uint8_t> bytes;
    platform::FileReadStatus read = platform::readFileBytes(path, MAX_SHADER_BYTES, bytes);
    if (read == platform::FileReadStatus::Missing) {
        return nullptr;
    }
    if (read == platform::FileReadStatus::TooLarge) {
        failShaderBuild((std::string("Error! Broken shader file: ") + path + " (it is larger than the " +
                         platform::byteCountText(MAX_SHADER_BYTES) + " a shader source may take)")
                            .c_str());
    }

    std::string text = shaderTextFromBytes(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::unique_ptr<char[]> buffer(new char[text.size() + 1]);
    std::memcpy(buffer.get(), text.c_str(), text.size() + 1);
    return buffer;
}

void buildBumpShader() {
    // Must run with the context current and before any other GLEW-provided
    // call (the ground's multitexture calls included). Its result says little
    // on its own; the entry points below are what the program needs.
    glewInit();
    if (!shaderEntryPointsPresent()) {
        // Calling an absent entry point would crash the process instead.
        failShaderBuild("OpenGL lacks ARB shader objects or multitexturing...");
    }

    shaderProgram = glCreateProgramObjectARB();
    compileAndAttach(VERTEX_SHADER_PATH, GL_VERTEX_SHADER_ARB, "Compile Error in Vertex Shader...");
    compileAndAttach(FRAGMENT_SHADER_PATH, GL_FRAGMENT_SHADER_ARB, "Compile Error in Fragment Shader...");

    glLinkProgramARB(shaderProgram);
    GLint linked = 0;
    glGetObjectParameterivARB(shaderProgram, GL_OBJECT_LINK_STATUS_ARB, &linked);
    if (linked == 0) {
        failShaderBuild("Error linking shaders...");
    }
}
