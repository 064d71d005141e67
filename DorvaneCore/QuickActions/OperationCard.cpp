#include "DorvaneCore/QuickActions/OperationCard.h"

#include <algorithm>

namespace dorvane {

OperationCard OperationCard::make(const ConfiguredOperation& operation, const Preferences& preferences) {
    OperationCard card;
    card.id = operation.id();
    if (const auto* named = operation.shortcut()) {
        card.shortcut = *named;
        card.title = named->name;
        card.symbol = std::string(rawValue(named->icon));
        card.secondLine = named->key.displayLabel();
        const auto stored = std::ranges::find(preferences.namedShortcuts, named->id, &NamedShortcut::id);
        card.editorOffersDelete = stored != preferences.namedShortcuts.end();
        card.switchOn = card.editorOffersDelete ? stored->enabled : named->enabled;
        return card;
    }
    const FloatingAction action = *operation.builtin();
    card.action = action;
    card.title = std::string(dorvane::title(action));
    card.symbol = builtinActionSymbol(action, preferences);
    card.switchOn = std::ranges::find(preferences.floatingActions, action) != preferences.floatingActions.end();
    return card;
}

std::string OperationCard::editHelp() const { return shortcut ? "编辑" : "更换图标"; }

std::string OperationCard::editAccessibleName() const {
    return shortcut ? "编辑" + title : "更换" + title + "图标";
}

std::string OperationCard::dragAccessibleName() const { return "排序" + title; }

std::vector<OperationCard> operationCards(const Preferences& preferences) {
    std::vector<OperationCard> cards;
    for (const auto& operation : preferences.orderedOperations()) cards.push_back(OperationCard::make(operation, preferences));
    return cards;
}

std::string builtinActionSymbol(FloatingAction action, const Preferences& preferences) {
    const auto chosen = preferences.floatingActionIcons.find(std::string(rawValue(action)));
    if (chosen != preferences.floatingActionIcons.end()) return chosen->second;
    return std::string(symbol(action));
}

std::string builtinIconSheetTitle(FloatingAction action) { return std::string(title(action)) + "图标"; }

std::optional<ShortcutIcon> builtinIconSelection(FloatingAction action, const Preferences& preferences) {
    return fromRawValue<ShortcutIcon>(builtinActionSymbol(action, preferences));
}

}  // namespace dorvane
