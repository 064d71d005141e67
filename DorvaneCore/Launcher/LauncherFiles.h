#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "DorvaneCore/Launcher/LaunchCounts.h"
#include "DorvaneCore/Launcher/RecentApplications.h"

namespace dorvane {

// The launcher's two files in the support folder. Both are compact JSON with every
// "/" written "\/" (either form is read); both are replaced atomically.
class LauncherFiles {
public:
    static constexpr std::string_view usageFileName = "app-usage.json";
    static constexpr std::string_view recentFileName = "app-recent.json";

    explicit LauncherFiles(std::filesystem::path root);

    const std::filesystem::path& usageFile() const { return usageFile_; }
    const std::filesystem::path& recentFile() const { return recentFile_; }

    // The stored counts; empty when the file is missing, unreadable or does not decode.
    LaunchCounts loadUsage() const;
    // The stored list, cleaned; nullopt when the file is missing, unreadable or does not decode.
    std::optional<RecentApplications> loadRecent() const;

    // Replaces "app-usage.json"; the folder must exist. Throws std::system_error.
    void saveUsage(const LaunchCounts& counts) const;
    // Creates the folder when needed, then replaces "app-recent.json". Throws std::system_error.
    void saveRecent(const RecentApplications& recent) const;

    static std::string encode(const LaunchCounts& counts);
    static std::string encode(const RecentApplications& recent);

private:
    std::filesystem::path root_;
    std::filesystem::path usageFile_;
    std::filesystem::path recentFile_;
};

}  // namespace dorvane
