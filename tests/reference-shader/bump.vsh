// REFERENCE COPY, not loaded by the program: the ground's shader pair as it
// was before data/bump.vsh and data/bump.fsh were rewritten for speed. It is
// kept, unchanged below this note, because two things measure the shipped
// pair against it: the picture test (tests/capture/GroundShaderPictureTest.cpp
// draws the show through both and allows only rounding differences) and the
// paired timing in scripts/perf-report.sh. It lies under tests/ because it is
// a test input, not something the demo reads.
//
// Bump-mapped ground, vertex stage. The ground lies in the plane y = 0 of its
// own frame with the normal (0, 1, 0); texture coordinate s runs along +x and
// t along +z (t = 0 at z = -100, t = 1 at z = +100 of each tile). Those two
// directions and the normal span the tangent frame in which the normal map is
// written (see bump.fsh). Light 0's position arrives in eye space, since the
// frame sets it after the camera transform.
#version 110

// Both maps are sampled with texture coordinate set 0.
varying vec2 mapCoordinate;
// From the surface point to light 0 and to the eye, in tangent space
// (x along s, y along t, z out of the ground). Left unnormalised: both are
// linear across a tile, so interpolation keeps them exact per fragment.
varying vec3 toLightTangent;
varying vec3 toEyeTangent;

void main() {
    vec4 eyePosition = gl_ModelViewMatrix * gl_Vertex;

    // The frame is rigid (translations and rotations only), so the normal
    // matrix carries the surface directions into eye space as well.
    vec3 normal = normalize(gl_NormalMatrix * gl_Normal);
    vec3 tangent = normalize(gl_NormalMatrix * vec3(1.0, 0.0, 0.0));
    vec3 bitangent = normalize(gl_NormalMatrix * vec3(0.0, 0.0, 1.0));

    // Works for a point light (w = 1) and a directional one (w = 0).
    vec4 light = gl_LightSource[0].position;
    vec3 toLight = light.xyz - eyePosition.xyz * light.w;
    vec3 toEye = -eyePosition.xyz;

    toLightTangent = vec3(dot(toLight, tangent), dot(toLight, bitangent), dot(toLight, normal));
    toEyeTangent = vec3(dot(toEye, tangent), dot(toEye, bitangent), dot(toEye, normal));
    mapCoordinate = gl_MultiTexCoord0.st;

    // Same transform as the fixed pipeline, so the ground's depth matches
    // what the fixed-function passes drew.
    gl_Position = ftransform();
}
