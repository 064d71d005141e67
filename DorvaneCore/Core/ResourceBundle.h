#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace dorvane {

inline constexpr std::string_view kCoreBundleName = "Corvelle_DorvaneCore.bundle";

// Folders that may hold the core resource bundle, in the order they are tried:
// the installed share folder beside the executable (<exe>/../share/corvelle),
// the build tree's resource folder, and the executable's own folder. A
// candidate that cannot be determined (no executable path) is left out.
std::vector<std::filesystem::path> coreBundleCandidates(const std::optional<std::filesystem::path>& executable);

// The first candidate that holds a folder named `bundleName`.
std::optional<std::filesystem::path> locateBundle(std::span<const std::filesystem::path> candidates,
                                                  std::string_view bundleName);

// The core resource bundle of this process, located once on first use and kept.
// nullopt means an incomplete installation; catalog loaders report their own
// not-found failure for it.
const std::optional<std::filesystem::path>& coreResourceBundle();

}  // namespace dorvane
