#include "DorvaneCore/Input/ShortcutCapture.h"

#include "DorvaneCore/Input/KeyboardLayout.h"
#include "DorvaneCore/Input/RecordedKeyLabel.h"
#include "DorvaneCore/Shortcuts/ShortcutEventPlan.h"

namespace dorvane {

void ShortcutCapture::setBoundKey(const std::optional<ShortcutKey>& key) {
    if (failureShown_ && key == boundKey_) return;
    boundKey_ = key;
    failureShown_ = false;
    savedLabel_ = key ? key->label : std::string(unboundLabel);
}

void ShortcutCapture::begin() {
    recording_ = true;
    modifierCandidate_.reset();
    downKeys_.clear();
}

void ShortcutCapture::tapUnavailable() {
    end();
    savedLabel_ = failureLabel;
    failureShown_ = true;
}

void ShortcutCapture::end() {
    recording_ = false;
    downKeys_.clear();
}

ShortcutCapture::TapAnswer ShortcutCapture::intercept(const TapEvent& event) {
    TapAnswer answer;
    switch (event.type) {
    case TapEvent::Type::disabled:
        end();
        answer.removeTap = true;
        return answer;
    case TapEvent::Type::flagsChanged:
        answer.captured = flagsChanged(event.code, event.flags);
        break;
    case TapEvent::Type::keyUp:
        downKeys_.erase(event.code);
        break;
    case TapEvent::Type::keyDown:
        downKeys_.insert(event.code);
        answer.captured = keyDown(event.code, event.flags, event.autoRepeat);
        break;
    }
    // Once recorded, the keys still held are swallowed too, until the last one is up.
    if (!recording_ && downKeys_.empty() && (event.flags & modifier::allowed) == 0) answer.removeTap = true;
    answer.swallow = true;
    return answer;
}

std::optional<ShortcutKey> ShortcutCapture::keyDown(std::uint16_t code, std::uint64_t flags, bool autoRepeat) {
    if (!recording_ || autoRepeat) return std::nullopt;
    const std::uint64_t modifiers = flags & modifier::allowed;
    const auto characters = KeyboardLayout::charactersIgnoringModifiers(code, flags);
    return finish(code, modifiers, recordedKeyLabel(code, modifiers, characters));
}

std::optional<ShortcutKey> ShortcutCapture::flagsChanged(std::uint16_t code, std::uint64_t flags) {
    if (!recording_) return std::nullopt;
    const auto mask = ShortcutEventPlan::mask(code);
    if (!mask) return std::nullopt;
    if ((*mask & flags & modifier::allowed) != 0) {
        modifierCandidate_ = Candidate{code, *mask, recordedModifierPrefix(*mask)};
        return std::nullopt;
    }
    if (modifierCandidate_ && modifierCandidate_->code == code) {
        const Candidate candidate = *modifierCandidate_;
        return finish(candidate.code, candidate.modifiers, candidate.label);
    }
    return std::nullopt;
}

std::optional<ShortcutKey> ShortcutCapture::finish(std::uint16_t code, std::uint64_t modifiers, std::string label) {
    ShortcutKey key(code, modifiers, std::move(label));
    if (!key.isValid()) return std::nullopt;  // recording goes on
    savedLabel_ = key.label;
    failureShown_ = false;
    recording_ = false;
    modifierCandidate_.reset();
    return key;
}

ShortcutCapture::Caption ShortcutCapture::caption() const {
    if (recording_) return {std::string(recordingPrompt), Caption::Style::recording};
    if (failureShown_) return {std::string(failureLabel), Caption::Style::failure};
    if (savedLabel_ == unboundLabel || savedLabel_ == failureLabel) return {std::string(idlePrompt), Caption::Style::prompt};
    return {savedLabel_, Caption::Style::label};
}

}  // namespace dorvane
