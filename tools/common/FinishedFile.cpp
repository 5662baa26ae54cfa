#include "FinishedFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

bool writeAll(int fd, const std::uint8_t* bytes, std::size_t count) {
    while (count > 0) {
        ssize_t written = ::write(fd, bytes, count);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            // A file that takes no byte without saying why is full.
            if (written == 0) {
                errno = ENOSPC;
            }
            return false;
        }
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

std::string partialFileName(const std::string& path) {
    return path + ".partial" + std::filesystem::path(path).extension().string();
}

bool writeFinishedFile(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error) {
    const std::string partial = partialFileName(path);
    int fd = ::open(partial.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    bool whole = fd >= 0 && writeAll(fd, bytes.data(), bytes.size());
    int reason = errno;
    // Some file systems report a failed write only when the file is closed.
    if (fd >= 0 && ::close(fd) != 0 && whole) {
        whole = false;
        reason = errno;
    }
    if (whole && std::rename(partial.c_str(), path.c_str()) != 0) {
        whole = false;
        reason = errno;
    }
    if (!whole) {
        ::unlink(partial.c_str());
        error = "cannot write " + path + ": " + std::strerror(reason);
    }
    return whole;
}
