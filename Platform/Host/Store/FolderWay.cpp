#include "Platform/Host/Store/FolderWay.h"

#include <cerrno>
#include <cstdio>
#include <deque>
#include <system_error>

#include <sys/stat.h>

#include "Platform/Host/State/HostError.h"

namespace dorvane::host {

namespace fs = std::filesystem;

namespace {

// As many links as the kernel follows in one path.
constexpr int kMostLinks = 40;

bool trusted(uid_t owner, uid_t user) { return owner == user || owner == 0; }

// Walks a path from the root, holding the folder reached so far.
class Walk {
public:
    Walk(uid_t user, const std::string& subject, const WayLookup& lookup)
        : user_(user), subject_(subject), lookup_(lookup) {
        here_ = look("/");
    }

    // Resolves `path` (absolute) from the root.
    void follow(const fs::path& path) {
        std::deque<std::string> names;
        for (const auto& part : path.relative_path()) names.push_back(part.string());
        while (!names.empty()) {
            const std::string name = std::move(names.front());
            names.pop_front();
            if (name.empty() || name == ".") continue;
            if (name == "..") {
                resolved_ = resolved_.parent_path();
                here_ = look(resolved_);
                continue;
            }
            if (!here_.folder) throw HostError("cannot use " + subject_ + ": " + resolved_.string() + " is not a folder");
            if (const auto why = othersCanChange(here_, user_)) {
                throw HostError(subject_ + " is reached through " + resolved_.string() + ", " + *why + ": " +
                                kFolderWayAdvice);
            }
            const fs::path next = resolved_ / name;
            WayEntry entry = look(next);
            if (!entry.link) {
                resolved_ = next;
                here_ = std::move(entry);
                continue;
            }
            checkLink(next, entry);
            // An absolute target starts again at the root; a relative one goes on from the
            // folder that holds the link.
            const fs::path target(entry.linkTarget);
            std::deque<std::string> rest;
            if (target.is_absolute()) {
                resolved_ = "/";
                here_ = look(resolved_);
            }
            for (const auto& part : target.relative_path()) rest.push_back(part.string());
            names.insert(names.begin(), rest.begin(), rest.end());
        }
    }

    WayEnd end() const { return WayEnd{resolved_, here_}; }

private:
    WayEntry look(const fs::path& path) {
        try {
            return lookup_(path);
        } catch (const HostError& error) {
            throw HostError("cannot use " + subject_ + ": " + error.what());
        }
    }

    void checkLink(const fs::path& path, const WayEntry& link) {
        if (++links_ > kMostLinks) throw HostError("cannot use " + subject_ + ": too many links on the way");
        // Whoever owns a link in a sticky folder may still replace it.
        if (!trusted(link.owner, user_)) {
            throw HostError(subject_ + " is reached through the link " + path.string() +
                            ", which belongs to another user (uid " + std::to_string(link.owner) +
                            "): use a folder of your own");
        }
    }

    uid_t user_;
    const std::string& subject_;
    const WayLookup& lookup_;
    fs::path resolved_ = "/";
    WayEntry here_;
    int links_ = 0;
};

}  // namespace

std::string modeText(mode_t mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

WayEntry lookUpWayEntry(const fs::path& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        throw HostError(path.string() + ": " + std::error_code(errno, std::generic_category()).message());
    }
    WayEntry entry;
    entry.folder = S_ISDIR(info.st_mode);
    entry.link = S_ISLNK(info.st_mode);
    entry.owner = info.st_uid;
    entry.mode = info.st_mode & 07777;
    if (entry.link) {
        std::error_code error;
        entry.linkTarget = fs::read_symlink(path, error).string();
        if (error) throw HostError(path.string() + ": " + error.message());
    }
    return entry;
}

std::optional<std::string> othersCanChange(const WayEntry& folder, uid_t user) {
    if (!trusted(folder.owner, user)) {
        return "which belongs to another user (uid " + std::to_string(folder.owner) + ")";
    }
    if ((folder.mode & (S_IWGRP | S_IWOTH)) != 0 && (folder.mode & S_ISVTX) == 0) {
        return "which other users can write (mode " + modeText(folder.mode) + ", not sticky)";
    }
    return std::nullopt;
}

WayEnd checkFolderWay(const fs::path& path, uid_t user, const std::string& subject, const WayLookup& lookup) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    if (error) throw HostError("cannot use " + subject + ": " + error.message());
    Walk walk(user, subject, lookup);
    walk.follow(absolute);
    return walk.end();
}

}  // namespace dorvane::host
