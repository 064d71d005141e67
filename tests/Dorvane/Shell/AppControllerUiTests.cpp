#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "Dorvane/Shell/LoginLaunch.h"
#include "Dorvane/Shell/ReopenRequests.h"
#include "Dorvane/Shell/StatusMenu.h"
#include "DorvaneCore/Core/FailureText.h"
#include "DorvaneCore/Support/AtomicFile.h"
#include "Platform/Host/Session/HostCatchUp.h"
#include "tests/Dorvane/Shell/AppControllerHarness.h"
#include "tests/Support/RefusingHostStore.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;
using host::StatusBarClick;
using Reply = AppController::TerminateReply;

TEST_F(AppControllerTest, LaunchRunsItsStepsInOrderAndEndsReady) {
    makeController();
    controller->applicationDidFinishLaunching();
    // The start-up check is under way: busy, restore disabled.
    EXPECT_TRUE(controller->applying());
    EXPECT_EQ(controller->status().title, "正在检测运行环境…");
    EXPECT_FALSE(entry(StatusMenu::restoreEntry).enabled);

    const std::vector<std::string> order = {
        "updater.start https://updates.invalid/feed", "updater.interval 10800", "updater.automaticDownload off",
        "platform.setAccessoryPolicy", "platform.applyTheme dark", "statusBar.publish",
        "workspace.setRegionProvider", "windows.setLayoutHooks", "autoFill.setPerform", "toolbar.configure",
        "toolbar.setEnabled off", "signals.install"};
    std::size_t previous = 0;
    for (const auto& call : order) {
        const auto position = log.at(call);
        ASSERT_LT(position, log.calls.size()) << call << " never happened";
        EXPECT_GE(position, previous) << call << " out of order";
        previous = position;
    }

    h.scheduler.runUntilIdle();
    EXPECT_FALSE(controller->applying());
    const auto item = shown().value();
    EXPECT_EQ(item.tooltip, "Corvelle · 就绪");
    EXPECT_EQ(item.image, "MenuBarTemplate");
    EXPECT_EQ(item.menu, StatusMenu::entries());
    EXPECT_EQ(controller->panelModel().status(), "就绪");
    EXPECT_TRUE(platform.quits.empty());
}

TEST_F(AppControllerTest, StartUpCheckRestoresALeftoverSessionAndMissingArtworkShowsTheSymbol) {
    const auto before = h.liveLayout();
    ASSERT_FALSE(h.apply(1400, 630).detail);
    h.crashApplication();  // the earlier run died holding the fit
    h.engine.reset();
    h.app = std::make_unique<host::SimulatedHost>(h.store, processes::ProcessRole::application, h.scheduler,
                                                  &h.scheduler.mainQueue());
    h.engine = h.makeEngine();
    statusBar = std::make_unique<NotingStatusBar>(h.app->statusBar(), log);
    platform.artwork = false;
    launch();
    EXPECT_EQ(h.liveLayout(), before);
    EXPECT_FALSE(h.file("session.json"));
    EXPECT_EQ(shown().value().image, "display");
}

TEST_F(AppControllerTest, QuitRestoresThePhysicalDisplaysThenEnds) {
    const auto before = h.liveLayout();
    launch();
    ASSERT_FALSE(h.apply(1400, 630).detail);
    log.calls.clear();

    terminateSignal();
    terminateSignal();  // a second signal while quitting changes nothing
    EXPECT_EQ(controller->status().title, "正在还原屏幕…");
    EXPECT_FALSE(entry(StatusMenu::restoreEntry).enabled);
    EXPECT_TRUE(controller->panelModel().terminating());
    EXPECT_EQ(controller->requestTerminate(), Reply::later);
    for (const auto* call : {"dock.releaseAll", "notice.dismiss", "touchScroll.stop", "workspace.cancel",
                             "windows.endPicking", "toolbar.setEnabled off"}) {
        EXPECT_EQ(log.count(call), 1u) << call;
    }
    EXPECT_TRUE(platform.quits.empty());

    h.scheduler.runUntilIdle();
    EXPECT_EQ(platform.quits, std::vector<int>{0});
    EXPECT_EQ(h.liveLayout(), before);
    EXPECT_EQ(h.details("restored").size(), 1u);
}

