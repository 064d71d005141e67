#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <tuple>

#include "DorvaneCore/Input/KeyCombination.h"
#include "DorvaneCore/Input/KeyboardLayout.h"
#include "DorvaneCore/Input/RecordedKeyLabel.h"

namespace dorvane {
namespace {

constexpr std::uint64_t kShift = 0x20000, kControl = 0x40000, kOption = 0x80000, kCommand = 0x100000,
                        kFn = 0x800000;

using KeyRow = std::tuple<std::uint16_t, std::string_view, std::string_view, int, int, std::uint64_t>;

TEST(KeyboardLayout, KeysCarryCharactersQtKeysAndOwnFlags) {
    // Qt values as Qt 6 defines them.
    const KeyRow rows[] = {
        {0, "a", "A", 0x41, 0x41, 0},                   {18, "1", "!", 0x31, 0x21, 0},
        {33, "[", "{", 0x5B, 0x7B, 0},                  {48, "\t", "\t", 0x01000001, 0x01000002, 0},
        {36, "\r", "\r", 0x01000004, 0x01000004, 0},    {76, "\x03", "\x03", 0x01000005, 0x01000005, 0x200000},
        {83, "1", "1", 0x31, 0x31, 0x200000},           {122, "", "", 0x01000030, 0x01000030, kFn},
        {64, "", "", 0x01000040, 0x01000040, kFn},      {117, "", "", 0x01000007, 0x01000007, kFn},
        {126, "", "", 0x01000013, 0x01000013, 0xA00000}, {55, "", "", 0x01000022, 0x01000022, 0}};
    for (const auto& row : rows) {
        const auto* key = KeyboardLayout::key(std::get<0>(row));
        ASSERT_NE(key, nullptr) << std::get<0>(row);
        EXPECT_EQ(KeyRow(key->code, key->characters, key->shiftedCharacters, key->qtKey, key->shiftedQtKey,
                         key->ownFlags),
                  row);
    }
    for (const std::uint16_t absent : {10, 52, 127, 128, 65535}) EXPECT_EQ(KeyboardLayout::key(absent), nullptr);

    // The recorder names exactly these keys; the main block types each printable ASCII character once.
    const std::map<std::uint16_t, std::string_view> names{{36, "↩"}, {48, "Tab"}, {49, "空格"},
                                                          {51, "⌫"},  {53, "Esc"}, {123, "←"},
                                                          {124, "→"}, {125, "↓"},  {126, "↑"}};
    std::map<std::uint16_t, std::string_view> named;
    std::set<std::string_view> typed;
    for (const auto& key : KeyboardLayout::keys()) {
        EXPECT_LT(key.code, 128);
        if (!key.name.empty()) named[key.code] = key.name;
        if (key.isKeypad() || !key.name.empty() || key.characters.empty()) continue;
        EXPECT_TRUE(typed.insert(key.characters).second && typed.insert(key.shiftedCharacters).second) << key.code;
    }
    EXPECT_EQ(named, names);
    EXPECT_EQ(typed.size(), 94u);
}

TEST(KeyboardLayout, QtKeysCharactersWordsAndModifiersFindTheirKey) {
    const std::tuple<int, bool, int> qtKeys[] = {
        {0x4B, false, 40},       {0x21, false, 18},       {0x31, true, 83},        {0x2B, false, 24},
        {0x2B, true, 69},        {0x01000005, false, 76}, {0x01000002, false, 48}, {0x01000053, false, 55},
        {0x01000054, false, 54}, {0x01001103, false, 61}, {0x01000006, false, 114}, {0x01000012, true, 123},
        {0x01000008, false, -1}, {0, false, -1}};
    for (const auto& [qtKey, keypad, code] : qtKeys) {
        const auto* key = KeyboardLayout::keyForQtKey(qtKey, keypad);
        EXPECT_EQ(key ? key->code : -1, code) << std::hex << qtKey;
    }
    // Every key comes back from its own Qt key, but the right Shift and Control, which Qt cannot tell apart.
    for (const auto& key : KeyboardLayout::keys()) {
        if (key.qtKey == 0 || key.code == 60 || key.code == 62) continue;
        EXPECT_EQ(KeyboardLayout::keyForQtKey(key.qtKey, key.isKeypad())->code, key.code);
    }

    const std::tuple<std::string_view, int, bool> typed[] = {
        {"k", 40, false}, {"K", 40, true}, {"?", 44, true}, {"1", 18, false}, {"", -1, false}, {"é", -1, false}};
    for (const auto& [character, code, shifted] : typed) {
        const auto found = KeyboardLayout::keyTyping(character);
        EXPECT_EQ(found ? std::pair(int(found->key->code), found->shifted) : std::pair(-1, false), std::pair(code, shifted));
    }

    const std::pair<std::string_view, int> words[] = {
        {"Return", 36}, {"enter", 36}, {"ESC", 53}, {"pgup", 116}, {"F5", 96}, {"空格", 49},
        {"←", 123},     {"keypad-enter", 76}, {"option", 58}, {"f21", -1}, {"k", -1}, {"", -1}};
    for (const auto& [word, code] : words) {
        const auto* key = KeyboardLayout::keyNamed(word);
        EXPECT_EQ(key ? key->code : -1, code) << word;
    }

    EXPECT_EQ(KeyboardLayout::charactersIgnoringModifiers(24, kShift | kCommand), "+");
    EXPECT_EQ(KeyboardLayout::charactersIgnoringModifiers(24, kOption | kControl), "=");
    EXPECT_EQ(KeyboardLayout::flagsFromQtModifiers(0x3E000000), kShift | kControl | kOption | kCommand | 0x200000);
    EXPECT_EQ(KeyboardLayout::qtModifiersFromFlags(kShift | kCommand | kFn | 0x8), 0x12000000);
}

TEST(KeyCombination, TypedCombinationsBecomeKeysLabelledAsRecorded) {
    const std::pair<std::string_view, ShortcutKey> cases[] = {
        {"cmd+shift+k", {40, kShift | kCommand, "⇧⌘K"}},
        {"Ctrl+Alt+Shift+Command+Fn+K", {40, 0x9E0000, "⌃⌥⇧⌘Fn K"}},
        {" command + return ", {36, kCommand, "⌘↩"}},
        {"opt", {58, kOption, "⌥"}},
        {"rcmd", {54, kCommand, "⌘"}},
        {"rcmd+k", {40, kCommand, "⌘K"}},
        {"shift+/", {44, kShift, "⇧?"}},
        {"cmd+-", {27, kCommand, "⌘-"}},
        {"ctrl+up", {126, kControl, "⌃↑"}},
        {"f5", {96, 0, "键96"}},
        {"keypad-enter", {76, 0, "键76"}},  // its character U+0003 is no label
    };
    for (const auto& [text, key] : cases) EXPECT_EQ(parseKeyCombination(text), key) << text;
    EXPECT_EQ(recordedKeyLabel(0, kOption, "é"), "⌥É");

    const std::pair<std::string_view, std::string> errors[] = {
        {"  ", "empty key combination"},
        {"cmd+", "empty part in \"cmd+\""},
        {"cmd+xyz", "unknown key \"xyz\" in \"cmd+xyz\""},
        {"cmd+!", "\"!\" is typed with Shift: write shift+1"},
        {"cmd+shift", "\"cmd+shift\" holds modifiers but names no key"},
        {"k+l", "two keys in \"k+l\""},
    };
    for (const auto& [text, message] : errors) {
        try {
            parseKeyCombination(text);
            ADD_FAILURE() << text << " was accepted";
        } catch (const KeyCombinationError& error) {
            EXPECT_NE(std::string(error.what()).find(message), std::string::npos) << error.what();
        }
    }
}

}  // namespace
}  // namespace dorvane
