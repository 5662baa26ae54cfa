#include "platform/FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

bool readAll(int descriptor, std::vector<std::uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t got = ::read(descriptor, bytes.data() + done, bytes.size() - done);
        if (got <= 0) {
            return false;
        }
        done += static_cast<size_t>(got);
    }
    return true;
}

}  // namespace

int openRegularFile(const char* path) {
    // Without O_NONBLOCK, opening a FIFO waits for a writer for ever.
    int descriptor = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) {
        return -1;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return -1;
    }
    // Regular files ignore the flag, but readers may rely on plain blocking
    // semantics, so it is taken off again.
    int flags = ::fcntl(descriptor, F_GETFL);
    if (flags < 0 || ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(descriptor);
        return -1;
    }
    return descriptor;
}

FileReadStatus readFileBytes(const char* path, std::size_t maxBytes, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    int descriptor = openRegularFile(path);
    if (descriptor < 0) {
        return FileReadStatus::Missing;
    }
    struct stat status {};
    FileReadStatus result = FileReadStatus::Missing;
    if (::fstat(descriptor, &status) == 0) {
        if (static_cast<std::uint64_t>(status.st_size) > maxBytes) {
            result = FileReadStatus::TooLarge;
        } else {
            bytes.resize(static_cast<size_t>(status.st_size));
            result = readAll(descriptor, bytes) ? FileReadStatus::Read : FileReadStatus::Missing;
        }
    }
    ::close(descriptor);
    if (result != FileReadStatus::Read) {
        bytes.clear();
    }
    return result;
}

std::string byteCountText(std::size_t bytes) {
    constexpr std::size_t KIB = 1024;
    if (bytes >= KIB * KIB && bytes % (KIB * KIB) == 0) {
        return std::to_string(bytes / (KIB * KIB)) + " MiB";
    }
    if (bytes >= KIB && bytes % KIB == 0) {
        return std::to_string(bytes / KIB) + " KiB";
    }
    return std::to_string(bytes) + " bytes";
}

}  // namespace platform