TEST_F(AppControllerTest, QuitWhoseRestoreFailsKeepsRunningWithTheMessage) {
    Preferences preferences;
    preferences.toolbarWhenDisconnected = true;
    savePreferences(preferences);
    launch();
    ASSERT_FALSE(h.apply(1400, 630).detail);
    faultSnapshots();
    ASSERT_TRUE(fakes->toolbar->enabled());

    controller->quit();
    EXPECT_FALSE(fakes->toolbar->enabled());
    h.scheduler.runUntilIdle();

    EXPECT_TRUE(platform.quits.empty());
    EXPECT_FALSE(controller->terminating());
    EXPECT_EQ(controller->status().title, "桌面还原未完成");
    ASSERT_TRUE(controller->status().detail);
    EXPECT_FALSE(controller->status().detail->empty());
    EXPECT_EQ(shown().value().tooltip, "Corvelle · 桌面还原未完成");
    EXPECT_EQ(controller->panelModel().detail(), controller->status().detail);
    EXPECT_TRUE(entry(StatusMenu::restoreEntry).enabled);
    // The toolbar follows its setting again, expanded.
    EXPECT_TRUE(fakes->toolbar->enabled());
    EXPECT_TRUE(fakes->toolbar->expanded());
    EXPECT_TRUE(h.file("session.json"));

    // The refusal and its cause are in the engine log.
    EXPECT_EQ(h.details("quit_refused"), std::vector<std::string>{*controller->status().detail});

    EXPECT_EQ(controller->finishTermination(std::string("再次失败")), Reply::cancel);
    EXPECT_EQ(h.details("quit_refused").back(), "再次失败");
    // Once the displays answer again a restore by hand brings them back, and with the
    // refusal no longer shown the next quit is an ordinary one: it restores, then ends.
    h.admin().clearFaults();
    controller->recover();
    h.scheduler.runUntilIdle();
    ASSERT_EQ(controller->status().title, "已还原屏幕");
    ASSERT_TRUE(platform.quits.empty());
    controller->quit();
    EXPECT_TRUE(platform.quits.empty());
    h.scheduler.runUntilIdle();
    EXPECT_EQ(platform.quits, std::vector<int>{0});
    EXPECT_TRUE(h.details("quit_without_restore").empty());
}

// A restore that can never succeed (the host fails every call, session.json cannot be
// read) must not keep the program from ending: the quit asked for again once the refusal
// was shown tries the restore once more and, failing, ends without it; session.json stays
// for the next start, which restores from it.
TEST_F(AppControllerTest, AQuitAskedForAgainAfterItsRefusalEndsAndTheNextStartRestores) {
    const auto before = h.liveLayout();
    Preferences preferences;
    preferences.toolbarWhenDisconnected = true;
    savePreferences(preferences);
    launch();
    ASSERT_FALSE(h.apply(1400, 630).detail);
    const auto session = h.file("session.json");
    ASSERT_TRUE(session);
    faultSnapshots();

    terminateSignal();
    h.scheduler.runUntilIdle();
    ASSERT_EQ(controller->status().title, "桌面还原未完成");
    ASSERT_TRUE(platform.quits.empty());
    // Whatever the status shows meanwhile (here a failed restore by hand), the refusal
    // stands while the displays have not come back.
    controller->recover();
    h.scheduler.runUntilIdle();
    ASSERT_EQ(controller->status().title, "还原未完成");

    ASSERT_TRUE(fakes->toolbar->enabled());
    const auto retries = h.details("restore_retry").size();
    terminateSignal();
    // Everything stops as for any quit, and the restore runs once more.
    EXPECT_TRUE(controller->terminating());
    EXPECT_FALSE(fakes->toolbar->enabled());
    EXPECT_FALSE(controller->remoteMonitorRunning());
    EXPECT_TRUE(platform.quits.empty());
    h.scheduler.runUntilIdle();
    EXPECT_EQ(platform.quits, std::vector<int>{0});
    const auto tried = h.details("restore_retry");
    ASSERT_EQ(tried.size(), retries + 3);
    // No refusal this time: the end without restoring says why, as the last try failed.
    EXPECT_EQ(h.details("quit_refused").size(), 1u);
    EXPECT_EQ(h.details("quit_without_restore"),
              std::vector<std::string>{"session_kept=true cause=" + tried.back().substr(2)});
    EXPECT_EQ(h.logLines().back(), "quit_without_restore session_kept=true cause=" + tried.back().substr(2));
    EXPECT_EQ(h.file("session.json"), session);

    // The next start, with the displays answering again, restores from the record kept.
    controller.reset();
    h.scheduler.runUntilIdle();
    h.admin().clearFaults();
    h.engine = h.makeEngine();
    platform.quits.clear();
    launch();
    EXPECT_EQ(controller->status().title, "就绪");
    EXPECT_EQ(h.liveLayout(), before);
    EXPECT_FALSE(h.file("session.json"));
}

