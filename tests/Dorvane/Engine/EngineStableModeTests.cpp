#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/Dorvane/Engine/EngineHarness.h"

namespace dorvane {
namespace {

using ::testing::ElementsAre;

class EngineStableModeTest : public ::testing::Test {
protected:
    // A window as the application controller runs it: begin, ten quiet seconds, finish.
    void quietWindow() {
        h.await(h.engine->beginStableWindow());
        h.scheduler.advanceBy(10);
        h.await(h.engine->finishStableWindow());
    }

    testing::EngineHarness h;
};

TEST_F(EngineStableModeTest, AQuietWindowRemembersTheLayoutOnce) {
    EXPECT_FALSE(h.file("stable-layouts.json"));
    quietWindow();
    EXPECT_THAT(h.details("stable_layout"), ElementsAre(h.liveLayout()));
    const auto stored = h.file("stable-layouts.json");
    ASSERT_TRUE(stored);
    const auto decoded = StableModes::fromJson(json::parse(*stored));
    EXPECT_EQ(decoded.layouts.size(), 1u);
    EXPECT_EQ(decoded.layouts.begin()->second.size(), 2u);

    quietWindow();  // the same layout again: nothing new
    EXPECT_EQ(h.details("stable_layout").size(), 1u);

    // A fresh engine reads what was stored.
    h.engine = h.makeEngine();
    EXPECT_EQ(h.engine->stableModes().layouts.size(), 1u);
}

TEST_F(EngineStableModeTest, RemoteActivityOrAFitDuringTheWindowRecordsNothing) {
    h.await(h.engine->beginStableWindow());
    h.scheduler.advanceBy(5);
    h.await(h.engine->noteRemoteActivity());
    h.await(h.engine->finishStableWindow());

    h.await(h.engine->beginStableWindow());
    ASSERT_FALSE(h.apply(1280, 800).detail);
    h.await(h.engine->finishStableWindow());
    h.await(h.engine->beginStableWindow());  // nothing is taken while a size is applied
    h.await(h.engine->finishStableWindow());

    EXPECT_TRUE(h.details("stable_layout").empty());
    EXPECT_FALSE(h.file("stable-layouts.json"));
}

TEST_F(EngineStableModeTest, AModeTheSystemChangedIsPutBackBeforeAFit) {
    quietWindow();
    const auto stable = h.liveLayout();
    h.admin().setMode("builtin", 3);  // 1352×878, switched behind the user's back
    const auto switched = h.liveLayout();

    ASSERT_FALSE(h.apply(1280, 800).detail);
    const auto corrected = h.details("snapshot_layout_corrected");
    ASSERT_EQ(corrected.size(), 1u);
    EXPECT_EQ(corrected.front(), "live=" + switched + " using=" + stable);
    // The remembered layout is what the session keeps and what the restore brings back.
    EXPECT_EQ(layoutText(parseDisplayStates(*h.file("session.json"))), stable);
    EXPECT_TRUE(h.await(h.engine->restore()));
    EXPECT_EQ(h.liveLayout(), stable);
}

}  // namespace
}  // namespace dorvane
