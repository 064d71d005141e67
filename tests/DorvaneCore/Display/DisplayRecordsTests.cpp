#include <gtest/gtest.h>

#include "DorvaneCore/Display/DisplayState.h"

namespace dorvane {
namespace {

DisplayMode mode(std::int64_t w, std::int64_t h, double refresh, std::int64_t id = 7) {
    return DisplayMode{w, h, w * 2, h * 2, refresh, id};
}

DisplayState external() {
    return DisplayState(5, std::nullopt, makeHardwareKey(1552, 41100, 16843009, false), true, false, -1920, -200, 0,
                        DisplayMode{1920, 1080, 1920, 1080, 60.0, 12});
}

TEST(DisplayModeTest, MatchingIgnoresModeIDAndSubHertzDifferences) {
    EXPECT_TRUE(mode(1280, 720, 59.94).matches(mode(1280, 720, 60.0)));
    EXPECT_FALSE(mode(1280, 720, 59.0).matches(mode(1280, 720, 60.0)));
    EXPECT_TRUE(mode(1280, 720, 60.0, 1).matches(mode(1280, 720, 60.0, 2)));
    EXPECT_NE(mode(1280, 720, 60.0, 1), mode(1280, 720, 60.0, 2));
    auto lowResolution = mode(1280, 720, 60.0);
    lowResolution.pixelWidth = 1280;
    EXPECT_FALSE(lowResolution.matches(mode(1280, 720, 60.0)));
}

TEST(DisplayModeTest, JsonRequiresEveryKey) {
    const auto original = mode(1512, 982, 120.0, 44);
    EXPECT_EQ(json::serialize(original.toJson()),
              R"({"width":1512,"height":982,"pixelWidth":3024,"pixelHeight":1964,"refresh":120.0,"modeID":44})");
    EXPECT_EQ(DisplayMode::fromJson(original.toJson()), original);
    auto missing = original.toJson();
    missing.erase("modeID");
    EXPECT_THROW(DisplayMode::fromJson(missing), json::DecodeError);
}

TEST(DisplayStateTest, JsonKeyOrderAndOptionalUUID) {
    auto state = external();
    EXPECT_EQ(state.hardwareKey, "1552:41100:16843009:false");
    EXPECT_EQ(json::serialize(state.toJson()),
              R"({"id":5,"hardwareKey":"1552:41100:16843009:false","physical":true,"main":false,"x":-1920,"y":-200,)"
              R"("mirror":0,"mode":{"width":1920,"height":1080,"pixelWidth":1920,"pixelHeight":1080,"refresh":60.0,)"
              R"("modeID":12},"skipMode":false,"skipOrigin":false})");

    const auto back = DisplayState::fromJson(state.toJson());
    EXPECT_EQ(back.x, -1920);
    EXPECT_EQ(back.uuid, std::nullopt);
    EXPECT_EQ(back.mode, state.mode);

    state.uuid = "37D8832A-2D66-02CA-B9F7-8F30A301B230";
    state.skipOrigin = true;
    const auto withUUID = DisplayState::fromJson(state.toJson());
    EXPECT_EQ(withUUID.uuid, state.uuid);
    EXPECT_TRUE(withUUID.skipOrigin);
    EXPECT_EQ(state.toJson().begin().key(), "id");
    EXPECT_EQ(std::next(state.toJson().begin()).key(), "uuid");

    auto nullUUID = state.toJson();
    nullUUID["uuid"] = nullptr;
    EXPECT_EQ(DisplayState::fromJson(nullUUID).uuid, std::nullopt);
}

TEST(DisplayStateTest, StrictDecodingRejectsTheWholeArray) {
    const auto good = external().toJson();
    auto withoutSkip = good;
    withoutSkip.erase("skipMode");
    auto hugeX = good;
    hugeX["x"] = 2147483648LL;
    auto negativeID = good;
    negativeID["id"] = -1;
    auto fractionalID = good;
    fractionalID["id"] = 1.5;
    auto stringMain = good;
    stringMain["main"] = "true";
    auto negativeMirror = good;
    negativeMirror["mirror"] = -3;
    for (const auto& bad : {withoutSkip, hugeX, negativeID, fractionalID, stringMain, negativeMirror}) {
        json::Json array = json::Json::array({good, bad});
        EXPECT_THROW(decodeDisplayStates(array), json::DecodeError) << json::serialize(bad);
    }
    EXPECT_THROW(parseDisplayStates(R"({"id":1})"), json::DecodeError);
    EXPECT_EQ(parseDisplayStates("[]").size(), 0u);
    const auto two = parseDisplayStates(json::serialize(encodeDisplayStates({external(), external()})));
    EXPECT_EQ(two.size(), 2u);
}

TEST(DisplayStateTest, RecognisesTheOwnVirtualDisplay) {
    auto state = external();
    EXPECT_FALSE(state.isOwnVirtualDisplay());
    state.hardwareKey = makeHardwareKey(kVirtualDisplayVendor, 1, 12345, false);
    EXPECT_TRUE(state.isOwnVirtualDisplay());
    state.hardwareKey = "174940:1:1:false";
    EXPECT_FALSE(state.isOwnVirtualDisplay());
}

}  // namespace
}  // namespace dorvane
