#include <gtest/gtest.h>

#include <limits>

#include "DorvaneCore/ResolutionModels/SpecEditorModel.h"
#include "DorvaneCore/Support/UnicodeText.h"
#include "tests/DorvaneCore/Resolution/PresetPrinting.h"

namespace dorvane {
namespace {

constexpr const char* kInteger = "请输入整数宽度和高度。";
constexpr const char* kSides = "宽度与高度均须在 512 至 3840 逻辑像素范围内。";
constexpr const char* kScale = "显示大小须在 50% 至 200% 范围内，缩放后的尺寸须在支持范围内。";

SpecEditorModel editor(std::string width, std::string height, std::int64_t scale = 100, std::string name = "名称") {
    return SpecEditorModel(SpecDraft{"PRESET-1", std::move(name), std::move(width), std::move(height), false, scale});
}

TEST(SpecEditorCommit, FieldsToAPresetOrTheFirstMessage) {
    struct Case {
        std::string width;
        std::string height;
        std::int64_t scale;
        std::optional<Dimensions> saved;  // none: refused
        std::string message;
    };
    const std::vector<Case> cases{
        {" 1280\t", "720", 100, Dimensions(1280, 720), ""},
        {"+1280", "\t720 ", 100, Dimensions(1280, 720), ""},
        {"512", "512", 100, Dimensions(512, 512), ""},
        {"1280px", "720", 100, std::nullopt, kInteger},
        {"12 80", "720", 100, std::nullopt, kInteger},
        {"1280.0", "720", 100, std::nullopt, kInteger},
        {"", "720", 100, std::nullopt, kInteger},
        {"1280\n", "720", 100, std::nullopt, kInteger},  // a line break is not trimmed
        {"99999999999999999999", "720", 100, std::nullopt, kInteger},  // beyond 64 bits, never wrapped
        {"１２８０", "720", 100, std::nullopt, kInteger},  // full-width digits are not ASCII
        {"+-1280", "720", 100, std::nullopt, kInteger},
        {"1280", "abc", 100, std::nullopt, kInteger},
        {"-1280", "720", 100, std::nullopt, kSides},  // read, then out of range
        {"511", "600", 100, std::nullopt, kSides},
        {"9223372036854775807", "720", 100, std::nullopt, kSides},
        {"-9223372036854775808", "720", 100, std::nullopt, kSides},
        {"3840", "2160", 50, std::nullopt, kScale},  // scaled 7680 × 4320
        {"600", "600", 200, std::nullopt, kScale},   // scaled 300 × 300
    };
    for (const auto& [width, height, scale, saved, message] : cases) {
        auto model = editor(width, height, scale);
        const auto preset = model.commit(false);
        const std::string label = "\"" + width + "\" × \"" + height + "\" at " + std::to_string(scale);
        if (saved) {
            ASSERT_TRUE(preset) << label << ": " << model.error().value_or("");
            EXPECT_EQ(*preset, (CustomPreset{"PRESET-1", "名称", saved->width, saved->height, scale})) << label;
            EXPECT_FALSE(model.error()) << label;
        } else {
            EXPECT_FALSE(preset) << label;
            EXPECT_EQ(model.error(), message) << label;
        }
    }
}

TEST(SpecEditorCommit, NamesAreTrimmedAndCutToTwentyFourCharacters) {
    const std::string thirty = "一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十";
    ASSERT_EQ(text::graphemeCount(thirty), 30u);
    struct Case {
        std::string typed;
        std::string saved;
    };
    const std::vector<Case> cases{
        {thirty, "一二三四五六七八九十一二三四五六七八九十一二三四"},
        {" \u3000\n", ""},                           // a blank name saves empty (shown as "规格")
        {"\n 👍🏽 iPad\t", "👍🏽 iPad"},              // emoji with skin tone is one character
        {std::string(23, 'a') + "e\u0301xyz", std::string(23, 'a') + "e\u0301"},  // combining mark kept whole
    };
    for (const auto& [typed, saved] : cases) {
        auto model = editor("1280", "720", 100, typed);
        const auto preset = model.commit(false);
        ASSERT_TRUE(preset) << typed;
        EXPECT_EQ(preset->name, saved) << typed;
    }
}

TEST(SpecEditorCommit, SaveAsTakesANewIdentityAndErrorsStayUntilTheNextAttempt) {
    std::uint64_t draws = 0;
    const RandomSource counting = [&] { return ++draws; };
    auto model = editor("1280", "720", 125);
    const auto copy = model.commit(true, counting);
    ASSERT_TRUE(copy);
    EXPECT_NE(copy->id, "PRESET-1");
    EXPECT_EQ(copy->id, "00000000-0000-4001-8000-000000000002");
    EXPECT_EQ(model.commit(false)->id, "PRESET-1");

    model.width = "abc";
    EXPECT_FALSE(model.commit(false));
    model.width = "1280";  // typing leaves the message
    model.height = "100";
    EXPECT_EQ(model.error(), kInteger);
    EXPECT_FALSE(model.commit(false));
    EXPECT_EQ(model.error(), kSides);  // the next attempt replaces it
    model.height = "720";
    EXPECT_TRUE(model.commit(false));
    EXPECT_EQ(model.error(), kSides);  // a success closes the sheet; nothing clears it here
}

TEST(SpecEditorModelState, TitlesCopyButtonAndStepperBounds) {
    SpecEditorModel fresh(SpecDraft{"N", "", "1280", "720", true, 100});
    EXPECT_EQ(fresh.title(), "新增规格");
    EXPECT_FALSE(fresh.offersSaveAsCopy());
    auto existing = editor("1280", "720", 65);
    EXPECT_EQ(existing.title(), "编辑规格");
    EXPECT_TRUE(existing.offersSaveAsCopy());

    existing.stepScale(-1);
    EXPECT_EQ(existing.scalePercent(), 55);
    existing.stepScale(-1);
    existing.stepScale(-1);
    EXPECT_EQ(existing.scalePercent(), 50);
    for (int i = 0; i < 20; ++i) existing.stepScale(1);
    EXPECT_EQ(existing.scalePercent(), 200);
    EXPECT_EQ(existing.scaleLabel(), "显示大小：200%");
}

}  // namespace
}  // namespace dorvane
