#include "DorvaneCore/Support/LogFile.h"

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t count = ::write(fd, text.data() + written, text.size() - written);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) break;
        written += static_cast<std::size_t>(count);
    }
    ::close(fd);
    return written == text.size() ? LogWrite::written : LogWrite::lost;
}

LogWrite appendLogLine(const fs::path& file, const fs::path& previous, std::uintmax_t rotationLimit,
                       std::string_view line) {
    std::error_code ignored;
    fs::create_directories(file.parent_path(), ignored);
    std::error_code sizeError;
    const auto size = fs::file_size(file, sizeError);
    if (!sizeError && size > rotationLimit) {
        fs::remove(previous, ignored);
        fs::rename(file, previous, ignored);
    }
    return appendToLogFile(file, line);
}

void noteSkippedLog(LogWrite write, const fs::path& file, std::atomic<bool>& said) {
    if (write != LogWrite::notRegularFile || said.exchange(true)) return;
    std::fprintf(stderr, "Corvelle: %s is not a regular file; its log lines are skipped\n", file.c_str());
}

}  // namespace dorvane
