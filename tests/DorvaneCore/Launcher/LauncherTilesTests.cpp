#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "DorvaneCore/Launcher/LauncherGrid.h"
#include "DorvaneCore/Launcher/LauncherPressTracker.h"

namespace dorvane {
namespace {

using Cells = std::vector<std::optional<std::size_t>>;
using Reaction = LauncherPressTracker::Reaction;
constexpr auto none = std::nullopt;

TEST(LauncherGrid, ColumnsFitTheWidthAndNeverFallBelowOne) {
    const std::pair<double, int> widths[] = {{528, 7}, {495, 6}, {136, 2}, {135, 1}, {63, 1}, {-50, 1}};
    for (const auto& [width, expected] : widths) EXPECT_EQ(launcher_grid::columns(width), expected) << width;
    EXPECT_EQ(launcher_grid::sectionColumns(3, 6), 3);
    EXPECT_EQ(launcher_grid::sectionColumns(8, 6), 6);
    EXPECT_EQ(launcher_grid::sectionColumns(0, 6), 1);
}

TEST(LauncherGrid, RightSideRowsFillFromTheToolbarEdge) {
    struct Case {
        std::size_t tiles;
        int columns;
        ToolbarSide side;
        Cells expected;
    };
    const Case cases[] = {
        {3, 6, ToolbarSide::right, {2, 1, 0}},
        // First row: the 6th to the 1st tile; second row: four empty cells, the 8th, then the 7th.
        {8, 6, ToolbarSide::right, {5, 4, 3, 2, 1, 0, none, none, none, none, 7, 6}},
        {5, 2, ToolbarSide::right, {1, 0, 3, 2, none, 4}},
        {3, 6, ToolbarSide::left, {0, 1, 2}},
        {0, 6, ToolbarSide::right, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(launcher_grid::cells(c.tiles, c.columns, c.side), c.expected) << c.tiles << " on " << c.columns;
    }
}

Reaction reaction(std::optional<bool> highlight, double scrollBy = 0, bool preview = false, bool tap = false,
                  bool ended = false) {
    return Reaction{highlight, scrollBy, preview, tap, ended};
}
Reaction highlight(bool on) { return reaction(on); }
const Reaction previewed = reaction(none, 0, true);
const Reaction ended = reaction(none, 0, false, false, true);

// One step of a press: what happens at `time`, and what the tile must do.
struct Step {
    enum Event { move, timer, release, lost } event;
    double time;
    geometry::Point at{};
    bool inside = true;
    Reaction expected = reaction(none);
};

TEST(LauncherPressTracker, TellsTapPreviewAndScrollApart) {
    struct Case {
        const char* name;
        std::vector<Step> steps;
    };
    const Reaction tapped = reaction(false, 0, false, true, true);
    const Reaction endedPlain = reaction(false, 0, false, false, true);
    const Case cases[] = {
        {"a click within 6 pt launches",
         {{Step::move, 0.1, {104, 103}, true, reaction(none)}, {Step::release, 0.2, {106, 100}, true, tapped}}},
        {"held still, the timer previews and the release does not launch",
         {{Step::timer, 0.45, {}, true, previewed}, {Step::release, 0.9, {100, 100}, true, endedPlain}}},
        {"a 7 pt move scrolls with the finger, back at the start still no tap",
         {{Step::move, 0.1, {100, 93}, true, reaction(false, 7)},
          {Step::move, 0.2, {100, 100}, true, reaction(none, -7)},
          {Step::release, 0.3, {100, 100}, true, ended}}},
        {"nothing at 0.44 s; at 0.45 s exactly 10 pt away still previews",
         {{Step::move, 0.44, {100, 100}, true, reaction(none)},
          {Step::move, 0.45, {100, 110}, true, reaction(false, -10, true)},
          {Step::release, 0.5, {100, 110}, true, ended}}},
        {"10.5 pt cancels the preview",
         {{Step::move, 0.1, {100, 110.5}, true, reaction(false, -10.5)},
          {Step::timer, 0.45, {}, true, reaction(none)},
          {Step::release, 0.5, {100, 100}, true, reaction(none, 10.5, false, false, true)}}},
        {"leaving the tile and coming back cancels",
         {{Step::move, 0.1, {102, 100}, false, highlight(false)},
          {Step::timer, 0.45, {}, false, reaction(none)},
          {Step::release, 0.5, {100, 100}, true, ended}}},
        {"after a preview a larger move does not scroll but cancels",
         {{Step::timer, 0.5, {}, true, previewed},
          {Step::move, 0.6, {100, 120}, true, highlight(false)},
          {Step::release, 0.7, {100, 100}, true, ended}}},
        {"a lost grab ends without a tap",
         {{Step::lost, 0.2, {}, true, endedPlain}, {Step::timer, 0.45, {}, true, reaction(none)}}},
        {"a release outside does not launch", {{Step::release, 0.2, {100, 100}, false, endedPlain}}},
    };
    for (const auto& c : cases) {
        LauncherPressTracker tracker;
        EXPECT_EQ(tracker.begin(0, {100, 100}), highlight(true)) << c.name;
        for (const auto& step : c.steps) {
            Reaction reaction;
            switch (step.event) {
                case Step::move: reaction = tracker.move(step.time, step.at, step.inside); break;
                case Step::timer: reaction = tracker.timerFired(step.time); break;
                case Step::release: reaction = tracker.release(step.time, step.at, step.inside); break;
                case Step::lost: reaction = tracker.end(); break;
            }
            EXPECT_EQ(reaction, step.expected) << c.name << " at " << step.time;
        }
        EXPECT_FALSE(tracker.active()) << c.name;
    }
}

TEST(LauncherPressTracker, ATimerArmedForTheDeadlinePreviewsAtAnyStartTime) {
    LauncherPressTracker tracker;
    tracker.begin(10, {0, 0});
    const double deadline = tracker.previewDeadline().value_or(0);
    EXPECT_DOUBLE_EQ(deadline, 10.45);
    EXPECT_TRUE(tracker.timerFired(deadline).preview);  // 10.45 - 10 rounds below 0.45
    EXPECT_EQ(tracker.previewDeadline(), std::nullopt);
    tracker.begin(20, {0, 0});
    tracker.move(20.1, {0, 11}, true);
    EXPECT_EQ(tracker.previewDeadline(), std::nullopt);
}

}  // namespace
}  // namespace dorvane
