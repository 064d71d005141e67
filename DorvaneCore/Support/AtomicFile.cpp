#include "DorvaneCore/Support/AtomicFile.h"

#include <cerrno>
#include <cstdlib>
#include <random>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "DorvaneCore/Support/FileDescriptor.h"
#include "DorvaneCore/Support/FileError.h"

namespace dorvane {

namespace {

[[noreturn]] void throwWriteError(int code, const std::filesystem::path& path, const std::string& what) {
    throw FileError(code, FileError::Action::write, path, what);
}

[[noreturn]] void throwReadError(int code, const std::filesystem::path& path, const std::string& what) {
    throw FileError(code, FileError::Action::read, path, what);
}

// A new file beside `path` that nobody else has, created as the process creates any file
// (0666 less its umask, which only the kernel can apply without a race between threads).
// Its name goes to `name`.
int createTemporary(const std::filesystem::path& folder, const std::filesystem::path& path, std::string& name) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const std::string prefix = (folder / ("." + path.filename().string() + ".tmp-")).string();
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = prefix;
        for (int letter = 0; letter < 6; ++letter) name += kLetters[random() % (sizeof kLetters - 1)];
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

}  // namespace

void writeFileAtomically(const std::filesystem::path& path, std::string_view contents, Durability durability) {
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    std::string temporary;
    FileDescriptor fd(createTemporary(folder, path, temporary));
    if (fd.get() < 0) throwWriteError(errno, path, "create temporary file for " + path.string());

    try {
        struct stat existing {};
        if (::lstat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
            if (::fchmod(fd.get(), existing.st_mode & 07777) != 0) throwWriteError(errno, path, "chmod " + temporary);
        }
        if (const int code = writeAll(fd.get(), contents); code != 0) throwWriteError(code, path, "write " + temporary);
        if (durability == Durability::flushed && ::fsync(fd.get()) != 0) {
            throwWriteError(errno, path, "fsync " + temporary);
        }
        if (::close(fd.release()) != 0) throwWriteError(errno, path, "close " + temporary);
        if (::rename(temporary.c_str(), path.c_str()) != 0) throwWriteError(errno, path, "rename to " + path.string());
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
    if (durability == Durability::renameOnly) return;

    // Make the rename itself durable; failing here does not undo the replacement.
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
}

std::optional<std::string> readFileIfPresent(const std::filesystem::path& path, Links links) {
    // Non-blocking, so that a named pipe in the file's place cannot make the open wait for a writer.
    const int noFollow = links == Links::refuse ? O_NOFOLLOW : 0;
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | noFollow));
    if (fd.get() < 0) {
        if (errno == ENOENT) return std::nullopt;
        throwReadError(errno, path, "open " + path.string());
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) throwReadError(errno, path, "stat " + path.string());
    if (!S_ISREG(info.st_mode)) throwReadError(EINVAL, path, "read " + path.string() + ": not a regular file");
    std::string contents;
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(fd.get(), buffer, sizeof buffer);
        if (count < 0) {
            if (errno == EINTR) continue;
            throwReadError(errno, path, "read " + path.string());
        }
        if (count == 0) break;
        contents.append(buffer, static_cast<std::size_t>(count));
    }
    return contents;
}

}  // namespace dorvane
