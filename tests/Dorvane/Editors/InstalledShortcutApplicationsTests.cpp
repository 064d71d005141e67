#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Dorvane/Editors/InstalledShortcutApplications.h"
#include "DorvaneCore/Editors/ShortcutApplicationList.h"
#include "Platform/Host/Machines/BundleReader.h"
#include "tests/Support/ApplicationsHost.h"

namespace dorvane {
namespace {

using host::InstallPlace;

// "name bundleID path" per entry, in the picker's order.
std::vector<std::string> summary(const std::vector<ApplicationShortcuts>& entries) {
    std::vector<std::string> lines;
    for (const auto& entry : entries) {
        EXPECT_TRUE(entry.shortcuts.empty());
        lines.push_back(entry.name + " " + entry.bundleID + " " + entry.path);
    }
    return lines;
}

// The scan over a machine whose folders are a temporary tree: the running copies, the file
// manager, then the three folders in their order, one entry per identifier, sorted by name.
TEST(InstalledShortcutApplicationsTest, ScansRunningCopiesFinderAndTheFoldersInTheirOrder) {
    testing::ApplicationsHost machine;
    const std::string home = machine.folders.homeApplications();
    // One identifier in all three folders: the user's folder wins, then "/Applications".
    machine.install("Notes", "com.example.notes", InstallPlace::system);
    machine.install("Notes", "com.example.notes", InstallPlace::applications);
    machine.install("Notes", "com.example.notes", InstallPlace::home);
    machine.install("Mail", "com.example.mail", InstallPlace::system);
    machine.install("Mail", "com.example.mail", InstallPlace::applications);
    // Running from "/Applications", installed in the user's folder too: the running copy wins.
    machine.install("Maps", "com.example.maps", InstallPlace::home);
    const std::string runningMaps = machine.install("Maps", "com.example.maps", InstallPlace::applications);
    // Found in a sub-folder; the bundle inside another bundle is never looked at.
    const std::string terminal = machine.install("Terminal", "com.example.terminal", InstallPlace::applications, "Utilities");
    machine.write(terminal + "/Contents/Helpers/Inner.app", host::kBundleInfoFile, R"({"CFBundleIdentifier":"com.example.inner"})");
    // Dropped: no identifier, this program, background only; a folder that only ends in ".app".
    machine.install("Loose");
    machine.install("Corvelle", std::string(ownBundleIdentifier));
    host::BundleInstall daemon;
    daemon.name = "Daemon";
    daemon.identifier = "com.example.daemon";
    daemon.backgroundOnly = true;
    machine.admin().install(daemon);
    std::filesystem::create_directories(*machine.folders.onDisk("/Applications/Empty.app"));
    // Numbers by value, names as the user sees them.
    machine.install("Demo 10", "com.example.demo10");
    machine.install("Demo 2", "com.example.demo2");
    machine.write(std::string(finderBundlePath), host::kBundleInfoFile,
                  R"({"CFBundleIdentifier":"com.apple.finder","CFBundleName":"Finder Bundle","CFBundleDisplayName":"Finder"})");

    const std::vector<std::string> running{runningMaps};
    const auto entries = InstalledShortcutApplications::load(machine.app.installedApplications(), running);
    EXPECT_EQ(summary(entries), (std::vector<std::string>{
                                    "Demo 2 com.example.demo2 /Applications/Demo 2.app",
                                    "Demo 10 com.example.demo10 /Applications/Demo 10.app",
                                    "Finder com.apple.finder /System/Library/CoreServices/Finder.app",
                                    "Mail com.example.mail /Applications/Mail.app",
                                    "Maps com.example.maps /Applications/Maps.app",
                                    "Notes com.example.notes " + home + "/Notes.app",
                                    "Terminal com.example.terminal /Applications/Utilities/Terminal.app",
                                }));
}

// A folder that does not exist, and a machine without the file manager, add nothing.
TEST(InstalledShortcutApplicationsTest, MissingFoldersAddNothing) {
    testing::ApplicationsHost machine;
    EXPECT_TRUE(InstalledShortcutApplications::load(machine.app.installedApplications(), {}).empty());
    machine.install("Notes", "com.example.notes", InstallPlace::home);
    EXPECT_EQ(summary(InstalledShortcutApplications::load(machine.app.installedApplications(), {})),
              std::vector<std::string>{"Notes com.example.notes " + machine.folders.homeApplications() + "/Notes.app"});
}

}  // namespace
}  // namespace dorvane
