#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "Platform/Host/Store/FolderWay.h"
#include "Platform/Host/State/HostError.h"

namespace dorvane::host {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kUser = 1000;
constexpr uid_t kOther = 1001;
const std::string kSubject = "host folder H";

// A file system made of lstat answers.
class FabricatedTree {
public:
    FabricatedTree() {
        folder("/", 0, 0755);
        folder("/home", 0, 0755);
        folder("/home/user", kUser, 0700);
        folder("/home/user/state", kUser, 0755);
        folder("/home/user/state/host", kUser, 0700);
        folder("/tmp", 0, 01777);
        folder("/tmp/made", kUser, 0700);
    }
    void folder(const std::string& path, uid_t owner, mode_t mode) { entries[path] = WayEntry{true, false, owner, mode, ""}; }
    void link(const std::string& path, uid_t owner, const std::string& target) {
        entries[path] = WayEntry{false, true, owner, 0777, target};
    }
    WayLookup lookup() const {
        return [this](const fs::path& path) {
            const auto found = entries.find(path.string());
            if (found == entries.end()) throw HostError(path.string() + ": No such file or directory");
            return found->second;
        };
    }
    std::string check(const std::string& path) const {
        try {
            return checkFolderWay(path, kUser, kSubject, lookup()).path.string();
        } catch (const HostError& error) {
            return error.what();
        }
    }

    std::map<std::string, WayEntry> entries;
};

// The user's home, a mktemp folder in the sticky /tmp, and links of the user's own or the
// superuser's, relative or absolute, all lead where they point.
TEST(FolderWayTest, WaysOnlyTheUserAndTheSuperuserCanChangeLeadWhereTheyPoint) {
    FabricatedTree tree;
    tree.link("/home/user/here", kUser, "state/./host/");
    tree.link("/home/user/up", kUser, "../user/state");
    tree.link("/var", 0, "/home/user");
    EXPECT_EQ(tree.check("/home/user/state/host"), "/home/user/state/host");
    EXPECT_EQ(tree.check("/tmp/made"), "/tmp/made");
    EXPECT_EQ(tree.check("/home/user/here"), "/home/user/state/host");
    EXPECT_EQ(tree.check("/home/user/up/host"), "/home/user/state/host");
    EXPECT_EQ(tree.check("/var/state/host"), "/home/user/state/host");
    EXPECT_EQ(tree.check("/home/user/state/../state/host"), "/home/user/state/host");
    const auto end = checkFolderWay("/var/here", kUser, kSubject, tree.lookup());
    EXPECT_EQ(end.path, "/home/user/state/host");
    EXPECT_TRUE(end.entry.folder);
    EXPECT_FALSE(end.entry.link);
}

// A ".." leads to the folder above the one reached so far (through a link, above the folder
// the link leads to), and that folder is what the way then holds: its own entry is what is
// checked next and what the way answers when it ends there.
TEST(FolderWayTest, ADotDotLeadsToTheFolderAboveWhichIsCheckedAsAnyOther) {
    FabricatedTree tree;
    tree.link("/home/user/away", kUser, "/tmp/made");
    tree.folder("/home/user/open", kUser, 0777);
    tree.folder("/home/user/open/host", kUser, 0700);
    auto end = checkFolderWay("/home/user/state/host/..", kUser, kSubject, tree.lookup());
    EXPECT_EQ(end.path, "/home/user/state");
    EXPECT_EQ(end.entry.mode, 0755u);
    end = checkFolderWay("/home/user/away/..", kUser, kSubject, tree.lookup());
    EXPECT_EQ(end.path, "/tmp");
    EXPECT_EQ(end.entry.mode, 01777u);
    EXPECT_EQ(tree.check("/home/user/state/../open/host"),
              kSubject + " is reached through /home/user/open, which other users can write (mode 0777, not "
                         "sticky): use a folder whose parent folders only you and the superuser can change");
}

// A folder on the way that another user owns, or that others can write without the sticky
// bit, lets them rename the rest of the way and put their own in its place.
TEST(FolderWayTest, AFolderOnTheWayThatAnotherUserCouldChangeIsRefused) {
    const std::string advice = ": use a folder whose parent folders only you and the superuser can change";
    struct Case {
        std::string folder;
        uid_t owner;
        mode_t mode;
        std::string why;
    };
    for (const Case& refused : {
             Case{"/home", 0, 0777, "which other users can write (mode 0777, not sticky)"},
             Case{"/home", 0, 0775, "which other users can write (mode 0775, not sticky)"},
             Case{"/home/user", kUser, 0722, "which other users can write (mode 0722, not sticky)"},
             Case{"/home/user/state", kUser, 0757, "which other users can write (mode 0757, not sticky)"},
             Case{"/home/user", kOther, 0700, "which belongs to another user (uid 1001)"},
             Case{"/home/user/state", kOther, 01777, "which belongs to another user (uid 1001)"},
             Case{"/", kOther, 0755, "which belongs to another user (uid 1001)"},
         }) {
        FabricatedTree tree;
        tree.folder(refused.folder, refused.owner, refused.mode);
        EXPECT_EQ(tree.check("/home/user/state/host"), kSubject + " is reached through " + refused.folder + ", " +
                                                           refused.why + advice);
    }
    // The sticky bit keeps each entry for its owner; the folder itself is not on its own way.
    FabricatedTree tree;
    tree.folder("/home", 0, 01777);
    tree.folder("/home/user/state", kUser, 01775);
    tree.folder("/home/user/state/host", kOther, 0777);
    EXPECT_EQ(tree.check("/home/user/state/host"), "/home/user/state/host");
}

// A link is as good as the folders it lies in and the folders it leads through.
TEST(FolderWayTest, TheFoldersOfEveryLinkOnTheWayAreCheckedToo) {
    FabricatedTree tree;
    tree.folder("/shared", 0, 0777);
    tree.folder("/shared/host", kUser, 0700);
    tree.link("/shared/mine", kUser, "/home/user/state/host");
    tree.link("/home/user/out", kUser, "/shared/host");
    tree.link("/tmp/planted", kOther, "/home/user/state/host");
    tree.link("/tmp/a", kUser, "b");
    tree.link("/tmp/b", kUser, "/tmp/a");
    const std::string writable = ", which other users can write (mode 0777, not sticky): use a folder whose parent "
                                 "folders only you and the superuser can change";
    EXPECT_EQ(tree.check("/shared/mine"), kSubject + " is reached through /shared" + writable);
    EXPECT_EQ(tree.check("/home/user/out"), kSubject + " is reached through /shared" + writable);
    EXPECT_EQ(tree.check("/tmp/planted"), kSubject +
                                              " is reached through the link /tmp/planted, which belongs to another "
                                              "user (uid 1001): use a folder of your own");
    EXPECT_EQ(tree.check("/tmp/a"), "cannot use host folder H: too many links on the way");
    EXPECT_EQ(tree.check("/home/user/gone/host"), "cannot use host folder H: /home/user/gone: No such file or directory");
    tree.entries["/home/user/file"] = WayEntry{false, false, kUser, 0600, ""};
    EXPECT_EQ(tree.check("/home/user/file/host"), "cannot use host folder H: /home/user/file is not a folder");
}

}  // namespace
}  // namespace dorvane::host
