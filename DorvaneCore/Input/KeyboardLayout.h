#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "DorvaneCore/Shortcuts/ShortcutKey.h"

namespace dorvane {

// Event-flag bits a key's own events always carry, whatever is held with it.
namespace key_flag {
inline constexpr std::uint64_t numericPad = 0x200000;
inline constexpr std::uint64_t secondaryFn = modifier::function;  // the same bit as the Fn modifier
inline constexpr std::uint64_t arrow = numericPad | secondaryFn;   // 0xA00000
}  // namespace key_flag

// One physical key of the US keyboard.
struct KeyboardKey {
    std::uint16_t code = 0;              // virtual key code
    std::string_view characters;         // what it types without Shift; empty for keys that type nothing
    std::string_view shiftedCharacters;  // what it types with Shift
    std::string_view name;               // how a recorded key names it ("↩", "空格"); empty: by its characters
    std::string_view words;              // lower-case words a typed combination may use for it, blank-separated
    int qtKey = 0;                       // Qt::Key value without Shift; 0 where Qt has none (Fn)
    int shiftedQtKey = 0;                // Qt::Key value Qt reports with Shift held (Key_Exclam for 1)
    std::uint64_t ownFlags = 0;          // key_flag bits of the key's events (keypad, Fn-row, arrows)

    bool isKeypad() const { return (ownFlags & key_flag::numericPad) != 0 && (ownFlags & key_flag::secondaryFn) == 0; }
};

// The US keyboard layout: every key a simulated event, a typed combination, a
// recorded shortcut or a dropdown can name, with its code, characters, names and
// Qt key. The one table of keys; nothing else lists them.
class KeyboardLayout {
public:
    KeyboardLayout() = delete;

    // Qt::KeyboardModifier bits, as plain numbers.
    static constexpr int qtShiftModifier = 0x02000000;
    static constexpr int qtControlModifier = 0x04000000;
    static constexpr int qtAltModifier = 0x08000000;
    static constexpr int qtMetaModifier = 0x10000000;
    static constexpr int qtKeypadModifier = 0x20000000;

    // Every key, by ascending code.
    static std::span<const KeyboardKey> keys();

    static const KeyboardKey* key(std::uint16_t code);

    // The key Qt reports as `qtKey`, with or without Shift (Key_Exclam is key 18). Where
    // keypad and main keys share a Qt key (Key_1), `keypad` (Qt's KeypadModifier) picks.
    // Qt's Meta key, Super keys and Alt are Command and Option; Insert is Help.
    static const KeyboardKey* keyForQtKey(int qtKey, bool keypad = false);

    struct TypedCharacter {
        const KeyboardKey* key;
        bool shifted;  // typed with Shift held
    };
    // The main-keyboard key that types `character` ("k", "K" shifted, "!" shifted);
    // the keypad is not searched.
    static std::optional<TypedCharacter> keyTyping(std::string_view character);

    // The key one of its words or its recorded name stands for, ignoring ASCII case
    // ("Return", "pgup", "f5", "空格", "cmd").
    static const KeyboardKey* keyNamed(std::string_view word);

    // The characters of the key pressed with `flags`, modifiers other than Shift ignored;
    // empty for an unknown code.
    static std::string_view charactersIgnoringModifiers(std::uint16_t code, std::uint64_t flags);

    // Between Qt's modifier bits and the device-independent flags: Meta is Command, Alt
    // is Option, Keypad is the numeric-pad bit.
    static std::uint64_t flagsFromQtModifiers(int qtModifiers);
    static int qtModifiersFromFlags(std::uint64_t flags);
};

}  // namespace dorvane
