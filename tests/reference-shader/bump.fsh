// REFERENCE COPY, not loaded by the program: the ground's shader pair as it
// was before data/bump.vsh and data/bump.fsh were rewritten for speed. It is
// kept, unchanged below this note, because two things measure the shipped
// pair against it: the picture test (tests/capture/GroundShaderPictureTest.cpp
// draws the show through both and allows only rounding differences) and the
// paired timing in scripts/perf-report.sh. It lies under tests/ because it is
// a test input, not something the demo reads.
//
// Bump-mapped ground, fragment stage.
//
// Normal map encoding ("normalMapTexture", data/tex/g/groundNM.tga):
//   each texel's RGB is n * 0.5 + 0.5 (bytes: round(255 * (n * 0.5 + 0.5))),
//   where n is the unit surface normal in tangent space:
//     x (red)   points towards increasing s: the picture's right;
//     y (green) points towards increasing t: the picture's top as displayed
//               (the loader's pixel rows run bottom-up, so row index grows
//               with y);
//     z (blue)  points out of the surface.
//   A flat texel is (128, 128, 255). For a height field h(column, row) with
//   rows counted from the bottom, n = normalize(-dh/dcolumn, -dh/drow, 1) up
//   to a scale on the slopes. Alpha is ignored. The map repeats on every
//   tile, so it must wrap seamlessly, and it is uploaded at its own size,
//   which must be a power of two in each direction.
//
// Lighting is light 0's: the light model's and light 0's ambient plus light
// 0's diffuse, modulating the colour map, plus light 0's specular with the
// front material's specular colour and shininess (fixed at 20 below).
#version 110

uniform sampler2D texture;
uniform sampler2D normalMapTexture;

varying vec2 mapCoordinate;
varying vec3 toLightTangent;
varying vec3 toEyeTangent;

void main() {
    vec4 colour = texture2D(texture, mapCoordinate);
    vec3 normal = normalize(texture2D(normalMapTexture, mapCoordinate).rgb * 2.0 - 1.0);
    vec3 toLight = normalize(toLightTangent);
    vec3 toEye = normalize(toEyeTangent);

    // A bump must not catch light from below the ground's horizon: fade the
    // light out as it sinks to the geometric surface.
    float aboveHorizon = clamp(toLight.z * 8.0, 0.0, 1.0);
    float diffuse = max(dot(normal, toLight), 0.0) * aboveHorizon;

    // The highlight's exponent is the material's shininess, 20 for the whole
    // run (initGLState), raised by squaring: a software renderer computes
    // pow as exp2(log2) for every pixel, several times the five products.
    vec3 halfway = normalize(toLight + toEye);
    float facing = max(dot(normal, halfway), 0.0);
    float facing4 = facing * facing;
    facing4 *= facing4;
    float facing16 = facing4 * facing4;
    facing16 *= facing16;
    float specular = diffuse > 0.0 ? facing16 * facing4 * aboveHorizon : 0.0;

    vec3 ambient = gl_LightModel.ambient.rgb + gl_LightSource[0].ambient.rgb;
    vec3 lit = colour.rgb * (ambient + gl_LightSource[0].diffuse.rgb * diffuse) +
               gl_LightSource[0].specular.rgb * gl_FrontMaterial.specular.rgb * specular;
    gl_FragColor = vec4(lit, colour.a);
}
