#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A fresh folder under /tmp, removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return root; }
    std::string file(const std::string& relativePath) const { return root + "/" + relativePath; }

    // Writes a file below the folder, making the folders on its way.
    void write(const std::string& relativePath, const std::string& text) const;
    void write(const std::string& relativePath, const std::vector<std::uint8_t>& bytes) const;

private:
    std::string root;
};

// Changes the working directory for the lifetime of the object.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::string& path);
    ~WorkingDirectory();

private:
    std::string previous;
};

std::string readWholeFile(const std::string& path);
