#include <set>

#include "Platform/Host/State/HostError.h"
#include "Platform/Host/Machines/RemoteApplications.h"
#include "Platform/Host/Machines/WindowListing.h"
#include "tests/Platform/Host/WindowHostSupport.h"

namespace dorvane::host {
namespace {

namespace windowlist = accessibility::windowlist;
using geometry::Point;
using geometry::Rect;

// The desk: the editor (pid `editor`) in front with 笔记.txt (5) over 草稿.txt (4) and its
// palette (3) floating above; the terminal (2) and the browser (1) behind.
class DeskTest : public WindowHostTest {
protected:
    void SetUp() override {
        WindowHostTest::SetUp();
        admin().reset(WindowsFixture::desk);
        for (const auto& application : admin().view().applications) pids[application.name] = application.pid;
    }

    std::map<std::string, pid_t> pids;
};

TEST_F(DeskTest, OnScreenListIsFrontToBackWithoutMinimisedOrDesktopWindows) {
    admin().setMinimised(4, true);
    const auto onScreen = list(windowlist::onScreenOnly | windowlist::excludeDesktopElements);
    using Row = std::pair<std::uint32_t, std::int32_t>;
    EXPECT_EQ(layers(onScreen), (std::vector<Row>{{kMenuBarWindowNumber, 24}, {3, 3}, {5, 0}, {2, 0}, {1, 0}}));
    EXPECT_EQ(onScreen[0]["ownerName"], "Window Server");
    EXPECT_EQ(onScreen[0]["bounds"], json::parse(R"({"x":0.0,"y":0.0,"width":1512.0,"height":38.0})"));
    EXPECT_EQ(onScreen[2]["ownerPID"], pids["编辑器"]);
    EXPECT_EQ(onScreen[2]["ownerName"], "编辑器");
    EXPECT_EQ(onScreen[2]["alpha"], 1.0);

    // Everything: the minimised window where it was, a desktop picture last.
    const auto all = list(windowlist::allWindows);
    EXPECT_EQ(layers(all).back(), (Row{kFirstDesktopWindowNumber, kDesktopLayer}));
    EXPECT_EQ(all.size(), onScreen.size() + 2);
    EXPECT_EQ(layers(list(windowlist::includingWindow, 4)), (std::vector<Row>{{4, 0}}));

    // A hidden application's windows are off screen; a window can leave keys out.
    admin().setHidden(pids["浏览器"], true);
    admin().behaveWindow(2, [](auto& w) { w.behaviours.omittedListKeys = {"bounds", "ownerPID"}; });
    const auto later = list(windowlist::onScreenOnly | windowlist::excludeDesktopElements);
    EXPECT_EQ(layers(later), (std::vector<Row>{{kMenuBarWindowNumber, 24}, {3, 3}, {5, 0}, {2, 0}}));
    EXPECT_FALSE(later[3].contains("bounds"));
    EXPECT_FALSE(later[3].contains("ownerPID"));
    EXPECT_TRUE(later[3].contains("layer"));
}

TEST_F(DeskTest, AClickRaisesTheWindowUnderThePointerAndMonitorsSeeIt) {
    std::vector<std::string> seen;
    auto monitor = app->pointer().addGlobalMouseMonitor([&seen](const events::MouseEvent& event) {
        seen.push_back((event.kind == events::MouseEvent::Kind::leftMouseDown ? "down " : "up ") +
                       std::to_string(event.windowNumber));
    });
    // Only the terminal is under (1300, 850); the browser comes forward before the release.
    EXPECT_EQ(admin().click({1300, 850}, 1), 2u);
    scheduler.runUntilIdle();
    EXPECT_EQ(seen, (std::vector<std::string>{"down 2", "up 2"}));
    EXPECT_EQ(app->applicationWorkspace().frontmostApplication()->pid, pids["浏览器"]);
    EXPECT_EQ(layers(list(windowlist::onScreenOnly | windowlist::excludeDesktopElements))[2].first, 1u);
    EXPECT_EQ(app->pointer().location(), (Point{1300, 850}));
    EXPECT_EQ(app->pointer().pressedButtons(), 0u);

    // A click on the program's own window goes to that window instead.
    std::vector<workspace::OwnWindowClick> clicks;
    auto clicked = app->ownWindows().observeClicks([&clicks](const auto& click) { clicks.push_back(click); });
    app->ownWindows().registerApplication("Corvelle", "local.corvelle");
    const auto own = app->ownWindows().addWindow({"设置", {1250, 600, 200, 200}, true, 0, true});
    EXPECT_EQ(admin().click({1300, 650}, std::nullopt), own);
    EXPECT_EQ(admin().click({5, 900}, std::nullopt), 0u);  // the desktop
    scheduler.runUntilIdle();
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_TRUE(clicks[0].down);
    EXPECT_FALSE(clicks[1].down);
    EXPECT_EQ(clicks[1].window, own);
    EXPECT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen.back(), "up 0");
    EXPECT_EQ(app->applicationWorkspace().frontmostApplication()->pid, app->process().pid);
}

// A press on a window above the normal level also names the ordinary window under it, as
// it was at the press, for monitors that look at the press later.
TEST_F(DeskTest, APressOnAFloatingWindowNamesTheOrdinaryWindowBeneath) {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> seen;
    auto monitor = app->pointer().addGlobalMouseMonitor([&seen](const events::MouseEvent& event) {
        if (event.kind == events::MouseEvent::Kind::leftMouseDown) {
            seen.emplace_back(event.windowNumber, event.ordinaryWindowNumber);
        }
    });
    admin().drag(3, {900, 150, 220, 320});  // the palette, now over 笔记.txt (5)
    admin().click({1000, 300}, 2);          // the terminal comes forward before the release
    admin().click({1100, 300}, std::nullopt);  // the palette over the browser's page (1) only
    admin().click({1300, 100}, std::nullopt);  // the desktop
    admin().click({500, 300}, std::nullopt);   // an ordinary window names no other
    admin().click({300, 10}, std::nullopt);    // the menu bar
    scheduler.runUntilIdle();
    using Pair = std::pair<std::uint32_t, std::uint32_t>;
    EXPECT_EQ(seen, (std::vector<Pair>{{3, 5}, {3, 1}, {0, 0}, {5, 0}, {kMenuBarWindowNumber, 0}}));
}

TEST_F(DeskTest, OwnWindowsAreListedUnderTheProgramsProcessUntilItEnds) {
    auto& own = app->ownWindows();
    own.registerApplication("Corvelle", "local.corvelle");
    const auto program = app->applicationWorkspace().runningApplication(app->process().pid);
    ASSERT_TRUE(program);
    EXPECT_EQ(program->activationPolicy, workspace::ActivationPolicy::accessory);
    const auto settings = own.addWindow({"设置", {100, 100, 400, 300}, true, 0, true});
    const auto toolbar = own.addWindow({"", {1400, 300, 72, 400}, false, 3, true});
    auto rows = [this] { return layers(list(windowlist::onScreenOnly | windowlist::excludeDesktopElements)); };
    using Row = std::pair<std::uint32_t, std::int32_t>;
    EXPECT_EQ(rows()[1], (Row{toolbar, 3}));
    EXPECT_EQ(rows()[3], (Row{settings, 0}));
    EXPECT_EQ(list(windowlist::includingWindow, settings)[0]["ownerPID"], app->process().pid);

    EXPECT_TRUE(own.updateWindow(settings, {"设置", {120, 140, 400, 300}, true, 0, false}));
    EXPECT_EQ(list(windowlist::onScreenOnly | windowlist::includingWindow, settings), json::Json::array());
    EXPECT_TRUE(own.updateWindow(settings, {"设置", {120, 140, 400, 300}, true, 0, true}));
    EXPECT_EQ(list(windowlist::includingWindow, settings)[0]["bounds"]["y"], 140.0);
    EXPECT_EQ(rows()[3], (Row{settings, 0}));  // raised when shown again
    admin().focus(4);
    EXPECT_EQ(rows()[3], (Row{4, 0}));
    EXPECT_TRUE(own.activateWindow(settings));
    EXPECT_EQ(app->applicationWorkspace().frontmostApplication()->pid, app->process().pid);
    EXPECT_EQ(rows()[3], (Row{settings, 0}));
    EXPECT_FALSE(own.updateWindow(5, {"", {0, 0, 10, 10}, true, 0, true}));  // not the program's

    store->endProcess(app->process());
    EXPECT_EQ(tool->windowsAdmin().view().windows.size(), 7u);  // the desk's windows, menu bar, desktop
    EXPECT_FALSE(tool->applicationWorkspace().runningApplication(app->process().pid));
    EXPECT_EQ(tool->applicationWorkspace().frontmostApplication()->pid, pids["编辑器"]);
}

// The user's moves and minimising of the program's windows land in the list and are told
// to the program, which reads where each window is now; its own reports are told too.
TEST_F(DeskTest, TheProgramHearsWhichOfItsWindowsTheUserMovedOrMinimised) {
    auto& own = app->ownWindows();
    own.registerApplication("Corvelle", "local.corvelle");
    const auto settings = own.addWindow({"设置", {100, 100, 400, 300}, true, 0, true});
    std::vector<std::uint32_t> changed;
    auto observation = own.observeChanges([&changed](std::uint32_t number) { changed.push_back(number); });
    // The windows told since the last look, each once.
    auto told = [&] {
        scheduler.runUntilIdle();
        std::set<std::uint32_t> numbers(changed.begin(), changed.end());
        changed.clear();
        return numbers;
    };
    auto onScreen = [this](std::uint32_t number) {
        return list(windowlist::onScreenOnly | windowlist::includingWindow, number) != json::Json::array();
    };
    const std::set<std::uint32_t> justSettings{settings};

    admin().drag(settings, {200, 120, 500, 400});
    admin().setMinimised(4, true);  // another application's window: not the program's concern
    EXPECT_EQ(told(), justSettings);
    EXPECT_EQ(own.place(settings), (workspace::OwnWindowPlace{{200, 120, 500, 400}, false}));
    EXPECT_EQ(own.place(5), std::nullopt) << "not the program's";
    EXPECT_EQ(own.place(999), std::nullopt);

    admin().setMinimised(settings, true);
    EXPECT_EQ(told(), justSettings);
    EXPECT_TRUE(own.place(settings)->minimised);
    EXPECT_FALSE(onScreen(settings));
    // The program's report of the same keeps it minimised, and tells nothing new.
    EXPECT_TRUE(own.updateWindow(settings, {"设置", {200, 120, 500, 400}, true, 0, true, true}));
    EXPECT_TRUE(own.place(settings)->minimised);
    EXPECT_EQ(told(), std::set<std::uint32_t>{});
    // Brought back by the program: shown again, and told.
    EXPECT_TRUE(own.updateWindow(settings, {"设置", {200, 120, 500, 400}, true, 0, true, false}));
    EXPECT_EQ(told(), justSettings);
    EXPECT_FALSE(own.place(settings)->minimised);
    EXPECT_TRUE(onScreen(settings));

    // Focused from the Dock, it comes back too.
    admin().setMinimised(settings, true);
    admin().focus(settings);
    EXPECT_EQ(told(), justSettings);
    EXPECT_FALSE(own.place(settings)->minimised);
    observation.cancel();
    admin().drag(settings, {0, 40, 500, 400});
    EXPECT_EQ(told(), std::set<std::uint32_t>{});
}

TEST_F(DeskTest, ObserversGetTheirNotificationsOnTheMainQueue) {
    const pid_t editor = pids["编辑器"];
    std::vector<std::pair<AXElement, std::string>> got;
    std::unique_ptr<accessibility::AXObserver> observer;
    ASSERT_EQ(ax().createObserver(
                  editor, [&got](const AXElement& element, const std::string& name) { got.emplace_back(element, name); },
                  observer),
              AXError::success);
    const auto application = ax().applicationElement(editor);
    ASSERT_EQ(observer->addNotification(application, accessibility::notification::focusedWindowChanged),
              AXError::success);
    EXPECT_EQ(observer->addNotification(ax().applicationElement(pids["终端"]), "AXWindowCreated"),
              AXError::illegalArgument);

    admin().focus(4);
    admin().focus(2);  // another application: nothing for this observer
    EXPECT_TRUE(got.empty());
    scheduler.runUntilIdle();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].first, windowElement(editor, 4));
    EXPECT_EQ(got[0].second, "AXFocusedWindowChanged");

    // Removed, nothing more; destroyed with a delivery queued, nothing either.
    ASSERT_EQ(observer->removeNotification(application, accessibility::notification::focusedWindowChanged),
              AXError::success);
    admin().focus(5);
    scheduler.runUntilIdle();
    EXPECT_EQ(got.size(), 1u);
    ASSERT_EQ(observer->addNotification(application, accessibility::notification::focusedWindowChanged),
              AXError::success);
    admin().focus(4);
    observer.reset();
    scheduler.runUntilIdle();
    EXPECT_EQ(got.size(), 1u);
}

