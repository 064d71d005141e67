#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "DorvaneCore/Editors/ShortcutFlowLayout.h"

namespace dorvane {
namespace {

using geometry::Size;

// A chip that takes a narrower width than its ideal one by wrapping onto a second
// line; a rigid one (negative height) keeps its ideal size whatever it is offered.
ShortcutFlowLayout::ItemSizing chip(Size ideal) {
    const bool rigid = ideal.height < 0;
    if (rigid) ideal.height = -ideal.height;
    return [=](std::optional<double> offered) {
        if (!offered || *offered >= ideal.width || rigid) return ideal;
        return Size{*offered, ideal.height * 2};
    };
}

// "W×H: x,y,w,h; …"
std::string arranged(const std::vector<Size>& ideals, double width) {
    std::vector<ShortcutFlowLayout::ItemSizing> items;
    for (const auto& ideal : ideals) items.push_back(chip(ideal));
    const auto arrangement = ShortcutFlowLayout().arrange(items, width);
    std::ostringstream text;
    text << arrangement.size.width << "×" << arrangement.size.height << ":";
    for (const auto& frame : arrangement.frames) {
        text << " " << frame.x << "," << frame.y << "," << frame.width << "," << frame.height << ";";
    }
    return text.str();
}

TEST(ShortcutFlowLayoutTest, RowsWrapOnlyAfterAnotherChip) {
    EXPECT_EQ(arranged({{60, 24}, {60, 24}, {60, 30}}, 140), "140×62: 0,0,60,24; 68,0,60,24; 0,32,60,30;");
    EXPECT_EQ(arranged({{66, 24}, {66, 24}}, 140), "140×24: 0,0,66,24; 74,0,66,24;");  // exactly the width fits
    EXPECT_EQ(arranged({{300, 24}, {50, 24}}, 140), "140×80: 0,0,140,48; 0,56,50,24;");  // offered the row's width
    EXPECT_EQ(arranged({{60, 24}, {40, 24}}, 0), "1×104: 0,0,1,48; 0,56,1,48;");  // width 0: a chip per row
    EXPECT_EQ(arranged({{300, -24}, {50, 24}}, 140), "140×56: 0,0,300,24; 0,32,50,24;");  // first of its row stays
    EXPECT_EQ(arranged({}, 0), "1×0:");
    EXPECT_EQ(arranged({}, NAN), "1×0:");

    const std::vector<ShortcutFlowLayout::ItemSizing> wide{chip({600, 24}), chip({100, 24})};
    EXPECT_EQ(ShortcutFlowLayout().sizeThatFits(wide, std::nullopt), (Size{460, 80}));  // laid out 460 wide
}

}  // namespace
}  // namespace dorvane
