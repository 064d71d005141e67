#include <gmock/gmock.h>

#include "tests/Dorvane/Windows/WindowHarness.h"

namespace dorvane::windows::testing {
namespace {

using ::testing::ElementsAre;
using host::ButtonState;

class WindowControlTest : public ::testing::Test, protected WindowHarness {
protected:
    std::string pidText(pid_t pid) { return std::to_string(pid); }
};

TEST_F(WindowControlTest, EachControlChoosesItsMethodFromTheWindowsButtons) {
    struct Case {
        const char* name;
        WindowControl control;
        std::function<void(host::WindowRecord&)> behave;
        std::string method;
        std::string error;
        std::vector<std::string> hostActions;  // what reached the window, after the method line
    };
    const std::vector<Case> cases{
        {"close with its button", WindowControl::close, {}, "press(\"AXCloseButton\")", "", {"axPerformAction"}},
        {"close button disabled", WindowControl::close, [](auto& w) { w.closeButton = ButtonState::disabled; },
         "press(\"AXCloseButton\")", "当前窗口不能关闭", {}},
        {"no close button", WindowControl::close, [](auto& w) { w.closeButton = ButtonState::absent; }, "commandW", "",
         {"postEvent", "postEvent"}},
        {"minimise with its button", WindowControl::minimize, {}, "press(\"AXMinimizeButton\")", "",
         {"axPerformAction"}},
        {"minimise by the attribute", WindowControl::minimize,
         [](auto& w) { w.minimizeButton = ButtonState::disabled; }, "setMinimized", "", {"axSetAttribute"}},
        {"nothing minimises", WindowControl::minimize,
         [](auto& w) {
             w.minimizeButton = ButtonState::absent;
             w.settable = {"AXPosition", "AXSize"};
         },
         "unavailable", "当前窗口不能最小化", {}},
        {"full screen by the attribute", WindowControl::fullScreen, {}, "toggleFullScreen", "", {"axSetAttribute"}},
        {"full screen by the zoom button", WindowControl::fullScreen,
         [](auto& w) { w.settable = {"AXPosition", "AXSize"}; }, "press(\"AXZoomButton\")", "", {"axPerformAction"}},
    };
    for (const auto& test : cases) {
        const pid_t pid = launch("编辑器");
        open(pid, kStart, test.behave);
        operations.clear();
        const auto before = store->actionLog().size();
        EXPECT_EQ(run(facade.perform(test.control, pid)).error, test.error) << test.name;
        EXPECT_THAT(operations, ElementsAre("window-control " + std::string(rawValue(test.control)) +
                                            " pid=" + pidText(pid) + " method=" + test.method))
            << test.name;
        std::vector<std::string> reached;
        const auto log = store->actionLog();
        for (auto entry = log.begin() + static_cast<std::ptrdiff_t>(before); entry != log.end(); ++entry) {
            if (entry->action == "axPerformAction" || entry->action == "axSetAttribute" ||
                entry->action == "postEvent") {
                reached.push_back(entry->action);
            }
        }
        EXPECT_EQ(reached, test.hostActions) << test.name;
        admin().quit(pid);
    }
}

TEST_F(WindowControlTest, CommandWGoesToTheProcessDownThenUp) {
    const pid_t pid = launch("终端", [](auto& a) { a.closesOnCommandW = true; });
    const auto number = open(pid, kStart, [](auto& w) { w.closeButton = ButtonState::absent; });
    EXPECT_EQ(run(facade.perform(WindowControl::close, pid)).error, "");
    const std::string to = "postEvent pid=" + pidText(pid) + " code=13 flags=0x100000";
    EXPECT_THAT(hostLog({"postEvent"}), ElementsAre(to + " down=true posted=true", to + " down=false posted=true"));
    for (const auto& window : admin().view().windows) EXPECT_NE(window.number, number);
}

TEST_F(WindowControlTest, TargetIsTheFocusedUsableWindowElseAnyUsableOne) {
    const pid_t pid = launch("编辑器");
    const auto big = open(pid, kStart);
    open(pid, {20, 20, 70, 50});  // focused, but too small to act on
    EXPECT_EQ(run(facade.perform(WindowControl::minimize, pid)).error, "");
    EXPECT_EQ(admin().view().state.window(big)->minimised, true);
    EXPECT_EQ(run(facade.perform(WindowControl::minimize, pid)).error, "没有可操作的窗口");
}

// Every request to an application that answers after 2 s costs exactly its timeout, so
// the timeout must be set before the element is first asked.
TEST_F(WindowControlTest, SlowApplicationCostsEachRequestItsTimeout) {
    const pid_t pid = launch("迟缓", [](auto& a) { a.latency = 2; });
    open(pid, kStart);
    const auto control = run(facade.perform(WindowControl::close, pid));
    EXPECT_EQ(control.error, "没有可操作的窗口");
    EXPECT_NEAR(control.took, 1.5, 1e-9);  // focused, main, every window
    const auto maximise =
        run(controller.perform(FloatingAction::maximizeWindow, pid, app->screens().screens().front(), std::nullopt));
    EXPECT_EQ(maximise.error, "找不到可操作的窗口");
    EXPECT_NEAR(maximise.took, 1.5, 1e-9);
    const auto move = run(controller.worker().moveAsideFromToolbar({pid, 1, kStart}, {0, 38, 72, 944}, kVisible,
                                                                   ToolbarSide::left));
    EXPECT_NEAR(move.took, 0.2, 1e-9);  // the window list
    const double start = scheduler.uptime();
    EXPECT_EQ(catalog.focusedWindowUsable(pid), std::nullopt);
    EXPECT_NEAR(scheduler.uptime() - start, 0.04, 1e-9);
}

TEST_F(WindowControlTest, ToolbarMovesGiveWayToTheUser) {
    const Rect toolbar{0, 38, 72, 944};
    const pid_t pid = launch("编辑器");
    const auto moved = open(pid, {40, 100, 600, 400});
    EXPECT_EQ(run(controller.worker().moveAsideFromToolbar({pid, moved, {40, 100, 600, 400}}, toolbar, kVisible,
                                                           ToolbarSide::left))
                  .error,
              "");
    EXPECT_EQ(frameOf(moved), Rect(72, 100, 600, 400));
    EXPECT_EQ(hostLog({"axSetAttribute"}).size(), 1u);

    const auto wide = open(pid, {0, 100, 1512, 400});
    EXPECT_EQ(run(controller.worker().moveAsideFromToolbar({pid, wide, {0, 100, 1512, 400}}, toolbar, kVisible,
                                                           ToolbarSide::left))
                  .error,
              "");
    EXPECT_EQ(frameOf(wide), Rect(72, 100, 1440, 400));

    const auto held = open(pid, {0, 200, 1512, 400}, [](auto& w) { w.behaviours.mouseDownAfterWrites = 1; });
    run(controller.worker().moveAsideFromToolbar({pid, held, {0, 200, 1512, 400}}, toolbar, kVisible,
                                                 ToolbarSide::left));
    // With the button still down, nothing further is tried.
    run(controller.worker().moveAsideFromToolbar({pid, moved, {72, 100, 600, 400}}, toolbar, kVisible,
                                                 ToolbarSide::left));
    const std::string app = "appPID=" + pidText(pid);
    std::vector<std::string> toolbarLines;
    for (const auto& line : windowActions()) {
        if (line.starts_with("toolbar")) toolbarLines.push_back(line);
    }
    EXPECT_THAT(toolbarLines,
                ElementsAre("toolbar overlap move " + app +
                                " result=0 from=(40.0, 100.0, 600.0, 400.0) target=(72.0, 100.0, 600.0, 400.0)",
                            "toolbar overlap trimmed " + app +
                                " from=(0.0, 100.0, 1512.0, 400.0) target=(72.0, 100.0, 1440.0, 400.0)",
                            "toolbar overlap skipped " + app + " error=task cancelled"));
}

}  // namespace
}  // namespace dorvane::windows::testing
