#include <gtest/gtest.h>

#include "DorvaneCore/QuickActions/OperationMoves.h"

namespace dorvane {
namespace {

std::vector<ConfiguredOperation> operations(std::initializer_list<const char*> names) {
    std::vector<ConfiguredOperation> result;
    for (const char* name : names) result.emplace_back(NamedShortcut(name, name, ShortcutKey(0, 0, "A")));
    return result;
}

std::string id(const char* name) { return ConfiguredOperation::shortcutID(name); }

TEST(OperationMovesTest, OnePlaceByTheAccessibilityActions) {
    const auto abc = operations({"A", "B", "C"});
    struct Case {
        const char* name;
        OperationStep step;
        std::optional<OperationMove> move;
    };
    for (const auto& [name, step, move] : std::vector<Case>{{"A", OperationStep::later, OperationMove{0, 2}},
                                                            {"C", OperationStep::earlier, OperationMove{2, 1}},
                                                            {"B", OperationStep::earlier, OperationMove{1, 0}},
                                                            {"A", OperationStep::earlier, std::nullopt},
                                                            {"C", OperationStep::later, std::nullopt},
                                                            {"X", OperationStep::later, std::nullopt}}) {
        EXPECT_EQ(oneStepMove(abc, id(name), step), move) << name << " " << title(step);
    }
}

TEST(OperationMovesTest, LiveMovesTakeTheTargetsPlace) {
    const auto abcd = operations({"A", "B", "C", "D"});
    struct Case {
        std::optional<std::string> dragged;
        const char* target;
        std::optional<OperationMove> move;
    };
    for (const auto& [dragged, target, move] : std::vector<Case>{{id("A"), "C", OperationMove{0, 3}},
                                                                 {id("D"), "B", OperationMove{3, 1}},
                                                                 {id("B"), "B", std::nullopt},
                                                                 {std::nullopt, "B", std::nullopt},
                                                                 {id("X"), "B", std::nullopt}}) {
        EXPECT_EQ(liveMove(abcd, dragged, id(target)), move) << dragged.value_or("none") << " over " << target;
    }
    EXPECT_FALSE(startsDrag(2.9, 0));
    EXPECT_FALSE(startsDrag(2, 2));  // 2.83 points
    EXPECT_TRUE(startsDrag(0, -3));
}

}  // namespace
}  // namespace dorvane
