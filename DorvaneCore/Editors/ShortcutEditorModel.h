#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "DorvaneCore/Shortcuts/NamedShortcut.h"
#include "DorvaneCore/Shortcuts/ShortcutIcon.h"
#include "DorvaneCore/Shortcuts/ShortcutKey.h"
#include "DorvaneCore/Support/UUID.h"

namespace dorvane {

// The state and rules of the shortcut editor sheet: a name, a key recorded or
// composed from the manual keys and keycaps, and an icon that follows the name
// until the user picks one. The editor stores nothing: saveRequest() is handed
// to the caller, whose answer comes back through saveAnswered().
class ShortcutEditorModel {
public:
    // The main-key picker's "请选择按键…" entry; choosing it clears the key.
    static constexpr std::uint16_t noManualKey = 0xFFFF;
    static constexpr std::string_view saveFailedMessage = "保存失败，请重试";
    static constexpr std::string_view deleteFailedMessage = "删除失败，请重试";

    // What "添加操作" edits: a fresh UUID, no name, no key, the generic icon, pressed, enabled.
    static NamedShortcut newShortcut(const RandomSource& random);
    static NamedShortcut newShortcut();

    // Opens `shortcut`: its name as stored, its key only when valid, its icon
    // when one was chosen (any but keyboard), else the suggestion for the
    // stored name and key label. `offersDelete` is true for a stored shortcut.
    ShortcutEditorModel(const NamedShortcut& shortcut, bool offersDelete);

    // "添加操作" for a new shortcut, "编辑操作" for a stored one.
    std::string_view title() const;
    bool offersDelete() const { return offersDelete_; }

    const std::string& name() const { return name_; }
    // Typing the name; while the user has not picked an icon, the icon follows
    // the suggestion for the new name and the key's label.
    void setName(std::string name);

    const std::optional<ShortcutKey>& key() const { return key_; }
    // The recorder's binding: it writes the captured key as it is; no suggestion is asked.
    void setRecordedKey(std::optional<ShortcutKey> key);

    // A main key of the manual table with a modifier set. A modifier key stands
    // alone with its own mask; another key drops the mask a former modifier key
    // left behind and is labelled with the held symbols (Fn first) and its
    // title; a code outside the table clears the key.
    void setManualKey(std::uint16_t code, std::uint64_t modifiers);
    // The main-key picker: the chosen code with the current modifiers.
    void chooseManualKey(std::uint16_t code);
    // The picker's selection: the key's code when the table has it, else none.
    std::optional<std::uint16_t> manualKeySelection() const;

    // Keycaps take presses only while a key is set that is not itself a modifier key.
    bool keycapsEnabled() const;
    bool isKeycapOn(std::uint64_t mask) const;
    void toggleKeycap(std::uint64_t mask);

    // The key chip's text: the stored label of a valid key, none for "未设定".
    std::optional<std::string> keyChipLabel() const;

    ShortcutIcon icon() const { return icon_; }
    bool userExplicitlySelectedIcon() const { return userExplicitlySelectedIcon_; }
    // A pick in the icon picker fixes the icon for good and closes the picker.
    void chooseIcon(ShortcutIcon icon);

    bool useRecorder = false;  // false: manual configuration (every sheet opens so)
    bool showsIconPicker = false;

    // A key is set, the name is not blank, and it has at most 32 characters counted untrimmed.
    bool canSave() const;
    // The record saved: the name trimmed, mode always press, id and enabled as opened.
    NamedShortcut record() const;
    // The record to hand to onSave, none while canSave() is false.
    std::optional<NamedShortcut> saveRequest() const;
    // The caller's answer: a refusal shows "保存失败，请重试"; success leaves
    // closing to the caller.
    void saveAnswered(bool stored);
    void deleteAnswered(bool deleted);

    // Once set, stays until the sheet closes.
    const std::optional<std::string>& error() const { return error_; }

    // "删除「名称」？" with the name as typed, or "删除此操作？" for a blank name.
    std::string deleteAlertTitle() const;

    // The sheet's height before the limit: the measured header, body and footer
    // plus the two dividers, rounded up; until all three are measured, 450 (610
    // with the picker open), plus 40 while an error shows.
    double preferredHeight(double chromeHeight, double bodyHeight, double footerHeight) const;

    // The height the sheet may take: the preferred one within the main screen's
    // visible height less 60 (660 without a screen) and the key or main
    // window's content height less 40 (when there is such a window), never
    // limited below 300.
    static double panelHeight(double preferred, std::optional<double> screenVisibleHeight,
                              std::optional<double> windowContentHeight);

private:
    void followSuggestion(std::string_view keyLabel);

    std::string id_;
    bool enabled_;
    bool offersDelete_;
    std::string name_;
    std::optional<ShortcutKey> key_;
    ShortcutIcon icon_;
    bool userExplicitlySelectedIcon_;
    std::optional<std::string> error_;
};

}  // namespace dorvane
