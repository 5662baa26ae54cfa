#include "support/TempDir.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

TempDir::TempDir() {
    char pattern[] = "/tmp/zorbi-test-XXXXXX";
    char* made = mkdtemp(pattern);
    root = made ? made : "/tmp";
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}

void TempDir::write(const std::string& relativePath, const std::string& text) const {
    std::filesystem::path target = file(relativePath);
    std::filesystem::create_directories(target.parent_path());
    std::ofstream out(target, std::ios::binary);
    out << text;
}

void TempDir::write(const std::string& relativePath, const std::vector<std::uint8_t>& bytes) const {
    write(relativePath, std::string(bytes.begin(), bytes.end()));
}

WorkingDirectory::WorkingDirectory(const std::string& path) {
    previous = std::filesystem::current_path();
    std::filesystem::current_path(path);
}

WorkingDirectory::~WorkingDirectory() {
    std::filesystem::current_path(previous);
}

std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
