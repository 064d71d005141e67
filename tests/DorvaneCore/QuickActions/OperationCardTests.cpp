#include <gtest/gtest.h>

#include "DorvaneCore/QuickActions/OperationCard.h"

namespace dorvane {
namespace {

NamedShortcut shortcut(std::string id, std::string name, bool enabled = true) {
    return NamedShortcut(std::move(id), std::move(name), ShortcutKey(8, modifier::control | modifier::command, "C"),
                         NamedShortcut::Mode::press, ShortcutIcon::copy, enabled);
}

TEST(OperationCards, WhatEachKindShows) {
    Preferences preferences;
    preferences.namedShortcuts = {shortcut("s1", " 复制 ", false)};
    preferences.floatingActions = {FloatingAction::fillWindow};
    preferences.floatingActionIcons = {{"fillWindow", "star"}, {"centerWindow", "not.a.catalog.symbol"}};
    preferences.operationOrder = {"builtin:fillWindow", "shortcut:s1"};

    const auto cards = operationCards(preferences);
    std::vector<std::string> order;
    for (const auto& card : cards) order.push_back(card.id);
    EXPECT_EQ(order, (std::vector<std::string>{"builtin:fillWindow", "shortcut:s1", "builtin:runningApplications",
                                               "builtin:centerWindow", "builtin:minimizeWindow"}));

    struct Expected {
        std::string title;
        std::string symbol;
        std::string secondLine;
        bool switchOn;
        std::string editName;
    };
    const std::vector<Expected> expected{
        {"铺满", "star", "", true, "更换铺满图标"},
        {" 复制 ", "doc.on.doc", "⌃⌘C", false, "编辑 复制 "},  // the name as stored
        {"应用", "square.grid.2x2", "", false, "更换应用图标"},
        {"窗口居中", "not.a.catalog.symbol", "", false, "更换窗口居中图标"},  // used unchanged
        {"最小化", "minus.rectangle", "", false, "更换最小化图标"},
    };
    for (std::size_t i = 0; i < cards.size(); ++i) {
        const auto& card = cards[i];
        EXPECT_EQ(card.title, expected[i].title) << card.id;
        EXPECT_EQ(card.symbol, expected[i].symbol) << card.id;
        EXPECT_EQ(card.secondLine, expected[i].secondLine) << card.id;
        EXPECT_EQ(card.switchOn, expected[i].switchOn) << card.id;
        EXPECT_EQ(card.editAccessibleName(), expected[i].editName) << card.id;
        EXPECT_EQ(card.editorOffersDelete, card.shortcut.has_value()) << card.id;
    }
    EXPECT_EQ(cards[1].editHelp(), "编辑");
    EXPECT_EQ(cards[0].editHelp(), "更换图标");
    EXPECT_EQ(cards[0].dragAccessibleName(), "排序铺满");

    // A card built from a copy whose shortcut has left the settings keeps its own switch state.
    const auto orphan = OperationCard::make(ConfiguredOperation(shortcut("gone", "旧", true)), preferences);
    EXPECT_TRUE(orphan.switchOn);
    EXPECT_FALSE(orphan.editorOffersDelete);
    // The stored shortcut decides over the card's copy.
    EXPECT_FALSE(OperationCard::make(ConfiguredOperation(shortcut("s1", "旧", true)), preferences).switchOn);
}

TEST(OperationCards, BuiltinIconSheet) {
    Preferences preferences;
    preferences.floatingActionIcons = {{"fillWindow", "star"}, {"centerWindow", "not.a.catalog.symbol"}};
    EXPECT_EQ(builtinIconSheetTitle(FloatingAction::fillWindow), "铺满图标");
    EXPECT_EQ(builtinIconSelection(FloatingAction::fillWindow, preferences), ShortcutIcon::star);
    EXPECT_EQ(builtinIconSelection(FloatingAction::minimizeWindow, preferences), ShortcutIcon::minimizeWindow);
    EXPECT_EQ(builtinIconSelection(FloatingAction::centerWindow, preferences), std::nullopt);
    EXPECT_EQ(builtinIconSelection(FloatingAction::runningApplications, preferences), std::nullopt);  // own symbol not in the catalog
}

}  // namespace
}  // namespace dorvane
