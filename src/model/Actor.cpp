#include "model/Actor.h"

#include <memory>
#include <string>

#include "ShowFacts.h"
#include "resource/TGAImage.h"
#include "resource/TextureUpload.h"

Actor::Actor(const char* name) {
    // Built as strings, so a name of any length makes whole paths.
    const std::string modelPath = characterModelPath(name);
    const std::string skinPath = characterSkinPath(name);

    // A missing model ends the program here, before the skin is read.
    std::unique_ptr<Md2Model> loaded(new Md2Model(modelPath.c_str()));

    // The minifying filter is not a mipmap one, so only the base level of
    // the chain is sampled. Nothing reads the image after the upload.
    TGAImage skin(skinPath.c_str());
    loaded->setTexture(uploadTexture(skin, UploadKind::Mipmaps, GL_LINEAR, NameRecord::CallerOnly));
    model = loaded.release();
}

Actor::~Actor() {
    delete model;
}

void Actor::setAnimation(std::int32_t number) {
    requestedAnimation = number;
    model->setAnimation(animationState, number);
}

void Actor::draw(float time) {
    glPushMatrix();
    placeAndSelect();
    model->draw(time);
    glPopMatrix();
}

void Actor::drawShadow(float time) {
    glPushMatrix();
    placeAndSelect();
    model->drawShadow(time);
    glPopMatrix();
}

// Moves the modelview matrix to the actor's place and facing, and attaches
// this actor's state to its model (an unchanged number changes nothing).
void Actor::placeAndSelect() {
    glTranslatef(x, 0.0f, z);
    if (facing == -1) {
        glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
    } else if (facing == 0) {
        glRotatef(270.0f, 0.0f, 1.0f, 0.0f);
    }
    model->setAnimation(animationState, requestedAnimation);
}
