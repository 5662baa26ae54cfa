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
// BGRA as TGA stores it.
Bytes paintedPicture(int size) {
    Bytes pixels(std::size_t(size) * size * 4);
    std::uint32_t noise = 2463534242u;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int cell = (x / 16) * 7 + (y / 16) * 13;
            std::uint8_t* p = pixels.data() + (std::size_t(y) * size + x) * 4;
            noise ^= noise << 13, noise ^= noise >> 17, noise ^= noise << 5;
            switch (cell % 4) {
                case 0:
                case 1:
                    p[0] = std::uint8_t(cell * 37), p[1] = std::uint8_t(cell * 91), p[2] = std::uint8_t(cell * 53);
                    break;
                case 2:
                    p[0] = std::uint8_t(x / 4), p[1] = std::uint8_t(y), p[2] = 128;
                    break;
                default:
                    p[0] = std::uint8_t(noise), p[1] = std::uint8_t(noise >> 8), p[2] = std::uint8_t(noise >> 16);
            }
            p[3] = cell % 3 == 0 ? 255 : std::uint8_t(cell * 29);
        }
    }
    return pixels;
}

void putPixel(Bytes& out, const std::uint8_t* bgra, int bytesPerPixel) {
    out.insert(out.end(), bgra, bgra + bytesPerPixel);
}

// Packets end at the end of each row, as most writers (ImageMagick, GIMP) do.
void encodeRowRunLength(Bytes& out, const std::uint8_t* row, int width, int bytesPerPixel) {
    auto same = [&](int a, int b) {
        for (int i = 0; i < bytesPerPixel; ++i) {
            if (row[a * 4 + i] != row[b * 4 + i]) {
                return false;
            }
        }
        return true;
    };
    int x = 0;
    while (x < width) {
        int run = 1;
        while (x + run < width && run < 128 && same(x, x + run)) {
            ++run;
        }
        if (run > 1) {
            out.push_back(std::uint8_t(0x80 | (run - 1)));
            putPixel(out, row + x * 4, bytesPerPixel);
            x += run;
            continue;
        }
        int raw = 1;
        while (x + raw < width && raw < 128 && !(x + raw + 1 < width && same(x + raw, x + raw + 1))) {
            ++raw;
        }
        out.push_back(std::uint8_t(raw - 1));
        for (int i = 0; i < raw; ++i) {
            putPixel(out, row + (x + i) * 4, bytesPerPixel);
        }
        x += raw;
    }
}

Bytes tgaFile(const PictureKind& kind) {
    const Bytes picture = paintedPicture(kind.size);
    const int bytesPerPixel = kind.bits / 8;
    Bytes out(18, 0);
    out[2] = kind.runLength ? 10 : 2;
    out[12] = kind.size & 0xFF, out[13] = kind.size >> 8;
    out[14] = kind.size & 0xFF, out[15] = kind.size >> 8;
    out[16] = std::uint8_t(kind.bits);
    out[17] = std::uint8_t((kind.bits == 32 ? 8 : 0) | (kind.topDown ? 0x20 : 0));
    for (int row = 0; row < kind.size; ++row) {
        const std::uint8_t* rowPixels = picture.data() + std::size_t(row) * kind.size * 4;
        if (kind.runLength) {
            encodeRowRunLength(out, rowPixels, kind.size, bytesPerPixel);
        } else {
            for (int x = 0; x < kind.size; ++x) {
                putPixel(out, rowPixels + x * 4, bytesPerPixel);
            }
        }
    }
    return out;
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
