#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "DorvaneCore/Visual/HoverTracker.h"

namespace dorvane {
namespace {

using geometry::Point;
using Tracker = HoverTracker<std::string>;
using ID = std::optional<std::string>;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// One pointer event and what the tracker must answer.
struct Step {
    const char* what;
    Point point;
    ID over;
    bool buttonDown;
    bool changed;
    ID hovered;
};

void play(Tracker& tracker, const std::vector<Step>& steps) {
    for (const auto& step : steps) {
        EXPECT_EQ(tracker.pointerMoved(step.point, step.over, step.buttonDown), step.changed) << step.what;
        EXPECT_EQ(tracker.hoveredID(), step.hovered) << step.what;
    }
}

TEST(HoverTracker, OnlySmallRealMovementsHover) {
    Tracker tracker;
    play(tracker, {
                      {"first position only starts", {100, 100}, "a", false, false, std::nullopt},
                      {"10-pt move onto a hovers it", {110, 100}, "a", false, true, "a"},
                      {"sub-half-point jitter keeps it", {110.3, 100}, "b", false, false, "a"},
                      {"same element again", {112, 100}, "a", false, false, "a"},
                      {"60-pt jump clears and does not hover b", {172, 100}, "b", false, true, std::nullopt},
                      {"2-pt move then hovers b", {174, 100}, "b", false, true, "b"},
                      {"a 48-pt move still counts", {174, 148}, "c", false, true, "c"},
                      {"moving over no element clears", {175, 148}, std::nullopt, false, true, std::nullopt},
                  });
}

TEST(HoverTracker, PressesAndTouchJumpsNeverLightAnElement) {
    Tracker tracker;
    play(tracker, {
                      {"start", {0, 0}, "a", false, false, std::nullopt},
                      {"hover a", {5, 0}, "a", false, true, "a"},
                      // A tap from a remote viewer: 300-pt jump with the button down.
                      {"tap jumps and presses", {305, 0}, "b", true, true, std::nullopt},
                      {"held button drags", {307, 0}, "b", true, false, std::nullopt},
                      {"first move after the press only records", {308, 0}, "b", false, false, std::nullopt},
                      {"a following move hovers", {310, 0}, "b", false, true, "b"},
                  });
}

TEST(HoverTracker, ResetAndLeave) {
    Tracker tracker;
    tracker.pointerMoved({0, 0}, "a", false);
    tracker.pointerMoved({5, 0}, "a", false);
    tracker.leave("b");
    EXPECT_EQ(tracker.hoveredID(), "a") << "leaving another element changes nothing";
    tracker.leave("a");
    EXPECT_EQ(tracker.hoveredID(), std::nullopt);
    // The last position stays after leave: a small move hovers at once.
    EXPECT_TRUE(tracker.pointerMoved({7, 0}, "a", false));

    EXPECT_TRUE(tracker.reset());
    EXPECT_FALSE(tracker.reset());
    EXPECT_FALSE(tracker.pointerMoved({8, 0}, "a", false)) << "the first move after a reset only records";
}

TEST(HoverTracker, PositionsThatAreNotFiniteStartOver) {
    for (Point broken : {Point{kNaN, 0}, Point{0, kInf}}) {
        Tracker tracker;
        tracker.pointerMoved({0, 0}, "a", false);
        tracker.pointerMoved({5, 0}, "a", false);
        EXPECT_TRUE(tracker.pointerMoved(broken, "a", false));
        EXPECT_EQ(tracker.hoveredID(), std::nullopt);
        // Not remembered: tracking resumes from the next real position.
        EXPECT_FALSE(tracker.pointerMoved({6, 0}, "a", false));
        EXPECT_TRUE(tracker.pointerMoved({8, 0}, "a", false));
    }
}

}  // namespace
}  // namespace dorvane
