#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DorvaneCore/Settings/Preferences.h"
#include "DorvaneCore/Toolbar/OperationOrder.h"

namespace dorvane {
namespace {

using Ids = std::vector<std::string>;

NamedShortcut shortcut(std::string id, bool enabled = true) {
    NamedShortcut value(id, "快捷键 " + id, ShortcutKey(8, modifier::command, "⌘C"));
    value.enabled = enabled;
    return value;
}

Ids ids(const std::vector<ConfiguredOperation>& operations) {
    Ids result;
    for (const auto& operation : operations) result.push_back(operation.id());
    return result;
}

Preferences withShortcuts(std::vector<NamedShortcut> shortcuts, std::vector<FloatingAction> actions, Ids order = {}) {
    Preferences preferences;
    preferences.namedShortcuts = std::move(shortcuts);
    preferences.floatingActions = std::move(actions);
    preferences.operationOrder = std::move(order);
    return preferences;
}

TEST(OperationOrderTest, StoredOrderFirstThenMissingCandidatesShortcutsFirst) {
    Preferences preferences = withShortcuts({shortcut("a"), shortcut("b")}, {FloatingAction::fillWindow});
    EXPECT_EQ(ids(preferences.orderedOperations()),
              (Ids{"shortcut:a", "shortcut:b", "builtin:runningApplications", "builtin:centerWindow",
                   "builtin:fillWindow", "builtin:minimizeWindow"}));

    // maximizeWindow is a candidate only while switched on; stale and repeated ids are skipped.
    preferences.floatingActions.push_back(FloatingAction::maximizeWindow);
    preferences.operationOrder = {"builtin:minimizeWindow", "shortcut:deleted", "shortcut:b", "builtin:minimizeWindow",
                                  "builtin:resolution"};
    EXPECT_EQ(ids(preferences.orderedOperations()),
              (Ids{"builtin:minimizeWindow", "shortcut:b", "shortcut:a", "builtin:runningApplications",
                   "builtin:maximizeWindow", "builtin:centerWindow", "builtin:fillWindow"}));

    // Of two shortcuts with one id, the first counts.
    auto twin = shortcut("a");
    twin.name = "后来的同名";
    const auto ordered = withShortcuts({shortcut("a"), twin}, {}, {"shortcut:a"}).orderedOperations();
    EXPECT_EQ(ids(ordered), (Ids{"shortcut:a", "builtin:runningApplications", "builtin:centerWindow",
                                 "builtin:fillWindow", "builtin:minimizeWindow"}));
    ASSERT_NE(ordered[0].shortcut(), nullptr);
    EXPECT_EQ(ordered[0].shortcut()->name, "快捷键 a");
}

TEST(OperationOrderTest, EnabledOperationsFollowTheSwitchesInOrder) {
    Preferences preferences = withShortcuts({shortcut("on"), shortcut("off", false)}, {FloatingAction::fillWindow},
                                            {"builtin:fillWindow", "shortcut:off", "builtin:centerWindow"});
    EXPECT_EQ(ids(preferences.orderedOperations()),
              (Ids{"builtin:fillWindow", "shortcut:off", "builtin:centerWindow", "shortcut:on",
                   "builtin:runningApplications", "builtin:minimizeWindow"}));
    EXPECT_EQ(ids(preferences.enabledOperations()), (Ids{"builtin:fillWindow", "shortcut:on"}));
    preferences.floatingActions = {FloatingAction::minimizeWindow, FloatingAction::centerWindow};
    EXPECT_EQ(ids(preferences.enabledOperations()),
              (Ids{"builtin:centerWindow", "shortcut:on", "builtin:minimizeWindow"}));
}

TEST(OperationOrderTest, MovingRowsFollowsTheListMoveRuleAndStoresAllOrNothing) {
    const Ids four{"a", "b", "c", "d"};
    auto move = [&](std::vector<std::int64_t> offsets, std::int64_t destination) {
        return movingRows(four, offsets, destination);
    };
    EXPECT_EQ(move({0}, 3), (Ids{"b", "c", "a", "d"}));
    EXPECT_EQ(move({3}, 0), (Ids{"d", "a", "b", "c"}));
    EXPECT_EQ(move({2, 0}, 4), (Ids{"b", "d", "a", "c"}));
    EXPECT_EQ(move({1, 3}, 2), (Ids{"a", "b", "d", "c"}));
    EXPECT_EQ(move({1, 1, 9}, 0), (Ids{"b", "a", "c", "d"}));  // repeated and outside offsets ignored
    EXPECT_EQ(move({4, -1}, 0), std::nullopt);
    EXPECT_EQ(move({0}, -1), std::nullopt);
    EXPECT_EQ(move({0}, 5), std::nullopt);

    Preferences preferences = withShortcuts({}, {FloatingAction::fillWindow}, {"builtin:bogus"});
    preferences.moveOperations(std::vector<std::int64_t>{7}, 0);
    preferences.moveOperations(std::vector<std::int64_t>{0}, -1);
    EXPECT_EQ(preferences.operationOrder, Ids{"builtin:bogus"});
    preferences.moveOperations(std::vector<std::int64_t>{0}, 3);
    EXPECT_EQ(preferences.operationOrder, (Ids{"builtin:centerWindow", "builtin:fillWindow",
                                               "builtin:runningApplications", "builtin:minimizeWindow"}));
}

}  // namespace
}  // namespace dorvane
