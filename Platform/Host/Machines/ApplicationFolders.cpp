#include "Platform/Host/Machines/ApplicationFolders.h"

#include <cstdlib>

#include "DorvaneCore/Launcher/ApplicationBundle.h"

namespace dorvane::host {

namespace {

// Whether `path` is `root` or lies inside it.
bool within(std::string_view path, std::string_view root) {
    return path.starts_with(root) && (path.size() == root.size() || path[root.size()] == '/');
}

}  // namespace

ApplicationFolders ApplicationFolders::forHostFolder(const std::filesystem::path& hostFolder) {
    const char* home = std::getenv("HOME");
    return ApplicationFolders{home != nullptr ? std::filesystem::path(home) : std::filesystem::path(), hostFolder};
}

std::string ApplicationFolders::homeApplications() const {
    if (home.empty()) return {};
    return standardizedPath((home / "Applications").generic_string());
}

std::vector<std::string> ApplicationFolders::searchFolders() const {
    std::vector<std::string> folders;
    if (!home.empty()) folders.push_back(homeApplications());
    folders.emplace_back(kSystemApplications);
    folders.emplace_back(kSystemOwnApplications);
    return folders;
}

std::optional<std::filesystem::path> ApplicationFolders::onDisk(std::string_view platformPath) const {
    if (!platformPath.starts_with('/')) return std::nullopt;
    const std::string path = standardizedPath(platformPath);
    if (within(path, "/Applications") || within(path, "/System")) {
        if (hostFolder.empty()) return std::nullopt;
        return hostFolder / path.substr(1);
    }
    return std::filesystem::path(path);
}

}  // namespace dorvane::host
