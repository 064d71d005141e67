#include "DorvaneCore/Support/FileDescriptor.h"

#include <cerrno>
#include <cstddef>

#include <unistd.h>

namespace dorvane {

FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
}

int writeAll(int fd, std::string_view contents) {
    const char* cursor = contents.data();
    std::size_t remaining = contents.size();
    while (remaining > 0) {
        const ssize_t written = ::write(fd, cursor, remaining);
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        // A write that takes nothing would never finish the loop.
        if (written == 0) return EIO;
        cursor += written;
        remaining -= static_cast<std::size_t>(written);
    }
    return 0;
}

}  // namespace dorvane
