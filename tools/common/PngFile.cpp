#include "PngFile.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

bool writePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgbTopDown) {
    return stbi_write_png(path.c_str(), width, height, 3, rgbTopDown.data(), width * 3) != 0;
}

bool writePngRgba(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgbaTopDown) {
    return stbi_write_png(path.c_str(), width, height, 4, rgbaTopDown.data(), width * 4) != 0;
}