// The displays came back after a refused quit (a restore by hand worked) and were fitted
// again: a later quit whose restore fails is a first try once more, refused again rather
// than ending without the displays.
TEST_F(AppControllerTest, AQuitAfterTheDisplaysCameBackSinceARefusalIsRefusedAgainWhenItsRestoreFails) {
    const auto before = h.liveLayout();
    launch();
    ASSERT_NO_FATAL_FAILURE(refuseAQuitWhileFitted());

    h.admin().clearFaults();
    controller->recover();
    h.scheduler.runUntilIdle();
    ASSERT_EQ(controller->status().title, "已还原屏幕");
    ASSERT_EQ(h.liveLayout(), before);
    ASSERT_FALSE(h.apply(1400, 630).detail);
    faultSnapshots();

    controller->quit();
    h.scheduler.runUntilIdle();
    EXPECT_TRUE(platform.quits.empty());
    EXPECT_EQ(controller->status().title, "桌面还原未完成");
    EXPECT_EQ(h.details("quit_refused").size(), 2u);
    EXPECT_TRUE(h.details("quit_without_restore").empty());
    EXPECT_TRUE(h.file("session.json"));
    // Asked for again with the displays still fitted, this one ends without them.
    controller->quit();
    h.scheduler.runUntilIdle();
    EXPECT_EQ(platform.quits, std::vector<int>{0});
    EXPECT_EQ(h.details("quit_without_restore").size(), 1u);
}

// A session record that exists but cannot be read (an I/O error): the start-up check and
// every quit fail with the cause, in the status and in the engine log, and the second quit
// still ends the program, leaving the record alone.
TEST_F(AppControllerTest, AnUnreadableSessionRecordIsLoggedAndDoesNotTrapTheQuit) {
    fs::create_directories(h.root);
    // Reading a process's memory at offset 0 fails with EIO, whoever reads it.
    fs::create_symlink("/proc/self/mem", h.root / "session.json");
    launch();
    EXPECT_EQ(controller->status().title, "待还原屏幕");
    // The person reads the file and the cause in Chinese; the log keeps the system's words.
    const std::string cause = controller->status().detail.value_or("");
    EXPECT_EQ(cause, "无法读取 session.json：读写出错。");
    ASSERT_EQ(h.details("check_failed").size(), 1u);
    EXPECT_NE(h.details("check_failed")[0].find("session.json: Input/output error"), std::string::npos)
        << h.details("check_failed")[0];

    controller->quit();
    h.scheduler.runUntilIdle();
    EXPECT_EQ(controller->status().title, "桌面还原未完成");
    EXPECT_EQ(controller->status().detail, cause);
    EXPECT_EQ(h.details("quit_refused"), std::vector<std::string>{cause});
    ASSERT_FALSE(h.details("error_detail").empty());
    EXPECT_TRUE(h.details("error_detail").back().starts_with(cause + " cause=read "))
        << h.details("error_detail").back();
    controller->quit();
    h.scheduler.runUntilIdle();
    EXPECT_EQ(platform.quits, std::vector<int>{0});
    EXPECT_EQ(h.details("quit_without_restore"), std::vector<std::string>{"session_kept=true cause=" + cause});
    EXPECT_TRUE(fs::is_symlink(h.root / "session.json"));
}

// The quit asked for again after a refusal tries the restore once more: when what refused
// it is gone, the displays come back and the program ends as after any quit.
TEST_F(AppControllerTest, AQuitAskedForAgainRestoresWhenItNowCan) {
    const auto before = h.liveLayout();
    launch();
    ASSERT_NO_FATAL_FAILURE(refuseAQuitWhileFitted());

    h.admin().clearFaults();
    controller->quit();
    EXPECT_TRUE(platform.quits.empty());
    h.scheduler.runUntilIdle();
    EXPECT_EQ(platform.quits, std::vector<int>{0});
    EXPECT_EQ(h.liveLayout(), before);
    EXPECT_FALSE(h.file("session.json"));
    EXPECT_TRUE(h.details("quit_without_restore").empty());
    EXPECT_EQ(h.details("restored").size(), 1u);
}

