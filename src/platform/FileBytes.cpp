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

bool readFileBytes(const char* path, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    int descriptor = ::open(path, O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return false;
    }
    // A directory opens for reading too, but has no bytes to give.
    struct stat status {};
    bool ok = ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
    if (ok) {
        bytes.resize(static_cast<size_t>(status.st_size));
        ok = readAll(descriptor, bytes);
    }
    ::close(descriptor);
    if (!ok) {
        bytes.clear();
    }
    return ok;
}

}  // namespace platform
