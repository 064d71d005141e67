#include <gtest/gtest.h>

#include "DorvaneCore/QuickActions/OperationCard.h"

namespace dorvane {
namespace {

NamedShortcut shortcut(std::string id, bool enabled) {
    return NamedShortcut(std::move(id), " 复制 ", ShortcutKey(8, modifier::control | modifier::command, "C"),
                         NamedShortcut::Mode::press, ShortcutIcon::copy, enabled);
}

TEST(OperationCards, TitleSymbolSecondLineAndSwitch) {
    Preferences preferences;
    preferences.namedShortcuts = {shortcut("s1", false)};
    preferences.floatingActions = {FloatingAction::fillWindow};
    preferences.floatingActionIcons = {{"fillWindow", "star"}, {"centerWindow", "not.a.catalog.symbol"}};
    preferences.operationOrder = {"builtin:fillWindow", "shortcut:s1"};

    std::vector<std::string> rows;
    for (const auto& card : operationCards(preferences)) {
        rows.push_back(card.id + "|" + card.title + "|" + card.symbol + "|" + card.secondLine + "|" +
                       (card.switchOn ? "on" : "off"));
    }
    EXPECT_EQ(rows, (std::vector<std::string>{
                        "builtin:fillWindow|铺满|star||on",
                        "shortcut:s1| 复制 |doc.on.doc|⌃⌘C|off",  // the name as stored
                        "builtin:runningApplications|应用|square.grid.2x2||off",
                        "builtin:centerWindow|窗口居中|not.a.catalog.symbol||off",  // used unchanged
                        "builtin:minimizeWindow|最小化|minus.rectangle||off",
                    }));

    // A card whose shortcut has left the settings keeps its own copy's switch, and offers no deletion.
    const auto orphan = OperationCard::make(ConfiguredOperation(shortcut("gone", true)), preferences);
    EXPECT_TRUE(orphan.switchOn);
    EXPECT_FALSE(orphan.editorOffersDelete);
    EXPECT_FALSE(OperationCard::make(ConfiguredOperation(shortcut("s1", true)), preferences).switchOn);

    EXPECT_EQ(builtinIconSelection(FloatingAction::fillWindow, preferences), ShortcutIcon::star);
    EXPECT_EQ(builtinIconSelection(FloatingAction::minimizeWindow, preferences), ShortcutIcon::minimizeWindow);
    EXPECT_EQ(builtinIconSelection(FloatingAction::centerWindow, preferences), std::nullopt);
}

}  // namespace
}  // namespace dorvane