// What escapes a controller task goes to the main queue's last resort (in the program: the
// engine log and standard error; here the scheduler hands it to the test), and the program
// goes on.
TEST_F(AppControllerTest, AFailureEscapingAControllerTaskReachesTheLastResort) {
    launch();
    controller->recover();
    trust.failure = "cannot read permissions.json";
    try {
        h.scheduler.runUntilIdle();
        ADD_FAILURE() << "the task's failure was lost";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "cannot read permissions.json");
    }
    EXPECT_EQ(errors.str(), "");
    trust.failure.reset();
    controller->recover();
    h.scheduler.runUntilIdle();
    EXPECT_EQ(controller->status().title, "已还原屏幕");
    EXPECT_FALSE(controller->applying());

    // So does what a callback lets out, as the settings window or the menu calls it from
    // the toolkit's handlers: it stops in the callback, never in the toolkit's frames.
    trust.failure = "cannot read permissions.json";
    EXPECT_NO_THROW(controller->panelModel().onFloatingToggle(true));
    EXPECT_THROW(h.scheduler.runUntilIdle(), std::runtime_error);
    const auto id = h.tool.statusBarAdmin().click("显示工具条");
    EXPECT_THROW(h.scheduler.runUntilIdle(), std::runtime_error);
    trust.failure.reset();
    h.scheduler.runUntilIdle();
    EXPECT_EQ(h.tool.statusBarAdmin().clickState(id), StatusBarClick::State::done);
    EXPECT_EQ(choose("设置…"), StatusBarClick::State::done);
}

// A settings file that is there but cannot be read: the program runs on the defaults, the
// engine log says why, and a change fails to save with that cause, leaving the file alone.
TEST_F(AppControllerTest, AnUnreadableSettingsFileIsLoggedLeftAloneAndChangesSayWhy) {
    fs::create_directories(h.root);
    fs::create_symlink("/proc/self/mem", h.root / "preferences.json");
    launch();
    EXPECT_EQ(controller->preferences(), Preferences());
    const auto logged = h.details("preferences_unreadable");
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_NE(logged[0].find("preferences.json: Input/output error"), std::string::npos) << logged[0];

    controller->panelModel().onWindowControlsToggle(false);
    h.scheduler.runUntilIdle();
    EXPECT_EQ(controller->status().title, "设置保存失败");
    EXPECT_EQ(controller->status().detail, "无法读取 preferences.json：读写出错。"
                                           "更改没有保存：为免覆盖其中的设置，这次运行不写入这个文件。");
    ASSERT_FALSE(h.details("error_detail").empty());
    EXPECT_NE(h.details("error_detail").back().find("preferences.json: Input/output error"), std::string::npos)
        << h.details("error_detail").back();
    EXPECT_TRUE(fs::is_symlink(h.root / "preferences.json"));
    for (const auto& entry : fs::directory_iterator(h.root)) {
        EXPECT_FALSE(entry.path().filename().string().starts_with("preferences.invalid-")) << entry.path();
    }

    // Readable again in the middle of the run: still left alone, and said so in Chinese.
    fs::remove(h.root / "preferences.json");
    writeFileAtomically(h.root / "preferences.json", "{}");
    controller->panelModel().onWindowControlsToggle(true);
    h.scheduler.runUntilIdle();
    EXPECT_EQ(controller->status().title, "设置保存失败");
    EXPECT_EQ(controller->status().detail,
              "Corvelle 启动时无法读取 preferences.json：读写出错。"
              "更改没有保存：为免覆盖其中的设置，这次运行不写入这个文件，下次启动时会重新读取。");
    EXPECT_NE(h.details("error_detail").back().find("preferences.json: Input/output error"), std::string::npos)
        << h.details("error_detail").back();
    EXPECT_EQ(readFileIfPresent(h.root / "preferences.json"), "{}");
}

// What a save cut short by a kill -9 left goes at the next start, once the instance lock is
// held: never while another instance runs, whose save may be under way.
TEST_F(AppControllerTest, TheInstanceThatRunsRemovesTheSettingsLeftovers) {
    fs::create_directories(h.root);
    const fs::path leftover = h.root / ".preferences.json.tmp-Ab12Cd";
    writeFileAtomically(leftover, "{\"theme\":");
    {
        InstanceLock other(h.root);
        launch();
        EXPECT_TRUE(fs::exists(leftover));
        controller.reset();
    }
    platform.quits.clear();
    launch();
    EXPECT_FALSE(fs::exists(leftover));
    EXPECT_EQ(h.details("leftovers_removed"), std::vector<std::string>{"settings_files=1 worker_folders=0"});
}

