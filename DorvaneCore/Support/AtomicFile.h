#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace dorvane {

// Replaces `path` with `contents` so that a reader sees either the old file or
// the new one, never a mixture: the text goes to a temporary file in the same
// folder, is flushed to disk, and is renamed over the target; the folder is
// flushed afterwards so the rename survives a crash. An existing file keeps its
// permission bits; a new one gets 0644. Throws std::system_error and leaves
// the target untouched on any failure.
void writeFileAtomically(const std::filesystem::path& path, std::string_view contents);

// The whole file, or nullopt when it does not exist. Other failures throw std::system_error,
// among them a path that is not a regular file (a named pipe is refused, never waited on).
std::optional<std::string> readFileIfPresent(const std::filesystem::path& path);

}  // namespace dorvane
