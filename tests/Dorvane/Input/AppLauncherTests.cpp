#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "DorvaneCore/Launcher/LauncherFiles.h"
#include "Dorvane/Input/AppLauncher.h"
#include "Platform/Host/Machines/BundleReader.h"
#include "tests/Support/ApplicationsHost.h"

namespace dorvane::input {
namespace {

namespace fs = std::filesystem;
using workspace::ActivationPolicy;

// The panel as the launcher drives it: what was asked of it, in order.
class RecordingPanel final : public LauncherPanel {
public:
    explicit RecordingPanel(std::vector<std::string>& calls) : calls_(calls) {}
    bool isVisible() const override { return visible_; }
    geometry::Rect frame() const override { return frame_; }
    void setFrame(const geometry::Rect& frame) override {
        frame_ = frame;
        calls_.push_back("frame");
    }
    void attach(ToolbarSide side) override { calls_.push_back("attach " + std::string(rawValue(side))); }
    void present() override {
        visible_ = true;
        calls_.push_back("present");
    }
    void reveal(ToolbarSide side) override { calls_.push_back("reveal " + std::string(rawValue(side))); }
    void orderOut() override {
        visible_ = false;
        calls_.push_back("out");
    }

private:
    std::vector<std::string>& calls_;
    bool visible_ = false;
    geometry::Rect frame_;
};

// Counts what is handed to the file queue, then lets it run there.
class CountingQueue final : public dispatch::Executor {
public:
    explicit CountingQueue(dispatch::Executor& target) : target_(target) {}
    void post(dispatch::Job job) override {
        ++posted;
        target_.post(std::move(job));
    }
    dispatch::TimerHandle postAfter(double delay, dispatch::Job job) override { return target_.postAfter(delay, std::move(job)); }
    bool isCurrent() const override { return target_.isCurrent(); }
    const std::string& label() const override { return target_.label(); }
    void reportUnhandled(std::exception_ptr failure) noexcept override { target_.reportUnhandled(failure); }
    int posted = 0;

private:
    dispatch::Executor& target_;
};

class AppLauncherTest : public ::testing::Test {
protected:
    void start() {
        launcher = std::make_unique<AppLauncher>(AppLauncher::Services{
            support, machine.scheduler.mainQueue(), &files, machine.app.applicationWorkspace(), machine.app.workspace(),
            machine.app.installedApplications(), machine.app.screens(), machine.app.process().pid,
            [this](LauncherModel&, const geometry::Rect&) { return std::make_unique<RecordingPanel>(calls); }, {}});
        launcher->setCallbacks({nullptr, [this] { callbacks.push_back("hide"); }, [this] { callbacks.push_back("show"); }});
        settle();
    }
    void settle() { machine.scheduler.runUntilIdle(); }
    void show() {
        const auto screen = machine.app.screens().screens().front();
        launcher->show(geometry::Rect{screen.frame.maxX() - 72, 0, 72, screen.frame.height}, screen, ToolbarSide::right);
    }
    // Opens the bundle as the user does, and lets the program hear of it.
    pid_t userOpens(const std::string& path) {
        const auto result = machine.admin().open(path);
        settle();
        return result.application->pid;
    }
    const LauncherApp& entry(const std::string& id) {
        for (const auto& app : launcher->model().apps()) {
            if (app.id == id) return app;
        }
        throw std::runtime_error("no entry " + id);
    }
    std::string file(std::string_view name) { return readFileIfPresent(support / name).value_or("(none)"); }