// A status item the status bar will not take is said on standard error once per run of
// failures, not at every change.
TEST_F(AppControllerTest, AStatusItemTheStatusBarRefusesIsSaidOncePerRunOfFailures) {
    launch();
    statusBar->failure = "cannot write statusbar.json";
    controller->recover();
    h.scheduler.runUntilIdle();
    controller->recover();
    h.scheduler.runUntilIdle();
    EXPECT_EQ(errors.str(), "Corvelle: cannot write statusbar.json\n");
    statusBar->failure.reset();
    controller->recover();
    h.scheduler.runUntilIdle();
    EXPECT_EQ(shown().value().tooltip, "Corvelle · 已还原屏幕");
    statusBar->failure = "cannot write statusbar.json";
    controller->recover();
    h.scheduler.runUntilIdle();
    EXPECT_EQ(errors.str(), "Corvelle: cannot write statusbar.json\nCorvelle: cannot write statusbar.json\n");
}

// A host held by another program through the start (and changing nothing): the item
// catches up with the program once the host lets go, with no further change to carry it,
// and the refusal is said once.
TEST_F(AppControllerTest, AStatusItemTheHostRefusedCatchesUpOnceTheHostLetsGo) {
    const auto held = std::make_shared<testing::RefusingHostStore>(h.store);
    host::SimulatedHost heldApp(held, processes::ProcessRole::application, h.scheduler, &h.scheduler.mainQueue());
    statusBar = std::make_unique<NotingStatusBar>(heldApp.statusBar(), log);
    held->held = true;
    makeController();
    controller->applicationDidFinishLaunching();
    h.scheduler.runUntilIdle();
    ASSERT_EQ(controller->status().title, "就绪");
    h.scheduler.advanceBy(30);
    EXPECT_FALSE(shown().has_value());
    held->held = false;
    h.scheduler.advanceBy(host::HostCatchUp::longestDelaySeconds);
    ASSERT_TRUE(shown().has_value());
    EXPECT_EQ(shown()->tooltip, "Corvelle · 就绪");
    EXPECT_EQ(shown()->menu, StatusMenu::entries());
    EXPECT_EQ(errors.str(), "Corvelle: cannot lock host.lock: another process has held it for over 1 seconds\n");
    controller.reset();
    h.scheduler.runUntilIdle();
}

// A start-up check that another program held out (the host's lock past the wait) used to
// read as a system without virtual displays ("检测未通过", "当前系统不支持虚拟屏幕。") for the
// whole run: it says the system is busy, runs again once the host lets go, and ends ready.
TEST_F(HeldHostControllerTest, AStartUpCheckHeldOutSaysBusyAndRunsAgainOnceTheHostLetsGo) {
    held->held = true;
    launch();
    EXPECT_FALSE(controller->applying());
    EXPECT_EQ(controller->status(), (EngineStatus{"检测未完成", kBusyText, false, std::nullopt}));
    EXPECT_EQ(h.details("check_failed").size(), 1u);
    h.scheduler.advanceBy(30);  // nothing else comes to bring the check back
    EXPECT_EQ(controller->status().title, "检测未完成");

    held->held = false;
    h.scheduler.advanceBy(host::HostCatchUp::longestDelaySeconds + 0.1);
    EXPECT_EQ(controller->status(), (EngineStatus{"就绪", std::nullopt, false, std::nullopt}));
    EXPECT_EQ(shown().value().tooltip, "Corvelle · 就绪");
    EXPECT_EQ(h.details("check_failed").size(), 1u);
    EXPECT_TRUE(h.app->catchUp().waiting().empty());
}

// The check that waits for the host runs neither into a quit begun meanwhile nor into a
// controller that has gone.
TEST_F(HeldHostControllerTest, AStartUpCheckWaitingForTheHostLeavesAQuitAndAGoneControllerAlone) {
    held->held = true;
    launch();
    ASSERT_EQ(controller->status().title, "检测未完成");
    held->held = false;
    controller->quit();
    h.scheduler.advanceBy(host::HostCatchUp::longestDelaySeconds + 0.1);
    EXPECT_EQ(platform.quits, std::vector<int>{0});
    EXPECT_EQ(controller->status().title, "正在还原屏幕…");

    startOver();
    held->held = true;
    launch();
    const auto waitingFor = [this] {
        const auto waiting = h.app->catchUp().waiting();
        return std::count(waiting.begin(), waiting.end(), "start-up check");
    };
    ASSERT_EQ(waitingFor(), 1);
    controller.reset();
    EXPECT_EQ(waitingFor(), 0);
    held->held = false;
    h.scheduler.advanceBy(host::HostCatchUp::longestDelaySeconds + 0.1);
    EXPECT_EQ(h.details("check_failed").size(), 1u);
}

