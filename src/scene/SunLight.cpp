#include "scene/SunLight.h"

#include <GL/glew.h>

#include <cmath>

#include "model/Actor.h"

namespace {

constexpr float DEFAULT_RADIUS = 100.0f;
// The sun model does not animate with the show: it always gets this time.
constexpr float SUN_POSE_TIME = 1.0f;

}  // namespace

SunLight::SunLight() : actor(new Actor("sun")), radius(DEFAULT_RADIUS), enabled(true) {}

SunLight::~SunLight() {
    delete actor;
}

void SunLight::setCentre(float x, float y, float z) {
    centre = Vec4(x, y, z, 1.0f);
}

void SunLight::setRadius(float newRadius) {
    radius = newRadius;
}

void SunLight::update(float angle) {
    if (!enabled) {
        return;
    }
    // The cosine and sine are rounded to float before they are scaled.
    const float cosine = static_cast<float>(std::cos(static_cast<double>(angle)));
    const float sine = static_cast<float>(std::sin(static_cast<double>(angle)));
    position.x = cosine * radius + centre.x;
    position.y = centre.y;
    position.z = sine * radius + centre.z;
    position.w = 1.0f;
}

void SunLight::draw() {
    glPushMatrix();
    glTranslatef(position.x, position.y, position.z);
    actor->draw(SUN_POSE_TIME);
    glPopMatrix();
}
