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
//   which must be a power of two in each direction. Its texels must be unit
//   normals (to within a few per cent), as the generator writes them.
//
// Lighting is light 0's: the ambient light plus light 0's diffuse, modulating
// the colour map, plus light 0's specular highlight (Blinn's halfway vector)
// with the front material's specular colour and shininess (fixed at 20
// below). bump.vsh supplies the colours and where the light and the eye are.
//
// llvmpipe runs this stage for every ground pixel, so it is kept short: it
// reads no uniform but the two maps, and it takes one reciprocal square root,
// one square root and one division.
#version 110

#ifdef GL_EXT_gpu_shader4
#extension GL_EXT_gpu_shader4 : enable
#define PER_TILE flat varying
#else
#define PER_TILE varying
#endif

uniform sampler2D texture;
uniform sampler2D normalMapTexture;

varying vec2 mapCoordinate;
PER_TILE vec4 lightFromCorner;
PER_TILE vec3 eyeFromCorner;
PER_TILE vec3 ambientLight;
PER_TILE vec3 diffuseLight;
PER_TILE vec3 specularLight;

void main() {
    vec4 colour = texture2D(texture, mapCoordinate);
    // Half the normal: its length only scales what it is multiplied into.
    vec3 normal = texture2D(normalMapTexture, mapCoordinate).rgb - 0.5;
    float normalSquared = dot(normal, normal);
    // 1 / |normal| to within 2e-4 for a normal of 0.89 to 1.02 times unit
    // length (a least-squares quadratic): the filter's blends of unit texels
    // are that long (of the generated map, the shortest is 0.93).
    float inverseLength = 3.918581 + normalSquared * (-11.37059 + normalSquared * 14.77929);

    vec3 toLight = vec3(lightFromCorner.xy - mapCoordinate * lightFromCorner.w, lightFromCorner.z);
    toLight *= inversesqrt(dot(toLight, toLight));
    vec3 toEye = vec3(eyeFromCorner.xy - mapCoordinate, eyeFromCorner.z);

    // A bump must not catch light from below the ground's horizon: fade the
    // light out as it sinks to the geometric surface.
    float aboveHorizon = clamp(toLight.z * 8.0, 0.0, 1.0);
    float facingLight = dot(normal, toLight);
    float diffuse = max(facingLight * inverseLength, 0.0) * aboveHorizon;

    // The halfway vector times the eye's distance: toLight + toEye / |toEye|
    // without the division. Its squared cosine with the normal comes from
    // one division, and the shininess of 20 (initGLState) is its tenth power,
    // by squaring: a software renderer computes pow as exp2(log2).
    vec3 halfway = toLight * sqrt(dot(toEye, toEye)) + toEye;
    float facingHalfway = max(dot(normal, halfway), 0.0);
    float cosineSquared = facingHalfway * facingHalfway / (normalSquared * dot(halfway, halfway));
    float cosine4 = cosineSquared * cosineSquared;
    float cosine8 = cosine4 * cosine4;
    float specular = facingLight > 0.0 ? cosine8 * cosine8 * cosine4 * aboveHorizon : 0.0;

    gl_FragColor = vec4(colour.rgb * (ambientLight + diffuseLight * diffuse) + specularLight * specular, colour.a);
}
