#include "DorvaneCore/Support/SetAside.h"

#include <cerrno>
#include <cstdio>
#include <string>
#include <system_error>

#include <fcntl.h>

#include "DorvaneCore/Support/FileError.h"
#include "DorvaneCore/Support/Timestamp.h"

namespace dorvane {

namespace fs = std::filesystem;

namespace {

// Renames unless `to` exists; false when it does. Where the file system cannot refuse to
// replace by itself, the test comes first (another process could slip in between).
bool renameIfFree(const fs::path& from, const fs::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno == EEXIST) return false;
    if (errno != EINVAL && errno != ENOSYS) {
        throw FileError(errno, FileError::Action::moveAside, from, "cannot move " + from.string() + " aside");
    }
    std::error_code error;
    if (fs::exists(to, error)) return false;
    fs::rename(from, to, error);
    if (error) throw FileError(error, FileError::Action::moveAside, from, "cannot move " + from.string() + " aside");
    return true;
}

}  // namespace

fs::path moveAside(const fs::path& file, std::string_view stem, std::chrono::system_clock::time_point now) {
    const fs::path folder = file.parent_path();
    const std::string base = std::string(stem) + ".invalid-" + compactUTC(now);
    for (int suffix = 1;; ++suffix) {
        const fs::path candidate = folder / (base + (suffix == 1 ? "" : "-" + std::to_string(suffix)) + ".json");
        if (renameIfFree(file, candidate)) return candidate;
    }
}

}  // namespace dorvane
