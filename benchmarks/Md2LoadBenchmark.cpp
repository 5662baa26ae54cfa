// The program's MD2 loader against assimp's MD2 import on the very same
// bytes, both from memory. The program decodes every keyframe and its
// normals in one load; assimp imports one keyframe per call. Reported: the
// whole load per file, the cost per decoded frame, and assimp's one-keyframe
// import; the loader's normals against the plain pass over every triangle.
// Also: blending one frame of a 2,048-vertex model, which drawing
// does for every actor every frame.
//
// Before the timings it prints which files each loader accepts.
//
//   bench_md2 [--benchmark_filter=...]

#include <assimp/scene.h>
#include <benchmark/benchmark.h>
#include <dirent.h>

#include <algorithm>
#include <assimp/Importer.hpp>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <string>
#include <vector>

#include "model/AnimationState.h"
#include "model/Md2Model.h"
#include "platform/FileBytes.h"
#include "support/Md2FileBuilder.h"
#include "support/Md2ReferenceNormals.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace md2test;

struct NamedFile {
    std::string name;
    Bytes bytes;
};

// A closed shape over `vertexCount` vertices on a ring, three frames named
// pose1..pose3, one strip through every vertex.
Md2FileBuilder ringModel(int vertexCount, int frameCount) {
    Md2FileBuilder model;
    model.vertexCount = vertexCount;
    for (int f = 0; f < frameCount; ++f) {
        Frame frame = gridFrame("pose" + std::to_string(f + 1));
        for (int v = 0; v < vertexCount; ++v) {
            float angle = 6.2831853f * float(v) / float(vertexCount);
            float radius = 5.0f + float((v * 7 + f * 3) % 11) * 0.3f;
            frame.vertices.push_back(
                sceneVertex(radius * std::cos(angle), float(v % 2) * 4.0f + float(f), radius * std::sin(angle)));
        }
        model.frames.push_back(frame);
    }
    std::vector<CommandVertex> strip;
    for (int v = 0; v < vertexCount; ++v) {
        strip.push_back({float(v) / float(vertexCount), float(v % 2), v});
        if (v + 2 < vertexCount) {
            model.triangles.push_back({{std::int16_t(v), std::int16_t(v + 1), std::int16_t(v + 2)}});
        }
    }
    model.addPrimitive(strip, Primitive::Strip);
    model.endCommands();
    return model;
}

// The kinds of file the model tests make, each a case a loader may refuse.
std::vector<NamedFile> testFiles() {
    std::vector<NamedFile> files;
    Md2FileBuilder ring = ringModel(64, 3);
    files.push_back({"test/ring-64v-3f", ring.bytes()});
    files.push_back({"test/ring-2048v-3f", ringModel(Md2Model::MAX_VERTICES, 3).bytes()});

    Md2FileBuilder versionSeven = ring;
    versionSeven.version = 7;
    files.push_back({"test/idp2-version-7", versionSeven.bytes()});
    Md2FileBuilder otherMagic = ring;
    otherMagic.magic = {{'X', 'D', 'P', '2'}};
    files.push_back({"test/other-magic-version-8", otherMagic.bytes()});
    Md2FileBuilder onlyEnd = ring;
    onlyEnd.commandWords = {0};
    files.push_back({"test/command-list-only-0", onlyEnd.bytes()});
    Md2FileBuilder noCommands = ring;
    noCommands.commandWords.clear();
    files.push_back({"test/no-command-list", noCommands.bytes()});
    Md2FileBuilder noFrames;
    files.push_back({"test/no-frames", noFrames.bytes()});
    Md2FileBuilder numbered;
    numbered.addNumberedFrames("stand", 40);
    numbered.addPrimitive({{0.0f, 0.0f, 0}, {0.0f, 0.0f, 0}, {0.0f, 0.0f, 0}}, Primitive::Strip);
    numbered.endCommands();
    files.push_back({"test/one-vertex-40f", numbered.bytes()});
    return files;
}

std::vector<NamedFile> showModels(const std::string& folder) {
    std::vector<NamedFile> files;
    DIR* directory = opendir(folder.c_str());
    if (directory == nullptr) {
        std::fprintf(stderr, "no generated models in %s\n", folder.c_str());
        return files;
    }
    std::vector<std::string> names;
    while (dirent* entry = readdir(directory)) {
        std::string name = entry->d_name;
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".md2") == 0) {
            names.push_back(name);
        }
    }
    closedir(directory);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        NamedFile file{"show/" + name, {}};
        if (platform::readFileBytes((folder + "/" + name).c_str(), Md2Model::MAX_FILE_BYTES, file.bytes) ==
            platform::FileReadStatus::Read) {
            files.push_back(std::move(file));
        }
    }
    return files;
}

const char* statusName(Md2ParseStatus status) {
    switch (status) {
        case Md2ParseStatus::Loaded:
            return "loaded";
        case Md2ParseStatus::HeaderRejected:
            return "header rejected";
        default:
            return "broken";
    }
}

// Which loader takes which file; assimp's refusal comes with its reason.
void printAcceptance(const std::vector<NamedFile>& files) {
    int oursLoaded = 0, assimpLoaded = 0;
    std::printf("%-28s %8s %7s  %-16s %s\n", "file", "bytes", "frames", "ours", "assimp");
    for (const NamedFile& file : files) {
        Md2Model model;
        Md2ParseResult ours = model.parse(file.bytes.data(), file.bytes.size(), file.name);
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFileFromMemory(file.bytes.data(), file.bytes.size(), 0, "md2");
        oursLoaded += ours.status == Md2ParseStatus::Loaded;
        assimpLoaded += scene != nullptr;
        std::printf("%-28s %8zu %7d  %-16s %s\n", file.name.c_str(), file.bytes.size(), model.frameCount,
                    statusName(ours.status), scene ? "loaded" : importer.GetErrorString());
    }
    std::printf("loaded: ours %d of %zu, assimp %d of %zu\n\n", oursLoaded, files.size(), assimpLoaded, files.size());
    std::fflush(stdout);
}

