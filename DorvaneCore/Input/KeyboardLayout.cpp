#include "DorvaneCore/Input/KeyboardLayout.h"

#include <algorithm>
#include <array>
#include <functional>
#include <utility>

namespace dorvane {

namespace {

// Qt::Key values of the keys that type no printable character. Qt's key for a
// printable character is its code point, letters upper case (Key_A 0x41, Key_BraceLeft 0x7B).
namespace qt {
constexpr int escape = 0x01000000;
constexpr int tab = 0x01000001;
constexpr int backtab = 0x01000002;
constexpr int backspace = 0x01000003;
constexpr int returnKey = 0x01000004;
constexpr int enter = 0x01000005;
constexpr int insert = 0x01000006;
constexpr int deleteKey = 0x01000007;
constexpr int clear = 0x0100000B;
constexpr int home = 0x01000010;
constexpr int end = 0x01000011;
constexpr int left = 0x01000012;
constexpr int up = 0x01000013;
constexpr int right = 0x01000014;
constexpr int down = 0x01000015;
constexpr int pageUp = 0x01000016;
constexpr int pageDown = 0x01000017;
constexpr int shift = 0x01000020;
constexpr int control = 0x01000021;
constexpr int meta = 0x01000022;
constexpr int alt = 0x01000023;
constexpr int capsLock = 0x01000024;
constexpr int f1 = 0x01000030;  // F2 … F20 follow one by one
constexpr int superLeft = 0x01000053;
constexpr int superRight = 0x01000054;
constexpr int help = 0x01000058;
constexpr int altGr = 0x01001103;
constexpr int function(int number) { return f1 + number - 1; }
}  // namespace qt

constexpr int qtKeyOfCharacter(std::string_view text) {
    const char c = text.front();
    return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
}

// A key of the main block that types a printable character, and its shifted one.
constexpr KeyboardKey typing(std::uint16_t code, std::string_view plain, std::string_view shifted) {
    return {code, plain, shifted, {}, {}, qtKeyOfCharacter(plain), qtKeyOfCharacter(shifted), 0};
}

constexpr KeyboardKey keypad(std::uint16_t code, std::string_view characters, std::string_view words, int qtKey) {
    return {code, characters, characters, {}, words, qtKey, qtKey, key_flag::numericPad};
}

constexpr KeyboardKey keypadTyping(std::uint16_t code, std::string_view characters, std::string_view words) {
    return keypad(code, characters, words, qtKeyOfCharacter(characters));
}

constexpr KeyboardKey functionKey(std::uint16_t code, int number, std::string_view words) {
    return {code, {}, {}, {}, words, qt::function(number), qt::function(number), key_flag::secondaryFn};
}

// Named keys that type nothing printable.
constexpr KeyboardKey named(std::uint16_t code, std::string_view characters, std::string_view name,
                            std::string_view words, int qtKey, std::uint64_t ownFlags = 0, int shiftedQtKey = 0) {
    return {code, characters, characters, name, words, qtKey, shiftedQtKey ? shiftedQtKey : qtKey, ownFlags};
}

constexpr std::array kKeys{
    typing(0, "a", "A"),
    typing(1, "s", "S"),
    typing(2, "d", "D"),
    typing(3, "f", "F"),
    typing(4, "h", "H"),
    typing(5, "g", "G"),
    typing(6, "z", "Z"),
    typing(7, "x", "X"),
    typing(8, "c", "C"),
    typing(9, "v", "V"),
    typing(11, "b", "B"),
    typing(12, "q", "Q"),
    typing(13, "w", "W"),
    typing(14, "e", "E"),
    typing(15, "r", "R"),
    typing(16, "y", "Y"),
    typing(17, "t", "T"),
    typing(18, "1", "!"),
    typing(19, "2", "@"),
    typing(20, "3", "#"),
    typing(21, "4", "$"),
    typing(22, "6", "^"),
    typing(23, "5", "%"),
    typing(24, "=", "+"),
    typing(25, "9", "("),
    typing(26, "7", "&"),
    typing(27, "-", "_"),
    typing(28, "8", "*"),
    typing(29, "0", ")"),
    typing(30, "]", "}"),
    typing(31, "o", "O"),
    typing(32, "u", "U"),
    typing(33, "[", "{"),
    typing(34, "i", "I"),
    typing(35, "p", "P"),
    named(36, "\r", "↩", "return enter", qt::returnKey),
    typing(37, "l", "L"),
    typing(38, "j", "J"),
    typing(39, "'", "\""),
    typing(40, "k", "K"),
    typing(41, ";", ":"),
    typing(42, "\\", "|"),
    typing(43, ",", "<"),
    typing(44, "/", "?"),
    typing(45, "n", "N"),
    typing(46, "m", "M"),
    typing(47, ".", ">"),
    named(48, "\t", "Tab", "tab", qt::tab, 0, qt::backtab),
    named(49, " ", "空格", "space", 0x20),
    typing(50, "`", "~"),
    named(51, "\x7f", "⌫", "delete backspace", qt::backspace),
    named(53, "\x1b", "Esc", "escape esc", qt::escape),
    named(54, {}, {}, "rcmd", qt::superRight),
    named(55, {}, {}, "cmd command", qt::meta),
    named(56, {}, {}, "shift", qt::shift),
    named(57, {}, {}, "capslock", qt::capsLock),
    named(58, {}, {}, "alt opt option", qt::alt),
    named(59, {}, {}, "ctrl control", qt::control),
    named(60, {}, {}, "rshift", qt::shift),
    named(61, {}, {}, "ralt ropt", qt::altGr),
    named(62, {}, {}, "rctrl", qt::control),
    named(63, {}, {}, "fn", 0),
    functionKey(64, 17, "f17"),
    keypadTyping(65, ".", "keypad-decimal"),
    keypadTyping(67, "*", "keypad-multiply"),
    keypadTyping(69, "+", "keypad-plus"),
    keypad(71, {}, "keypad-clear", qt::clear),
    keypadTyping(75, "/", "keypad-divide"),
    keypad(76, "\x03", "keypad-enter", qt::enter),
    keypadTyping(78, "-", "keypad-minus"),
    functionKey(79, 18, "f18"),
    functionKey(80, 19, "f19"),
    keypadTyping(81, "=", "keypad-equals"),
    keypadTyping(82, "0", "keypad-0"),
    keypadTyping(83, "1", "keypad-1"),
    keypadTyping(84, "2", "keypad-2"),
    keypadTyping(85, "3", "keypad-3"),
    keypadTyping(86, "4", "keypad-4"),
    keypadTyping(87, "5", "keypad-5"),
    keypadTyping(88, "6", "keypad-6"),
    keypadTyping(89, "7", "keypad-7"),
    functionKey(90, 20, "f20"),
    keypadTyping(91, "8", "keypad-8"),
    keypadTyping(92, "9", "keypad-9"),
    functionKey(96, 5, "f5"),
    functionKey(97, 6, "f6"),
    functionKey(98, 7, "f7"),
    functionKey(99, 3, "f3"),
    functionKey(100, 8, "f8"),
    functionKey(101, 9, "f9"),
    functionKey(103, 11, "f11"),
    functionKey(105, 13, "f13"),
    functionKey(106, 16, "f16"),
    functionKey(107, 14, "f14"),
    functionKey(109, 10, "f10"),
    functionKey(111, 12, "f12"),
    functionKey(113, 15, "f15"),
    named(114, {}, {}, "help", qt::help, key_flag::secondaryFn),
    named(115, {}, {}, "home", qt::home, key_flag::secondaryFn),
    named(116, {}, {}, "pageup pgup", qt::pageUp, key_flag::secondaryFn),
    named(117, {}, {}, "forward-delete", qt::deleteKey, key_flag::secondaryFn),
    functionKey(118, 4, "f4"),
    named(119, {}, {}, "end", qt::end, key_flag::secondaryFn),
    functionKey(120, 2, "f2"),
    named(121, {}, {}, "pagedown pgdn", qt::pageDown, key_flag::secondaryFn),
    functionKey(122, 1, "f1"),
    named(123, {}, "←", "left", qt::left, key_flag::arrow),
    named(124, {}, "→", "right", qt::right, key_flag::arrow),
    named(125, {}, "↓", "down", qt::down, key_flag::arrow),
    named(126, {}, "↑", "up", qt::up, key_flag::arrow),
};

// Strictly ascending codes: the lookup by code is a binary search.
static_assert(std::ranges::adjacent_find(kKeys, std::ranges::greater_equal{}, &KeyboardKey::code) == kKeys.end());

// Qt keys of a PC keyboard that stand for keys reported under another Qt key above.
constexpr std::array<std::pair<int, std::uint16_t>, 2> kQtKeyAliases{{
    {qt::superLeft, 55},  // the left Windows key is Command
    {qt::insert, 114},    // Insert sits where Help does
}};

constexpr std::array<std::pair<int, std::uint64_t>, 5> kQtModifierFlags{{
    {KeyboardLayout::qtShiftModifier, modifier::shift},
    {KeyboardLayout::qtControlModifier, modifier::control},
    {KeyboardLayout::qtAltModifier, modifier::option},
    {KeyboardLayout::qtMetaModifier, modifier::command},
    {KeyboardLayout::qtKeypadModifier, key_flag::numericPad},
}};

bool equalsIgnoringASCIICase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

bool hasWord(std::string_view words, std::string_view word) {
    while (!words.empty()) {
        const auto blank = words.find(' ');
        if (equalsIgnoringASCIICase(words.substr(0, blank), word)) return true;
        if (blank == std::string_view::npos) break;
        words.remove_prefix(blank + 1);
    }
    return false;
}

}  // namespace

std::span<const KeyboardKey> KeyboardLayout::keys() { return kKeys; }

const KeyboardKey* KeyboardLayout::key(std::uint16_t code) {
    const auto found = std::ranges::lower_bound(kKeys, code, {}, &KeyboardKey::code);
    return (found != kKeys.end() && found->code == code) ? &*found : nullptr;
}

const KeyboardKey* KeyboardLayout::keyForQtKey(int qtKey, bool keypad) {
    if (qtKey == 0) return nullptr;
    const KeyboardKey* other = nullptr;
    for (const auto& candidate : kKeys) {
        if (candidate.qtKey != qtKey && candidate.shiftedQtKey != qtKey) continue;
        if (candidate.isKeypad() == keypad) return &candidate;
        if (other == nullptr) other = &candidate;
    }
    if (other != nullptr) return other;
    for (const auto& [alias, code] : kQtKeyAliases) {
        if (alias == qtKey) return key(code);
    }
    return nullptr;
}

std::optional<KeyboardLayout::TypedCharacter> KeyboardLayout::keyTyping(std::string_view character) {
    if (character.empty()) return std::nullopt;
    for (const auto& candidate : kKeys) {
        if (candidate.isKeypad()) continue;
        if (candidate.characters == character) return TypedCharacter{&candidate, false};
        if (candidate.shiftedCharacters == character) return TypedCharacter{&candidate, true};
    }
    return std::nullopt;
}

const KeyboardKey* KeyboardLayout::keyNamed(std::string_view word) {
    if (word.empty()) return nullptr;
    for (const auto& candidate : kKeys) {
        if (hasWord(candidate.words, word) || (!candidate.name.empty() && equalsIgnoringASCIICase(candidate.name, word)))
            return &candidate;
    }
    return nullptr;
}

std::string_view KeyboardLayout::charactersIgnoringModifiers(std::uint16_t code, std::uint64_t flags) {
    const auto* found = key(code);
    if (found == nullptr) return {};
    return (flags & modifier::shift) != 0 ? found->shiftedCharacters : found->characters;
}

std::uint64_t KeyboardLayout::flagsFromQtModifiers(int qtModifiers) {
    std::uint64_t flags = 0;
    for (const auto& [qtBit, flag] : kQtModifierFlags) {
        if ((qtModifiers & qtBit) != 0) flags |= flag;
    }
    return flags;
}

int KeyboardLayout::qtModifiersFromFlags(std::uint64_t flags) {
    int qtModifiers = 0;
    for (const auto& [qtBit, flag] : kQtModifierFlags) {
        if ((flags & flag) != 0) qtModifiers |= qtBit;
    }
    return qtModifiers;
}

}  // namespace dorvane
