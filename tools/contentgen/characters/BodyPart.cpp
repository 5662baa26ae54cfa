#include "characters/BodyPart.h"

namespace characters {

namespace {

Ring interpolateRing(const Ring& a, const Ring& b, double t) {
    Ring r;
    r.along = lerp(a.along, b.along, t);
    r.radiusFront = lerp(a.radiusFront, b.radiusFront, t);
    r.radiusSide = lerp(a.radiusSide, b.radiusSide, t);
    r.shiftFront = lerp(a.shiftFront, b.shiftFront, t);
    return r;
}

// Radius factor of a superellipse with exponent n at `angle`: 1 for a circle.
double superellipseScale(double angle, double n) {
    if (n == 2.0) {
        return 1.0;
    }
    double c = std::pow(std::fabs(std::cos(angle)), n);
    double s = std::pow(std::fabs(std::sin(angle)), n);
    return std::pow(c + s, -1.0 / n);
}

}  // namespace

Vec3 BodyPart::sideAxis() const {
    Vec3 side = normalize(cross(axis, front));
    return mirrored ? -side : side;
}

std::vector<double> BodyPart::ringParameters() const {
    std::vector<double> parameters(rings.size(), 0.0);
    double total = 0.0;
    for (size_t i = 1; i < rings.size(); ++i) {
        double radiusBefore = i == 1 ? 0.0 : 0.5 * (rings[i - 1].radiusFront + rings[i - 1].radiusSide);
        double radiusAfter = i + 1 == rings.size() ? 0.0 : 0.5 * (rings[i].radiusFront + rings[i].radiusSide);
        double da = rings[i].along - rings[i - 1].along;
        double dr = radiusAfter - radiusBefore;
        total += std::sqrt(da * da + dr * dr);
        parameters[i] = total;
    }
    for (double& p : parameters) {
        p = total > 0.0 ? p / total : 0.0;
    }
    return parameters;
}

Vec3 BodyPart::surfacePoint(double u, double v) const {
    return surfacePoint(u, v, ringParameters());
}

Vec3 BodyPart::surfacePoint(double u, double v, const std::vector<double>& parameters) const {
    size_t last = rings.size() - 1;
    v = clamp01(v);
    size_t index = 0;
    while (index + 1 < last && parameters[index + 1] < v) {
        ++index;
    }
    double span = parameters[index + 1] - parameters[index];
    double t = span > 0.0 ? (v - parameters[index]) / span : 0.0;
    Ring before = rings[index];
    Ring after = rings[index + 1];
    // The end rings are points.
    if (index == 0) {
        before.radiusFront = before.radiusSide = 0.0;
    }
    if (index + 1 == last) {
        after.radiusFront = after.radiusSide = 0.0;
    }
    Ring ring = interpolateRing(before, after, t);
    double angle = 2.0 * PI * (u - 0.5);
    double scale = superellipseScale(angle, squareness);
    if (sectionScale) {
        scale *= sectionScale(angle, v);
    }
    Vec3 centre = origin + axis * ring.along + front * ring.shiftFront;
    return centre + front * (ring.radiusFront * scale * std::cos(angle)) +
           sideAxis() * (ring.radiusSide * scale * std::sin(angle));
}

Vec3 BodyPart::surfaceNormal(double u, double v) const {
    const double step = 1e-3;
    double vc = std::min(1.0 - 2.0 * step, std::max(2.0 * step, v));
    std::vector<double> parameters = ringParameters();
    Vec3 du = surfacePoint(u + step, vc, parameters) - surfacePoint(u - step, vc, parameters);
    Vec3 dv = surfacePoint(u, vc + step, parameters) - surfacePoint(u, vc - step, parameters);
    Vec3 n = normalize(cross(du, dv));
    Vec3 here = surfacePoint(u, vc, parameters);
    Vec3 centre = origin + axis * dot(here - origin, axis);
    if (dot(n, here - centre) < 0.0) {
        n = -n;
    }
    return n;
}

void BodyPart::weightsAt(double along, Joint joints[2], double weights[2]) const {
    joints[0] = joints[1] = spans.front().joint;
    weights[0] = 1.0;
    weights[1] = 0.0;
    for (size_t i = 1; i < spans.size(); ++i) {
        double start = spans[i].startAlong;
        if (along < start - 0.5 * blendWidth) {
            break;
        }
        double share = smoothstep(start - 0.5 * blendWidth, start + 0.5 * blendWidth, along);
        joints[0] = spans[i - 1].joint;
        joints[1] = spans[i].joint;
        weights[0] = 1.0 - share;
        weights[1] = share;
    }
}

}  // namespace characters
