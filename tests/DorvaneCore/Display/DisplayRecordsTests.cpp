#include <gtest/gtest.h>

#include "DorvaneCore/Display/CommitRequest.h"
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

std::string roundTripped(const DisplayState& state) {
    return json::serialize(DisplayState::fromJson(state.toJson()).toJson());
}

TEST(CommitRequestTest, TheTargetsReadBackInOrder) {
    auto virtualTarget = external();
    virtualTarget.id = 9;
    virtualTarget.uuid = "37D8832A-2D66-02CA-B9F7-8F30A301B230";
    virtualTarget.skipMode = true;
    const CommitRequest request{{external(), virtualTarget}};
    const std::string text = json::serialize(request.toJson());
    EXPECT_EQ(text.rfind(R"({"targets":[{"id":5,)", 0), 0u);
    const auto back = CommitRequest::fromJson(json::parse(text));
    ASSERT_EQ(back.targets.size(), 2u);
    EXPECT_EQ(json::serialize(back.toJson()), text);
    EXPECT_THROW(CommitRequest::fromJson(json::parse(R"({"targets":{}})")), json::DecodeError);
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

TEST(DisplayStateTest, JsonKeyOrderOptionalUUIDAndRoundTrip) {
    auto state = external();
    EXPECT_EQ(json::serialize(state.toJson()),
              R"({"id":5,"hardwareKey":"1552:41100:16843009:false","physical":true,"main":false,"x":-1920,"y":-200,)"
              R"("mirror":0,"mode":{"width":1920,"height":1080,"pixelWidth":1920,"pixelHeight":1080,"refresh":60.0,)"
              R"("modeID":12},"skipMode":false,"skipOrigin":false})");
    EXPECT_EQ(roundTripped(state), json::serialize(state.toJson()));  // x = -1920 survives

    state.uuid = "37D8832A-2D66-02CA-B9F7-8F30A301B230";
    state.skipOrigin = true;
    EXPECT_EQ(roundTripped(state), json::serialize(state.toJson()));
    EXPECT_EQ(std::next(state.toJson().begin()).key(), "uuid");
    auto nullUUID = state.toJson();
    nullUUID["uuid"] = nullptr;
    EXPECT_EQ(DisplayState::fromJson(nullUUID).uuid, std::nullopt);
}

TEST(DisplayStateTest, StrictDecodingRejectsTheWholeArray) {
    const auto good = external().toJson();
    const std::vector<std::pair<std::string, json::Json>> changes{
        {"skipMode", nullptr}, {"x", 2147483648LL}, {"id", -1}, {"id", 1.5}, {"main", "true"}, {"mirror", -3}};
    for (const auto& [key, value] : changes) {
        auto bad = good;
        if (value.is_null()) {
            bad.erase(key);
        } else {
            bad[key] = value;
        }
        EXPECT_THROW(decodeDisplayStates(json::Json::array({good, bad})), json::DecodeError) << json::serialize(bad);
    }
    auto noModeID = good;
    noModeID["mode"].erase("modeID");
    EXPECT_THROW(DisplayState::fromJson(noModeID), json::DecodeError);
    EXPECT_THROW(parseDisplayStates(R"({"id":1})"), json::DecodeError);
    EXPECT_EQ(parseDisplayStates(json::serialize(encodeDisplayStates({external(), external()}))).size(), 2u);
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
