#include <gtest/gtest.h>

#include "DorvaneCore/QuickActions/OperationMoves.h"
#include "DorvaneCore/Settings/Preferences.h"
#include "DorvaneCore/Toolbar/OperationOrder.h"

namespace dorvane {
namespace {

std::vector<ConfiguredOperation> operations(std::initializer_list<const char*> names) {
    std::vector<ConfiguredOperation> result;
    for (const char* name : names) result.emplace_back(NamedShortcut(name, name, ShortcutKey(0, 0, "A")));
    return result;
}

std::string shortcutID(const char* name) { return ConfiguredOperation::shortcutID(name); }

TEST(OperationMovesTest, OnePlaceByTheAccessibilityActions) {
    const auto abc = operations({"A", "B", "C"});
    struct Case {
        const char* id;
        OperationStep step;
        std::optional<OperationMove> move;
    };
    const std::vector<Case> cases{
        {"A", OperationStep::later, OperationMove{0, 2}},
        {"C", OperationStep::earlier, OperationMove{2, 1}},
        {"B", OperationStep::earlier, OperationMove{1, 0}},
        {"B", OperationStep::later, OperationMove{1, 3}},
        {"A", OperationStep::earlier, std::nullopt},
        {"C", OperationStep::later, std::nullopt},
        {"X", OperationStep::later, std::nullopt},
    };
    for (const auto& [id, step, move] : cases) {
        EXPECT_EQ(oneStepMove(abc, shortcutID(id), step), move) << id << " " << title(step);
    }
    EXPECT_EQ(oneStepMove({}, shortcutID("A"), OperationStep::later), std::nullopt);
    EXPECT_EQ(title(OperationStep::earlier), "前移");
    EXPECT_EQ(title(OperationStep::later), "后移");

    // Applied by the settings, the moves give the orders the user expects.
    Preferences preferences;
    preferences.namedShortcuts = {*abc[0].shortcut(), *abc[1].shortcut(), *abc[2].shortcut()};
    preferences.floatingActions.clear();
    const auto move = *oneStepMove(preferences.orderedOperations(), shortcutID("A"), OperationStep::later);
    preferences.moveOperations(std::vector<std::int64_t>{move.index}, move.destination);
    EXPECT_EQ(std::vector(preferences.operationOrder.begin(), preferences.operationOrder.begin() + 3),
              (std::vector{shortcutID("B"), shortcutID("A"), shortcutID("C")}));
}

TEST(OperationMovesTest, LiveMovesWhileDragging) {
    auto order = operations({"A", "B", "C", "D"});
    struct Case {
        std::optional<std::string> dragged;
        const char* target;
        std::optional<OperationMove> move;
    };
    const std::vector<Case> cases{
        {shortcutID("A"), "C", OperationMove{0, 3}},
        {shortcutID("D"), "B", OperationMove{3, 1}},
        {shortcutID("B"), "B", std::nullopt},  // over itself
        {std::nullopt, "B", std::nullopt},     // no drag under way
        {shortcutID("X"), "B", std::nullopt},
        {shortcutID("A"), "X", std::nullopt},
    };
    for (const auto& [dragged, target, move] : cases) {
        EXPECT_EQ(liveMove(order, dragged, shortcutID(target)), move) << dragged.value_or("none") << " over " << target;
    }

    // A dragged over B, then over C, republishing in between: B, A, C, D and then B, C, A, D.
    std::vector<std::string> ids;
    for (const auto& operation : order) ids.push_back(operation.id());
    for (const char* target : {"B", "C"}) {
        std::vector<ConfiguredOperation> current;
        for (const auto& id : ids) current.emplace_back(NamedShortcut(id.substr(9), "", ShortcutKey(0, 0, "A")));
        const auto move = liveMove(current, shortcutID("A"), shortcutID(target));
        ASSERT_TRUE(move);
        ids = *movingRows(ids, std::vector<std::int64_t>{move->index}, move->destination);
    }
    EXPECT_EQ(ids, (std::vector{shortcutID("B"), shortcutID("C"), shortcutID("A"), shortcutID("D")}));
}

TEST(OperationMovesTest, DragStartsAtThreePoints) {
    EXPECT_FALSE(startsDrag(2.9, 0));
    EXPECT_FALSE(startsDrag(2, 2));  // 2.83
    EXPECT_TRUE(startsDrag(0, -3));
    EXPECT_TRUE(startsDrag(-2.2, 2.1));
}

}  // namespace
}  // namespace dorvane
