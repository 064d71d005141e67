#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

#include "DorvaneCore/Input/DragScrollGesture.h"
#include "DorvaneCore/Input/ScrollGesture.h"
#include "DorvaneCore/Input/ScrollMomentum.h"
#include "DorvaneCore/Input/TouchPressDecision.h"

namespace dorvane {
namespace {

using geometry::Point;
using Delta = ScrollGesture::Delta;
using Phase = ScrollMomentum::Phase;

TEST(ScrollGesture, DragsBecomeWholePointDeltasWithCarriedFractions) {
    struct Case {
        const char* name;
        std::vector<ScrollGesture::Vector> drags;
        std::vector<Delta> posted;
    };
    const Case cases[] = {
        {"three 0.4 pt drags: nothing, nothing, 1", {{0, 0.4}, {0, 0.4}, {0, 0.4}}, {{0, 0}, {0, 0}, {1, 0}}},
        {"one 3000 pt drag posts 2000", {{0, 3000}}, {{2000, 0}}},
        {"upwards is negative, fractions carry their sign", {{0, -0.6}, {0, -0.6}, {0, 1.5}}, {{0, 0}, {-1, 0}, {1, 0}}},
        {"beyond the limit is dropped, the fraction kept", {{-3000.5, 2000.7}, {-0.6, 0.5}}, {{2000, -2000}, {1, -1}}},
        {"a non-finite drag posts nothing and clears the carry", {{0.5, NAN}, {0.6, 0.6}}, {{0, 0}, {0, 1}}},
    };
    for (const auto& c : cases) {
        ScrollGesture gesture;
        std::vector<Delta> posted;
        double time = 0;
        for (const auto& drag : c.drags) posted.push_back(gesture.record(drag.dx, drag.dy, time += 0.01));
        EXPECT_EQ(posted, c.posted) << c.name;
    }
}

TEST(ScrollGesture, VelocityOverTheLastTenthOfASecond) {
    struct Case {
        std::vector<double> times;  // each sample moves 10 pt down
        double at;
        double expectedDy;
    };
    const Case cases[] = {
        {{0, 0.05, 0.1}, 0.1, 300},   // a sample exactly 0.1 s old counts
        {{0, 0.05, 0.125}, 0.125, 20 / 0.075},
        {{0.1}, 0.1, 0},              // one sample is no speed
        {{0, 0.05}, 0.3, 0},          // the finger rested before the release
        {{0.2, 0.2}, 0.2, 20 * 120},  // the span is at least 1/120 s
    };
    for (const auto& c : cases) {
        ScrollGesture gesture;
        for (const double time : c.times) gesture.record(3, 10, time);
        const auto velocity = gesture.velocity(c.at);
        EXPECT_NEAR(velocity.dy, c.expectedDy, 1e-9) << c.at;
        EXPECT_NEAR(velocity.dx, c.expectedDy * 0.3, 1e-9) << c.at;
    }
}

TEST(ScrollGesture, MomentumFramesDecayUntilHalfAPoint) {
    EXPECT_TRUE(ScrollGesture::momentum({0, 149.9}, 60, 0.94, 150, 180).empty());
    EXPECT_TRUE(ScrollGesture::momentum({0, 150}, 600, 0.94, 150, 180).empty());  // first frame under 0.5
    const auto frames = ScrollGesture::momentum({-90, 120}, 60, 0.94, 150, 180);
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames.front(), (ScrollGesture::Vector{-1.5, 2}));
    for (std::size_t i = 1; i < frames.size(); ++i) EXPECT_DOUBLE_EQ(frames[i].dy, frames[i - 1].dy * 0.94);
    EXPECT_GE(std::hypot(frames.back().dx, frames.back().dy), 0.5);
    EXPECT_LT(std::hypot(frames.back().dx, frames.back().dy) * 0.94, 0.5);
    EXPECT_EQ(ScrollGesture::momentum({0, 1e9}, 60, 0.94, 150, 180).size(), 180u);
}

TEST(ScrollMomentum, AFlickCoastsWithPhasesOneTwoThree) {
    EXPECT_FALSE(ScrollMomentum::afterRelease({0, 149}));
    // The finger's last drags at 60 per second before the release, and the frames it coasts.
    for (const auto& [pointsPerFrame, frames] : {std::pair(-20.0, 63), std::pair(30000.0, 180)}) {
        ScrollGesture gesture;
        for (int i = 0; i < 6; ++i) gesture.record(0, pointsPerFrame, i / 60.0);
        auto momentum = ScrollMomentum::afterRelease(gesture.velocity(5 / 60.0));
        ASSERT_TRUE(momentum);
        std::vector<Phase> phases, expected(frames + 1, Phase::changed);
        expected.front() = Phase::began;
        expected.back() = Phase::ended;
        double travelled = 0;
        while (!momentum->finished()) {
            const auto event = momentum->tick();
            phases.push_back(event.phase);
            travelled += event.delta.vertical;
        }
        EXPECT_EQ(phases, expected) << pointsPerFrame;
        EXPECT_GT(travelled * pointsPerFrame, 0);  // it coasts the way the finger went
    }
    // Fractions of the frames carry over, as a finger's do; stopping ends at once.
    ScrollMomentum slow({{0, 0.4}, {0, 0.4}, {0, 0.4}, {0, 9}});
    const std::vector<ScrollMomentum::Event> events{slow.tick(), slow.tick(), slow.tick(), slow.stop()};
    EXPECT_EQ(events, (std::vector<ScrollMomentum::Event>{
                          {Phase::began, {0, 0}}, {Phase::changed, {0, 0}}, {Phase::changed, {1, 0}}, {Phase::ended, {}}}));
    EXPECT_TRUE(slow.finished());
}

TEST(TouchPressDecision, ClassifiesReplaysAndCountsClicks) {
    const std::tuple<double, double, TouchPressDecision> classified[] = {
        {0.1, 0, TouchPressDecision::undecided}, {0.39, 7.99, TouchPressDecision::undecided},
        {0.39, 8, TouchPressDecision::scroll},   {0.4, 0, TouchPressDecision::hold},
        {0.5, 100, TouchPressDecision::hold}};
    for (const auto& [elapsed, distance, decision] : classified) {
        EXPECT_EQ(TouchPressDecision::classify(elapsed, distance), decision) << elapsed << " " << distance;
    }
    EXPECT_EQ(TouchPressDecision::replayPoint({100, 100}, {100, 116}), (Point{100, 116}));
    EXPECT_EQ(TouchPressDecision::replayPoint({100, 100}, {112, 111}), std::nullopt);  // 16.3 pt away

    struct Tap {
        double time;
        Point at;
        std::int64_t count;
    };
    const std::vector<Tap> taps{
        {0.0, {100, 100}, 1}, {0.25, {110, 100}, 2}, {0.5, {120, 100}, 3}, {0.75, {130, 100}, 3},
        {1.0, {146, 100}, 1},  // 16 pt away starts again
        {1.5, {146, 100}, 1},  // exactly the interval later starts again
        {1.75, {146, 100}, 2}};
    std::optional<TouchPressDecision::Click> last;
    for (const auto& tap : taps) {
        last = TouchPressDecision::nextClick(last, tap.time, tap.at, 0.5);
        EXPECT_EQ(last->count, tap.count) << tap.time;
    }
}

TEST(DragScrollGesture, ScrollsOnlyMostlyVerticalDragsBeyondEightPoints) {
    struct Case {
        const char* name;
        std::vector<Point> drags;  // from a press at (50, 200) with the view at offset 100
        double maxOffset;
        std::vector<std::optional<double>> offsets;
    };
    const auto none = std::nullopt;
    const Case cases[] = {
        {"8 pt up does not scroll, 9 pt does", {{50, 192}, {50, 191}}, 500, {none, 109}},
        {"dragging down shows content further up", {{53, 212}}, 500, {88}},
        {"a diagonal drag waits for a later move that passes",
         {{60, 190}, {59, 188}, {70, 195}},
         500,
         {none, 112, 105}},
        {"the offset stays within the content", {{50, 400}, {50, 0}}, 150, {0, 150}},
        {"no room to scroll keeps offset 0", {{50, 150}}, -3, {0}},
    };
    for (const auto& c : cases) {
        DragScrollGesture gesture({50, 200}, 100);
        std::vector<std::optional<double>> offsets;
        for (const auto& to : c.drags) offsets.push_back(gesture.drag(to, c.maxOffset));
        EXPECT_EQ(offsets, c.offsets) << c.name;
    }
}

}  // namespace
}  // namespace dorvane
