#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "DorvaneCore/Shortcuts/ShortcutKey.h"

namespace dorvane {

// A main key the shortcut editor offers for composing a combination by hand.
struct ManualKey {
    std::uint16_t code;  // virtual key code
    std::string_view title;
};

// The 66 main keys of the manual configuration, in the order the picker lists
// them: the modifier keys, the editing keys, the arrows, the letters, the
// digits and F1–F12.
inline constexpr std::array<ManualKey, 66> manualKeys{{
    {58, "Option 左"}, {61, "Option 右"}, {55, "Command 左"}, {54, "Command 右"}, {59, "Control 左"},
    {62, "Control 右"}, {56, "Shift 左"}, {60, "Shift 右"}, {63, "Fn"},
    {53, "Esc"}, {48, "Tab"}, {49, "空格"}, {36, "回车"}, {51, "删除"},
    {123, "←"}, {124, "→"}, {125, "↓"}, {126, "↑"},
    {0, "A"}, {11, "B"}, {8, "C"}, {2, "D"}, {14, "E"}, {3, "F"}, {5, "G"}, {4, "H"}, {34, "I"}, {38, "J"},
    {40, "K"}, {37, "L"}, {46, "M"},
    {45, "N"}, {31, "O"}, {35, "P"}, {12, "Q"}, {15, "R"}, {1, "S"}, {17, "T"}, {32, "U"}, {9, "V"}, {13, "W"},
    {7, "X"}, {16, "Y"}, {6, "Z"},
    {29, "0"}, {18, "1"}, {19, "2"}, {20, "3"}, {21, "4"}, {23, "5"}, {22, "6"}, {26, "7"}, {28, "8"}, {25, "9"},
    {122, "F1"}, {120, "F2"}, {99, "F3"}, {118, "F4"}, {96, "F5"}, {97, "F6"}, {98, "F7"}, {100, "F8"},
    {101, "F9"}, {109, "F10"}, {103, "F11"}, {111, "F12"},
}};

// The entry for `code`, or none for a key the manual configuration does not offer.
std::optional<ManualKey> manualKey(std::uint16_t code);

// One of the four modifier keycaps, in the order they stand in the row.
struct ModifierKeycap {
    std::string_view symbol;
    std::string_view title;
    std::uint64_t mask;
};

inline constexpr std::array<ModifierKeycap, 4> modifierKeycaps{{
    {"⌘", "Command", modifier::command},
    {"⌥", "Option", modifier::option},
    {"⌃", "Control", modifier::control},
    {"⇧", "Shift", modifier::shift},
}};

}  // namespace dorvane
