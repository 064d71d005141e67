#include "Platform/Processes/SystemProcesses.h"

#include <charconv>
#include <fstream>
#include <system_error>

#include "DorvaneCore/Support/UnicodeText.h"

namespace dorvane::processes {

namespace fs = std::filesystem;

SystemProcesses::SystemProcesses(fs::path procRoot) : root_(std::move(procRoot)) {}

std::optional<std::vector<pid_t>> SystemProcesses::allProcessIDs() {
    std::error_code error;
    fs::directory_iterator entries(root_, error);
    if (error) return std::nullopt;
    std::vector<pid_t> pids;
    for (const auto& entry : entries) {
        const std::string name = entry.path().filename().string();
        pid_t pid = 0;
        const auto [end, parsed] = std::from_chars(name.data(), name.data() + name.size(), pid);
        if (parsed == std::errc{} && end == name.data() + name.size() && pid > 0) pids.push_back(pid);
    }
    if (pids.empty()) return std::nullopt;  // a readable /proc always lists at least ourselves
    return pids;
}

std::optional<std::string> SystemProcesses::name(pid_t pid) {
    std::ifstream stream(root_ / std::to_string(pid) / "comm");
    std::string name;
    if (!stream || !std::getline(stream, name)) return std::nullopt;
    return text::sanitizedUTF8(name);
}

std::optional<std::string> SystemProcesses::executablePath(pid_t pid) {
    std::error_code error;
    const auto target = fs::read_symlink(root_ / std::to_string(pid) / "exe", error);
    if (error || target.empty()) return std::nullopt;
    return text::sanitizedUTF8(target.string());
}

}  // namespace dorvane::processes
