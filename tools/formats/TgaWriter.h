#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "formats/Picture.h"

// The 18-byte header of a TGA file, field by field; a colour map is never
// described. Any values may be written, also those no reader accepts.
struct TgaHeader {
    std::uint8_t idLength = 0;   // bytes of ID field between the header and the pixels
    std::uint8_t imageType = 2;  // 2 true colour, 10 true colour run-length encoded
    int width = 0;
    int height = 0;
    std::uint8_t bitsPerPixel = 24;
    std::uint8_t descriptor = 0;  // alpha bits (low nibble), 0x20 when the first row is the top
};

std::vector<std::uint8_t> encodeTgaHeader(const TgaHeader& header);

// How the pixels are stored: as they are, or run-length encoded.
enum class TgaStorage { Raw, RunLength };
// Which row the file holds first; top-down is screen destination 2.
enum class TgaRowOrder { BottomUp, TopDown };
// 24 bits of colour, or 32 with an 8-bit alpha channel.
enum class TgaChannels { Rgb, Rgba };
// Whether a run-length packet may run on into the next row, as the format
// allows, or ends with each row, as most writers do.
enum class TgaPackets { AcrossRows, WithinRows };

struct TgaOptions {
    TgaStorage storage = TgaStorage::Raw;
    TgaRowOrder rowOrder = TgaRowOrder::BottomUp;
    TgaChannels channels = TgaChannels::Rgb;
    TgaPackets packets = TgaPackets::AcrossRows;
};

// Encodes as a true-colour TGA (type 2, or 10 when run-length encoded).
std::vector<std::uint8_t> encodeTga(const Picture& picture, const TgaOptions& options);

// Writes the file, making its folders; false after a message on standard error.
bool writeTga(const std::string& path, const Picture& picture, const TgaOptions& options);
