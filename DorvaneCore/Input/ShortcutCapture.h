#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "DorvaneCore/Shortcuts/ShortcutKey.h"

namespace dorvane {

// What the shortcut recorder decides, fed the key events its tap or its widget
// receives: which combination the user pressed, which events to swallow, when the
// tap may go, and what the field shows. A modifier pressed and released with no
// other key in between is itself the key. Characters come from the keyboard table.
class ShortcutCapture {
public:
    static constexpr std::string_view unboundLabel = "录制快捷键";
    static constexpr std::string_view failureLabel = "无法录制，请手动选择";
    static constexpr std::string_view idlePrompt = "点击开始录制快捷键…";
    static constexpr std::string_view recordingPrompt = "请按下快捷键组合…";

    // One event through the recording tap.
    struct TapEvent {
        enum class Type { keyDown, keyUp, flagsChanged, disabled };  // disabled: by time-out or user input
        Type type = Type::keyDown;
        std::uint16_t code = 0;
        std::uint64_t flags = 0;  // the event's flag word
        bool autoRepeat = false;
    };

    struct TapAnswer {
        bool swallow = false;
        bool removeTap = false;               // recording is over and every key is up again
        std::optional<ShortcutKey> captured;  // the combination bound by this event

        friend bool operator==(const TapAnswer&, const TapAnswer&) = default;
    };

    // What the field draws while not recording, or the recording prompt.
    struct Caption {
        enum class Style { recording, prompt, failure, label };
        std::string text;
        Style style = Style::prompt;

        friend bool operator==(const Caption&, const Caption&) = default;
    };

    // The binding's key, on every update of the editor around the field. While the
    // failure to record is shown, the same key again keeps it shown: only a new key
    // (or a recording) replaces it.
    void setBoundKey(const std::optional<ShortcutKey>& key);

    // A click with trust (or trust arriving after a click): recording starts and the
    // owner installs its tap.
    void begin();
    // The tap could not be installed: recording ends and the failure is shown.
    void tapUnavailable();
    // Focus lost, the field left its window, or the tap went away: recording ends.
    void end();

    // The tap's verdict on one event.
    TapAnswer intercept(const TapEvent& event);

    // Keys that reach the field without the tap. Each returns the combination bound.
    std::optional<ShortcutKey> keyDown(std::uint16_t code, std::uint64_t flags, bool autoRepeat);
    std::optional<ShortcutKey> flagsChanged(std::uint16_t code, std::uint64_t flags);

    bool recording() const { return recording_; }
    const std::string& savedLabel() const { return savedLabel_; }
    Caption caption() const;

private:
    struct Candidate {
        std::uint16_t code;
        std::uint64_t modifiers;
        std::string label;
    };

    std::optional<ShortcutKey> finish(std::uint16_t code, std::uint64_t modifiers, std::string label);

    std::string savedLabel_{unboundLabel};
    std::optional<ShortcutKey> boundKey_;
    bool failureShown_ = false;
    bool recording_ = false;
    std::set<std::uint16_t> downKeys_;
    std::optional<Candidate> modifierCandidate_;
};

}  // namespace dorvane
