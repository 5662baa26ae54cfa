// zorbi-contentgen OUTPUT_FOLDER: writes every data file of the show below
// OUTPUT_FOLDER. The same sources always give the same bytes.

#include <cstdio>

#include "Generators.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zorbi-contentgen OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string outputRoot = argv[1];
    bool ok = generateCharacters(outputRoot);
    ok = generateTextures(outputRoot) && ok;
    ok = generateSounds(outputRoot) && ok;
    ok = generateMusic(outputRoot) && ok;
    return ok ? 0 : 1;
}
