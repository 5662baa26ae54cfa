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

std::string demoExecutable() { return ZORBI_EXECUTABLE; }

std::string readyToRunFolder() { return ZORBI_RUN_DIR; }
