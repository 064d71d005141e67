#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "DorvaneCore/Core/FailureText.h"
#include "Platform/Host/Machines/BundleReader.h"
#include "Platform/Host/State/HostError.h"
#include "Platform/Host/Machines/RemoteApplications.h"
#include "tests/Support/ApplicationsHost.h"
#include "tests/Support/RefusingHostStore.h"

namespace dorvane::host {
namespace {

using workspace::ActivationPolicy;
using workspace::OpenApplicationResult;
using workspace::WorkspaceNotification;

class InstalledApplicationsTest : public ::testing::Test {
protected:
    workspace::InstalledApplications& installed() { return machine.app.installedApplications(); }

    using Pending = std::shared_ptr<std::optional<OpenApplicationResult>>;

    // Opens the bundle from the program; the result arrives in what this answers.
    Pending start(const std::string& path) {
        auto result = std::make_shared<std::optional<OpenApplicationResult>>();
        installed().openApplication(path, true, [this, result](const OpenApplicationResult& done) {
            EXPECT_TRUE(machine.launchQueue.isCurrent());
            *result = done;
        });
        return result;
    }

    // The result once the usual delay has passed.
    std::optional<OpenApplicationResult> open(const std::string& path) {
        const auto result = start(path);
        machine.scheduler.advanceBy(kDefaultLaunchDelay);
        return *result;
    }

