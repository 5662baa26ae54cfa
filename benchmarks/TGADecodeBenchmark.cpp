// The program's TGA decoder against stb_image on the very same bytes, in the
// same run: uncompressed and run-length, 24 and 32 bits, bottom-up and
// top-down, 256 x 256 to 2048 x 2048; then the show's own texture files.
// Both decode from memory into a fresh RGBA buffer per call, as loading does.
//
//   bench_tga [--benchmark_filter=...]

#include <benchmark/benchmark.h>
#include <dirent.h>
#include <stb/stb_image.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>
#include <vector>

#include "formats/TgaWriter.h"
#include "platform/FileBytes.h"
#include "resource/TGAImage.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct PictureKind {
    int size;
    int bits;
    bool runLength;
    bool topDown;
};

// A painted-looking picture: 16 x 16 cells, half of them flat (long runs),
// a quarter horizontal gradients (short runs), a quarter noise (raw packets).
Picture paintedPicture(int size) {
    Picture picture(size, size);
    std::uint32_t noise = 2463534242u;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int cell = (x / 16) * 7 + (y / 16) * 13;
            std::uint8_t* p = picture.at(x, y);
            noise ^= noise << 13, noise ^= noise >> 17, noise ^= noise << 5;
            switch (cell % 4) {
                case 0:
                case 1:
                    p[2] = std::uint8_t(cell * 37), p[1] = std::uint8_t(cell * 91), p[0] = std::uint8_t(cell * 53);
                    break;
                case 2:
                    p[2] = std::uint8_t(x / 4), p[1] = std::uint8_t(y), p[0] = 128;
                    break;
                default:
                    p[2] = std::uint8_t(noise), p[1] = std::uint8_t(noise >> 8), p[0] = std::uint8_t(noise >> 16);
            }
            p[3] = cell % 3 == 0 ? 255 : std::uint8_t(cell * 29);
        }
    }
    return picture;
}

// Run packets end at each row end, as most writers (ImageMagick, GIMP) do.
Bytes tgaFile(const PictureKind& kind) {
    TgaOptions options;
    options.storage = kind.runLength ? TgaStorage::RunLength : TgaStorage::Raw;
    options.rowOrder = kind.topDown ? TgaRowOrder::TopDown : TgaRowOrder::BottomUp;
    options.channels = kind.bits == 32 ? TgaChannels::Rgba : TgaChannels::Rgb;
    options.packets = TgaPackets::WithinRows;
    return encodeTga(paintedPicture(kind.size), options);
}

void decodeOurs(benchmark::State& state, const Bytes& file) {
    int width = 0, height = 0;
    for (auto _ : state) {
        TGAImage image;
        TGADecodeResult result = image.decode(file.data(), file.size(), "bench.tga");
        if (!result.succeeded) {
            state.SkipWithError(result.message.c_str());
            return;
        }
        benchmark::DoNotOptimize(image.getPixels());
        width = image.getWidth(), height = image.getHeight();
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(width) * height);
    state.SetBytesProcessed(state.iterations() * std::int64_t(file.size()));
}

void decodeStb(benchmark::State& state, const Bytes& file) {
    int width = 0, height = 0;
    for (auto _ : state) {
        int channels = 0;
        stbi_uc* pixels = stbi_load_from_memory(file.data(), int(file.size()), &width, &height, &channels, 4);
        if (pixels == nullptr) {
            state.SkipWithError(stbi_failure_reason());
            return;
        }
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(width) * height);
    state.SetBytesProcessed(state.iterations() * std::int64_t(file.size()));
}

std::string kindName(const PictureKind& kind) {
    return std::string(kind.runLength ? "rle" : "raw") + std::to_string(kind.bits) + "/" +
           (kind.topDown ? "topdown" : "bottomup") + "/" + std::to_string(kind.size);
}

// Every file is kept for the whole run; registered benchmarks refer to them,
// and a deque never moves what it already holds.
std::deque<Bytes>& files() {
    static std::deque<Bytes> kept;
    return kept;
}

void registerPair(const std::string& name, Bytes bytes) {
    files().push_back(std::move(bytes));
    const Bytes& file = files().back();
    benchmark::RegisterBenchmark(("tga/ours/" + name).c_str(), decodeOurs, file)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("tga/stb/" + name).c_str(), decodeStb, file)->Unit(benchmark::kMicrosecond);
}

void registerShowTextures(const std::string& dataFolder) {
    for (const char* folder : {"tex/c", "tex/g", "gfx"}) {
        const std::string path = dataFolder + "/" + folder;
        DIR* directory = opendir(path.c_str());
        if (directory == nullptr) {
            continue;
        }
        std::vector<std::string> names;
        while (dirent* entry = readdir(directory)) {
            std::string name = entry->d_name;
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".tga") == 0) {
                names.push_back(name);
            }
        }
        closedir(directory);
        std::sort(names.begin(), names.end());
        for (const std::string& name : names) {
            Bytes bytes;
            if (platform::readFileBytes((path + "/" + name).c_str(), TGAImage::MAX_FILE_BYTES, bytes) ==
                platform::FileReadStatus::Read) {
                registerPair(std::string("show/") + folder + "/" + name, std::move(bytes));
            }
        }
    }
}

}  // namespace

int main(int argumentCount, char** arguments) {
    for (int size : {256, 512, 1024, 2048}) {
        for (bool runLength : {false, true}) {
            for (int bits : {24, 32}) {
                for (bool topDown : {false, true}) {
                    PictureKind kind{size, bits, runLength, topDown};
                    registerPair(kindName(kind), tgaFile(kind));
                }
            }
        }
    }
    const char* dataFolder = std::getenv("ZORBI_DATA");
    registerShowTextures(dataFolder ? dataFolder : ZORBI_RUN_DIR "/data");

    benchmark::Initialize(&argumentCount, arguments);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
