#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "DorvaneCore/Visual/DropdownSelection.h"
#include "tests/DorvaneCore/Geometry/RectPrinting.h"

namespace dorvane {
namespace {

using geometry::Rect;
using geometry::Size;
using Selection = DropdownSelection<std::string>;
using Edge = DropdownPlacement::Edge;

const std::vector<std::string> kFive{"a", "b", "c", "d", "e"};

Selection opened(std::optional<std::string> selected = std::nullopt) {
    Selection selection(kFive, std::move(selected));
    selection.open();
    return selection;
}

TEST(DropdownSelection, OpeningHighlightsTheSelectedRowElseTheFirst) {
    EXPECT_EQ(opened("c").highlighted(), 2);
    EXPECT_EQ(opened("zzz").highlighted(), 0);
    EXPECT_EQ(opened().highlighted(), 0);

    Selection empty({}, std::nullopt);
    for (auto action : {&Selection::open, &Selection::toggle, &Selection::moveDown, &Selection::moveUp}) {
        (empty.*action)();
        EXPECT_FALSE(empty.isOpen());
        EXPECT_EQ(empty.highlighted(), std::nullopt);
    }

    Selection closed(kFive, "b");
    closed.moveUp();
    EXPECT_TRUE(closed.isOpen()) << "an arrow on a closed list opens it on the selection";
    EXPECT_EQ(closed.highlighted(), 1);
    closed.toggle();
    EXPECT_EQ(closed, Selection(kFive, "b")) << "closing clears the highlight";
}

TEST(DropdownSelection, ArrowsStopAtTheEndsAndHoverNeedsARowOfAnOpenList) {
    Selection s = opened("e");
    s.moveDown();
    EXPECT_EQ(s.highlighted(), 4) << "Down on the last row stays";
    s = opened();
    s.moveUp();
    EXPECT_EQ(s.highlighted(), 0) << "Up on the first row stays";

    // Open with no highlight (the list shrank to nothing and grew again).
    s.update({}, std::nullopt);
    s.update(kFive, std::nullopt);
    ASSERT_TRUE(s.isOpen());
    ASSERT_EQ(s.highlighted(), std::nullopt);
    Selection up = s;
    up.moveUp();
    EXPECT_EQ(up.highlighted(), 4) << "Up with no highlight lands on the last row";
    s.moveDown();
    EXPECT_EQ(s.highlighted(), 0) << "Down with no highlight lands on the first row";

    for (int row : {7, -1, 3}) s.hover(row);
    EXPECT_EQ(s.highlighted(), 3) << "only a row of the list is hovered";
    Selection closed(kFive, std::nullopt);
    closed.hover(2);
    EXPECT_EQ(closed.highlighted(), std::nullopt);
}

TEST(DropdownSelection, CommitReportsOnlyAChangedChoiceAndAlwaysCloses) {
    struct Case {
        const char* what;
        Selection before;
        std::optional<int> index;
        std::optional<std::string> reported;
        std::optional<std::string> selected;
    };
    Selection highlightedD = opened("b");
    highlightedD.hover(3);
    Selection noHighlight = opened();
    noHighlight.update({}, std::nullopt);
    noHighlight.update(kFive, std::nullopt);
    const Case cases[] = {
        {"the already selected row", opened("b"), std::nullopt, std::nullopt, "b"},
        {"another row", opened("b"), 4, "e", "e"},
        {"the highlighted row", highlightedD, std::nullopt, "d", "d"},
        {"a first choice", opened(), 0, "a", "a"},
        {"neither index nor highlight", noHighlight, std::nullopt, std::nullopt, std::nullopt},
        {"a row past the end", opened("b"), 5, std::nullopt, "b"},
        {"a negative row", opened("b"), -1, std::nullopt, "b"},
        {"a closed list", Selection(kFive, "b"), 0, std::nullopt, "b"},
    };
    for (const auto& c : cases) {
        Selection s = c.before;
        EXPECT_EQ(s.commit(c.index), c.reported) << c.what;
        EXPECT_EQ(s.selected(), c.selected) << c.what;
        EXPECT_FALSE(s.isOpen()) << c.what;
        EXPECT_EQ(s.highlighted(), std::nullopt) << c.what;
    }
}

TEST(DropdownSelection, UpdateRepairsTheHighlightAndNeverOpensOrCloses) {
    Selection s = opened("e");
    s.update({"a", "b"}, "a");
    EXPECT_EQ(s.highlighted(), 1) << "moved to the new last row";
    EXPECT_EQ(s.selected(), "a");
    s.update({"x", "y", "z"}, std::nullopt);
    EXPECT_EQ(s.highlighted(), 1) << "a valid highlight stays";
    s.update({}, std::nullopt);
    EXPECT_EQ(s.highlighted(), std::nullopt);
    EXPECT_TRUE(s.isOpen());

    Selection closed(kFive, std::nullopt);
    closed.update({"a"}, "a");
    EXPECT_FALSE(closed.isOpen());
}

TEST(DropdownKey, MapsTheKeysADropdownUnderstands) {
    const struct {
        std::uint16_t code;
        std::optional<DropdownKey> key;
    } cases[] = {
        {126, DropdownKey::up},     {125, DropdownKey::down}, {36, DropdownKey::commit}, {76, DropdownKey::commit},
        {49, DropdownKey::commit},  {53, DropdownKey::cancel}, {0, std::nullopt},        {123, std::nullopt},
        {48, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(dropdownKey(c.code), c.key) << c.code;
}

TEST(DropdownPlacement, OpensBelowUnlessOnlyAboveHasMoreRoom) {
    const Rect screen{0, 0, 1000, 800};
    struct Case {
        const char* what;
        Rect trigger;
        Size size;
        Rect bounds;
        Edge edge;
        Rect frame;
    };
    const Case cases[] = {
        {"room below", {100, 500, 200, 28}, {150, 92}, screen, Edge::below, {100, 404, 200, 92}},
        // 40 pt of room below and 300 above, measured after the gap.
        {"too little below", {100, 44, 200, 28}, {200, 100}, {0, 0, 1000, 376}, Edge::above, {100, 76, 200, 100}},
        // 40 below and 30 above: stays below, cut to the room.
        {"cramped", {100, 44, 200, 28}, {200, 100}, {0, 0, 1000, 106}, Edge::below, {100, 0, 200, 40}},
        {"a tie stays below", {100, 44, 200, 712}, {200, 100}, screen, Edge::below, {100, 0, 200, 40}},
        // Wider than the trigger and pushed left inside the bounds.
        {"near the right edge", {900, 300, 80, 28}, {160, 232}, screen, Edge::below, {840, 64, 160, 232}},
        {"wider than the bounds", {10, 300, 80, 28}, {1200, 50}, screen, Edge::below, {-200, 246, 1200, 50}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DropdownPlacement::edge(c.trigger, c.size.height, 4, c.bounds), c.edge) << c.what;
        EXPECT_EQ(DropdownPlacement::menuFrame(c.trigger, c.size, 4, c.bounds), c.frame) << c.what;
    }
}

}  // namespace
}  // namespace dorvane
