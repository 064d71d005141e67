#include <gtest/gtest.h>

#include <functional>

#include "DisplayFixtures.h"
#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Display/ActivationBase.h"
#include "DorvaneCore/Display/DisplayTransition.h"
#include "DorvaneCore/Display/ZeroDisplayActivation.h"

namespace dorvane {
namespace {

using namespace dorvane::testing;

TEST(DisplayTransitionTargets, BuildsTheFittedLayout) {
    const auto source = virtualDisplay(9);
    auto builtIn = physicalDisplay(1, 0, 0, true);
    auto external = physicalDisplay(2, 1512, 0);
    external.mirror = 1;  // mirroring another physical display is fine; it will mirror the source
    const auto targets = DisplayTransition::targets(source, Dimensions(1280, 800), {builtIn, external}, std::nullopt);
    ASSERT_EQ(targets.size(), 3u);
    EXPECT_EQ(targets[0].id, 9u);
    EXPECT_TRUE(targets[0].main);
    EXPECT_EQ(targets[0].mode, (DisplayMode{1280, 800, 2560, 1600, 60.0, 0}));
    EXPECT_EQ(targets[0].uuid, source.uuid);
    EXPECT_FALSE(targets[0].skipMode || targets[0].skipOrigin);
    for (int i : {1, 2}) {
        EXPECT_FALSE(targets[i].main);
        EXPECT_EQ(targets[i].mirror, 9u);
        EXPECT_TRUE(targets[i].skipMode && targets[i].skipOrigin);
    }
    EXPECT_EQ(targets[2].x, 1512);  // origin stays as given

    const auto handOver = DisplayTransition::targets(source, Dimensions(512, 3840), {}, virtualDisplay(8, 78));
    ASSERT_EQ(handOver.size(), 2u);
    EXPECT_EQ(handOver[0].id, 8u);
    EXPECT_EQ(handOver[0].mirror, 9u);
    EXPECT_EQ(handOver[1].id, 9u);
}

TEST(DisplayTransitionTargets, RefusesWhatItCannotTakeOver) {
    const auto refused = [&](Dimensions size, std::vector<DisplayState> physical,
                             std::optional<DisplayState> retiring = std::nullopt, DisplayState src = virtualDisplay(9)) {
        try {
            DisplayTransition::targets(src, size, physical, retiring);
            return false;
        } catch (const FitError& error) {
            return std::string(error.what()) == kLayoutChangedMessage;
        }
    };
    auto strayMirror = physicalDisplay(2);
    strayMirror.mirror = 44;
    EXPECT_TRUE(refused(Dimensions(511, 800), {}));
    EXPECT_TRUE(refused(Dimensions(1280, 800), {}, std::nullopt, physicalDisplay(9)));  // source must be virtual
    EXPECT_TRUE(refused(Dimensions(1280, 800), {physicalDisplay(9)}));                  // same id as the source
    EXPECT_TRUE(refused(Dimensions(1280, 800), {physicalDisplay(8)}, virtualDisplay(8)));
    EXPECT_TRUE(refused(Dimensions(1280, 800), {}, physicalDisplay(8)));  // retiring must be virtual
    EXPECT_TRUE(refused(Dimensions(1280, 800), {virtualDisplay(3)}));     // physical list must be physical
    EXPECT_TRUE(refused(Dimensions(1280, 800), {strayMirror}));
    EXPECT_FALSE(refused(Dimensions(3840, 512), {physicalDisplay(2)}));
}

TEST(DisplayTransitionMatching, AcceptsTheFittedLayoutAndNothingElse) {
    const auto targets =
        DisplayTransition::targets(virtualDisplay(9), Dimensions(1280, 800), {physicalDisplay(1, 0, 0, true)},
                                   std::nullopt);
    auto live = targets;
    for (auto& state : live) state.skipMode = state.skipOrigin = false;
    live[1].mode = hidpi(800, 600);  // a mirroring display's own mode does not matter
    live[1].x = 77;
    live[0].mode.refresh = 59.5;
    EXPECT_TRUE(DisplayTransition::matches(live, targets, 9));
    EXPECT_FALSE(DisplayTransition::matches({}, {}, 9));

    const std::vector<std::function<void(std::vector<DisplayState>&)>> breaks{
        [](auto& l) { l[0].mode.refresh = 59.0; },
        [](auto& l) { l[0].main = false; },
        [](auto& l) { l.push_back(virtualDisplay(8, 78)); },  // still retiring
        [](auto& l) { l[1].id = 9; },
        [](auto& l) { l[1].mirror = 0; },
    };
    for (std::size_t i = 0; i < breaks.size(); ++i) {
        auto changed = live;
        breaks[i](changed);
        EXPECT_FALSE(DisplayTransition::matches(changed, targets, 9)) << i;
    }
}

TEST(DisplayReconfigurationTest, NewModeInPlaceOnlyOnTheFittedLayout) {
    auto source = virtualDisplay(9);
    source.main = true;
    auto mirror = physicalDisplay(1);
    mirror.mirror = 9;
    const auto target = DisplayReconfiguration::target({source, mirror}, 9, Dimensions(1400, 630));
    EXPECT_EQ(target.mode, (DisplayMode{1400, 630, 2800, 1260, 60.0, 0}));
    EXPECT_TRUE(target.skipOrigin);
    EXPECT_FALSE(target.skipMode);

    auto unmirrored = mirror;
    unmirrored.mirror = 0;
    EXPECT_THROW(DisplayReconfiguration::target({source, unmirrored}, 9, Dimensions(1400, 630)), FitError);
    EXPECT_THROW(DisplayReconfiguration::target({source, mirror}, 9, Dimensions(1400, 300)), FitError);
    EXPECT_THROW(DisplayReconfiguration::target({source, mirror, virtualDisplay(8, 5)}, 9, Dimensions(1400, 630)),
                 FitError);

    auto moved = mirror;
    moved.mode = hidpi(1024, 768);  // modes are not topology
    EXPECT_TRUE(DisplayReconfiguration::sameTopology({moved, source}, {source, mirror}));
    moved.x = 5;
    EXPECT_FALSE(DisplayReconfiguration::sameTopology({moved, source}, {source, mirror}));

    auto resized = source;
    resized.mode = target.mode;
    resized.mode.modeID = 31;
    EXPECT_TRUE(DisplayReconfiguration::matches({resized, mirror}, {source, mirror}, target));
    EXPECT_FALSE(DisplayReconfiguration::matches({source, mirror}, {source, mirror}, target));
}

TEST(ActivationBaseTest, OwnLeftoversThenBrokenMirrors) {
    using Kind = ActivationBase::Verdict::Kind;
    EXPECT_EQ(ActivationBase::verdict({}).kind, Kind::ok);
    EXPECT_FALSE(ActivationBase::isOwn("174941:1:0:false"));

    auto brokenA = physicalDisplay(1);
    brokenA.mirror = 40;
    const auto leftover = ActivationBase::verdict({brokenA, virtualDisplay(5), virtualDisplay(7, 2)});
    EXPECT_EQ(leftover, (ActivationBase::Verdict{Kind::ownLeftover, {5, 7}}));
    EXPECT_EQ(leftover.text(), "ownLeftover([5, 7])");

    auto a = physicalDisplay(1), b = physicalDisplay(2), c = physicalDisplay(3);
    a.mirror = 2;
    b.mirror = 3;
    EXPECT_EQ(ActivationBase::verdict({a, b, c}).text(), "brokenMirror([1])");  // a mirror of a mirror
    auto self = physicalDisplay(4);
    self.mirror = 4;
    EXPECT_EQ(ActivationBase::verdict({self}).ids, std::vector<std::uint32_t>{4});
    a.mirror = 3;
    EXPECT_EQ(ActivationBase::verdict({a, b, c}).text(), "ok");
}

TEST(ZeroDisplayActivationTest, MorePatientWithNoDisplayOnline) {
    EXPECT_EQ(ZeroDisplayActivation::policy({}), ZeroDisplayActivation::noDisplayOnline());
    EXPECT_EQ(ZeroDisplayActivation::policy({physicalDisplay(1)}), ZeroDisplayActivation::standard());
    EXPECT_EQ(ZeroDisplayActivation::noDisplayOnline().createAttempts, 5);
    EXPECT_EQ(ZeroDisplayActivation::noDisplayOnline().readyPolls, 60);
    EXPECT_TRUE(ZeroDisplayActivation::noDisplayOnline().wakeDisplays);
}

}  // namespace
}  // namespace dorvane
