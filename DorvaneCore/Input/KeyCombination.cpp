#include "DorvaneCore/Input/KeyCombination.h"

#include <string>
#include <vector>

#include "DorvaneCore/Input/KeyboardLayout.h"
#include "DorvaneCore/Input/RecordedKeyLabel.h"
#include "DorvaneCore/Shortcuts/ShortcutEventPlan.h"

namespace dorvane {

namespace {

std::string_view trimmedBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::vector<std::string_view> parts(std::string_view text) {
    std::vector<std::string_view> result;
    for (;;) {
        const auto plus = text.find('+');
        result.push_back(trimmedBlanks(text.substr(0, plus)));
        if (plus == std::string_view::npos) return result;
        text.remove_prefix(plus + 1);
    }
}

const KeyboardKey& keyOfPart(std::string_view part, std::string_view text) {
    if (const auto* named = KeyboardLayout::keyNamed(part)) return *named;
    if (const auto typed = KeyboardLayout::keyTyping(part)) {
        const bool letter = part.size() == 1 && part.front() >= 'A' && part.front() <= 'Z';
        if (!typed->shifted || letter) return *typed->key;
        throw KeyCombinationError(quoted(part) + " is typed with Shift: write shift+" +
                                  std::string(typed->key->characters) + " in " + quoted(text));
    }
    throw KeyCombinationError("unknown key " + quoted(part) + " in " + quoted(text) +
                              " (a letter, digit or punctuation mark, or a key such as return, space, tab, "
                              "escape, delete, left, pageup, f5, keypad-enter)");
}

}  // namespace

ShortcutKey parseKeyCombination(std::string_view text) {
    if (trimmedBlanks(text).empty()) throw KeyCombinationError("empty key combination");

    std::uint64_t modifiers = 0;
    const KeyboardKey* mainKey = nullptr;
    const KeyboardKey* lastModifier = nullptr;
    const auto split = parts(text);
    for (const auto part : split) {
        if (part.empty()) throw KeyCombinationError("empty part in " + quoted(text));
        const KeyboardKey& key = keyOfPart(part, text);
        if (const auto mask = ShortcutEventPlan::mask(key.code)) {
            modifiers |= *mask;
            lastModifier = &key;
            continue;
        }
        if (mainKey != nullptr) {
            throw KeyCombinationError("two keys in " + quoted(text) + ": " + quoted(part) + " after another key");
        }
        mainKey = &key;
    }

    if (mainKey == nullptr) {
        // A modifier pressed alone, as recording binds it.
        if (split.size() > 1) throw KeyCombinationError(quoted(text) + " holds modifiers but names no key");
        const auto mask = *ShortcutEventPlan::mask(lastModifier->code);
        return ShortcutKey(lastModifier->code, mask, recordedModifierPrefix(mask));
    }
    const auto characters = KeyboardLayout::charactersIgnoringModifiers(mainKey->code, modifiers);
    return ShortcutKey(mainKey->code, modifiers, recordedKeyLabel(mainKey->code, modifiers, characters));
}

}  // namespace dorvane
