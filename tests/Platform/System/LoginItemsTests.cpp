#include <gtest/gtest.h>

#include <fstream>

#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Support/AtomicFile.h"
#include "Platform/System/LoginItems.h"
#include "tests/Support/TemporaryFolder.h"

namespace dorvane::system {
namespace {

namespace fs = std::filesystem;

void writeEntry(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

TEST(XdgAutostartLoginItems, RegisteringWritesAnEntryThatStartsThisExecutableAtLogin) {
    testing::TemporaryFolder temporary("corvelle-autostart");
    for (const std::string program : {"/opt/corvelle/corvelle", "/home/a b/$HOME/\"x\"/`y`\\z/100%/corvelle"}) {
        const fs::path folder = temporary.path() / "config" / "autostart";
        XdgAutostartLoginItems items(folder, program);
        EXPECT_EQ(items.status(), LoginItemStatus::notRegistered);
        items.registerItem();
        EXPECT_EQ(items.status(), LoginItemStatus::enabled) << program;

        const std::string text = readFileIfPresent(folder / "corvelle.desktop").value_or("");
        EXPECT_EQ(text.rfind("[Desktop Entry]\nType=Application\nName=Corvelle\n", 0), 0u) << text;
        EXPECT_NE(text.find("\nX-GNOME-Autostart-enabled=true\n"), std::string::npos);
        EXPECT_NE(text.find("\nExec=env CORVELLE_LAUNCHED_AS_LOGIN_ITEM=1 \""), std::string::npos) << text;
        // Another build's executable does not count as registered.
        EXPECT_EQ(XdgAutostartLoginItems(folder, "/elsewhere/corvelle").status(), LoginItemStatus::notRegistered);

        items.unregisterItem();
        EXPECT_FALSE(fs::exists(folder / "corvelle.desktop"));
        EXPECT_EQ(items.status(), LoginItemStatus::notRegistered);
        items.unregisterItem();  // nothing left to remove
    }
}

TEST(XdgAutostartLoginItems, ExecQuotingFollowsTheDesktopEntryRules) {
    EXPECT_EQ(XdgAutostartLoginItems::quotedExecArgument("/a b/$c/\"d\"/`e`/f\\g/5%"),
              "\"/a b/\\$c/\\\"d\\\"/\\`e\\`/f\\\\g/5%%\"");
    EXPECT_EQ(XdgAutostartLoginItems::execArguments("env  X=1 \"/a b/\\$c\" --flag 5%%"),
              (std::vector<std::string>{"env", "X=1", "/a b/$c", "--flag", "5%"}));
    EXPECT_EQ(XdgAutostartLoginItems::execArguments("\"/unterminated"), std::nullopt);
    // The string escape comes on top: a backslash in the path is four in the file.
    EXPECT_NE(XdgAutostartLoginItems::entryText("/a\\b").find("Exec=env CORVELLE_LAUNCHED_AS_LOGIN_ITEM=1 \"/a\\\\\\\\b\"\n"),
              std::string::npos);
}

TEST(XdgAutostartLoginItems, OnlyAUsableEntryForThisExecutableCountsAsEnabled) {
    testing::TemporaryFolder temporary("corvelle-autostart");
    const fs::path folder = temporary.path() / "autostart";
    const std::string exec = "Exec=env CORVELLE_LAUNCHED_AS_LOGIN_ITEM=1 \"/opt/corvelle\"\n";
    struct Case {
        std::string text;
        LoginItemStatus expected;
    };
    const std::vector<Case> cases{
        {"[Desktop Entry]\nType=Application\n" + exec, LoginItemStatus::enabled},
        {"# mine\n[Desktop Entry]\nType = Application\nExec=/opt/corvelle --x\n", LoginItemStatus::enabled},
        {"[Desktop Entry]\nType=Application\nHidden=true\n" + exec, LoginItemStatus::notRegistered},
        {"[Desktop Entry]\nType=Application\nX-GNOME-Autostart-enabled=false\n" + exec, LoginItemStatus::notRegistered},
        {"[Desktop Entry]\nType=Link\n" + exec, LoginItemStatus::notRegistered},
        {"[Desktop Entry]\nType=Application\nExec=/usr/bin/other\n", LoginItemStatus::notRegistered},
        {"[Desktop Entry]\nType=Application\nExec=\"/opt/corvelle\n", LoginItemStatus::notRegistered},
        {"[Other]\nType=Application\n" + exec, LoginItemStatus::notRegistered},
        {"", LoginItemStatus::notRegistered},
    };
    XdgAutostartLoginItems items(folder, "/opt/corvelle");
    for (const auto& [text, expected] : cases) {
        writeEntry(folder / "corvelle.desktop", text);
        EXPECT_EQ(items.status(), expected) << text;
    }
    // Turning on rewrites what is there.
    items.registerItem();
    EXPECT_EQ(items.status(), LoginItemStatus::enabled);
}

TEST(XdgAutostartLoginItems, ABlockedFolderThrowsTheReason) {
    testing::TemporaryFolder temporary("corvelle-autostart");
    const fs::path folder = temporary.path() / "autostart";
    std::ofstream(folder) << "not a folder";  // a file where the folder belongs stops root too
    XdgAutostartLoginItems items(folder, "/opt/corvelle");
    try {
        items.registerItem();
        FAIL() << "registering into a file succeeded";
    } catch (const FitError& error) {
        EXPECT_EQ(error.text().rfind("无法登记开机启动：", 0), 0u) << error.text();
    }
    EXPECT_EQ(items.status(), LoginItemStatus::notRegistered);
    EXPECT_NO_THROW(items.unregisterItem());

    // An entry that is a folder with content cannot be removed.
    const fs::path other = temporary.path() / "other";
    fs::create_directories(other / "corvelle.desktop" / "inside");
    EXPECT_THROW(XdgAutostartLoginItems(other, "/opt/corvelle").unregisterItem(), FitError);
}

TEST(XdgAutostartLoginItems, TheFolderFollowsXdgConfigHomeOnlyWhenAbsolute) {
    EXPECT_EQ(XdgAutostartLoginItems::autostartFolder("/cfg", "/home/u"), fs::path("/cfg/autostart"));
    EXPECT_EQ(XdgAutostartLoginItems::autostartFolder("", "/home/u"), fs::path("/home/u/.config/autostart"));
    EXPECT_EQ(XdgAutostartLoginItems::autostartFolder("rel/cfg", "/home/u"), fs::path("/home/u/.config/autostart"));
    EXPECT_EQ(XdgAutostartLoginItems::autostartFolder(std::nullopt, std::nullopt), fs::path("/.config/autostart"));
}

}  // namespace
}  // namespace dorvane::system
