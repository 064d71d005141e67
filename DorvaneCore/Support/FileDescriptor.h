#pragma once

#include <string_view>

namespace dorvane {

// An open file that is closed when its owner goes, whichever way it goes.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor();

    int get() const { return fd_; }
    // Gives the file up without closing it, for a close whose result matters.
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

// Writes all of `contents`, through interrupted and partial writes: 0, or the errno of the
// write that failed.
int writeAll(int fd, std::string_view contents);

}  // namespace dorvane