TEST_F(DeskTest, WorkspaceNotificationsArriveInTheOrderTheyHappened) {
    std::vector<std::string> got;
    std::vector<dispatch::Observation> observations;
    for (const auto kind : allCases<workspace::WorkspaceNotification>()) {
        observations.push_back(app->applicationWorkspace().observe(
            kind, [&got, kind](const std::optional<workspace::RunningApplication>& application) {
                got.push_back(std::string(rawValue(kind)) + (application ? " " + application->name : ""));
            }));
    }
    launch("终端2");
    admin().post(JournalEvent::spaceChanged);
    admin().focus(1);
    admin().post(JournalEvent::sessionResigned);
    scheduler.runUntilIdle();
    EXPECT_EQ(got, (std::vector<std::string>{"launched 终端2", "activated 终端2", "space-changed", "activated 浏览器",
                                             "session-resigned"}));
    scheduler.runUntilIdle();
    EXPECT_EQ(got.size(), 5u);

    admin().setAssistive(true, true);
    EXPECT_TRUE(app->applicationWorkspace().isVoiceOverEnabled());
    EXPECT_FALSE(app->applicationWorkspace().isSwitchControlEnabled());
}

TEST_F(DeskTest, HidingQuittingAndClosingHandTheFrontOnAndTellObservers) {
    std::vector<std::string> got;
    std::unique_ptr<accessibility::AXObserver> observer;
    ASSERT_EQ(ax().createObserver(
                  pids["编辑器"],
                  [&got](const AXElement& element, const std::string& name) {
                      got.push_back(name + " " + std::to_string(element.identity().window));
                  },
                  observer),
              AXError::success);
    for (const auto* name : {"AXWindowCreated", "AXWindowMoved", "AXWindowResized", "AXUIElementDestroyed"}) {
        ASSERT_EQ(observer->addNotification(ax().applicationElement(pids["编辑器"]), name), AXError::success);
    }
    admin().drag(4, {240, 180, 700, 600});
    const auto opened = open(pids["编辑器"], {10, 50, 300, 200});
    admin().close(opened);
    scheduler.runUntilIdle();
    EXPECT_EQ(got, (std::vector<std::string>{"AXWindowResized 4", "AXWindowCreated " + std::to_string(opened),
                                             "AXUIElementDestroyed " + std::to_string(opened)}));

    auto frontmost = [this] {
        const auto application = app->applicationWorkspace().frontmostApplication();
        return application ? application->name : std::string("none");
    };
    admin().setHidden(pids["编辑器"], true);
    EXPECT_EQ(frontmost(), "终端");  // its window is the front one left
    EXPECT_EQ(list(windowlist::onScreenOnly | windowlist::excludeDesktopElements).size(), 3u);
    admin().setHidden(pids["编辑器"], false);
    EXPECT_EQ(list(windowlist::onScreenOnly | windowlist::excludeDesktopElements).size(), 6u);
    admin().quit(pids["终端"]);
    EXPECT_EQ(frontmost(), "编辑器");  // shown again, and in front of the browser
    EXPECT_THROW(admin().focus(2), HostError);

    // A click on the menu bar brings nothing forward.
    admin().focus(1);
    EXPECT_EQ(admin().click({700, 10}, std::nullopt), kMenuBarWindowNumber);
    EXPECT_EQ(frontmost(), "浏览器");

    ApplicationLaunch background;
    background.name = "后台";
    background.policy = workspace::ActivationPolicy::prohibited;
    const auto hidden = admin().launch(background);
    EXPECT_FALSE(app->applicationWorkspace().activate(hidden));
    EXPECT_EQ(frontmost(), "浏览器");
}