    testing::ApplicationsHost machine;
    CountingQueue files{machine.scheduler.makeSerialQueue("launcher-files")};
    fs::path support = machine.folder.path() / "support";
    std::vector<std::string> calls;
    std::vector<std::string> callbacks;
    std::unique_ptr<AppLauncher> launcher;
};

TEST_F(AppLauncherTest, TheScanListsEachApplicationOnceFromTheFirstFolderThatHasIt) {
    const auto home = machine.install("Dup", "com.example.dup", host::InstallPlace::home);
    machine.write(home, host::kBundleLocalizedInfoFile, R"({"CFBundleDisplayName":"Dup Home"})");
    machine.install("Dup", "com.example.dup");
    machine.install("Tool", "com.example.tool", host::InstallPlace::applications, "Utilities");
    machine.install("B");
    machine.install("Corvelle", std::string(ownBundleIdentifier));
    host::BundleInstall daemon;
    daemon.name = "Daemon";
    daemon.identifier = "com.example.daemon";
    daemon.backgroundOnly = true;
    machine.admin().install(daemon);
    machine.write("/Applications/Broken.app", host::kBundleInfoFile, "{\"CFBundleIdentifier\":");
    // Running outside the folders: a regular application counts, an agent does not.
    const std::string outside = (machine.folder.path() / "elsewhere/Outside.app").string();
    const std::string agent = (machine.folder.path() / "elsewhere/Agent.app").string();
    machine.write(outside, host::kBundleInfoFile, R"({"CFBundleIdentifier":"com.example.outside"})");
    machine.write(agent, host::kBundleInfoFile, R"({"CFBundleIdentifier":"com.example.agent","LSUIElement":true})");
    start();
    userOpens(outside);
    userOpens(agent);
    userOpens("/Applications/Utilities/Tool.app");
    userOpens("/Applications/Daemon.app");

    show();
    // Recently brought forward first, then by name; the background-only daemon runs but is never listed.
    const std::vector<LauncherApp> expected = {
        {"com.example.tool", "/Applications/Utilities/Tool.app", "Tool", true},
        {"com.example.outside", outside, "Outside", true},
        {"/Applications/B.app", "/Applications/B.app", "B", false},
        {"/Applications/Broken.app", "/Applications/Broken.app", "Broken", false},
        {"com.example.dup", home, "Dup Home", false},
    };
    EXPECT_EQ(launcher->model().apps(), expected);
    const auto sections = launcher->model().sections();
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[1].apps.size(), 3u);
    EXPECT_EQ(launcher->model().iconFile(expected[2]), machine.folder.path() / "host/Applications/B.app" / host::kBundleIconFile);
    EXPECT_EQ(calls, (std::vector<std::string>{"frame", "attach right", "present", "reveal right"}));
}

TEST_F(AppLauncherTest, RecentApplicationsFollowActivationsFromStartUp) {
    const auto first = machine.install("First", "com.example.first");
    const auto pathKeyed = machine.install("B");
    host::BundleInstall agent;
    agent.name = "Agent";
    agent.identifier = "com.example.agent";
    agent.agent = true;
    const auto agentPath = machine.admin().install(agent);
    const auto own = machine.install("Corvelle", std::string(ownBundleIdentifier));
    userOpens(first);
    start();
    EXPECT_EQ(file(LauncherFiles::recentFileName), R"(["com.example.first"])");

    userOpens(pathKeyed);
    EXPECT_EQ(file(LauncherFiles::recentFileName), R"(["\/Applications\/B.app","com.example.first"])");
    const int writes = files.posted;
    // Nothing new: an agent, the same application again, this program, one that quit before it was heard of.
    userOpens(agentPath);
    userOpens(pathKeyed);
    userOpens(own);
    const auto quitter = machine.install("Quitter", "com.example.quitter");
    machine.admin().open(quitter);
    machine.admin().quit("com.example.quitter");
    settle();
    EXPECT_EQ(files.posted, writes);
    EXPECT_EQ(launcher->model().recent().identifiers(),
              (std::vector<std::string>{"/Applications/B.app", "com.example.first"}));

    // A stored list is read back cleaned, a malformed one is none.
    launcher.reset();
    machine.tool.windowsAdmin().reset(host::WindowsFixture::empty);
    writeFileAtomically(support / LauncherFiles::recentFileName, R"(["", "a", "b", "a"])");
    start();
    EXPECT_EQ(launcher->model().recent().identifiers(), (std::vector<std::string>{"a", "b"}));
    launcher.reset();
    writeFileAtomically(support / LauncherFiles::recentFileName, R"(["a", 7])");
    start();
    EXPECT_EQ(launcher->model().recent().identifiers(), std::vector<std::string>{});
}

TEST_F(AppLauncherTest, ATapLaunchesOnceCountsItAndRecordsIt) {
    machine.install("Foo", "com.example.foo");
    fs::create_directories(support);
    writeFileAtomically(support / LauncherFiles::usageFileName,
                        R"({"com.example.foo":)" + std::to_string(std::numeric_limits<std::int64_t>::max()) + "}");
    start();
    show();
    const auto foo = entry("com.example.foo");
    launcher->model().open(foo);
    launcher->model().open(foo);  // a tap while the launch is pending is dropped
    EXPECT_TRUE(launcher->model().launching());
    EXPECT_FALSE(launcher->panelVisible());
    EXPECT_EQ(callbacks, std::vector<std::string>{"hide"});
    machine.scheduler.advanceBy(host::kDefaultLaunchDelay);

    EXPECT_FALSE(launcher->model().launching());
    const auto log = machine.store->actionLog();
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const auto& entry) { return entry.action == "applicationOpen"; }), 1);
    EXPECT_EQ(launcher->usage().count("com.example.foo"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(file(LauncherFiles::usageFileName),
              R"({"com.example.foo":)" + std::to_string(std::numeric_limits<std::int64_t>::max()) + "}");
    EXPECT_EQ(launcher->model().recent().identifiers().front(), "com.example.foo");
    EXPECT_FALSE(launcher->panelVisible());
    EXPECT_FALSE(launcher->model().error());
}

TEST_F(AppLauncherTest, AFailedLaunchShowsItsBannerOnlyInThePresentationItBegan) {
    const auto bad = machine.install("Bad", "com.example.bad");
    machine.admin().behave(bad, [](host::LaunchBehaviour& behaviour) { behaviour.fails = true; });
    start();
    show();
    launcher->model().open(entry("com.example.bad"));
    machine.scheduler.advanceBy(host::kDefaultLaunchDelay);
    EXPECT_EQ(launcher->model().error(), "无法打开应用程序“Bad”。");
    EXPECT_TRUE(launcher->panelVisible());
    EXPECT_EQ(callbacks, (std::vector<std::string>{"hide", "show"}));
    EXPECT_EQ(launcher->usage().count("com.example.bad"), 0);

    // Showing again clears the banner; a failure that lands after the user reopened changes nothing.
    show();
    EXPECT_FALSE(launcher->model().error());
    launcher->model().open(entry("com.example.bad"));
    launcher->hide();
    show();
    const auto presentation = launcher->model().presentationID();
    callbacks.clear();
    machine.scheduler.advanceBy(host::kDefaultLaunchDelay);
    EXPECT_FALSE(launcher->model().error());
    EXPECT_FALSE(launcher->model().launching());
    EXPECT_EQ(launcher->model().presentationID(), presentation);
    EXPECT_EQ(callbacks, std::vector<std::string>{});
}

TEST(LauncherModelTest, ObserversHearOfChangesOnlyWhileTheyObserve) {
    LauncherModel model;
    int heard = 0;
    auto observation = model.observe([&heard] { ++heard; });
    model.setError("坏了");
    model.setError("坏了");
    model.setSide(ToolbarSide::right);  // already so
    model.setLaunching(true);
    EXPECT_EQ(heard, 2);
    observation.cancel();
    model.setLaunching(false);
    EXPECT_EQ(heard, 2);
    model.open(LauncherApp{});  // does nothing until a launcher is there
    model.close();
}

TEST_F(AppLauncherTest, ACompletionAfterTheLauncherWentIsDropped) {
    machine.install("Foo", "com.example.foo");
    start();
    show();
    launcher->model().open(entry("com.example.foo"));
    launcher.reset();
    machine.scheduler.advanceBy(host::kDefaultLaunchDelay);
    EXPECT_EQ(file(LauncherFiles::usageFileName), "(none)");
}

}  // namespace
}  // namespace dorvane::input
