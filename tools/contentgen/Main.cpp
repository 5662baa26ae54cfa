// zorbi-contentgen OUTPUT_FOLDER: writes every data file of the show below
// OUTPUT_FOLDER. The same sources always give the same bytes.

#include <cstdio>
#include <future>
#include <vector>

#include "Generators.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zorbi-contentgen OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string outputRoot = argv[1];
    // The generators share nothing but the output folder, and each writes
    // files of its own below it, so they run side by side: the music alone
    // takes about as long as all the others together. Each is deterministic
    // on its own, so running them at once changes no byte.
    std::vector<std::future<bool>> runs;
    for (bool (*generate)(const std::string&) : {generateMusic, generateCharacters, generateTextures, generateSounds}) {
        runs.push_back(std::async(std::launch::async, generate, outputRoot));
    }
    bool ok = true;
    for (std::future<bool>& run : runs) {
        ok = run.get() && ok;
    }
    return ok ? 0 : 1;
}
