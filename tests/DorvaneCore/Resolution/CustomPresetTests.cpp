#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Resolution/CustomPreset.h"
#include "DorvaneCore/Resolution/SupportedRange.h"
#include "tests/DorvaneCore/Resolution/PresetPrinting.h"

namespace dorvane {
namespace {

constexpr const char* kSizeMessage = "宽度与高度均须在 512 至 3840 逻辑像素范围内。";
constexpr const char* kScaleMessage = "显示大小须在 50% 至 200% 范围内，缩放后的尺寸须在支持范围内。";

CustomPreset custom(std::int64_t width, std::int64_t height, std::int64_t scale = 100) {
    return CustomPreset{"id", "name", width, height, scale};
}

// The message validate() throws, or "" when it passes.
std::string validationMessage(const CustomPreset& preset) {
    try {
        preset.validate();
        return "";
    } catch (const FitError& error) {
        return error.what();
    }
}

TEST(CustomPresetValidation, LimitsAndMessagesInOrder) {
    const std::vector<std::pair<CustomPreset, std::string>> cases{
        {custom(512, 512), ""},
        {custom(3840, 3840), ""},
        {custom(511, 720), kSizeMessage},
        {custom(1280, 3841), kSizeMessage},
        {custom(511, 720, 0), kSizeMessage},  // the size rule comes before the scale rule
        {custom(1600, 1200, 50), ""},         // 3200×2400
        {custom(1280, 1024, 200), ""},        // 640×512
        {custom(3840, 3840, 201), kScaleMessage},
        {custom(3840, 2160, 50), kScaleMessage},  // scaled 7680×4320
        {custom(1024, 768, 200), kScaleMessage},  // scaled 512×384
    };
    for (const auto& [preset, message] : cases) EXPECT_EQ(validationMessage(preset), message) << preset.sizeLabel();
}

TEST(CustomPresetScaling, FactorsScaleAndHalvesAwayFromZero) {
    const auto recommended = custom(1294, 720);
    EXPECT_EQ(recommended.dimensions(DisplaySize::larger), Dimensions(1100, 612));  // 1099.9 rounds up
    EXPECT_EQ(recommended.dimensions(DisplaySize::moreSpace), Dimensions(1553, 864));
    EXPECT_EQ(custom(1600, 900, 125).dimensions(DisplaySize::standard), Dimensions(1280, 720));
    // 1001 × 100 ÷ 200 = 500.5 and 1003 ÷ 2 = 501.5: both halves go up, not to even.
    EXPECT_EQ(custom(1001, 1003, 200).dimensions(DisplaySize::standard), Dimensions(501, 502));
    // A scale below 1 counts as 1 instead of dividing by zero or flipping the sign.
    EXPECT_EQ(custom(1280, 720, 0).dimensions(DisplaySize::standard), Dimensions(128000, 72000));

    // Saturating conversions: absurd stored sizes never overflow.
    EXPECT_EQ(roundedPoints(-2.5), -3);
    EXPECT_EQ(roundedPoints(std::nan("")), 0);
    EXPECT_EQ(roundedPoints(1e30), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(custom(std::numeric_limits<std::int64_t>::max(), 720).dimensions(DisplaySize::moreSpace).width,
              std::numeric_limits<std::int64_t>::max());
}

TEST(CustomPresetScaling, AdjustmentSettingScaleAndLabels) {
    EXPECT_EQ(custom(1600, 900, 125).adjustment(), ResolutionAdjustment(Dimensions(1600, 900), 125));
    // Scaled size out of range (512×384): the adjustment falls back to 100 %, base kept.
    EXPECT_EQ(custom(1024, 768, 200).adjustment(), ResolutionAdjustment(Dimensions(1024, 768), 100));
    EXPECT_EQ(custom(1600, 900).settingScale(125), custom(1600, 900, 125));
    EXPECT_EQ(custom(1024, 768).settingScale(200), std::nullopt);

    EXPECT_EQ(custom(1600, 900, 125).sizeLabel(), "1600 \u00D7 900 \u00B7 125%");
    EXPECT_EQ(custom(1294, 720).sizeLabel(), "1294 \u00D7 720");
    CustomPreset named = custom(1280, 720);
    named.name = "\u3000 办公 \n";
    EXPECT_EQ(named.title(), "办公");
    named.name = " \t\u3000\n";
    EXPECT_EQ(named.title(), "规格");
}

TEST(CustomPresetFactory, SevenPresetsInTheirOrder) {
    const std::vector<CustomPreset> expected{
        {"factory:phoneRecommended", "手机横屏（保留操作栏）", 1294, 720, 100},
        {"factory:portraitRecommended", "手机竖屏（保留操作栏）", 604, 1138, 100},
        {"factory:phone", "手机横屏（全屏）", 1400, 630, 100},
        {"factory:portrait", "手机竖屏（全屏）", 630, 1400, 100},
        {"factory:widescreen", "标准宽屏", 1280, 720, 100},
        {"factory:tablet", "平板横屏", 1024, 768, 100},
        {"factory:wideTablet", "宽屏平板", 1280, 800, 100},
    };
    EXPECT_EQ(CustomPreset::factorySpecs(), expected);
    EXPECT_EQ(CustomPreset::recommendedSpecs(), std::vector<CustomPreset>(expected.begin(), expected.begin() + 2));
}

TEST(CustomPresetJson, RoundTripKeyOrderAndDefaults) {
    const CustomPreset preset{"E621E1F8-C36C-495A-93FC-0C247A3E6E5F", "办公", 1600, 900, 125};
    const std::string text = json::serialize(preset.toJson());
    EXPECT_EQ(text, R"({"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","name":"办公","width":1600,"height":900,)"
                    R"("scalePercent":125})");
    EXPECT_EQ(CustomPreset::fromJson(json::parse(text)), preset);
    EXPECT_EQ(CustomPreset::fromJson(
                  json::parse(R"({"scalePercent":null,"height":720,"width":1280,"name":"b","id":"a","x":1})")),
              (CustomPreset{"a", "b", 1280, 720, 100}));
    // Wrong or missing values fail instead of being truncated or defaulted.
    for (const char* bad : {R"({"name":"b","width":1280,"height":720})",
                            R"({"id":"a","name":"b","width":1280.5,"height":720})",
                            R"({"id":"a","name":"b","width":1280,"height":720,"scalePercent":1e20})"}) {
        EXPECT_THROW(CustomPreset::fromJson(json::parse(bad)), json::DecodeError) << bad;
    }
}

}  // namespace
}  // namespace dorvane
