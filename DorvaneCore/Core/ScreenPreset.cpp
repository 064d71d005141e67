#include "DorvaneCore/Core/ScreenPreset.h"

namespace dorvane {

namespace {

struct PresetRow {
    std::string_view name;
    std::string_view title;
    std::string_view ratio;
    std::string_view subtitle;
    // larger, standard, moreSpace: a fixed table, not a computation.
    std::array<Dimensions, 3> sizes;
};

const PresetRow& row(ScreenPreset preset) {
    static const std::array<PresetRow, 5> rows{{
        {"手机横屏", "手机横屏（全屏）", "20:9", "主流全面屏手机横向持握",
         {Dimensions(1200, 540), Dimensions(1400, 630), Dimensions(1600, 720)}},
        {"标准宽屏", "标准宽屏", "16:9", "电脑显示器常见宽屏比例",
         {Dimensions(1024, 576), Dimensions(1280, 720), Dimensions(1600, 900)}},
        {"平板横屏", "平板横屏", "4:3", "iPad 及常规平板电脑",
         {Dimensions(896, 672), Dimensions(1024, 768), Dimensions(1280, 960)}},
        {"宽屏平板", "宽屏平板", "16:10", "宽屏平板与轻薄笔记本",
         {Dimensions(1120, 700), Dimensions(1280, 800), Dimensions(1600, 1000)}},
        {"手机竖屏", "手机竖屏（全屏）", "9:20", "手机竖屏纵向直向持握",
         {Dimensions(540, 1200), Dimensions(630, 1400), Dimensions(720, 1600)}},
    }};
    return rows[caseIndex(preset)];
}

}  // namespace

std::string_view name(ScreenPreset preset) { return row(preset).name; }
std::string_view title(ScreenPreset preset) { return row(preset).title; }
std::string_view ratio(ScreenPreset preset) { return row(preset).ratio; }
std::string_view subtitle(ScreenPreset preset) { return row(preset).subtitle; }

Dimensions dimensions(ScreenPreset preset, DisplaySize size) { return row(preset).sizes[caseIndex(size)]; }

}  // namespace dorvane