TEST_F(AppControllerTest, StartUpCheckFinishingAfterAQuitIsDropped) {
    makeController();
    controller->applicationDidFinishLaunching();
    ASSERT_TRUE(controller->applying());
    controller->quit();  // before the check's answer comes back
    h.scheduler.runUntilIdle();
    EXPECT_EQ(platform.quits, std::vector<int>{0});
    // The check's "就绪" never replaced the quit's status.
    EXPECT_EQ(controller->status().title, "正在还原屏幕…");
    EXPECT_EQ(shown().value().tooltip, "Corvelle · 正在还原屏幕…");
}

// A spawned task starts as a later job, or resumes once the engine answers, when the
// controller may be gone (at quit): it reads nothing of the controller then. The reads
// of freed memory show under AddressSanitizer (make sanitize).
TEST_F(AppControllerTest, TasksOutlivingTheControllerLeaveItAlone) {
    enum class Pending { startUpCheck, quit, restoreEntry, deferredRestore, windowControl, automaticApply, automaticRestore };
    for (const auto pending : {Pending::startUpCheck, Pending::quit, Pending::restoreEntry, Pending::deferredRestore,
                               Pending::windowControl, Pending::automaticApply, Pending::automaticRestore}) {
        SCOPED_TRACE(static_cast<int>(pending));
        startOver();
        trust.trusted = pending == Pending::windowControl;
        const bool automatic = pending == Pending::automaticApply || pending == Pending::automaticRestore;
        if (automatic) {
            Preferences preferences;
            preferences.autoResolutionEnabled = true;
            preferences.autoResolutionPresetID = "factory:phoneRecommended";
            savePreferences(preferences);
        }
        makeController();
        controller->applicationDidFinishLaunching();
        if (pending != Pending::startUpCheck) h.scheduler.runUntilIdle();
        if (pending == Pending::automaticRestore) connect(20);
        // The engine steps the automatic pass logs around its work.
        const std::string begun = pending == Pending::automaticApply ? "automatic_apply_start" : "automatic_restore_start";
        const std::string ended =
            pending == Pending::automaticApply ? "automatic_apply_result" : "automatic_restore_complete";
        switch (pending) {
            case Pending::startUpCheck: break;
            case Pending::quit: controller->quit(); break;
            case Pending::restoreEntry: controller->recover(); break;
            case Pending::deferredRestore: controller->resumePendingRestoreIfPossible(); break;
            case Pending::windowControl:
                fakes->toolbar->target = 77;
                fakes->toolbar->callbacks.onWindowControl(windows::WindowControl::minimize);
                break;
            case Pending::automaticApply:
            case Pending::automaticRestore: {
                // The controller goes while the connection's apply, or the disconnection's
                // restore, is on the engine (each snapshot answers 3 s late).
                faultSnapshots(3.0);
                bool midway = false;
                auto gone = dispatch::Timer::once(h.scheduler.mainQueue(), 5.5, [&] {
                    midway = h.details(begun).size() == 1 && h.details(ended).empty();
                    controller.reset();
                });
                if (pending == Pending::automaticApply) {
                    h.tool.remoteAdmin().connect(RemoteSoftware::uu);
                } else {
                    h.tool.remoteAdmin().disconnect(RemoteSoftware::uu);
                }
                h.scheduler.advanceBy(5.5);
                ASSERT_TRUE(midway);
                break;
            }
        }
        controller.reset();
        h.scheduler.runUntilIdle();
        EXPECT_TRUE(platform.quits.empty());
        EXPECT_EQ(errors.str(), "");
        // Work the engine began runs to its end.
        if (automatic) {
            EXPECT_EQ(h.details(ended).size(), 1u);
        }
    }
}

