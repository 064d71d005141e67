#include "DorvaneCore/Support/LogFile.h"

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "DorvaneCore/Support/FileDescriptor.h"

namespace dorvane {

namespace fs = std::filesystem;

LogWrite appendToLogFile(const fs::path& file, std::string_view text) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NONBLOCK, 0644);
    if (fd < 0) {
        // A folder in the log's place cannot be opened for writing; a pipe with no reader
        // answers ENXIO to a non-blocking open.
        std::error_code ignored;
        const bool irregular = fs::exists(file, ignored) && !fs::is_regular_file(file, ignored);
        return irregular || errno == ENXIO || errno == EISDIR ? LogWrite::notRegularFile : LogWrite::lost;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return LogWrite::notRegularFile;
    }
    const int failure = writeAll(fd, text);
    ::close(fd);
    return failure == 0 ? LogWrite::written : LogWrite::lost;
}

// Several writers (threads with a log object each, other processes) may find it full at
// once: each takes the log's lock and moves it only when its name still stands for the
// file it locked and that file is still full, so the first moves it and the others then
// see the new one, never moving it over the rotated log. A lock someone else holds is not
// waited for: the line then goes to the log as it is, and a later line rotates.
void rotateLogIfFull(const fs::path& file, const fs::path& previous, std::uintmax_t rotationLimit) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return;
    struct stat locked {};
    struct stat named {};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &locked) == 0 && S_ISREG(locked.st_mode) &&
        static_cast<std::uintmax_t>(locked.st_size) > rotationLimit && ::stat(file.c_str(), &named) == 0 &&
        named.st_dev == locked.st_dev && named.st_ino == locked.st_ino) {
        ::rename(file.c_str(), previous.c_str());
    }
    ::close(fd);  // releases the lock
}

LogWrite appendLogLine(const fs::path& file, const fs::path& previous, std::uintmax_t rotationLimit,
                       std::string_view line) {
    std::error_code ignored;
    fs::create_directories(file.parent_path(), ignored);
    std::error_code sizeError;
    const auto size = fs::file_size(file, sizeError);
    if (!sizeError && size > rotationLimit) rotateLogIfFull(file, previous, rotationLimit);
    return appendToLogFile(file, line);
}

void noteSkippedLog(LogWrite write, const fs::path& file, std::atomic<bool>& said) {
    if (write != LogWrite::notRegularFile || said.exchange(true)) return;
    std::fprintf(stderr, "Corvelle: %s is not a regular file; its log lines are skipped\n", file.c_str());
}

}  // namespace dorvane
