#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <sstream>
#include <string>
#include <vector>

#include "Dorvane/Engine/EngineStatus.h"
#include "Dorvane/Shell/AppController.h"
#include "Dorvane/Shell/AppUpdater.h"
#include "Dorvane/Shell/Controller/ConnectionAutomation.h"
#include "Dorvane/Shell/InstanceLock.h"
#include "Dorvane/ShellBase/ControlPanelModel.h"
#include "Dorvane/ShellBase/OperationDiagnostics.h"
#include "DorvaneCore/Remote/ConnectionPolicies.h"
#include "DorvaneCore/Remote/RemoteSessionStability.h"
#include "DorvaneCore/Settings/Preferences.h"
#include "DorvaneCore/Settings/PreferencesStore.h"
#include "Platform/Dispatch/Timer.h"
#include "Platform/Host/State/FaultRule.h"
#include "Platform/StatusBar/StatusItem.h"
#include "tests/Dorvane/Engine/EngineHarness.h"
#include "tests/Support/QtTestApplication.h"
#include "tests/Support/InProcessWorkerClient.h"
#include "tests/Support/RecordingShellPlatform.h"
#include "tests/Support/RefusingHostStore.h"

namespace dorvane {

using shell::AppController;

// Passes the item on to the host and notes each publication and its tooltip.
class NotingStatusBar final : public statusbar::StatusBar {
public:
    NotingStatusBar(statusbar::StatusBar& host, testing::CallLog& log) : host_(host), log_(log) {}
    void publish(const statusbar::StatusItem& item) override {
        if (failure) throw std::runtime_error(*failure);
        log_.add("statusBar.publish");
        tooltips.push_back(item.tooltip);
        host_.publish(item);
    }
    void remove() override { host_.remove(); }
    dispatch::Observation observeClicks(ClickHandler handler) override { return host_.observeClicks(std::move(handler)); }