TEST_F(AppControllerTest, LockFailuresEndTheProgram) {
    // Another instance: a silent, successful end.
    fs::create_directories(h.root);
    {
        InstanceLock other(h.root);
        launch();
        EXPECT_EQ(platform.quits, std::vector<int>{0});
        EXPECT_TRUE(errors.str().empty());
        EXPECT_FALSE(shown());
        EXPECT_EQ(controller->requestTerminate(), Reply::now);
    }
    // A support folder that cannot be made: said on stderr, status 1.
    controller.reset();
    platform.quits.clear();
    fs::remove_all(h.root);
    writeFileAtomically(h.root, "a file where the folder belongs");
    launch();
    EXPECT_EQ(platform.quits, std::vector<int>{1});
    EXPECT_FALSE(errors.str().empty());
    EXPECT_FALSE(shown());
    fs::remove(h.root);
}

// Opening the program while it runs brings the running instance's settings window back:
// the second start asks, unless it is a start at login, and ends showing nothing; only the
// instance of the same support folder answers.
TEST_F(AppControllerTest, OpeningTheProgramAgainBringsTheSettingsWindowBack) {
    auto& center = h.app->distributedNotifications();
    std::vector<std::optional<std::string>> asked;
    auto watch = center.addObserver(ReopenRequests::notificationName, h.scheduler.mainQueue(),
                                    [&](const system::DistributedNotification& sent) { asked.push_back(sent.object); });
    fs::create_directories(h.root);
    {
        InstanceLock other(h.root);
        loginVariable = "1";
        launch();
        EXPECT_TRUE(asked.empty());
        loginVariable.reset();
        controller.reset();
        platform.quits.clear();
        launch();
        EXPECT_EQ(asked, (std::vector<std::optional<std::string>>{h.root.string()}));
        EXPECT_EQ(platform.quits, std::vector<int>{0});
        EXPECT_EQ(log.count("settings.show -"), 0u);
    }
    controller.reset();
    launch();  // now the one that runs
    EXPECT_EQ(log.count("settings.show -"), 1u);
    ReopenRequests(center, h.root / "elsewhere").send();
    h.scheduler.runUntilIdle();
    EXPECT_EQ(log.count("settings.show -"), 1u);
    ReopenRequests(center, h.root).send();
    h.scheduler.runUntilIdle();
    EXPECT_EQ(log.count("settings.show -"), 2u);
    EXPECT_EQ(asked.size(), 3u);  // the running instance never asks anyone

    // A start whose home differs only in its spelling (a link to it, "//") means this folder.
    const fs::path linked = h.root.parent_path() / "linked-support";
    fs::create_directory_symlink(h.root, linked);
    ReopenRequests(center, linked).send();
    h.scheduler.runUntilIdle();
    EXPECT_EQ(log.count("settings.show -"), 3u);
    ReopenRequests(center, fs::path(h.root.parent_path().string() + "//" + h.root.filename().string())).send();
    h.scheduler.runUntilIdle();
    EXPECT_EQ(log.count("settings.show -"), 4u);
    fs::remove(linked);
}

// Toggling the entry, leaving the settings alone and refusing an unknown entry are the
// command-line test's; what needs an installed feed or a toolbar changing by itself is here.
TEST_F(AppControllerTest, UpdaterEntryChecksTheFeedAndTheMenuReadsTheToolbarAnew) {
    launch();
    EXPECT_EQ(choose("检查更新…"), StatusBarClick::State::done);
    EXPECT_TRUE(log.has("updater.check"));

    EXPECT_FALSE(entry(StatusMenu::toolbarEntry).checked);
    fakes->toolbar->setEnabled(true);
    controller->menuNeedsUpdate();
    EXPECT_TRUE(entry(StatusMenu::toolbarEntry).checked);
}

TEST_F(AppControllerTest, RenderMenuEnablesByStateAndPublishesOnlyChanges) {
    Preferences preferences;
    preferences.autoFillWindowsOnRemote = true;
    preferences.toolbarWhenDisconnected = true;  // enabled and expanded
    savePreferences(preferences);
    launch();
    // Without the Accessibility permission nothing works on other windows.
    EXPECT_FALSE(fakes->workspace->enabled);
    trust.trusted = true;
    controller->renderMenu();
    EXPECT_TRUE(fakes->workspace->enabled);
    EXPECT_FALSE(fakes->autoFill->enabled);  // not connected

    int changes = 0;
    QObject::connect(&controller->panelModel(), &ControlPanelModel::changed, [&] { ++changes; });
    const auto publications = log.count("statusBar.publish");
    controller->renderMenu();
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(log.count("statusBar.publish"), publications);

    controller->onFloatingToggle(false);
    EXPECT_FALSE(fakes->workspace->enabled);
    EXPECT_FALSE(entry(StatusMenu::toolbarEntry).checked);
    EXPECT_EQ(changes, 0);  // nothing the panels show changed
    EXPECT_EQ(log.count("statusBar.publish"), publications + 1);
}

