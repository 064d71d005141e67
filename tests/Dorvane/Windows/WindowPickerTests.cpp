#include <gmock/gmock.h>

#include <utility>

#include "Dorvane/Windows/WindowPicker.h"
#include "Platform/Host/Admin/HostAdmin.h"
#include "tests/Dorvane/Windows/WindowHarness.h"
#include "tests/Support/FakeLocalMouseMonitor.h"

namespace dorvane::windows::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The global monitor's events held back until the test lets them through, as the main
// queue of the running program sees another application's click: only after the host has
// handled all of it, a raise between press and release included.
class LaggingPointer final : public events::PointerServices {
public:
    explicit LaggingPointer(events::PointerServices& inner) : inner_(inner) {}
    Point location() override { return inner_.location(); }
    std::uint32_t pressedButtons() override { return inner_.pressedButtons(); }
    dispatch::Observation addGlobalMouseMonitor(std::function<void(const events::MouseEvent&)> handler) override {
        return inner_.addGlobalMouseMonitor([this, handler = std::move(handler)](const events::MouseEvent& event) {
            if (!lagging) return handler(event);
            held_.push_back([handler, event] { handler(event); });
        });
    }
    dispatch::Observation addGlobalMonitor(events::EventMask mask,
                                           std::function<void(const events::Event&)> handler) override {
        return inner_.addGlobalMonitor(mask, std::move(handler));
    }
    void letThrough() {
        for (const auto& job : std::exchange(held_, {})) job();
    }

    bool lagging = false;

private:
    events::PointerServices& inner_;
    std::vector<std::function<void()>> held_;
};

// Picking with the memory host's clicks (the global monitor) and the fake's clicks on
// the program's own windows (the local one), in virtual time.
class WindowPickerTest : public ::testing::Test, protected WindowHarness {
protected:
    WindowPickerTest() { editor = launch("编辑器"); }

    bool begin(WindowArrangement arrangement, std::optional<std::uint32_t> prepicked = std::nullopt) {
        std::optional<ScreenWindow> front;
        if (prepicked) front = entry(*prepicked);
        started = scheduler.uptime();
        return picker.begin(
            arrangement, front,
            [this](const ScreenWindow& window, int slot) { placed.emplace_back(window.number, slot); },
            [this] { endings.push_back(scheduler.uptime() - started); });
    }
    void click(Point point) {
        admin().click(point, std::nullopt);
        scheduler.runUntilIdle();
    }
    std::vector<std::string> pickLines() {
        std::vector<std::string> lines;
        for (const auto& line : operations) {
            if (line.starts_with("window-pick-")) lines.push_back(line);
        }
        return lines;
    }

    pid_t editor = 0;
    dorvane::testing::FakeLocalMouseMonitor local;
    LaggingPointer pointer{app->pointer()};
    WindowPicker picker{WindowPicker::Services{
        app->accessibility(), pointer, local, ownWindows, app->screens(), app->applicationWorkspace(),
        scheduler.mainQueue(), [this] { return facade.screenWindows(); },
        [this](std::string_view line) { operations.emplace_back(line); }}};
    double started = 0;
    std::vector<std::pair<std::uint32_t, int>> placed;
    std::vector<double> endings;  // seconds after begin
};

TEST_F(WindowPickerTest, ThirdsWithAFrontWindowTakesTwoClicksThenFinishesOnce) {
    const auto front = open(editor, {0, 38, 500, 944});
    const auto second = open(editor, {500, 38, 500, 944});
    const auto third = open(editor, {1000, 38, 500, 944});
    ASSERT_TRUE(begin(WindowArrangement::thirds, front));
    click({750, 300});
    click({1250.5, 300});
    EXPECT_THAT(placed, ElementsAre(std::pair{second, 1}, std::pair{third, 2}));
    EXPECT_EQ(endings.size(), 1u);
    const auto n = [](std::uint32_t number) { return std::to_string(number); };
    EXPECT_THAT(pickLines(), ElementsAre("window-pick-begin needed=3 prepicked=" + n(front),
                                         "window-pick-down point=(750.0, 300.0) window=" + n(second),
                                         "window-pick-result window=" + n(second) + " slot=1 outcome=picked(2)",
                                         "window-pick-down point=(1250.5, 300.0) window=" + n(third),
                                         "window-pick-result window=" + n(third) + " slot=2 outcome=complete"));
    EXPECT_EQ(local.handlerCount(), 0u);  // the monitors went with the session
}

