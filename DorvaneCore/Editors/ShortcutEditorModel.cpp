#include "DorvaneCore/Editors/ShortcutEditorModel.h"

#include <algorithm>
#include <cmath>

#include "DorvaneCore/Editors/ManualKeys.h"
#include "DorvaneCore/Shortcuts/ShortcutEventPlan.h"
#include "DorvaneCore/Support/UnicodeText.h"

namespace dorvane {

namespace {

constexpr double kUnmeasuredHeight = 450;
constexpr double kUnmeasuredHeightWithPicker = 610;
constexpr double kErrorRowAllowance = 40;
constexpr double kDividers = 2;
constexpr double kHeightWithoutScreen = 660;
constexpr double kScreenMargin = 60;
constexpr double kWindowMargin = 40;
constexpr double kMinimumLimit = 300;

bool isModifierKeyCode(std::uint16_t code) { return ShortcutEventPlan::mask(code).has_value(); }

}  // namespace

NamedShortcut ShortcutEditorModel::newShortcut(const RandomSource& random) {
    return NamedShortcut(makeUUIDString(random), "", ShortcutKey(0, 0, ""), NamedShortcut::Mode::press,
                         ShortcutIcon::keyboard, true);
}

NamedShortcut ShortcutEditorModel::newShortcut() { return newShortcut(systemRandomSource()); }

ShortcutEditorModel::ShortcutEditorModel(const NamedShortcut& shortcut, bool offersDelete)
    : id_(shortcut.id),
      enabled_(shortcut.enabled),
      offersDelete_(offersDelete),
      name_(shortcut.name),
      icon_(shortcut.icon),
      userExplicitlySelectedIcon_(shortcut.icon != ShortcutIcon::keyboard) {
    if (shortcut.key.isValid()) key_ = shortcut.key;
    // The stored label is asked even when the key itself was not usable.
    if (!userExplicitlySelectedIcon_) icon_ = suggestedShortcutIcon(name_, shortcut.key.label).value_or(ShortcutIcon::keyboard);
}

std::string_view ShortcutEditorModel::title() const { return offersDelete_ ? "编辑操作" : "添加操作"; }

void ShortcutEditorModel::setName(std::string name) {
    name_ = std::move(name);
    followSuggestion(key_ ? std::string_view(key_->label) : std::string_view());
}

void ShortcutEditorModel::setRecordedKey(std::optional<ShortcutKey> key) { key_ = std::move(key); }

void ShortcutEditorModel::setManualKey(std::uint16_t code, std::uint64_t modifiers) {
    const auto entry = manualKey(code);
    if (!entry) {
        key_.reset();
        return;
    }
    if (const auto mask = ShortcutEventPlan::mask(code)) {
        key_ = ShortcutKey(code, *mask, std::string(entry->title));
        return;
    }
    if (key_ && isModifierKeyCode(key_->code)) modifiers = 0;
    key_ = ShortcutKey(code, modifiers, modifierPrefix(modifiers) + std::string(entry->title));
    followSuggestion(key_->label);
}

void ShortcutEditorModel::chooseManualKey(std::uint16_t code) { setManualKey(code, key_ ? key_->modifiers : 0); }

std::optional<std::uint16_t> ShortcutEditorModel::manualKeySelection() const {
    if (!key_ || !manualKey(key_->code)) return std::nullopt;
    return key_->code;
}

bool ShortcutEditorModel::keycapsEnabled() const { return key_ && !isModifierKeyCode(key_->code); }

bool ShortcutEditorModel::isKeycapOn(std::uint64_t mask) const { return key_ && (key_->modifiers & mask) != 0; }

void ShortcutEditorModel::toggleKeycap(std::uint64_t mask) {
    if (!keycapsEnabled()) return;
    setManualKey(key_->code, key_->modifiers ^ mask);
}

std::optional<std::string> ShortcutEditorModel::keyChipLabel() const {
    if (!key_ || !key_->isValid()) return std::nullopt;
    return key_->label;
}

void ShortcutEditorModel::chooseIcon(ShortcutIcon icon) {
    icon_ = icon;
    userExplicitlySelectedIcon_ = true;
    showsIconPicker = false;
}

bool ShortcutEditorModel::canSave() const {
    if (!key_) return false;
    // The untrimmed name: surrounding blanks count towards the limit.
    return NamedShortcut(id_, name_, *key_).isValid();
}

NamedShortcut ShortcutEditorModel::record() const {
    return NamedShortcut(id_, text::trimmed(name_), key_.value_or(ShortcutKey()), NamedShortcut::Mode::press, icon_,
                         enabled_);
}

std::optional<NamedShortcut> ShortcutEditorModel::saveRequest() const {
    if (!canSave()) return std::nullopt;
    return record();
}

void ShortcutEditorModel::saveAnswered(bool stored) {
    if (!stored) error_ = std::string(saveFailedMessage);
}

void ShortcutEditorModel::deleteAnswered(bool deleted) {
    if (!deleted) error_ = std::string(deleteFailedMessage);
}

std::string ShortcutEditorModel::deleteAlertTitle() const {
    if (text::isBlank(name_)) return "删除此操作？";
    return "删除「" + name_ + "」？";
}

double ShortcutEditorModel::preferredHeight(double chromeHeight, double bodyHeight, double footerHeight) const {
    if (chromeHeight > 0 && bodyHeight > 0 && footerHeight > 0) {
        return std::ceil(chromeHeight + bodyHeight + footerHeight + kDividers);
    }
    return (showsIconPicker ? kUnmeasuredHeightWithPicker : kUnmeasuredHeight) + (error_ ? kErrorRowAllowance : 0);
}

double ShortcutEditorModel::panelHeight(double preferred, std::optional<double> screenVisibleHeight,
                                        std::optional<double> windowContentHeight) {
    double limit = screenVisibleHeight ? *screenVisibleHeight - kScreenMargin : kHeightWithoutScreen;
    if (windowContentHeight) limit = std::min(limit, *windowContentHeight - kWindowMargin);
    return std::min(preferred, std::max(limit, kMinimumLimit));
}

void ShortcutEditorModel::followSuggestion(std::string_view keyLabel) {
    if (userExplicitlySelectedIcon_) return;
    if (const auto suggestion = suggestedShortcutIcon(name_, keyLabel)) icon_ = *suggestion;
}

}  // namespace dorvane
