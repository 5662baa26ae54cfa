#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "formats/TgaWriter.h"
#include "resource/TGAImage.h"
#include "resource/TextureUpload.h"
#include "support/GLTestWindow.h"

namespace {

// An uncompressed 24-bit image whose bottom half is red and top half blue.
std::vector<std::uint8_t> halvesFile(int width, int height) {
    Picture picture(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bool top = y >= height / 2;
            std::uint8_t* pixel = picture.at(x, y);
            pixel[0] = top ? 0 : 255, pixel[1] = 0, pixel[2] = top ? 255 : 0;
        }
    }
    return encodeTga(picture, {});
}

void decodeHalves(TGAImage& image, int width, int height) {
    std::vector<std::uint8_t> bytes = halvesFile(width, height);
    ASSERT_TRUE(image.decode(bytes.data(), bytes.size(), "halves.tga").succeeded);
}

GLint levelZeroSize(GLenum which) {
    GLint value = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, which, &value);
    return value;
}

// Fills the window with the bound texture, texture coordinates 0 to 1 from
// the bottom left corner, unlit.
void drawTexturedWindow() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(-1.0f, -1.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(1.0f, -1.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(1.0f, 1.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

}  // namespace

TEST(TextureUpload, MipmapsScaleAnOddSizeAndStillSpanThePictureBottomRowFirst) {
    testgl::prepareContext();
    TGAImage image;
    decodeHalves(image, 300, 200);
    GLuint name = uploadTexture(image, UploadKind::Mipmaps, GL_NEAREST, NameRecord::CallerOnly);

    EXPECT_NE(name, 0u);
    EXPECT_EQ(image.textureId, 0u);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(GLuint(bound), name);
    GLint width = levelZeroSize(GL_TEXTURE_WIDTH);
    GLint height = levelZeroSize(GL_TEXTURE_HEIGHT);
    EXPECT_EQ(width & (width - 1), 0) << width;
    EXPECT_EQ(height & (height - 1), 0) << height;

    drawTexturedWindow();
    testgl::Rgba bottom = testgl::readPixel(160, 5);
    testgl::Rgba top = testgl::readPixel(160, 234);
    EXPECT_GT(bottom.r, 200);
    EXPECT_LT(bottom.b, 50);
    EXPECT_GT(top.b, 200);
    EXPECT_LT(top.r, 50);
    // Repeat wrapping in both directions and the asked filter.
    GLint wrapS = 0, wrapT = 0, minFilter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    EXPECT_EQ(wrapS, GL_REPEAT);
    EXPECT_EQ(wrapT, GL_REPEAT);
    EXPECT_EQ(minFilter, GL_NEAREST);
}

TEST(TextureUpload, LevelZeroKeepsTheFileSizeAndRecordsTheNameOnce) {
    testgl::prepareContext();
    TGAImage image;
    decodeHalves(image, 6, 2);
    GLuint first = uploadTexture(image, UploadKind::LevelZeroOnly, GL_LINEAR, NameRecord::AlsoInImage);
    EXPECT_EQ(levelZeroSize(GL_TEXTURE_WIDTH), 6);
    EXPECT_EQ(levelZeroSize(GL_TEXTURE_HEIGHT), 2);
    EXPECT_EQ(image.textureId, first);

    GLuint second = uploadTexture(image, UploadKind::LevelZeroOnly, GL_LINEAR, NameRecord::AlsoInImage);
    EXPECT_NE(second, first);
    EXPECT_EQ(image.textureId, first);
}
