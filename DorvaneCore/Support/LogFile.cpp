#include "DorvaneCore/Support/LogFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dorvane {

namespace fs = std::filesystem;

void appendLogLine(const fs::path& file, const fs::path& previous, std::uintmax_t rotationLimit,
                   std::string_view line) {
    std::error_code ignored;
    fs::create_directories(file.parent_path(), ignored);
    std::error_code sizeError;
    const auto size = fs::file_size(file, sizeError);
    if (!sizeError && size > rotationLimit) {
        fs::remove(previous, ignored);
        fs::rename(file, previous, ignored);
    }
    // Non-blocking and regular files only: a named pipe in the log's place is skipped, not waited on.
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NONBLOCK, 0644);
    if (fd < 0) return;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return;
    }
    std::size_t written = 0;
    while (written < line.size()) {
        const ssize_t count = ::write(fd, line.data() + written, line.size() - written);
        if (count <= 0) break;
        written += static_cast<std::size_t>(count);
    }
    ::close(fd);
}

}  // namespace dorvane
