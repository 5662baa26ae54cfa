#include "characters/SkinPainter.h"

#include <cmath>

#include "kit/Hash.h"

namespace characters {

namespace {

constexpr int BLEED = 2;

double latticeValue(std::int64_t x, std::int64_t y, std::int64_t z, std::uint64_t seed) {
    return unitFromHash(hashLattice(x, y, z, seed));
}

}  // namespace

double valueNoise(const Vec3& p, std::uint64_t seed) {
    double fx = std::floor(p.x);
    double fy = std::floor(p.y);
    double fz = std::floor(p.z);
    auto ix = static_cast<std::int64_t>(fx);
    auto iy = static_cast<std::int64_t>(fy);
    auto iz = static_cast<std::int64_t>(fz);
    double tx = smoothstep(0.0, 1.0, p.x - fx);
    double ty = smoothstep(0.0, 1.0, p.y - fy);
    double tz = smoothstep(0.0, 1.0, p.z - fz);
    double corners[2][2][2];
    for (int a = 0; a < 2; ++a) {
        for (int b = 0; b < 2; ++b) {
            for (int c = 0; c < 2; ++c) {
                corners[a][b][c] = latticeValue(ix + a, iy + b, iz + c, seed);
            }
        }
    }
    double x00 = lerp(corners[0][0][0], corners[1][0][0], tx);
    double x10 = lerp(corners[0][1][0], corners[1][1][0], tx);
    double x01 = lerp(corners[0][0][1], corners[1][0][1], tx);
    double x11 = lerp(corners[0][1][1], corners[1][1][1], tx);
    return lerp(lerp(x00, x10, ty), lerp(x01, x11, ty), tz);
}

double fractalNoise(const Vec3& p, std::uint64_t seed) {
    double sum = 0.0;
    double weight = 0.5;
    double frequency = 1.0;
    double total = 0.0;
    for (int octave = 0; octave < 4; ++octave) {
        sum += weight * valueNoise(p * frequency, seed + static_cast<std::uint64_t>(octave) * 7919u);
        total += weight;
        weight *= 0.5;
        frequency *= 2.03;
    }
    return sum / total;
}

Picture paintSkin(const CharacterMesh& mesh, const PaintFunction& paint, const Colour& background) {
    Picture picture(SKIN_SIZE, SKIN_SIZE);
    for (int y = 0; y < SKIN_SIZE; ++y) {
        for (int x = 0; x < SKIN_SIZE; ++x) {
            std::uint8_t* texel = picture.at(x, y);
            texel[0] = toByte(background.r);
            texel[1] = toByte(background.g);
            texel[2] = toByte(background.b);
            texel[3] = 255;
        }
    }
    for (size_t index = 0; index < mesh.parts.size(); ++index) {
        const BodyPart& part = mesh.parts[index];
        if (part.atlasOwner >= 0) {
            continue;
        }
        const AtlasRect& rect = part.atlas;
        for (int py = rect.y - BLEED; py < rect.y + rect.height + BLEED; ++py) {
            for (int px = rect.x - BLEED; px < rect.x + rect.width + BLEED; ++px) {
                if (px < 0 || py < 0 || px >= SKIN_SIZE || py >= SKIN_SIZE) {
                    continue;
                }
                // Texel centres; the bleed repeats the edge round the part
                // (u wraps) and the end points along it (v is clamped).
                double u = (px + 0.5 - rect.x) / rect.width;
                u -= std::floor(u);
                double v = clamp01((py + 0.5 - rect.y) / rect.height);
                PaintSpot spot{static_cast<int>(index), part.surfacePoint(u, v), part.surfaceNormal(u, v), u, v};
                Colour colour = paint(spot);
                double light = 0.84 + 0.16 * (0.5 + 0.5 * spot.normal.z);
                // Row 0 of the picture is its bottom; skin rows count from the top.
                std::uint8_t* texel = picture.at(px, SKIN_SIZE - 1 - py);
                texel[0] = toByte(colour.r * light);
                texel[1] = toByte(colour.g * light);
                texel[2] = toByte(colour.b * light);
            }
        }
    }
    return picture;
}

}  // namespace characters
