#include "PngFile.h"

#include <cstdlib>

#include "FinishedFile.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace {

bool writeEncodedPng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& topDown,
                     int channels, std::string& error) {
    // stb's own file writing checks neither the writes nor the close.
    int length = 0;
    unsigned char* png = stbi_write_png_to_mem(topDown.data(), width * channels, width, height, channels, &length);
    if (png == nullptr) {
        error = "cannot write " + path + ": out of memory";
        return false;
    }
    std::vector<std::uint8_t> bytes(png, png + length);
    STBIW_FREE(png);
    return writeFinishedFile(path, bytes, error);
}

}  // namespace

bool writePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgbTopDown,
              std::string& error) {
    return writeEncodedPng(path, width, height, rgbTopDown, 3, error);
}

bool writePngRgba(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgbaTopDown,
                  std::string& error) {
    return writeEncodedPng(path, width, height, rgbaTopDown, 4, error);
}
