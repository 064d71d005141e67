#include "DorvaneCore/Support/BoundedFile.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "DorvaneCore/Support/FileDescriptor.h"

namespace dorvane {

namespace {

BoundedRead refused(BoundedReadRefusal why) { return BoundedRead{std::nullopt, why}; }

}  // namespace

BoundedRead readBoundedRegularFile(const std::filesystem::path& path, std::size_t limit) {
    // Looked at before it is opened, so that no device is ever opened; opened without
    // blocking, so that whatever took the file's place meanwhile cannot make the open wait.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return refused(errno == ENOENT || errno == ENOTDIR ? BoundedReadRefusal::missing
                                                            : BoundedReadRefusal::unreadable);
    }
    if (!S_ISREG(info.st_mode)) return refused(BoundedReadRefusal::notRegular);
    if (static_cast<std::size_t>(info.st_size) > limit) return refused(BoundedReadRefusal::tooLarge);
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (file.get() < 0) return refused(BoundedReadRefusal::unreadable);
    if (::fstat(file.get(), &info) != 0) return refused(BoundedReadRefusal::unreadable);
    if (!S_ISREG(info.st_mode)) return refused(BoundedReadRefusal::notRegular);
    std::string contents;
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(file.get(), buffer, sizeof buffer);
        if (count < 0) {
            if (errno == EINTR) continue;
            return refused(BoundedReadRefusal::unreadable);
        }
        if (count == 0) break;
        // A file that grew past the bound since it was looked at is refused all the same.
        if (contents.size() + static_cast<std::size_t>(count) > limit) return refused(BoundedReadRefusal::tooLarge);
        contents.append(buffer, static_cast<std::size_t>(count));
    }
    return BoundedRead{std::move(contents), std::nullopt};
}

}  // namespace dorvane
