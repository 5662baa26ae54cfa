#include "support/RunFolder.h"

#include <filesystem>

void prepareRunFolder(const TempDir& folder, const std::string& startIni) {
    namespace fs = std::filesystem;
    for (const char* entry : {"data", "bump.vsh", "bump.fsh"}) {
        fs::path source = fs::path(ZORBI_RUN_DIR) / entry;
        if (fs::exists(source)) {
            fs::create_symlink(source, fs::path(folder.path()) / entry);
        }
    }
    if (!startIni.empty()) {
        folder.write("start.ini", startIni);
    }
}

void prepareSwappableRunFolder(const TempDir& folder, const std::string& startIni) {
    namespace fs = std::filesystem;
    fs::path source = ZORBI_RUN_DIR;
    for (const char* shader : {"bump.vsh", "bump.fsh"}) {
        fs::create_symlink(source / shader, fs::path(folder.path()) / shader);
    }
    for (const auto& entry : fs::recursive_directory_iterator(source / "data")) {
        fs::path target = fs::path(folder.path()) / fs::relative(entry.path(), source);
        if (entry.is_directory()) {
            fs::create_directories(target);
        } else {
            fs::create_symlink(entry.path(), target);
        }
    }
    if (!startIni.empty()) {
        folder.write("start.ini", startIni);
    }
}

std::string demoExecutable() {
    return ZORBI_EXECUTABLE;
}

std::string readyToRunFolder() {
    return ZORBI_RUN_DIR;
}
