#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace dorvane {

// How a replacement reaches the disk: flushed (the text and the rename survive a crash of
// the machine), or by rename alone (readers still see the old file or the new one, never a
// mixture, but a crash of the machine can leave an empty file).
enum class Durability { flushed, renameOnly };

// Replaces `path` with `contents` so that a reader sees either the old file or
// the new one, never a mixture: the text goes to a temporary file in the same
// folder, is flushed to disk, and is renamed over the target; the folder is
// flushed afterwards so the rename survives a crash. An existing file keeps its
// permission bits; a new one gets 0666 less the process's umask, as any file the
// process creates. Throws FileError (a std::system_error) and leaves the target untouched
// on any failure.
void writeFileAtomically(const std::filesystem::path& path, std::string_view contents,
                         Durability durability = Durability::flushed);

// Whether a path that is a symbolic link is followed when a file is read.
enum class Links { follow, refuse };

// The whole file, or nullopt when it does not exist. Other failures throw FileError (a std::system_error),
// among them a path that is not a regular file (a named pipe is refused, never waited on) and,
// with Links::refuse, a symbolic link (ELOOP).
std::optional<std::string> readFileIfPresent(const std::filesystem::path& path, Links links = Links::follow);

}  // namespace dorvane
