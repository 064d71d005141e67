#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <optional>
#include <string>

#include "DorvaneCore/Visual/GenerationGuard.h"
#include "DorvaneCore/Visual/TransientNoticeLayout.h"
#include "tests/DorvaneCore/Geometry/RectPrinting.h"

namespace dorvane {
namespace {

using Layout = TransientNoticeLayout;
using geometry::Rect;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Measured {
    TextFont font;
    double width;
};

// Fixed widths per text in its own font; a text measured in another font is
// far too wide, so the layout shows it.
TextMeasurer widths(std::map<std::string, Measured> table) {
    return [table](std::string_view text, const TextFont& font) {
        const auto found = table.find(std::string(text));
        if (found == table.end()) return 0.0;
        return found->second.font == font ? found->second.width : 5000.0;
    };
}

TEST(NoticeText, DetailIsTrimmedAndDroppedWhenBlankOrTheTitle) {
    const struct {
        std::optional<std::string> detail;
        std::optional<std::string> kept;
        std::string announcement;
    } cases[] = {
        {" 详情\n", "详情", "标题，详情"},
        {"\u3000 \t\n", std::nullopt, "标题"},
        {"  标题 ", std::nullopt, "标题"},
        {std::nullopt, std::nullopt, "标题"},
        {"", std::nullopt, "标题"},
    };
    for (const auto& c : cases) {
        const NoticeText text("标题", c.detail);
        EXPECT_EQ(text.detail, c.kept) << c.detail.value_or("<none>");
        EXPECT_EQ(text.announcement(), c.announcement) << c.detail.value_or("<none>");
    }
}

TEST(TransientNoticeLayout, WidthGrowsWithTheTextWithinItsLimits) {
    const TextFont title = Layout::titleFont;
    const auto measure = widths({{"短", {title, 30}},
                                 {"很长的标题", {title, 1000}},
                                 {"中等", {title, 200.2}},
                                 {"详细说明", {Layout::detailFont, 300}}});
    const struct {
        const char* title;
        std::optional<std::string> detail;
        double areaWidth;
        double width;
    } cases[] = {
        {"短", std::nullopt, 1440, 180},        // a short title still gives 180
        {"很长的标题", std::nullopt, 1440, 420},  // capped at 420 (and wraps)
        {"很长的标题", std::nullopt, 300, 268},   // or at the area less 32
        {"中等", std::nullopt, 1440, 259},      // rounded up, plus 58 of chrome
        {"短", "详细说明", 1440, 358},          // the wider detail counts
        {"短", std::nullopt, 20, 1},            // no room: 1 pt, never negative
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Layout::width(NoticeText(c.title, c.detail), c.areaWidth, measure), c.width) << c.title;
    }
    const TextMeasurer broken = [](std::string_view, const TextFont&) { return kNaN; };
    EXPECT_EQ(Layout::width(NoticeText("x", "y"), 1440, broken), 180);
}

TEST(TransientNoticeLayout, HangsUnderTheTopOfTheArea) {
    const Rect area{0, 74, 1440, 826};
    EXPECT_EQ(Layout::height(30, area.height), 48);
    EXPECT_EQ(Layout::height(kNaN, area.height), 48);
    EXPECT_EQ(Layout::height(100, area.height), 100);
    EXPECT_EQ(Layout::frame(area, 180, 48), (Rect{630, 820, 180, 48})) << "32 pt under the top, centred";

    // A 60-pt area: at most 28 tall, its bottom 16 pt above the area's bottom.
    const Rect low{100, 200, 400, 60};
    const double height = Layout::height(100, low.height);
    EXPECT_EQ(height, 28);
    EXPECT_EQ(Layout::frame(low, 368, height), (Rect{116, 216, 368, 28}));
    // x is not clamped: a card wider than the area overhangs both sides.
    EXPECT_EQ(Layout::frame(Rect{0, 0, 100, 900}, 180, 48).x, -40);
}

TEST(TransientNoticeLayout, AnAreaWithoutRoomIsRefused) {
    for (const Rect& area : {Rect{0, 0, 0, 100}, Rect{0, 0, 100, 0}, Rect{0, 0, kNaN, 100}, Rect::null()}) {
        EXPECT_FALSE(Layout::accepts(area));
    }
    EXPECT_TRUE(Layout::accepts(Rect{0, 0, 1, 1}));
}

TEST(GenerationGuard, OnlyTheLatestPendingTicketFinishes) {
    GenerationGuard guard;
    EXPECT_FALSE(guard.finish(guard.generation())) << "nothing begun";
    const auto first = guard.begin();
    const auto second = guard.begin();
    EXPECT_FALSE(guard.finish(first)) << "a replaced notice's expiry is harmless";
    EXPECT_TRUE(guard.finish(second));
    EXPECT_FALSE(guard.finish(second)) << "finishes once";

    const auto cancelled = guard.begin();
    guard.cancel();
    EXPECT_FALSE(guard.isPending());
    EXPECT_FALSE(guard.finish(cancelled));
}

}  // namespace
}  // namespace dorvane
