#pragma once

#include <string>

// The ground's shaders are written for desktop GLSL 1.10, where the fixed
// pipeline's state is built in (gl_LightSource, gl_LightModel,
// gl_FrontMaterial, gl_NormalMatrix). WebGL compiles GLSL ES 1.00, which
// has none of it and no #version 110. This turns such a source into one the
// browser's GL emulation takes: the #version line becomes a blank line (so
// line numbers in messages stay right), and each piece of fixed-function
// state becomes a uniform of the web layer's own (FIXED_FUNCTION_UNIFORMS),
// which the web layer sets whenever the program is made current. The normal
// matrix is worked out from the modelview matrix in the shader, since it
// changes with every draw. The emulation itself then supplies the rest
// (gl_Vertex, gl_ModelViewMatrix, ftransform and the like).
std::string shaderForWebGl(const std::string& source, bool vertexStage);
