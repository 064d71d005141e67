#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "DorvaneCore/Toolbar/ToolbarButtonPress.h"

namespace dorvane {
namespace {

using geometry::Point;
using Drag = ToolbarButtonPress::Drag;

// What the button's callbacks saw over one whole press.
struct Outcome {
    int releases = 0;
    int taps = 0;
    std::vector<double> steps;
    std::vector<Point> origins;
    bool litAtEnd = false;
    bool dragged = false;

    friend bool operator==(const Outcome&, const Outcome&) = default;
};

struct Move {
    Point pointer;
    bool inside = true;
};

// Pointer positions in the bottom-left space, the press starting at (100, 500)
// in a panel whose origin is (1374, 2).
Outcome press(ToolbarButtonPress::Options options, std::vector<Move> moves, std::optional<bool> upInside) {
    ToolbarButtonPress button(options);
    Outcome outcome;
    bool lit = false;
    const auto apply = [&](const ToolbarButtonPress::Reaction& r) {
        if (r.highlight) lit = *r.highlight;
        outcome.releases += r.release;
        outcome.taps += r.tap;
        if (r.scrollStep) outcome.steps.push_back(*r.scrollStep);
        if (r.toolbarOrigin) outcome.origins.push_back(*r.toolbarOrigin);
    };
    const auto began = button.begin({100, 500}, {1374, 2});
    EXPECT_TRUE(began.press);
    EXPECT_EQ(began.highlight, true);
    apply(began);
    for (const Move& move : moves) apply(button.move(move.pointer, move.inside));
    apply(upInside ? button.finish(*upInside) : button.abort());
    outcome.litAtEnd = lit;
    outcome.dragged = button.dragged();
    return outcome;
}

struct Case {
    std::string name;
    ToolbarButtonPress::Options options;
    std::vector<Move> moves;
    std::optional<bool> upInside;  // none: the grab was lost
    Outcome expected;
    friend void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }
};

class ToolbarButtonPressTest : public ::testing::TestWithParam<Case> {};

TEST_P(ToolbarButtonPressTest, EndsAsExpected) {
    const Case& c = GetParam();
    EXPECT_EQ(press(c.options, c.moves, c.upInside), c.expected);
}

const ToolbarButtonPress::Options kVerticalStrip{Drag::scrollsStrip, false};
const ToolbarButtonPress::Options kHorizontalStrip{Drag::scrollsStrip, true};
const ToolbarButtonPress::Options kHandle{Drag::movesToolbar, false};
const ToolbarButtonPress::Options kPlain{Drag::none, false};

INSTANTIATE_TEST_SUITE_P(
    ToolbarButtonPress, ToolbarButtonPressTest,
    ::testing::Values(
        Case{"SixPointsStillTap", kVerticalStrip, {{{100, 506}}, {{100, 494}}}, true, {1, 1, {}, {}, false, false}},
        // The first step carries the whole distance; the press releases once, at once.
        Case{"JustPastSixScrollDrags", kVerticalStrip, {{{100, 506.01}}, {{100, 510}}}, true,
             {1, 0, {506.01 - 500, 510 - 506.01}, {}, false, true}},
        Case{"FingerUpAVerticalStripStepsForwards", kVerticalStrip, {{{100, 520}}}, true,
             {1, 0, {20}, {}, false, true}},
        Case{"FingerRightAlongAHorizontalStripStepsBack", kHorizontalStrip, {{{130, 500}}}, true,
             {1, 0, {-30}, {}, false, true}},
        // Movement across the axis never drags; the press taps if it ends inside.
        Case{"AcrossTheAxisTaps", kVerticalStrip, {{{300, 503}}}, true, {1, 1, {}, {}, false, false}},
        Case{"HandleHoldsWithinTenPoints", kHandle, {{{100, 510}}}, true, {1, 1, {}, {}, false, false}},
        // Past 10 points every move places the panel at its first origin plus the full displacement.
        Case{"HandleFollowsTheFingerPastTen", kHandle, {{{100, 510.5}}, {{100, 505}}}, true,
             {1, 0, {}, {{1374, 12.5}, {1374, 7}}, false, true}},
        Case{"ReleasedOutsideNeitherTapsNorStaysLit", kPlain, {{{100, 560}, false}}, false,
             {1, 0, {}, {}, false, false}},
        Case{"BackInsideLightsAgainAndTaps", kPlain, {{{100, 560}, false}, {{100, 501}, true}}, true,
             {1, 1, {}, {}, false, false}},
        Case{"LostGrabReleasesWithoutTapping", kPlain, {}, std::nullopt, {1, 0, {}, {}, false, false}}),
    [](const auto& info) { return info.param.name; });

TEST(ToolbarButtonPressTest, ScrollingBackOverTheButtonStaysUnlit) {
    ToolbarButtonPress strip(kVerticalStrip);
    strip.begin({0, 0}, {0, 0});
    EXPECT_EQ(strip.move({0, 7}, true).highlight, false);
    EXPECT_EQ(strip.move({0, 1}, true).highlight, std::nullopt);
}

}  // namespace
}  // namespace dorvane
