#include "DorvaneCore/Core/ResourceBundle.h"

#include <system_error>

namespace dorvane {

namespace {

std::optional<std::filesystem::path> ownExecutable() {
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return std::nullopt;
    return path;
}

}  // namespace

std::vector<std::filesystem::path> coreBundleCandidates(const std::optional<std::filesystem::path>& executable) {
    std::vector<std::filesystem::path> candidates;
    if (executable && executable->has_parent_path()) {
        candidates.push_back(executable->parent_path().parent_path() / CORVELLE_INSTALL_RESOURCE_SUBDIR);
    }
    candidates.emplace_back(CORVELLE_BUILD_RESOURCE_DIR);
    if (executable && executable->has_parent_path()) {
        candidates.push_back(executable->parent_path());
    }
    return candidates;
}

std::optional<std::filesystem::path> locateBundle(std::span<const std::filesystem::path> candidates,
                                                  std::string_view bundleName) {
    for (const auto& folder : candidates) {
        const auto bundle = folder / bundleName;
        std::error_code error;
        if (std::filesystem::is_directory(bundle, error)) return bundle;
    }
    return std::nullopt;
}

const std::optional<std::filesystem::path>& coreResourceBundle() {
    static const std::optional<std::filesystem::path> bundle = [] {
        const auto candidates = coreBundleCandidates(ownExecutable());
        return locateBundle(candidates, kCoreBundleName);
    }();
    return bundle;
}

}  // namespace dorvane
