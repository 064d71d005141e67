#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace dorvane::host {

// The folders a path is resolved through, checked as ssh checks the folders of its keys:
// whoever may rename or replace an entry in one of them could put a folder (or a link) of
// their choice where the path leads, at any time while a program uses it. Only the user
// and the superuser may own them, and others may write in them only when the sticky bit
// keeps each entry for its owner (as in /tmp).

// One entry on the way, as lstat sees it.
struct WayEntry {
    bool folder = false;
    bool link = false;
    uid_t owner = 0;
    mode_t mode = 0;
    std::string linkTarget;  // what a link points at
};

// Looks an absolute path up without following a link at its end; throws HostError when it
// cannot.
using WayLookup = std::function<WayEntry(const std::filesystem::path&)>;

// The file system's answer (lstat, and readlink for a link).
WayEntry lookUpWayEntry(const std::filesystem::path& path);

// What the person is told to do when a folder on the way could be changed by others.
inline constexpr const char* kFolderWayAdvice =
    "use a folder whose parent folders only you and the superuser can change";

// A mode's permission bits as ls and chmod write them ("0755", "1777").
std::string modeText(mode_t mode);

// Why another user could change what `folder` holds, or nothing when only `user` and the
// superuser can.
std::optional<std::string> othersCanChange(const WayEntry& folder, uid_t user);

// Where a path leads, and what is there.
struct WayEnd {
    std::filesystem::path path;
    WayEntry entry;  // never a link
};

// Resolves `path` (made absolute first) one name at a time, following links, and answers
// where it leads. Throws HostError "`subject` is reached through WHERE, WHY: …" when a folder that a
// name on the way is looked up in (the resolved path's ancestors and the folders of every
// link on the way) is one whose entries another user could change, or a link on the way
// belongs to another user; and HostError "cannot use `subject`: …" when the path cannot be
// resolved.
WayEnd checkFolderWay(const std::filesystem::path& path, uid_t user, const std::string& subject,
                      const WayLookup& lookup = lookUpWayEntry);

}  // namespace dorvane::host
