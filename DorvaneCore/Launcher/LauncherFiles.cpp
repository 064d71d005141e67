#include "DorvaneCore/Launcher/LauncherFiles.h"

#include <system_error>

#include "DorvaneCore/Support/AtomicFile.h"

namespace dorvane {

namespace fs = std::filesystem;

namespace {

// The files keep the escaped solidus their earlier writers used. In compact JSON a
// "/" can only stand inside a string, and no byte of a multi-byte UTF-8 sequence is one.
std::string escapingSolidus(const std::string& compact) {
    std::string result;
    result.reserve(compact.size());
    for (const char c : compact) {
        if (c == '/') result += '\\';
        result += c;
    }
    return result;
}

std::optional<json::Json> readDocument(const fs::path& file) {
    try {
        const auto text = readFileIfPresent(file);
        if (!text) return std::nullopt;
        return json::parse(*text);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace

LauncherFiles::LauncherFiles(fs::path root)
    : root_(std::move(root)), usageFile_(root_ / usageFileName), recentFile_(root_ / recentFileName) {}

LaunchCounts LauncherFiles::loadUsage() const {
    const auto document = readDocument(usageFile_);
    if (!document) return {};
    try {
        return LaunchCounts::fromJson(*document);
    } catch (const json::DecodeError&) {
        return {};
    }
}

std::optional<RecentApplications> LauncherFiles::loadRecent() const {
    const auto document = readDocument(recentFile_);
    if (!document) return std::nullopt;
    try {
        return RecentApplications::fromJson(*document);
    } catch (const json::DecodeError&) {
        return std::nullopt;
    }
}

void LauncherFiles::saveUsage(const LaunchCounts& counts) const { writeFileAtomically(usageFile_, encode(counts)); }

void LauncherFiles::saveRecent(const RecentApplications& recent) const {
    // A folder that cannot be made shows up as the write's own failure.
    std::error_code ignored;
    fs::create_directories(root_, ignored);
    writeFileAtomically(recentFile_, encode(recent));
}

std::string LauncherFiles::encode(const LaunchCounts& counts) {
    return escapingSolidus(json::serialize(counts.toJson()));
}

std::string LauncherFiles::encode(const RecentApplications& recent) {
    return escapingSolidus(json::serialize(recent.toJson()));
}

}  // namespace dorvane