TEST_F(DeskTest, TheJournalKeepsItsLatestEntriesAndDeliversEachOnce) {
    int spaces = 0;
    auto observation = app->applicationWorkspace().observe(workspace::WorkspaceNotification::activeSpaceDidChange,
                                                           [&spaces](const auto&) { ++spaces; });
    const auto total = WindowsState::kJournalLimit + 40;
    for (std::size_t index = 0; index < total; ++index) admin().post(JournalEvent::spaceChanged);
    scheduler.runUntilIdle();
    scheduler.runUntilIdle();
    EXPECT_EQ(spaces, static_cast<int>(total));
    const auto journal = admin().view().state.journal;
    EXPECT_EQ(journal.size(), WindowsState::kJournalLimit);
    EXPECT_EQ(journal.back().seq + 1, admin().view().state.nextSeq);

    // A second program that starts listening hears only what happens from then on.
    SimulatedHost later(store, processes::ProcessRole::application, scheduler, &scheduler.mainQueue());
    int heard = 0;
    auto laterObservation = later.applicationWorkspace().observe(
        workspace::WorkspaceNotification::activeSpaceDidChange, [&heard](const auto&) { ++heard; });
    admin().post(JournalEvent::spaceChanged);
    scheduler.runUntilIdle();
    EXPECT_EQ(heard, 1);
    EXPECT_EQ(spaces, static_cast<int>(total) + 1);
}

