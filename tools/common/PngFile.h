#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes RGB pixels (3 bytes each, top row first) as a PNG that appears only
// once whole (FinishedFile.h); false with `error` naming the file and why.
bool writePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgbTopDown,
              std::string& error);

// The same for RGBA pixels (4 bytes each, top row first), with transparency.
bool writePngRgba(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgbaTopDown,
                  std::string& error);
