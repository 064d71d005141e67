#include <gtest/gtest.h>

#include <unordered_set>

#include "DorvaneCore/Core/Dimensions.h"
#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Core/ScreenPreset.h"
#include "DorvaneCore/Core/ToolbarSide.h"

namespace dorvane {
namespace {

TEST(FitErrorTest, DescriptionIsExactlyTheMessage) {
    EXPECT_STREQ(FitError::message("虚拟显示器创建失败").what(), "虚拟显示器创建失败");
}

TEST(DimensionsTest, LabelsJsonAndHashing) {
    EXPECT_EQ(Dimensions(1280, 720).label(), "1280\u00D7720");
    EXPECT_EQ(Dimensions(1280, 720).cli(), "1280x720");

    EXPECT_EQ(json::serialize(Dimensions(1600, 900).toJson()), R"({"width":1600,"height":900})");
    EXPECT_EQ(Dimensions::fromJson(json::parse(R"({"height":2,"width":1,"extra":true})")), Dimensions(1, 2));
    EXPECT_THROW(Dimensions::fromJson(json::parse(R"({"width":1})")), json::DecodeError);
    EXPECT_THROW(Dimensions::fromJson(json::parse(R"({"width":1.5,"height":2})")), json::DecodeError);

    std::unordered_set<Dimensions> sizes{Dimensions(1, 2), Dimensions(2, 1), Dimensions(1, 2)};
    EXPECT_EQ(sizes.size(), 2u);
}

TEST(ScreenPresetTest, NamesTitlesAndTheFixedSizeTable) {
    EXPECT_EQ(fromRawValue<ScreenPreset>("Phone"), std::nullopt);
    EXPECT_EQ(name(ScreenPreset::phone), "手机横屏");
    EXPECT_EQ(title(ScreenPreset::phone), "手机横屏（全屏）");
    EXPECT_EQ(title(ScreenPreset::widescreen), name(ScreenPreset::widescreen));

    EXPECT_EQ(dimensions(ScreenPreset::portrait, DisplaySize::moreSpace), Dimensions(720, 1600));
    EXPECT_EQ(dimensions(ScreenPreset::phone, DisplaySize::larger), Dimensions(1200, 540));
    EXPECT_EQ(dimensions(ScreenPreset::tablet, DisplaySize::larger), Dimensions(896, 672));
    EXPECT_EQ(dimensions(ScreenPreset::wideTablet, DisplaySize::standard), Dimensions(1280, 800));
    for (auto preset : allCases<ScreenPreset>()) {
        for (auto size : allCases<DisplaySize>()) {
            const auto d = dimensions(preset, size);
            EXPECT_TRUE(d.width >= 512 && d.width <= 3840 && d.height >= 512 && d.height <= 3840) << d.label();
        }
    }
}

TEST(SmallEnumsTest, DisplaySizeScaleAndToolbarOrientation) {
    EXPECT_EQ(scaleLabel(DisplaySize::larger), "85%");
    EXPECT_DOUBLE_EQ(scaleFactor(DisplaySize::moreSpace), 1.2);
    EXPECT_FALSE(isHorizontal(ToolbarSide::left) || isHorizontal(ToolbarSide::right));
    EXPECT_TRUE(isHorizontal(ToolbarSide::top) && isHorizontal(ToolbarSide::bottom));
}

}  // namespace
}  // namespace dorvane
