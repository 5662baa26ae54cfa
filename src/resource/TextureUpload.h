#pragma once

// GLEW first: it refuses to follow gl.h, and the owners of textures also
// use its entry points.
#include <GL/glew.h>

#include "resource/Image.h"

// How a texture's pixels reach GL: the whole mipmap chain through GLU (which
// scales sizes GL does not accept), or level 0 alone at the file's own size.
enum class UploadKind { Mipmaps, LevelZeroOnly };

// Where the new texture name goes: only to the caller, or also into the
// image's textureId (when that is still 0).
enum class NameRecord { CallerOnly, AlsoInImage };

// The one texture upload convention: generates a texture name, binds it to
// GL_TEXTURE_2D on the active unit (and leaves it bound), uploads the image's
// pixels, sets repeat wrapping in both directions and `filter` for both
// minification and magnification. With NameRecord::AlsoInImage, and when the
// image's textureId is still 0, the name is stored there too. Returns the name.
GLuint uploadTexture(Image& image, UploadKind kind, GLint filter, NameRecord record);
