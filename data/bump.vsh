// Bump-mapped ground, vertex stage. The ground lies in the plane y = 0 of its
// own frame with the normal (0, 1, 0); texture coordinate s runs along +x and
// t along +z, from 0 to 1 across a tile of TILE_SIZE units (the tile strip of
// GroundMaterial.cpp). Those two directions and the normal span the tangent
// frame in which the normal map is written (see bump.fsh). Light 0's position
// arrives in eye space, since the frame sets it after the camera transform.
//
// The fragment stage runs for every ground pixel, so this stage hands it
// everything but the two maps ready to use, and nothing it would have to
// read from a uniform: llvmpipe fetches a fragment shader's uniforms pixel by
// pixel, and in the pair this one replaced those fetches were half the cost
// of the lighting. What the lighting needs is constant over a tile (the light
// and the eye seen from the tile's corner, the light's colours) or follows
// from the texture coordinate.
#version 110

// Values that are the same at every vertex of a tile need no interpolation:
// where the driver offers EXT_gpu_shader4 they are flat, and elsewhere plain
// varyings, which interpolate a constant to itself.
#ifdef GL_EXT_gpu_shader4
#extension GL_EXT_gpu_shader4 : enable
#define PER_TILE flat varying
#else
#define PER_TILE varying
#endif

// World units per repeat of the maps: one tile.
const float TILE_SIZE = 200.0;

// Both maps are sampled with texture coordinate set 0.
varying vec2 mapCoordinate;
// Light 0 and the eye seen from the tile's corner (s, t) = (0, 0), in the
// tangent frame (x along s, y along t, z out of the ground) and in tiles, so
// that a point (s, t) sees them at lightFromCorner.xyz - (s, t, 0) * w and
// eyeFromCorner - (s, t, 0). w is light 0's own: 0 for a directional light,
// which every point sees in the same direction.
PER_TILE vec4 lightFromCorner;
PER_TILE vec3 eyeFromCorner;
// Light 0's share of the ground's colour: the ambient light (the light
// model's and light 0's), light 0's diffuse colour, and its specular colour
// times the material's.
PER_TILE vec3 ambientLight;
PER_TILE vec3 diffuseLight;
PER_TILE vec3 specularLight;

void main() {
    vec4 eyePosition = gl_ModelViewMatrix * gl_Vertex;

    // The frame is rigid (translations and rotations only), so the normal
    // matrix carries the surface directions into eye space as well.
    vec3 normal = normalize(gl_NormalMatrix * gl_Normal);
    vec3 tangent = normalize(gl_NormalMatrix * vec3(1.0, 0.0, 0.0));
    vec3 bitangent = normalize(gl_NormalMatrix * vec3(0.0, 0.0, 1.0));

    vec4 light = gl_LightSource[0].position;
    vec3 toLight = light.xyz - eyePosition.xyz * light.w;
    vec3 toEye = -eyePosition.xyz;
    vec3 lightFromVertex = vec3(dot(toLight, tangent), dot(toLight, bitangent), dot(toLight, normal));
    vec3 eyeFromVertex = vec3(dot(toEye, tangent), dot(toEye, bitangent), dot(toEye, normal));

    vec3 vertexFromCorner = vec3(gl_MultiTexCoord0.st, 0.0);
    lightFromCorner = vec4(lightFromVertex / TILE_SIZE + vertexFromCorner * light.w, light.w);
    eyeFromCorner = eyeFromVertex / TILE_SIZE + vertexFromCorner;
    mapCoordinate = gl_MultiTexCoord0.st;

    ambientLight = gl_LightModel.ambient.rgb + gl_LightSource[0].ambient.rgb;
    diffuseLight = gl_LightSource[0].diffuse.rgb;
    specularLight = gl_LightSource[0].specular.rgb * gl_FrontMaterial.specular.rgb;

    // Same transform as the fixed pipeline, so the ground's depth matches
    // what the fixed-function passes drew.
    gl_Position = ftransform();
}