    std::vector<std::string> tooltips;
    std::optional<std::string> failure;  // thrown by publish(), as by a damaged host

private:
    statusbar::StatusBar& host_;
    testing::CallLog& log_;
};

// The controller with the real engine on the in-memory host (laptop and external
// display) and recording neighbours, everything in virtual time. The status item is
// chosen from as corvelle-host does; remote sessions come and go through the host.
class AppControllerTest : public ::testing::Test {
protected:
    AppControllerTest() {
        testing::qtApplication();
        // The application's host session needs the main queue for its notifications.
        h.engine.reset();
        h.app = std::make_unique<host::SimulatedHost>(h.store, processes::ProcessRole::application, h.scheduler,
                                                      &h.scheduler.mainQueue());
        h.engine = h.makeEngine();
        statusBar = std::make_unique<NotingStatusBar>(h.app->statusBar(), log);
        // An installed program with an update feed.
        prefix = h.root.parent_path() / "prefix";
        std::filesystem::create_directories(prefix / "bin");
        std::filesystem::create_directories(prefix / "share" / "corvelle");
        writeFileAtomically(prefix / "share" / "corvelle" / "Info.json",
                            R"({"SUFeedURL":"https://updates.invalid/feed"})");
        updater = std::make_unique<AppUpdater>(prefix / "bin" / "corvelle", updaters);
        operations = std::make_unique<OperationDiagnostics>(h.root.parent_path() / "Operations.log", h.scheduler,
                                                            h.scheduler.makeSerialQueue("operations"));
    }
    ~AppControllerTest() override {
        controller.reset();
        h.scheduler.runUntilIdle();
    }

    void makeController() {
        fakes = std::make_unique<testing::RecordingNeighbours>(log);
        // A test may put real neighbours in place of the fakes (whose pointers then go stale).
        if (replaceNeighbours) replaceNeighbours(fakes->neighbours);
        controller = std::make_unique<AppController>(
            AppController::Services{h.root,
                                    h.scheduler.mainQueue(),
                                    h.scheduler,
                                    *h.engine,
                                    probeQueue,
                                    h.app->screens(),
                                    h.app->displayAvailability(),
                                    h.app->power(),
                                    h.app->assertionNotifications(),
                                    h.app->processes(),
                                    h.app->workspace(),
                                    h.app->applicationWorkspace(),
                                    *statusBar,
                                    trust,
                                    h.app->accessibility(),
                                    loginItems,
                                    *updater,
                                    platform,
                                    signals,
                                    *operations,
                                    h.app->userDefaults(),
                                    h.app->distributedNotifications(),
                                    errors,
                                    h.app->process().pid,
                                    loginVariable},
            std::move(fakes->neighbours));
    }
    void launch() {
        makeController();
        controller->applicationDidFinishLaunching();
        h.scheduler.runUntilIdle();
    }
    // Another run of the program on the same host, from a fresh support folder.
    void startOver() {
        controller.reset();
        h.scheduler.runUntilIdle();
        h.admin().clearFaults();
        h.engine = h.makeEngine();
        std::filesystem::remove_all(h.root);
        platform.quits.clear();
        statusBar->tooltips.clear();
        log.calls.clear();
    }
    void savePreferences(const Preferences& preferences) {
        std::filesystem::create_directories(h.root);
        PreferencesStore(h.root, [] { return std::chrono::system_clock::now(); }).save(preferences);
    }
    Preferences storedPreferences() {
        return PreferencesStore(h.root, [] { return std::chrono::system_clock::now(); }).load();
    }

    // A remote session of UU Remote starts or ends on the host; `seconds` of virtual time pass.
    void connect(double seconds = 3) {
        h.tool.remoteAdmin().connect(RemoteSoftware::uu);
        h.scheduler.advanceBy(seconds);
    }
    void disconnect(double seconds = 5) {
        h.tool.remoteAdmin().disconnect(RemoteSoftware::uu);
        h.scheduler.advanceBy(seconds);
    }
    // Fitted, then a quit refused because the restore's snapshots fail (they go on failing).
    void refuseAQuitWhileFitted() {
        ASSERT_FALSE(h.apply(1400, 630).detail);
        faultSnapshots();
        controller->quit();
        h.scheduler.runUntilIdle();
        ASSERT_EQ(controller->status().title, "桌面还原未完成");
    }
    // The display worker's snapshots fail, or answer `delaySeconds` (virtual) late.
    void faultSnapshots(std::optional<double> delaySeconds = std::nullopt) {
        host::FaultRule rule;
        rule.call = host::HostCall::onlineDisplayList;
        rule.role = processes::ProcessRole::workerSnapshot;
        if (delaySeconds) {
            rule.action = host::FaultAction::delay;
            rule.seconds = *delaySeconds;
        }
        h.admin().addFault(rule);
    }

    std::vector<std::string> operationLines() {
        h.scheduler.runUntilIdle();
        std::vector<std::string> lines;
        std::istringstream text(readFileIfPresent(operations->file()).value_or(""));
        for (std::string line; std::getline(text, line);) lines.push_back(line.substr(line.find(' ') + 1));
        return lines;
    }

    std::optional<statusbar::StatusItem> shown() { return h.tool.statusBarAdmin().state().item; }
    statusbar::MenuEntry entry(std::size_t index) { return shown().value().menu.at(index); }
    // Chooses a menu entry as a person does, and answers what the program said.
    std::optional<host::StatusBarClick::State> choose(const std::string& title) {
        const auto id = h.tool.statusBarAdmin().click(title);
        h.scheduler.runUntilIdle();
        return h.tool.statusBarAdmin().clickState(id);
    }
    void terminateSignal() { signals.handler(); }

    testing::EngineHarness h;
    dispatch::Executor& probeQueue = h.scheduler.makeSerialQueue("probe");
    testing::CallLog log;
    testing::RecordingPlatform platform{log};
    testing::RecordingSignals signals{log};
    testing::FakeTrust trust;
    testing::FakeLoginItems loginItems;
    testing::RecordingUpdaterFactory updaters{log};
    std::optional<std::string> loginVariable;
    std::ostringstream errors;
    std::filesystem::path prefix;
    std::unique_ptr<AppUpdater> updater;
    std::unique_ptr<OperationDiagnostics> operations;
    std::unique_ptr<NotingStatusBar> statusBar;
    std::unique_ptr<testing::RecordingNeighbours> fakes;
    std::function<void(shell::Neighbours&)> replaceNeighbours;
    std::unique_ptr<AppController> controller;
};

// The program's own host session and its display workers go through `held`, whose lock
// another program can take; the test's hands (the tool session) reach the host directly.
class HeldHostControllerTest : public AppControllerTest {
protected:
    HeldHostControllerTest() {
        h.engine.reset();
        h.app = std::make_unique<host::SimulatedHost>(held, processes::ProcessRole::application, h.scheduler,
                                                      &h.scheduler.mainQueue());
        h.engine = std::make_unique<DisplayEngine>(DisplayEngine::Services{
            h.root, "/opt/corvelle/bin/corvelle", h.queue, h.scheduler, h.app->virtualDisplays(),
            h.app->userActivity(), heldWorkers, [serial = std::uint64_t{40}]() mutable { return serial += 7; }});
        statusBar = std::make_unique<NotingStatusBar>(h.app->statusBar(), log);
    }
    ~HeldHostControllerTest() override {
        controller.reset();
        h.scheduler.runUntilIdle();
        h.engine.reset();  // before the workers it runs
    }

    std::shared_ptr<testing::RefusingHostStore> held = std::make_shared<testing::RefusingHostStore>(h.store);
    InProcessWorkerClient heldWorkers{held, h.scheduler};
};

}  // namespace dorvane