    testing::ApplicationsHost machine;
};

TEST_F(InstalledApplicationsTest, TheReaderTakesLocalizedValuesFirstAndLeavesOutWrongTypes) {
    struct Case {
        std::string info;
        std::string localized;  // empty: no localized file
        std::optional<std::string> identifier;
        std::string name;
        bool backgroundOnly;
        bool agent;
        std::string executable;
    };
    const std::vector<Case> cases = {
        {R"({"CFBundleIdentifier":"a.b","CFBundleName":"Ed","CFBundleDisplayName":"Editor","CFBundleExecutable":"ed",
            "LSUIElement":true})",
         R"({"CFBundleDisplayName":"编辑器"})", "a.b", "编辑器", false, true, "ed"},
        // A localized value of another type hides the information file's value.
        {R"({"CFBundleName":"Ed","CFBundleDisplayName":"Editor"})", R"({"CFBundleDisplayName":7})", std::nullopt, "Ed",
         false, false, "X"},
        {R"({"CFBundleIdentifier":5,"LSBackgroundOnly":"true","LSUIElement":1})", "", std::nullopt, "X", false, false,
         "X"},
        {R"({"LSBackgroundOnly":true})", "", std::nullopt, "X", true, false, "X"},
        {"{not json", "also not", std::nullopt, "X", false, false, "X"},
        {R"(["CFBundleIdentifier"])", "", std::nullopt, "X", false, false, "X"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(machine.folder.path() / "host");
        machine.write("/Applications/X.app", kBundleInfoFile, c.info);
        if (!c.localized.empty()) machine.write("/Applications/X.app", kBundleLocalizedInfoFile, c.localized);
        const auto read = readBundleContents(machine.folders, "/Applications//X.app/");
        ASSERT_TRUE(read) << c.info;
        EXPECT_EQ(read->bundle.path, "/Applications/X.app");
        EXPECT_EQ(read->bundle.bundleIdentifier, c.identifier) << c.info;
        EXPECT_EQ(read->bundle.name(), c.name) << c.info;
        EXPECT_EQ(read->bundle.backgroundOnly, c.backgroundOnly) << c.info;
        EXPECT_EQ(read->agent, c.agent) << c.info;
        EXPECT_EQ(read->executablePath(), "/Applications/X.app/Contents/MacOS/" + c.executable) << c.info;
    }
    // Only a path that is not a folder fails to open.
    machine.write("/Applications", "File.app", "");
    EXPECT_FALSE(installed().readBundle("/Applications/File.app"));
    EXPECT_FALSE(installed().readBundle("/Applications/Missing.app"));
    std::filesystem::create_directories(machine.folder.path() / "host/Applications/Empty.app");
    EXPECT_TRUE(installed().readBundle("/Applications/Empty.app"));
}

TEST_F(InstalledApplicationsTest, PlatformPathsMapToTheHostFolderOrToThemselves) {
    const auto host = machine.folder.path() / "host";
    EXPECT_EQ(machine.folders.onDisk("/Applications/A.app"), host / "Applications/A.app");
    EXPECT_EQ(machine.folders.onDisk("/System/Applications/../Library/B.app"), host / "System/Library/B.app");
    EXPECT_EQ(machine.folders.onDisk("/ApplicationsMore/C.app"), std::filesystem::path("/ApplicationsMore/C.app"));
    EXPECT_EQ(machine.folders.onDisk("Applications/A.app"), std::nullopt);
    EXPECT_EQ(ApplicationFolders{}.onDisk("/Applications/A.app"), std::nullopt);
    EXPECT_EQ(installed().applicationFolders(),
              (std::vector<std::string>{(machine.folder.path() / "home/Applications").string(), "/Applications",
                                        "/System/Applications"}));
}

TEST_F(InstalledApplicationsTest, TheWalkIsDepthFirstInNameOrderAndNeverEntersABundle) {
    for (const auto* item : {"B.app", "A.APP", "a/Inner.app", "Utilities/Tool.app", "Z.app/Contents/Plug.app",
                             ".Hidden.app", ".folder/X.app", "a/b/Deep.app"}) {
        std::filesystem::create_directories(machine.folder.path() / "host/Applications" / item);
    }
    std::filesystem::create_directory_symlink(machine.folder.path() / "host/Applications/Utilities",
                                              machine.folder.path() / "host/Applications/Link");
    EXPECT_EQ(installed().bundlesIn("/Applications"),
              (std::vector<std::string>{"/Applications/A.APP", "/Applications/B.app", "/Applications/Utilities/Tool.app",
                                        "/Applications/Z.app", "/Applications/a/Inner.app",
                                        "/Applications/a/b/Deep.app"}));
    EXPECT_EQ(installed().bundlesIn("/System/Applications"), std::vector<std::string>{});
}

TEST_F(InstalledApplicationsTest, OpeningLaunchesAfterTheDelayWithOneWindowAndAnnouncesIt) {
    std::vector<std::pair<WorkspaceNotification, pid_t>> heard;
    std::vector<dispatch::Observation> observations;
    for (const auto notification : {WorkspaceNotification::didLaunchApplication, WorkspaceNotification::didActivateApplication}) {
        observations.push_back(machine.app.applicationWorkspace().observe(
            notification, [&heard, notification](const auto& application) { heard.emplace_back(notification, application->pid); }));
    }
    const auto path = machine.install("Foo", "com.example.foo");
    const auto pending = start(path);
    machine.scheduler.advanceBy(kDefaultLaunchDelay - 0.01);
    EXPECT_FALSE(*pending);
    EXPECT_EQ(machine.tool.windowsAdmin().view().applications.size(), 0u);
    machine.scheduler.advanceBy(0.01);
    ASSERT_TRUE(*pending && (*pending)->succeeded());

    const auto view = machine.tool.windowsAdmin().view();
    ASSERT_EQ(view.applications.size(), 1u);
    const auto& application = view.applications.front();
    EXPECT_EQ(application.bundleID, "com.example.foo");
    EXPECT_EQ(application.bundlePath, "/Applications/Foo.app");
    EXPECT_EQ(application.activationPolicy, ActivationPolicy::regular);
    EXPECT_EQ(view.frontmost, application.pid);
    EXPECT_EQ(std::count_if(view.windows.begin(), view.windows.end(), [&](const auto& w) { return w.pid == application.pid; }), 1);
    EXPECT_EQ(machine.tool.remoteAdmin().state().processes.find(application.pid)->executable,
              "/Applications/Foo.app/Contents/MacOS/Foo");
    EXPECT_EQ(heard, (std::vector<std::pair<WorkspaceNotification, pid_t>>{
                         {WorkspaceNotification::didLaunchApplication, application.pid},
                         {WorkspaceNotification::didActivateApplication, application.pid}}));

    // A running application is only brought forward.
    open(machine.install("Other"));
    const auto again = open(path);
    ASSERT_TRUE(again && again->succeeded());
    EXPECT_EQ(again->application->pid, application.pid);
    EXPECT_EQ(machine.tool.windowsAdmin().view().applications.size(), 2u);
    EXPECT_EQ(machine.tool.windowsAdmin().view().frontmost, application.pid);
}

TEST_F(InstalledApplicationsTest, AgentsAndBackgroundOnlyBundlesLaunchWithTheirPolicy) {
    BundleInstall agent;
    agent.name = "Agent";
    agent.agent = true;
    BundleInstall daemon;
    daemon.name = "Daemon";
    daemon.backgroundOnly = true;
    const auto agentResult = open(machine.admin().install(agent));
    const auto daemonResult = open(machine.admin().install(daemon));
    ASSERT_TRUE(agentResult && agentResult->succeeded() && daemonResult && daemonResult->succeeded());
    EXPECT_EQ(agentResult->application->activationPolicy, ActivationPolicy::accessory);
    EXPECT_EQ(daemonResult->application->activationPolicy, ActivationPolicy::prohibited);
    // The agent took the front; a prohibited application cannot.
    EXPECT_EQ(machine.tool.windowsAdmin().view().frontmost, agentResult->application->pid);
}

TEST_F(InstalledApplicationsTest, FailuresSayWhichApplicationAndBehavioursSetTheDelay) {
    BundleInstall bundle;
    bundle.name = "Foo";
    bundle.displayName = "福";
    const auto path = machine.admin().install(bundle);
    EXPECT_EQ(open("/Applications/Nope.app")->error, "找不到应用程序“Nope”。");

    machine.admin().behave(path, [](LaunchBehaviour& behaviour) { behaviour.fails = true; });
    EXPECT_EQ(open(path)->error, "无法打开应用程序“福”。");
    machine.admin().behave(path, [](LaunchBehaviour& behaviour) {
        behaviour.failureText = "坏了";
        behaviour.delay = 2;
    });
    const auto pending = start(path);
    machine.scheduler.advanceBy(1.99);
    EXPECT_FALSE(*pending);
    machine.scheduler.advanceBy(0.01);
    EXPECT_EQ((*pending)->error, "坏了");
    EXPECT_EQ(machine.tool.windowsAdmin().view().applications.size(), 0u);
    machine.admin().behave(path, [](LaunchBehaviour& behaviour) { behaviour = {}; });
    EXPECT_TRUE(open(path)->succeeded());
}

// A launch another program held out used to say the application cannot be opened: it
// says the system is busy, and the same launch works once the host is free.
TEST_F(InstalledApplicationsTest, ALaunchAnotherProgramHeldOutSaysTheSystemIsBusy) {
    const auto path = machine.install("Foo");
    const auto held = std::make_shared<testing::RefusingHostStore>(machine.store);
    SimulatedHost heldApp{held, processes::ProcessRole::application, machine.scheduler, &machine.scheduler.mainQueue(),
                          nullptr, ApplicationsSetup{machine.folders, &machine.launchQueue}};
    const auto open = [&] {
        auto result = std::make_shared<std::optional<OpenApplicationResult>>();
        heldApp.installedApplications().openApplication(
            path, true, [result](const OpenApplicationResult& done) { *result = done; });
        machine.scheduler.advanceBy(kDefaultLaunchDelay);
        return *result;
    };
    held->held = true;
    EXPECT_EQ(open().value().error, kBusyText);
    held->held = false;
    EXPECT_TRUE(open().value().succeeded());
}

TEST_F(InstalledApplicationsTest, InstallRemoveResolveLookUpAndStartingOver) {
    const auto tool = machine.install("Tool", "com.example.tool", InstallPlace::applications, "Utilities");
    EXPECT_EQ(tool, "/Applications/Utilities/Tool.app");
    const auto home = machine.install("Tool", "com.example.tool", InstallPlace::home);
    EXPECT_EQ(machine.admin().resolve("com.example.tool"), home);  // the home folder is looked in first
    EXPECT_EQ(installed().applicationPath("com.example.tool"), home);
    EXPECT_EQ(installed().applicationPath("com.example.none"), std::nullopt);
    EXPECT_THROW(machine.install("Tool", std::nullopt, InstallPlace::home), HostError);
    EXPECT_THROW(machine.install("Bad", std::nullopt, InstallPlace::system, "../Up"), HostError);
    EXPECT_THROW(machine.install(".Hidden"), HostError);
    EXPECT_THROW(machine.admin().resolve("com.example.none"), HostError);

    // Only a bundle inside an application folder can be removed.
    EXPECT_THROW(machine.admin().remove(machine.folder.path().string()), HostError);
    EXPECT_THROW(machine.admin().remove("/Applications/Utilities"), HostError);
    machine.admin().remove(home);
    EXPECT_EQ(machine.admin().resolve("com.example.tool"), tool);
    EXPECT_EQ(installed().applicationPath("com.example.tool"), tool);

    // Starting over leaves the two remote-desktop applications, as the running ones name them.
    machine.admin().reset();
    std::vector<std::string> identifiers;
    for (const auto& bundle : machine.admin().list()) identifiers.push_back(*bundle.contents.bundle.bundleIdentifier);
    EXPECT_EQ(identifiers, (std::vector<std::string>{"local.host.ToDesk", "local.host.UURemote"}));
    EXPECT_EQ(machine.admin().resolve("local.host.UURemote"), remoteBundle(RemoteSoftware::uu).bundlePath);
    EXPECT_EQ(installed().readBundle(remoteBundle(RemoteSoftware::uu).bundlePath)->name(), "UU 远程");
}

}  // namespace
}  // namespace dorvane::host