TEST_F(WindowPickerTest, ClickWithoutAUsableWindowEndsPicking) {
    open(editor, {900, 500, 600, 400});
    open(editor, {200, 600, 60, 40});
    const auto toolbar = ownWindows.add(OwnWindowState{{880, 480, 72, 300}, 99, true, false, 3});
    const std::vector<std::pair<const char*, std::function<void()>>> cases{
        {"menu bar", [&] { click({700, 10}); }},
        {"desktop", [&] { click({400, 300}); }},
        {"window smaller than 80 x 60", [&] { click({230, 620}); }},
        // The toolbar panel lies over the big window: the press is the panel's.
        {"toolbar panel",
         [&] {
             local.press(Point{910, 600}, toolbar);
             local.release(Point{910, 600}, toolbar);
             scheduler.runUntilIdle();
         }},
    };
    for (const auto& [name, clickThere] : cases) {
        operations.clear();
        endings.clear();
        ASSERT_TRUE(begin(WindowArrangement::thirds)) << name;
        clickThere();
        scheduler.advanceBy(1);
        EXPECT_THAT(pickLines(), ElementsAre("window-pick-begin needed=3 prepicked=0", ::testing::EndsWith(" window=0"),
                                             "window-pick-result window=0 slot=-1 outcome=finished"))
            << name;
        EXPECT_EQ(endings, std::vector<double>{0}) << name;
    }
    EXPECT_THAT(placed, IsEmpty());
}

TEST_F(WindowPickerTest, SecondClickOnAPlacedWindowFinishesWithoutPlacingAgain) {
    const auto window = open(editor, {300, 200, 600, 400});
    ASSERT_TRUE(begin(WindowArrangement::thirds));
    click({400, 300});
    click({400, 300});
    EXPECT_THAT(placed, ElementsAre(std::pair{window, 0}));
    EXPECT_EQ(endings.size(), 1u);
    EXPECT_EQ(pickLines().back(), "window-pick-result window=" + std::to_string(window) + " slot=0 outcome=finished");
}

TEST_F(WindowPickerTest, WindowUnderThePointerAtMouseDownIsPicked) {
    const auto below = open(editor, {300, 200, 600, 400});
    const auto above = open(editor, {100, 100, 600, 400});
    admin().focus(below);
    ASSERT_TRUE(begin(WindowArrangement::halves));
    local.press(Point{500, 300});
    scheduler.runUntilIdle();
    // The click brings the other window forward before the button comes up.
    admin().focus(above);
    scheduler.runUntilIdle();
    local.release(Point{500, 300});
    scheduler.runUntilIdle();
    EXPECT_THAT(placed, ElementsAre(std::pair{below, 0}));

}

TEST_F(WindowPickerTest, APressElsewhereNamesItsWindowEvenAfterTheHostRaisedAnother) {
    const auto below = open(editor, {300, 200, 600, 400});
    const auto above = open(editor, {100, 100, 600, 400});
    admin().focus(below);
    ASSERT_TRUE(begin(WindowArrangement::halves));
    pointer.lagging = true;
    admin().click(Point{500, 300}, above);
    scheduler.runUntilIdle();
    ASSERT_EQ(ScreenWindow::hit({500, 300}, facade.screenWindows(), {})->number, above);  // in front now
    pointer.letThrough();
    scheduler.runUntilIdle();
    EXPECT_THAT(placed, ElementsAre(std::pair{below, 0}));
    EXPECT_THAT(pickLines(), ::testing::Contains("window-pick-down point=(500.0, 300.0) window=" +
                                                 std::to_string(below)));
}

