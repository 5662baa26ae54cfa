#include "formats/FileWriter.h"

#include <errno.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

bool writeFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        // The library serves several programs; each message carries the name
        // of the one that runs (glibc's, as the program was started).
        std::fprintf(stderr, "%s: cannot write %s\n", program_invocation_short_name, path.c_str());
        return false;
    }
    return true;
}
