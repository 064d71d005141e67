#pragma once

#include <optional>
#include <string>
#include <vector>

#include "DorvaneCore/Settings/Preferences.h"
#include "DorvaneCore/Shortcuts/NamedShortcut.h"
#include "DorvaneCore/Shortcuts/ShortcutIcon.h"
#include "DorvaneCore/Toolbar/ConfiguredOperation.h"
#include "DorvaneCore/Toolbar/FloatingAction.h"

namespace dorvane {

// What one card of the quick-actions page shows, for a named shortcut or a
// built-in action. Cards are keyed by `id` so a republish reorders them
// instead of rebuilding them.
struct OperationCard {
    std::string id;  // the operation id, "shortcut:…" or "builtin:…"
    std::optional<NamedShortcut> shortcut;  // the card's own copy, for a named shortcut
    std::optional<FloatingAction> action;   // for a built-in action
    std::string title;       // the shortcut's name as stored, or the action's title
    std::string symbol;      // symbol name of the card's icon
    std::string secondLine;  // the key's display label; empty for a built-in action
    bool switchOn = false;
    bool editorOffersDelete = false;  // the shortcut is stored, so its editor may delete it

    friend bool operator==(const OperationCard&, const OperationCard&) = default;

    static OperationCard make(const ConfiguredOperation& operation, const Preferences& preferences);

    // Help text of the pencil: "编辑" or "更换图标".
    std::string editHelp() const;
    // "编辑" + title, or "更换" + title + "图标".
    std::string editAccessibleName() const;
    // The grip's name: "排序" + title.
    std::string dragAccessibleName() const;
};

// A card per operation, in the toolbar's order.
std::vector<OperationCard> operationCards(const Preferences& preferences);

// The symbol a built-in action shows: the user's choice, used as it is, else its own.
std::string builtinActionSymbol(FloatingAction action, const Preferences& preferences);

// The icon sheet of a built-in action: its heading ("铺满图标") and the catalog
// icon to mark, none when the action's symbol is not a catalog icon.
std::string builtinIconSheetTitle(FloatingAction action);
std::optional<ShortcutIcon> builtinIconSelection(FloatingAction action, const Preferences& preferences);

}  // namespace dorvane
