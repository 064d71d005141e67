#pragma once

#include <array>
#include <functional>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DorvaneCore/Core/Dimensions.h"
#include "DorvaneCore/Core/ToolbarSide.h"
#include "DorvaneCore/Resolution/CustomPreset.h"
#include "DorvaneCore/Resolution/ResolutionAdjustment.h"
#include "DorvaneCore/Settings/Preferences.h"

namespace dorvane {

// The rules of the resolution panel beside the toolbar: the order of its
// custom presets, which one is in effect, how many columns fit, and the state
// of the five display-size segments. One per panel: the host builds a new one
// each time it fills the panel, fixing the first custom preset then.
class ResolutionPanelModel {
public:
    // The panel's padding above and below, added to the measured content height.
    static constexpr double contentHeightPadding = 32;

    struct ScaleStep {
        std::string_view title;
        std::int64_t percent;
    };
    // Left to right on screen.
    static constexpr std::array<ScaleStep, 5> scaleSteps{{
        {"更大文字", 120},
        {"较大文字", 110},
        {"默认", 100},
        {"更多空间", 90},
        {"最多空间", 80},
    }};

    // One custom preset's cell. Tapping an applied cell only closes the panel;
    // any other calls onCustom(preset.id) and leaves closing to the host.
    struct Cell {
        CustomPreset preset;
        Dimensions logicalSize;  // the scaled standard size, for the outline
        bool applied = false;
        friend bool operator==(const Cell&, const Cell&) = default;
    };

    // One display-size segment. Every tap calls onScale(percent), the current
    // segment's too; a disabled one takes no tap.
    struct Segment {
        std::string_view title;
        std::int64_t percent = 100;
        double letterSize = 15;  // point size of its "A"
        bool current = false;    // the adjustment's scale
        bool selected = false;   // current while something is applied
        bool enabled = true;     // the scale keeps the size within the supported range
        double thumbOpacity = 0;  // 1 when selected, 0.6 when only current, 0 without a thumb
        friend bool operator==(const Segment&, const Segment&) = default;
    };

    // Where short content sits and where scrolling is anchored: against the toolbar.
    enum class ContentAlignment { topLeading, topTrailing, bottomLeading };

    // The custom preset listed first is the one selected when the panel is built.
    static ResolutionPanelModel forSelection(const Preferences& preferences);
    explicit ResolutionPanelModel(std::optional<std::string> firstPresetID);

    const std::optional<std::string>& firstPresetID() const { return firstPresetID_; }

    // The stored custom presets, the first one moved to the front when it still exists.
    std::vector<CustomPreset> presets(const Preferences& preferences) const;
    std::vector<Cell> cells(const Preferences& preferences, const std::optional<Dimensions>& applied) const;

    // Whether `id` is the selected custom preset and is applied at its own size.
    static bool isAppliedCustom(std::string_view id, const Preferences& preferences,
                                const std::optional<Dimensions>& applied);

    // floor((min(width, 500) + 16) / 110), held within 1 to 3.
    static int columnCount(double contentWidth);

    // The titles of one grid share one size and one number of lines. `linesNeeded` tells how
    // many lines the grid's longest title takes at a point size when nothing is cut. The body
    // size while every title fits on two lines; else 85 % of it, where a title still too long
    // for two lines is shortened at the end of the second.
    struct TitleStyle {
        double pointSize = 13;
        int lines = 1;
        friend constexpr bool operator==(const TitleStyle&, const TitleStyle&) = default;
    };
    static constexpr double titleSize = 13;
    static constexpr double titleShrink = 0.85;
    static constexpr int titleLineLimit = 2;
    static TitleStyle titleStyle(const std::function<int(double pointSize)>& linesNeeded);

    static double letterSize(std::int64_t percent);
    static std::vector<Segment> segments(const ResolutionAdjustment& adjustment,
                                         const std::optional<Dimensions>& applied);

    static ContentAlignment contentAlignment(ToolbarSide side);
    static bool scrollsFromBottom(ToolbarSide side) { return side == ToolbarSide::bottom; }

private:
    std::optional<std::string> firstPresetID_;
};

}  // namespace dorvane
