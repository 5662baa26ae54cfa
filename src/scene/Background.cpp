#include "scene/Background.h"

#include <GL/glew.h>

#include "ShowFacts.h"
#include "app/RunState.h"
#include "resource/TGAImage.h"
#include "resource/TextureUpload.h"

unsigned int backgroundTexture = 0;

namespace {

// How much of the texture's width is on screen at once, in texture units.
constexpr float VISIBLE_BAND = 0.3f;
// Half the rectangle's size and its distance in front of the eye. At a 50
// degree vertical field of view the view is about 466 units high there, so
// the rectangle fills it up to an aspect ratio of about 1.37.
constexpr float HALF_WIDTH = 320.0f;
constexpr float HALF_HEIGHT = 240.0f;
constexpr float DISTANCE = 500.0f;

}  // namespace

void loadBackgroundTexture() {
    TGAImage image(BACKGROUND_TEXTURE_PATH);
    backgroundTexture = uploadTexture(image, UploadKind::Mipmaps, GL_LINEAR, NameRecord::CallerOnly);
}

void drawBackground() {
    const float left = backgroundScroll;
    // Formed in double from the two floats, as GL receives it.
    const float right = static_cast<float>(static_cast<double>(backgroundScroll) + static_cast<double>(VISIBLE_BAND));

    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, backgroundTexture);
    // White and unlit under GL_MODULATE: the picture's own colours.
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);

    // The normal with every corner: an emulated fixed pipeline reads it
    // nowhere else, and GL takes it alike.
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glTexCoord2f(left, 1.0f);
    glVertex3f(-HALF_WIDTH, HALF_HEIGHT, -DISTANCE);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glTexCoord2f(left, 0.0f);
    glVertex3f(-HALF_WIDTH, -HALF_HEIGHT, -DISTANCE);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glTexCoord2f(right, 0.0f);
    glVertex3f(HALF_WIDTH, -HALF_HEIGHT, -DISTANCE);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glTexCoord2f(right, 1.0f);
    glVertex3f(HALF_WIDTH, HALF_HEIGHT, -DISTANCE);
    glEnd();

    glDisable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
}