TEST_F(WindowHostTest, WindowsLeftOnNoScreenMoveToTheMainScreen) {
    tool->admin().reset(HostFixture::laptopExternal);  // the external display lies right of the laptop's
    tool->permissionsAdmin().set(Permission::accessibility, true);
    const auto pid = launch("浏览器");
    const auto number = open(pid, {1600, 100, 800, 600});
    EXPECT_EQ(frame(windowElement(pid, number)), (Rect{1600, 100, 800, 600}));
    tool->admin().unplug("external");
    EXPECT_EQ(frame(windowElement(pid, number)), (Rect{0, 38, 800, 600}));
    EXPECT_EQ(list(windowlist::includingWindow, number)[0]["bounds"]["x"], 0.0);
    admin().drag(number, {3000, 2000, 600, 400});
    EXPECT_EQ(frame(windowElement(pid, number)), (Rect{0, 38, 600, 400}));
}

TEST_F(WindowHostTest, AWindowOpenedOrDraggedBeyondItsLimitsTakesTheNearestAllowedSize) {
    const auto pid = launch("编辑器");
    WindowRecord window;
    window.pid = pid;
    window.frame = {100, 100, 200, 900};
    window.minSize = geometry::Size{400, 300};
    window.maxSize = geometry::Size{1000, 800};
    const auto number = admin().open(window);
    EXPECT_EQ(frame(windowElement(pid, number)), (Rect{100, 100, 400, 800}));
    const std::vector<std::pair<Rect, Rect>> drags{
        {{50, 60, 2000, 100}, {50, 60, 1000, 300}},
        {{70, 80, 600, 500}, {70, 80, 600, 500}},
        {{70, 80, 399.5, 800.5}, {70, 80, 400, 800}},
    };
    for (const auto& [asked, settled] : drags) {
        admin().drag(number, asked);
        EXPECT_EQ(frame(windowElement(pid, number)), settled) << asked.width << "x" << asked.height;
        EXPECT_EQ(list(windowlist::includingWindow, number)[0]["bounds"]["width"], settled.width);
    }
}

TEST_F(DeskTest, StartingOverQuitsTheDesksApplicationsAndKeepsTheOthers) {
    tool->remoteAdmin().connect(RemoteSoftware::uu);
    app->ownWindows().registerApplication("Corvelle", std::nullopt);
    const auto own = app->ownWindows().addWindow({"设置", {100, 100, 400, 300}, true, 0, true});
    admin().reset(WindowsFixture::desk);
    const auto view = admin().view();
    std::vector<std::string> names;
    for (const auto& application : view.applications) names.push_back(application.name);
    EXPECT_EQ(names, (std::vector<std::string>{std::string(title(RemoteSoftware::uu)), "Corvelle", "浏览器", "终端",
                                               "编辑器"}));
    EXPECT_EQ(list(windowlist::includingWindow, own).size(), 1u);
    EXPECT_EQ(pids["编辑器"] == view.applications.back().pid, false);  // a new process
    admin().reset(WindowsFixture::empty);
    EXPECT_EQ(admin().view().applications.size(), 2u);
}

}  // namespace
}  // namespace dorvane::host
