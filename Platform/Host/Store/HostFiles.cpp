#include "Platform/Host/Store/HostFiles.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Platform/Host/Store/FolderWay.h"
#include "Platform/Host/State/HostError.h"

namespace dorvane::host {

namespace {

std::string errnoText(int code) { return std::error_code(code, std::generic_category()).message(); }

// A link in a file's place (ELOOP with O_NOFOLLOW) is as foreign to the host as a pipe.
std::string causeOf(int code) { return code == ELOOP ? "not a regular file" : errnoText(code); }

constexpr std::int64_t kFirstPauseMicroseconds = 250;
constexpr std::int64_t kLongestPauseMicroseconds = 10'000;

std::string patienceText(std::int64_t microseconds) {
    if (microseconds == 1'000'000) return "a second";
    if (microseconds % 1'000'000 == 0) return std::to_string(microseconds / 1'000'000) + " seconds";
    return std::to_string(microseconds / 1000) + " ms";
}

class AtomicHostFileWriter final : public HostFileWriter {
public:
    void replace(const std::filesystem::path& path, std::string_view text, Durability durability) override {
        writeFileAtomically(path, text, durability);
    }
};

}  // namespace

void checkHostFolder(const std::filesystem::path& folder) {
    const std::string name = "host folder " + folder.string();
    const uid_t user = ::geteuid();
    const WayEnd end = checkFolderWay(folder, user, name);
    if (!end.entry.folder) throw HostError("cannot use " + name + ": not a folder");
    if (end.entry.owner != user) {
        throw HostError(name + " belongs to another user (uid " + std::to_string(end.entry.owner) +
                        "): use a folder of your own");
    }
    if ((end.entry.mode & (S_IWGRP | S_IWOTH)) != 0) {
        throw HostError(name + " can be written by other users (mode " + modeText(end.entry.mode) +
                        "): use a folder only you can write");
    }
}

void prepareHostFolder(const std::filesystem::path& folder) {
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0 && errno == ENOENT) {
        const std::string name = "host folder " + folder.string();
        std::error_code error;
        const auto absolute = std::filesystem::absolute(folder, error);
        if (error) throw HostError("cannot create " + name + ": " + error.message());
        // Nothing is made where another user could move it away: the nearest folder that
        // exists is checked first.
        auto existing = absolute.parent_path();
        while (existing != existing.root_path() && ::lstat(existing.c_str(), &info) != 0 && errno == ENOENT) {
            existing = existing.parent_path();
        }
        const WayEnd holder = checkFolderWay(existing, ::geteuid(), name);
        if (const auto why = othersCanChange(holder.entry, ::geteuid())) {
            throw HostError(name + " would be made in " + holder.path.string() + ", " + *why + ": " +
                            kFolderWayAdvice);
        }
        // The folders the program makes are the user's alone, as for every state folder.
        auto made = existing;
        for (const auto& part : absolute.lexically_relative(existing)) {
            made /= part;
            if (::mkdir(made.c_str(), 0700) != 0 && errno != EEXIST) {
                throw HostError("cannot create " + name + ": " + errnoText(errno));
            }
        }
    }
    checkHostFolder(folder);
}

int openHostFile(const std::filesystem::path& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        // A pipe nobody reads refuses a writer (ENXIO): it is named for what it is.
        const int code = errno;
        struct stat info {};
        const bool irregular = ::lstat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
        throw HostError("cannot open " + path.string() + ": " + (irregular ? "not a regular file" : causeOf(code)));
    }
    struct stat info {};
    const int code = ::fstat(fd, &info) != 0 ? errno : 0;
    if (code != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw HostError("cannot open " + path.string() + ": " + (code != 0 ? errnoText(code) : "not a regular file"));
    }
    return fd;
}

std::optional<std::string> readHostFile(const std::filesystem::path& path) {
    try {
        return readFileIfPresent(path, Links::refuse);
    } catch (const std::system_error& error) {
        // A folder, a pipe, a device or a link in a file's place says so, not "Invalid argument".
        std::error_code ignored;
        const auto status = std::filesystem::symlink_status(path, ignored);
        const bool irregular = std::filesystem::exists(status) && !std::filesystem::is_regular_file(status);
        throw HostError("cannot read " + path.string() + ": " +
                        (irregular ? std::string("not a regular file") : error.code().message()));
    }
}

HostFileLock::HostFileLock(const std::filesystem::path& path, const LockWait& wait) {
    fd_ = openHostFile(path, O_RDWR | O_CREAT);
    // Short pauses first, as holders usually let go within a millisecond or two.
    std::int64_t waited = 0;
    std::int64_t pause = kFirstPauseMicroseconds;
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        const int code = errno;
        if (code == EINTR) continue;
        if (code != EWOULDBLOCK) {
            ::close(fd_);
            throw HostError("cannot lock " + path.string() + ": " + errnoText(code));
        }
        if (wait.once || waited >= wait.patienceMicroseconds) {
            ::close(fd_);
            throw LockTimeout("cannot lock " + path.string() + ": another process has held it for over " +
                              patienceText(wait.patienceMicroseconds));
        }
        if (wait.pause) {
            wait.pause(pause);
        } else {
            ::usleep(static_cast<useconds_t>(pause));
        }
        waited += pause;
        pause = std::min(pause * 2, kLongestPauseMicroseconds);
    }
}

HostFileLock::~HostFileLock() {
    if (fd_ >= 0) ::close(fd_);
}

std::shared_ptr<HostFileWriter> atomicHostFileWriter() { return std::make_shared<AtomicHostFileWriter>(); }

}  // namespace dorvane::host