void loadOurs(benchmark::State& state, const NamedFile& file) {
    std::int32_t frames = 0;
    for (auto _ : state) {
        Md2Model model;
        Md2ParseResult result = model.parse(file.bytes.data(), file.bytes.size(), file.name);
        if (result.status != Md2ParseStatus::Loaded) {
            state.SkipWithError(statusName(result.status));
            return;
        }
        benchmark::DoNotOptimize(model.normals.data());
        frames = model.frameCount;
    }
    state.counters["frames"] = frames;
    // Seconds per decoded frame (positions and normals).
    state.counters["per_frame"] =
        benchmark::Counter(double(frames), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void importAssimp(benchmark::State& state, const NamedFile& file) {
    Assimp::Importer importer;
    for (auto _ : state) {
        const aiScene* scene = importer.ReadFileFromMemory(file.bytes.data(), file.bytes.size(), 0, "md2");
        if (scene == nullptr) {
            state.SkipWithError(importer.GetErrorString());
            return;
        }
        benchmark::DoNotOptimize(scene->mMeshes);
        importer.FreeScene();
    }
    state.counters["frames"] = 1;
}

// One blended frame: what drawing computes for every actor every frame.
void interpolateFrame(benchmark::State& state, const NamedFile& file) {
    Md2Model model;
    if (model.parse(file.bytes.data(), file.bytes.size(), file.name).status != Md2ParseStatus::Loaded ||
        model.frameCount < 2) {
        state.SkipWithError("model does not load or has one frame");
        return;
    }
    AnimationState animation;
    animation.currentFrame = 0;
    animation.nextFrame = 1;
    animation.blend = 0.37f;
    model.state = &animation;
    static float positions[Md2Model::MAX_VERTICES * 3];
    static float normals[Md2Model::MAX_VERTICES * 3];
    for (auto _ : state) {
        model.interpolate(positions, normals);
        benchmark::DoNotOptimize(positions);
        benchmark::DoNotOptimize(normals);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * model.vertexCount);
    state.counters["vertices"] = model.vertexCount;
}

double threadSeconds() {
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// The whole load against the same load with the plain pass over every
// triangle in place of the loader's normals, which they equal bit for bit.
// The three parts are timed in turns within every iteration, in this
// thread's CPU time, so that whatever else the machine does meets both sides
// alike: the ratio holds where the absolute times drift.
void loadAgainstEveryTriangle(benchmark::State& state, const NamedFile& file) {
    double load = 0.0, deciding = 0.0, every = 0.0;
    std::vector<float> reference;
    for (auto _ : state) {
        double started = threadSeconds();
        Md2Model model;
        model.parse(file.bytes.data(), file.bytes.size(), file.name);
        double loaded = threadSeconds();
        model.computeNormals();
        double decided = threadSeconds();
        normalsOfEveryTriangle(model, reference);
        double ended = threadSeconds();
        benchmark::DoNotOptimize(model.normals.data());
        benchmark::DoNotOptimize(reference.data());
        load += loaded - started;
        deciding += decided - loaded;
        every += ended - decided;
    }
    const double perIteration = 1e6 / double(state.iterations());
    state.counters["load_us"] = load * perIteration;
    state.counters["normals_us"] = deciding * perIteration;
    state.counters["every_triangle_us"] = every * perIteration;
    state.counters["faster_by"] = (load - deciding + every) / load;
}

std::deque<NamedFile>& keptFiles() {
    static std::deque<NamedFile> kept;
    return kept;
}

}  // namespace

int main(int argumentCount, char** arguments) {
    const char* dataFolder = std::getenv("ZORBI_DATA");
    std::vector<NamedFile> files =
        showModels(std::string(dataFolder ? dataFolder : ZORBI_RUN_DIR "/data") + "/models/c");
    for (NamedFile& file : testFiles()) {
        files.push_back(std::move(file));
    }
    printAcceptance(files);

    for (NamedFile& file : files) {
        keptFiles().push_back(std::move(file));
        const NamedFile& kept = keptFiles().back();
        Md2Model probe;
        const bool oursLoads =
            probe.parse(kept.bytes.data(), kept.bytes.size(), kept.name).status == Md2ParseStatus::Loaded;
        Assimp::Importer importer;
        const bool assimpLoads = importer.ReadFileFromMemory(kept.bytes.data(), kept.bytes.size(), 0, "md2") != nullptr;
        if (oursLoads) {
            benchmark::RegisterBenchmark(("md2/ours/" + kept.name).c_str(), loadOurs, kept)
                ->Unit(benchmark::kMicrosecond);
        }
        if (assimpLoads) {
            benchmark::RegisterBenchmark(("md2/assimp/" + kept.name).c_str(), importAssimp, kept)
                ->Unit(benchmark::kMicrosecond);
        }
        if (oursLoads && probe.frameCount > 1) {
            benchmark::RegisterBenchmark(("normals/" + kept.name).c_str(), loadAgainstEveryTriangle, kept)
                ->Unit(benchmark::kMicrosecond);
        }
        if (oursLoads && probe.frameCount >= 2) {
            benchmark::RegisterBenchmark(("interpolate/" + kept.name).c_str(), interpolateFrame, kept)
                ->Unit(benchmark::kMicrosecond);
        }
    }

    benchmark::Initialize(&argumentCount, arguments);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
