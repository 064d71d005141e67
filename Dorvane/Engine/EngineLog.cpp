#include "Dorvane/Engine/EngineLog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "DorvaneCore/Support/Timestamp.h"

namespace dorvane {

namespace fs = std::filesystem;

EngineLog::EngineLog(fs::path root, dispatch::Clock& clock) : root_(std::move(root)), clock_(clock) {}

std::string singleLine(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            result += "\\n";
        } else if (c == '\n') {
            result += "\\n";
        } else if (text.substr(i, 2) == "\xC2\x85") {  // NEL
            result += "\\n";
            i += 1;
        } else if (text.substr(i, 3) == "\xE2\x80\xA8" || text.substr(i, 3) == "\xE2\x80\xA9") {  // LS, PS
            result += "\\n";
            i += 2;
        } else {
            result += c;
        }
    }
    return result;
}

void EngineLog::write(std::string_view event, std::string_view detail) {
    std::error_code ignored;
    fs::create_directories(root_, ignored);
    const fs::path current = path();
    const auto size = fs::file_size(current, ignored);
    if (!ignored && size > rotationLimit) {
        fs::remove(root_ / previousFileName, ignored);
        fs::rename(current, root_ / previousFileName, ignored);
    }
    // Non-blocking and regular files only: a named pipe in the log's place is skipped, not waited on.
    const int fd = ::open(current.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NONBLOCK, 0644);
    if (fd < 0) return;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return;
    }
    const std::string line =
        iso8601UTC(clock_.wallTime()) + " " + singleLine(event) + " " + singleLine(detail) + "\n";
    std::size_t written = 0;
    while (written < line.size()) {
        const ssize_t count = ::write(fd, line.data() + written, line.size() - written);
        if (count <= 0) break;
        written += static_cast<std::size_t>(count);
    }
    ::close(fd);
}

std::string layoutText(const std::vector<DisplayState>& displays) {
    std::string text;
    for (const auto& d : displays) {
        if (!text.empty()) text += " ";
        text += std::to_string(d.id) + (d.main ? "*" : "") + ":" + std::to_string(d.mode.pixelWidth) + "x" +
                std::to_string(d.mode.pixelHeight) + "/" + std::to_string(d.mode.width) + "x" +
                std::to_string(d.mode.height) + "@" + std::to_string(d.x) + "," + std::to_string(d.y) + "m" +
                std::to_string(d.mirror);
    }
    return text;
}

}  // namespace dorvane
