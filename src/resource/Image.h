#pragma once

#include <cstdint>
#include <vector>

// An image in memory as the texture upload wants it: 4 bytes per pixel in the
// order red, green, blue, alpha, row 0 at the bottom of the picture, rows
// tightly packed.
class Image {
public:
    virtual ~Image() = default;

    virtual unsigned char* getPixels() = 0;
    virtual int getWidth() = 0;
    virtual int getHeight() = 0;
    // The pixel depth the file declares; the buffer is always 32 bits a pixel.
    virtual int getBitsPerPixel() = 0;

    // GL texture name the image was uploaded to; 0 until an upload records it.
    std::uint32_t textureId = 0;

protected:
    std::vector<unsigned char> pixels;
};
