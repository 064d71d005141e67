#include <gtest/gtest.h>

#include "DorvaneCore/ResolutionModels/SpecEditorModel.h"
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
        std::string message;  // empty: saved
    };
    const std::vector<Case> cases{
        {" 1280\t", "720", 100, ""},
        {"+1280", "\t720 ", 100, ""},
        {"512", "512", 100, ""},
        {"1280px", "720", 100, kInteger},
        {"12 80", "720", 100, kInteger},
        {"1280.0", "720", 100, kInteger},
        {"", "720", 100, kInteger},
        {"1280\n", "720", 100, kInteger},  // a line break is not trimmed
        {"99999999999999999999", "720", 100, kInteger},  // beyond 64 bits, never wrapped
        {"１２８０", "720", 100, kInteger},  // full-width digits
        {"+-1280", "720", 100, kInteger},
        {"1280", "abc", 100, kInteger},
        {"-1280", "720", 100, kSides},  // read, then out of range
        {"511", "600", 100, kSides},
        {"-9223372036854775808", "720", 100, kSides},
        {"3840", "2160", 50, kScale},  // scaled 7680 × 4320
        {"600", "600", 200, kScale},   // scaled 300 × 300
    };
    for (const auto& [width, height, scale, message] : cases) {
        auto model = editor(width, height, scale);
        const auto preset = model.commit(false);
        const std::string label = "\"" + width + "\" × \"" + height + "\" at " + std::to_string(scale);
        EXPECT_EQ(model.error().value_or(""), message) << label;
        if (message.empty()) {
            EXPECT_EQ(preset, (CustomPreset{"PRESET-1", "名称", std::stoll(width), std::stoll(height), scale})) << label;
        } else {
            EXPECT_FALSE(preset) << label;
        }
    }
}

TEST(SpecEditorCommit, NamesTrimmedAndCutToTwentyFourCharacters) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十", "一二三四五六七八九十一二三四五六七八九十一二三四"},
        {" \u3000\n", ""},
        {"\n" + std::string(23, 'a') + "e\u0301xyz", std::string(23, 'a') + "e\u0301"},  // a whole character
    };
    for (const auto& [typed, saved] : cases) EXPECT_EQ(editor("1280", "720", 100, typed).commit(false)->name, saved);
}

TEST(SpecEditorCommit, SaveAsTakesANewIdentityAndErrorsStayUntilTheNextAttempt) {
    auto model = editor("abc", "720", 125);
    EXPECT_FALSE(model.commit(false));
    model.width = "1280";  // typing leaves the message
    EXPECT_EQ(model.error(), kInteger);
    const auto copy = model.commit(true);
    ASSERT_TRUE(copy);
    EXPECT_NE(copy->id, "PRESET-1");
    EXPECT_EQ(model.commit(false)->id, "PRESET-1");
    EXPECT_EQ(model.error(), kInteger);  // a success closes the sheet; nothing clears it here

    model.stepScale(-1);
    for (int i = 0; i < 10; ++i) model.stepScale(-1);
    EXPECT_EQ(model.scaleLabel(), "显示大小：50%");
    for (int i = 0; i < 20; ++i) model.stepScale(1);
    EXPECT_EQ(model.scalePercent(), 200);
}

}  // namespace
}  // namespace dorvane