TEST_F(AppControllerTest, WorkspaceHooksAndNoticesKeepClearOfTheExpandedToolbar) {
    Preferences preferences;
    preferences.toolbarWhenDisconnected = true;
    savePreferences(preferences);
    launch();
    const auto screens = h.app->screens().screens();
    ASSERT_EQ(screens.size(), 2u);
    const auto& main = screens[0];
    const auto& other = screens[1];
    const double top = displays::primaryScreenHeight(screens);
    auto& toolbar = *fakes->toolbar;
    toolbar.screen = main;
    // Docked right, in toolkit coordinates: the strip along the main screen's right edge.
    const auto visible = geometry::flippedVertically(main.visibleFrame, top);
    toolbar.reserved = geometry::Rect{visible.maxX() - 72, visible.minY(), 72, visible.height};
    // The panel (its glass 6 points wider on every side) is still sliding in from the edge.
    toolbar.panel = toolbar.reserved.insetBy(-6, -6);
    toolbar.panel.x += 30;

    const auto region = fakes->workspace->provider();
    ASSERT_TRUE(region);
    EXPECT_EQ(region->screen, main.visibleFrame);
    EXPECT_EQ(region->area, (geometry::Rect{main.visibleFrame.x, main.visibleFrame.y, main.visibleFrame.width - 72,
                                            main.visibleFrame.height}));
    EXPECT_EQ(region->toolbar, (geometry::Rect{main.visibleFrame.maxX() - 72, main.visibleFrame.y, 72,
                                               main.visibleFrame.height}));
    EXPECT_EQ(region->side, ToolbarSide::right);
    // Window commands lay out beside where the toolbar settles, not where the slide has got to.
    EXPECT_EQ(fakes->windows->layoutArea(main), (geometry::Rect{visible.x, visible.y, visible.width - 72, visible.height}));
    EXPECT_EQ(fakes->windows->layoutArea(other), geometry::flippedVertically(other.visibleFrame, top));

    controller->showNotice("自动切换未完成", std::string("原因"), std::nullopt);
    ASSERT_TRUE(fakes->notice->shown);
    EXPECT_EQ(fakes->notice->shown->area, (geometry::Rect{visible.x, visible.y, visible.width - 72, visible.height}));
    controller->showNotice("自动切换未完成", std::nullopt, other);
    EXPECT_EQ(fakes->notice->shown->area, geometry::flippedVertically(other.visibleFrame, top));

    // Frame changes wait for the workspace controller; auto-fill goes to the window commands.
    dispatch::spawn(h.scheduler.mainQueue(), fakes->windows->prepareLayout());
    dispatch::spawn(h.scheduler.mainQueue(), fakes->autoFill->perform(77));
    h.scheduler.runUntilIdle();
    EXPECT_TRUE(log.has("workspace.suspendCurrentAdjustment"));
    EXPECT_TRUE(log.has("windows.autoFillFront 77"));
    EXPECT_TRUE(fakes->autoFill->canFill());

    // Quitting reserves nothing and fills nothing; collapsing the toolbar releases its windows.
    controller->quit();
    EXPECT_FALSE(fakes->workspace->provider());
    EXPECT_FALSE(fakes->autoFill->canFill());
    EXPECT_TRUE(log.has("workspace.releaseToolbar"));
}

TEST(LoginLaunch, VariableOrRecentlyEnabledItem) {
    using system::LoginItemStatus;
    struct Case {
        std::optional<std::string> variable;
        LoginItemStatus status;
        double uptime;
        bool expected;
    };
    for (const auto& c : std::vector<Case>{{"1", LoginItemStatus::notRegistered, 5000, true},
                                           {"0", LoginItemStatus::notRegistered, 10, false},
                                           {std::nullopt, LoginItemStatus::enabled, 299, true},
                                           {std::nullopt, LoginItemStatus::enabled, 300, false},
                                           {std::nullopt, LoginItemStatus::notRegistered, 10, false}}) {
        EXPECT_EQ(launchedAsLoginItem(c.variable, c.status, c.uptime), c.expected)
            << c.variable.value_or("-") << " " << c.uptime;
    }
}

}  // namespace
}  // namespace dorvane
