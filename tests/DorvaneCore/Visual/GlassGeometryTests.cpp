#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "DorvaneCore/Visual/GlassDropdownMetrics.h"
#include "DorvaneCore/Visual/GlassGeometry.h"
#include "DorvaneCore/Visual/OverflowEdgeFade.h"
#include "tests/DorvaneCore/Geometry/RectPrinting.h"

namespace dorvane {
namespace {

using namespace glass;
using geometry::Rect;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

Corners corners(std::initializer_list<Corner> list) {
    Corners set;
    for (Corner corner : list) set = set.with(corner);
    return set;
}

TEST(GlassGeometry, AttachedCornersStayRoundedAwayFromTheJoin) {
    using enum Corner;
    const struct {
        ToolbarSide side;
        bool toolbar;
        Corners rounded;
    } cases[] = {
        {ToolbarSide::left, true, corners({bottomLeft, topLeft})},
        {ToolbarSide::left, false, corners({bottomRight, topRight})},
        {ToolbarSide::right, true, corners({bottomRight, topRight})},
        {ToolbarSide::right, false, corners({bottomLeft, topLeft})},
        {ToolbarSide::top, true, corners({bottomRight, topLeft, topRight})},
        {ToolbarSide::top, false, corners({bottomLeft, bottomRight})},
        {ToolbarSide::bottom, true, corners({bottomLeft, bottomRight, topRight})},
        {ToolbarSide::bottom, false, corners({topLeft, topRight})},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(attachedCorners(c.side, c.toolbar), c.rounded)
            << static_cast<int>(c.side) << (c.toolbar ? " toolbar" : " panel");
    }
    // A panel beside a left toolbar: square on the left, rounded on the right.
    EXPECT_EQ(outerCornerRadii(14, attachedCorners(ToolbarSide::left, false)), (CornerRadii{0, 14, 0, 14}));
    EXPECT_EQ(outerCornerRadii(14, std::nullopt), (CornerRadii{14, 14, 14, 14}));
}

TEST(GlassGeometry, RevealGrowsFromTheStripFacingTheToolbar) {
    const Rect bounds{0, 0, 300, 200};
    EXPECT_EQ(revealStart(bounds, ToolbarSide::top), (Rect{0, 0, 300, 1}));
    EXPECT_EQ(revealStart(bounds, ToolbarSide::bottom), (Rect{0, 199, 300, 1}));
    EXPECT_EQ(revealStart(bounds, ToolbarSide::left), (Rect{0, 0, 1, 200}));
    EXPECT_EQ(revealStart(bounds, ToolbarSide::right), (Rect{299, 0, 1, 200}));
}

TEST(GlassGeometry, HairlineIsOneDevicePixelWithoutTheOmittedEdge) {
    for (auto [scale, width] : {std::pair{2.0, 0.5}, {1.0, 1.0}, {0.5, 1.0}, {4.0, 0.25}, {kNaN, 1.0}, {kInf, 1.0}}) {
        EXPECT_EQ(hairlineWidth(scale), width) << scale;
    }
    const Rect bounds{0, 0, 100, 50};
    const Rect stroke{0.25, 0.25, 99.5, 49.5};
    const struct {
        std::optional<ToolbarSide> omitted;
        Rect clip;
    } cases[] = {
        {std::nullopt, bounds},
        {ToolbarSide::left, {0.5, 0, 99.5, 50}},
        {ToolbarSide::right, {0, 0, 99.5, 50}},
        {ToolbarSide::top, {0, 0.5, 100, 49.5}},
        {ToolbarSide::bottom, {0, 0, 100, 49.5}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hairline(bounds, 14, 2, c.omitted), (Hairline{stroke, 13.75, 0.5, c.clip}))
            << static_cast<int>(c.omitted.value_or(ToolbarSide::left)) << c.omitted.has_value();
    }
    EXPECT_EQ(hairline(bounds, 0, 1, std::nullopt).radius, 0) << "never a negative radius";
}

TEST(GlassDropdownMetrics, PanelSizeFollowsTheEntries) {
    const struct {
        std::size_t count;
        double height;
        bool scrolls;
    } cases[] = {{0, 8, false}, {3, 92, false}, {8, 232, false}, {9, 232, true}, {12, 232, true}};
    for (const auto& c : cases) {
        EXPECT_EQ(GlassDropdownMetrics::menuHeight(c.count), c.height) << c.count;
        EXPECT_EQ(GlassDropdownMetrics::scrolls(c.count), c.scrolls) << c.count;
    }

    const TextMeasurer measure = [](std::string_view text, const TextFont& font) {
        if (font != GlassDropdownMetrics::titleFont) return 1000.0;
        return text == "宽" ? 100.2 : text == "窄" ? 80.0 : kNaN;
    };
    const std::vector<std::string> titles{"窄", "宽"};
    EXPECT_EQ(GlassDropdownMetrics::menuWidth(titles, measure), 146);
    EXPECT_EQ(GlassDropdownMetrics::menuWidth({}, measure), 45);
    const std::vector<std::string> unmeasurable{"?"};
    EXPECT_EQ(GlassDropdownMetrics::menuWidth(unmeasurable, measure), 46);
}

TEST(OverflowEdgeFade, FadesOnlyWhereContentIsHidden) {
    const struct {
        double offset, content, container;
        OverflowEdgeFade fade;
    } cases[] = {
        {0, 100, 100, {false, false}},    // fits exactly
        {1, 200, 100, {true, true}},      // scrolled 1 pt with 100 more below
        {99.6, 200, 100, {true, false}},  // within half a point of the end
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OverflowEdgeFade::forScroll(c.offset, c.content, c.container), c.fade) << c.offset;
    }
}

}  // namespace
}  // namespace dorvane
