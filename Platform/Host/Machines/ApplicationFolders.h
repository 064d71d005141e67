#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dorvane::host {

// Where the simulated machine keeps application bundles on disk. The user's
// "~/Applications" is the real one in the home folder; "/Applications" and "/System"
// live in the host folder, so every process of one host sees the same machine. Paths
// travel in the platform's form; only onDisk() turns them into files.
struct ApplicationFolders {
    std::filesystem::path home;        // empty: the user has no home folder
    std::filesystem::path hostFolder;  // empty: the machine has no system folders

    // The host kept in `hostFolder`, for the user whose home is $HOME.
    static ApplicationFolders forHostFolder(const std::filesystem::path& hostFolder);

    // "<home>/Applications" in the platform's form; empty without a home folder.
    std::string homeApplications() const;
    // The folders a scan looks in, the user's first.
    std::vector<std::string> searchFolders() const;

    // The file a platform path stands for: under "/Applications" and "/System" the host
    // folder's, any other absolute path itself; none for a relative path, or a system
    // path on a machine without system folders.
    std::optional<std::filesystem::path> onDisk(std::string_view platformPath) const;
};

inline constexpr std::string_view kSystemApplications = "/Applications";
inline constexpr std::string_view kSystemOwnApplications = "/System/Applications";

}  // namespace dorvane::host
