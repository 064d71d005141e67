#include "DorvaneCore/Launcher/ApplicationBundle.h"

#include <filesystem>

namespace dorvane {

std::string ApplicationBundle::applicationIdentifier() const {
    if (bundleIdentifier && !bundleIdentifier->empty()) return *bundleIdentifier;
    return path;
}

std::string ApplicationBundle::name() const {
    if (displayName) return *displayName;
    if (bundleName) return *bundleName;
    return fileStem(path);
}

std::string fileStem(std::string_view path) {
    const std::string_view last = path.substr(path.rfind('/') + 1);
    const auto dot = last.rfind('.');
    return std::string(dot == std::string_view::npos || dot == 0 ? last : last.substr(0, dot));
}

std::string standardizedPath(std::string_view path) {
    if (path.empty()) return {};
    std::string normal = std::filesystem::path(path).lexically_normal().generic_string();
    while (normal.size() > 1 && normal.back() == '/') normal.pop_back();
    return normal;
}

}  // namespace dorvane
