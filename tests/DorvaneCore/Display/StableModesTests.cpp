#include <gtest/gtest.h>

#include "DisplayFixtures.h"
#include "DorvaneCore/Display/FullHeightRestore.h"
#include "DorvaneCore/Display/StableModes.h"

namespace dorvane {
namespace {

using namespace dorvane::testing;

TEST(StableModesKeys, UUIDElseHardwareKeyAndSortedPhysicalSet) {
    auto withUUID = physicalDisplay(1, 0, 0, true, "B-UUID");
    auto withoutUUID = physicalDisplay(2);
    EXPECT_EQ(StableModes::key(withUUID), "B-UUID");
    EXPECT_EQ(StableModes::key(withoutUUID), "1552:100:2:false");
    EXPECT_EQ(StableModes::setKey({withUUID, virtualDisplay(9), withoutUUID}), "1552:100:2:false|B-UUID");
    EXPECT_EQ(StableModes::setKey({virtualDisplay(9)}), "");
}

TEST(StableModesRecord, OnlyStablePhysicalLayoutsAndOnlyWhenNew) {
    StableModes modes;
    auto a = physicalDisplay(1, 0, 0, true);
    auto b = physicalDisplay(2, 1512, 0);
    EXPECT_FALSE(modes.record({a, b}, {a, b, virtualDisplay(9)}));
    EXPECT_FALSE(modes.record({}, {a}));
    auto moved = b;
    moved.x = 1600;
    EXPECT_FALSE(modes.record({a, b}, {a, moved}));
    EXPECT_TRUE(modes.record({a, b}, {a, b}));
    auto refreshed = b;
    refreshed.mode.refresh = 59.94;
    EXPECT_FALSE(modes.record({a, refreshed}, {a, refreshed}));  // same within 1 Hz
    refreshed.mode.refresh = 59.0;
    EXPECT_TRUE(modes.record({a, refreshed}, {a, refreshed}));
    EXPECT_EQ(modes.layouts.size(), 1u);
    EXPECT_TRUE(modes.record({a}, {a}));
    EXPECT_EQ(modes.layouts.size(), 2u);
}

TEST(StableModesCorrection, PutsRememberedDisplaysBack) {
    StableModes modes;
    auto a = physicalDisplay(1, 0, 0, true);
    auto b = physicalDisplay(2, 0, 0);
    b.mirror = 1;
    ASSERT_TRUE(modes.record({a, b}, {a, b}));
    EXPECT_EQ(modes.layouts.begin()->second.at(StableModes::key(b)).mirrorKey, StableModes::key(a));

    // Same set after reconnection: a came back as id 7 in another mode, b lost its mirror.
    auto a2 = a;
    a2.id = 7;
    a2.mode = hidpi(1024, 640);
    auto b2 = b;
    b2.mirror = 0;
    const auto correction = modes.corrected({a2, b2, virtualDisplay(9)});
    ASSERT_EQ(correction.states.size(), 3u);
    EXPECT_EQ(correction.states[0].mode, a.mode);
    EXPECT_EQ(correction.states[0].id, 7u);
    EXPECT_EQ(correction.states[1].mirror, 7u);  // the key mapped to the current id
    EXPECT_EQ(correction.fixed, (std::vector<std::uint32_t>{7, 2}));
    EXPECT_EQ(correction.states[2].id, 9u);

    // A display with a remembered mirror is always listed, even when it already matches.
    auto b3 = b;
    b3.mirror = 7;
    auto a3 = a;
    a3.id = 7;
    a3.x = 3;  // makes the whole set differ so correction runs
    EXPECT_EQ(modes.corrected({a3, b3}).fixed, (std::vector<std::uint32_t>{7, 2}));
    EXPECT_TRUE(modes.corrected({a, b}).fixed.empty());
    EXPECT_TRUE(StableModes().corrected({a}).fixed.empty());
}

TEST(StableModesMismatches, DescribeEachDifferenceInOrder) {
    auto target = physicalDisplay(3, 0, 0, true);
    EXPECT_EQ(StableModes::mismatches(target, std::nullopt), std::vector<std::string>{"id 3 missing"});
    auto actual = target;
    actual.mode = DisplayMode{1512, 945, 3024, 1890, 59.0, 4};
    actual.x = -10;
    actual.main = false;
    actual.mirror = 8;
    EXPECT_EQ(StableModes::mismatches(target, actual),
              (std::vector<std::string>{"mode 3024x1890/1512x945@59.0 != 3024x1964/1512x982@60.0",
                                        "origin -10,0 != 0,0", "main false != true", "mirror 8 != 0"}));
    target.skipMode = true;
    target.skipOrigin = true;  // origin is still reported
    EXPECT_EQ(StableModes::mismatches(target, actual).front(), "origin -10,0 != 0,0");
    EXPECT_TRUE(StableModes::mismatches(target, target).empty());
}

TEST(StableModesFile, RoundTripsAndTreatsDamageAsEmpty) {
    StableModes modes;
    auto a = physicalDisplay(1, -1920, 0, true, "A");
    ASSERT_TRUE(modes.record({a}, {a}));
    const std::string text = json::serialize(modes.toJson());
    EXPECT_EQ(text.rfind(R"({"layouts":{"A":{"A":{"mode":)", 0), 0u);
    EXPECT_EQ(text.find("mirrorKey"), std::string::npos);
    const auto back = StableModes::fromFileText(text);
    ASSERT_EQ(back.layouts.size(), 1u);
    EXPECT_TRUE(StableModes::same(back.layouts.at("A"), modes.layouts.at("A")));
    EXPECT_EQ(back.layouts.at("A").at("A").x, -1920);

    EXPECT_TRUE(StableModes::fromFileText(std::nullopt).layouts.empty());
    EXPECT_TRUE(StableModes::fromFileText("{").layouts.empty());
    EXPECT_TRUE(StableModes::fromFileText("{}").layouts.empty());
    EXPECT_TRUE(StableModes::fromFileText(R"({"layouts":{"A":{"A":{"x":1,"y":2,"main":true}}}})").layouts.empty());
}

TEST(StableModesFile, AnEntryReadsBackWithAndWithoutItsMirrorKey) {
    const StableModes::Entry mirrored{DisplayMode{1512, 982, 3024, 1964, 120.0, 4}, -1512, 0, false, "A"};
    const std::string text = json::serialize(mirrored.toJson());
    EXPECT_EQ(text, R"({"mode":{"width":1512,"height":982,"pixelWidth":3024,"pixelHeight":1964,"refresh":120.0,)"
                    R"("modeID":4},"x":-1512,"y":0,"main":false,"mirrorKey":"A"})");
    EXPECT_EQ(StableModes::Entry::fromJson(json::parse(text)).mirrorKey, "A");
    EXPECT_EQ(json::serialize(StableModes::Entry::fromJson(json::parse(text)).toJson()), text);
    auto alone = mirrored;
    alone.mirrorKey.reset();
    EXPECT_EQ(StableModes::Entry::fromJson(alone.toJson()).mirrorKey, std::nullopt);
}

TEST(FullHeightRestoreTest, PicksTheTallerPanelModeOnlyWhenItFits) {
    const DisplayMode saved{1512, 945, 3024, 1890, 60.0, 10};
    const DisplayMode full{1512, 982, 3024, 1964, 60.0, 11};
    const DisplayMode fast{1512, 982, 3024, 1964, 120.0, 12};
    const DisplayMode lowResolution{1512, 982, 1512, 982, 60.0, 13};
    const Dimensions native(3024, 1964);
    EXPECT_EQ(FullHeightRestore::mode(saved, {fast, lowResolution, full}, native, true), full);
    EXPECT_EQ(FullHeightRestore::mode(saved, {fast, lowResolution}, native, true), saved);
    EXPECT_EQ(FullHeightRestore::mode(full, {full}, native, true), full);  // applying twice changes nothing
    EXPECT_EQ(FullHeightRestore::mode(saved, {full}, native, false), saved);
    EXPECT_EQ(FullHeightRestore::mode(saved, {full}, std::nullopt, true), saved);
    EXPECT_EQ(FullHeightRestore::mode(saved, {full}, Dimensions(0, 1964), true), saved);
}

}  // namespace
}  // namespace dorvane
