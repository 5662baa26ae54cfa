#include "formats/FileWriter.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

bool writeFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "zorbi-contentgen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}
