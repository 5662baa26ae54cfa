#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "formats/Picture.h"

// How the pixels are stored: as they are, or run-length encoded.
enum class TgaStorage { Raw, RunLength };
// Which row the file holds first; top-down is screen destination 2.
enum class TgaRowOrder { BottomUp, TopDown };
// 24 bits of colour, or 32 with an 8-bit alpha channel.
enum class TgaChannels { Rgb, Rgba };

struct TgaOptions {
    TgaStorage storage = TgaStorage::Raw;
    TgaRowOrder rowOrder = TgaRowOrder::BottomUp;
    TgaChannels channels = TgaChannels::Rgb;
};

// Encodes as a true-colour TGA (type 2, or 10 when run-length encoded).
std::vector<std::uint8_t> encodeTga(const Picture& picture, const TgaOptions& options);

// Writes the file, making its folders; false after a message on standard error.
bool writeTga(const std::string& path, const Picture& picture, const TgaOptions& options);
