#include "resource/TextureUpload.h"

#include <GL/glu.h>

GLuint uploadTexture(Image& image, UploadKind kind, GLint filter, NameRecord record) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);

    // The internal format is the enumerant GL_RGBA, not a component count.
    // Neither upload is checked: a texture GL cannot take stays incomplete.
    if (kind == UploadKind::Mipmaps) {
        gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, image.getWidth(), image.getHeight(), GL_RGBA, GL_UNSIGNED_BYTE,
                          image.getPixels());
    } else {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, image.getWidth(), image.getHeight(), 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     image.getPixels());
    }

    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);

    if (record == NameRecord::AlsoInImage && image.textureId == 0) {
        image.textureId = name;
    }
    return name;
}
