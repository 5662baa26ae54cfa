#pragma once

#include <cstddef>
#include <memory>
#include <string>

// The ground's bump program (an ARB program object handle). Written once by
// buildBumpShader during start-up; read by every frame, which makes it current
// and sets its uniforms "texture", "normalMapTexture" and "lightMatrix".
extern unsigned int shaderProgram;

// Initialises GLEW for the whole program, then compiles "bump.vsh" and
// "bump.fsh" from the working directory and links them into shaderProgram.
// Leaves the fixed-function pipeline current. Returns only with a linked
// program; otherwise prints one line on standard output and ends the process
// with status 0. A shader file that cannot be opened counts as a shader that
// does not compile.
void buildBumpShader();

// The largest shader source read; the ground's pair takes a few KiB.
constexpr std::size_t MAX_SHADER_BYTES = 1024 * 1024;

// The whole text of a file, read in one go and cleaned by shaderTextFromBytes;
// null when the path is not a regular file that can be read. A file larger
// than MAX_SHADER_BYTES ends the process as a shader build failure does.
std::unique_ptr<char[]> readTextFile(const char* path);

// Source text as the compiler should see it: a carriage return right before a
// line feed is dropped (CR-LF files compile like LF files), and the text ends
// at the first NUL byte, if any.
std::string shaderTextFromBytes(const char* bytes, std::size_t size);