// Another application's floating window over the one the user means: the press lands on
// the floating window, and the ordinary window under it at the press is picked, even when
// the click raised something else before the program saw it. A menu still ends picking.
TEST_F(WindowPickerTest, APressOnAFloatingWindowPicksTheWindowBeneathButAMenuEndsPicking) {
    const pid_t palettes = launch("调色板");
    const auto below = open(editor, {300, 200, 600, 400});
    const auto other = open(editor, {100, 100, 600, 400});
    admin().focus(below);
    open(palettes, {450, 250, 200, 200}, [](host::WindowRecord& w) { w.level = 3; });
    open(palettes, {700, 300, 150, 200}, [](host::WindowRecord& w) { w.level = 101; });  // a menu
    ASSERT_TRUE(begin(WindowArrangement::thirds));
    pointer.lagging = true;
    admin().click(Point{500, 300}, other);
    scheduler.runUntilIdle();
    pointer.letThrough();
    scheduler.runUntilIdle();
    EXPECT_THAT(placed, ElementsAre(std::pair{below, 0}));
    EXPECT_THAT(pickLines(), ::testing::Contains("window-pick-down point=(500.0, 300.0) window=" +
                                                 std::to_string(below)));
    EXPECT_TRUE(endings.empty());
    pointer.lagging = false;

    click({750, 350});
    EXPECT_THAT(placed, ElementsAre(std::pair{below, 0}));
    EXPECT_EQ(pickLines().back(), "window-pick-result window=0 slot=0 outcome=finished");
    EXPECT_EQ(endings.size(), 1u);
}

TEST_F(WindowPickerTest, IdleAndOverallTimeoutsEndPicking) {
    // Presses every ten seconds (never released), and when picking ends.
    const std::vector<std::pair<int, double>> cases{{0, 15}, {1, 25}, {5, 60}};
    for (const auto& [presses, ends] : cases) {
        endings.clear();
        ASSERT_TRUE(begin(WindowArrangement::thirds));
        for (int i = 0; i < presses; ++i) {
            scheduler.advanceBy(10);
            local.press(Point{400, 300});
        }
        scheduler.advanceBy(70 - 10 * presses);
        EXPECT_EQ(endings, std::vector<double>{ends}) << presses << " presses";
    }
}

TEST_F(WindowPickerTest, ScreenSpaceOrSessionChangeFinishesOnce) {
    const std::vector<std::pair<const char*, std::function<void()>>> cases{
        {"space", [&] { admin().post(host::JournalEvent::spaceChanged); }},
        {"session", [&] { admin().post(host::JournalEvent::sessionResigned); }},
        {"screens", [&] { tool->admin().setMode("builtin", 2); }},
    };
    for (const auto& [name, change] : cases) {
        endings.clear();
        ASSERT_TRUE(begin(WindowArrangement::thirds));
        scheduler.advanceBy(2);
        change();
        scheduler.advanceBy(70);
        EXPECT_EQ(endings, std::vector<double>{2}) << name;
    }
}

TEST_F(WindowPickerTest, NewBeginEndsTheOldSessionSilently) {
    std::vector<std::string> calls;
    ASSERT_TRUE(picker.begin(WindowArrangement::thirds, std::nullopt, {}, [&] { calls.push_back("first"); }));
    ASSERT_TRUE(picker.begin(WindowArrangement::thirds, std::nullopt, {}, [&] { calls.push_back("second"); }));
    click({400, 300});
    scheduler.advanceBy(70);
    EXPECT_THAT(calls, ElementsAre("second"));
}

}  // namespace
}  // namespace dorvane::windows::testing
