#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DorvaneCore/Input/ShortcutCapture.h"

namespace dorvane {
namespace {

using Type = ShortcutCapture::TapEvent::Type;
using Answer = ShortcutCapture::TapAnswer;
using Style = ShortcutCapture::Caption::Style;

ShortcutCapture::TapEvent down(std::uint16_t code, std::uint64_t flags, bool repeat = false) {
    return {Type::keyDown, code, flags, repeat};
}
ShortcutCapture::TapEvent up(std::uint16_t code, std::uint64_t flags) { return {Type::keyUp, code, flags}; }
ShortcutCapture::TapEvent flags(std::uint16_t code, std::uint64_t flags) { return {Type::flagsChanged, code, flags}; }

const Answer swallowed{true, false, std::nullopt};
const Answer removed{true, true, std::nullopt};
Answer binds(ShortcutKey key, bool removeTap = false) { return {true, removeTap, std::move(key)}; }

TEST(ShortcutCapture, TapEventSequencesBindOneCombination) {
    struct Step {
        ShortcutCapture::TapEvent event;
        Answer answer;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        bool recordingAfter;
    };
    const Case cases[] = {
        {"Command-Shift-K; the tap goes with the last modifier",
         {{flags(55, 0x100008), swallowed}, {flags(56, 0x12000A), swallowed},
          {down(40, 0x12000A), binds({40, 0x120000, "⇧⌘K"})}, {up(40, 0x12000A), swallowed},
          {flags(56, 0x100008), swallowed}, {flags(55, 0), removed}},
         false},
        {"Option alone binds the Option key",
         {{flags(58, 0x80020), swallowed}, {flags(58, 0), binds({58, 0x80000, "⌥"}, true)}}, false},
        {"right Option alone keeps its own code",
         {{flags(61, 0x80040), swallowed}, {flags(61, 0), binds({61, 0x80000, "⌥"}, true)}}, false},
        {"Option held while K binds ⌥K, not Option",
         {{flags(58, 0x80020), swallowed}, {down(40, 0x80020), binds({40, 0x80000, "⌥K"})},
          {flags(58, 0), swallowed}, {up(40, 0), removed}},
         false},
        {"auto-repeat of a key held before is ignored",
         {{down(40, 0, true), swallowed}, {down(37, 0), binds({37, 0, "L"})}, {up(37, 0), swallowed}}, false},
        {"arrows carry Fn; F-keys have no characters",
         {{down(123, 0xA00000), binds({123, 0x800000, "Fn ←"})}, {down(96, 0x800000), swallowed},
          {up(96, 0x800000), swallowed}, {up(123, 0), removed}},
         false},
        {"a code of 128 or more is not taken and recording goes on",
         {{down(130, 0), swallowed}, {up(130, 0), swallowed}, {down(49, 0x100000), binds({49, 0x100000, "⌘空格"})}},
         false},
        {"a key outside the table is named by its code", {{down(10, 0), binds({10, 0, "键10"})}, {up(10, 0), removed}},
         false},
        {"a modifier let go after another went down records nothing",
         {{flags(59, 0x40001), swallowed}, {flags(56, 0x60003), swallowed}, {flags(59, 0x20002), swallowed}}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ShortcutCapture capture;
        capture.begin();
        for (std::size_t i = 0; i < c.steps.size(); ++i) EXPECT_EQ(capture.intercept(c.steps[i].event), c.steps[i].answer) << i;
        EXPECT_EQ(capture.recording(), c.recordingAfter);
    }
}

TEST(ShortcutCapture, WidgetKeysAndADisabledTap) {
    ShortcutCapture capture;
    EXPECT_EQ(capture.keyDown(40, 0x100000, false), std::nullopt);  // not recording
    capture.begin();
    EXPECT_EQ(capture.keyDown(40, 0x100000, true), std::nullopt);  // auto-repeat
    EXPECT_EQ(capture.keyDown(40, 0x100000, false), ShortcutKey(40, 0x100000, "⌘K"));
    capture.begin();
    EXPECT_EQ(capture.intercept({Type::disabled}), (Answer{false, true, std::nullopt}));  // passes, tap goes
    EXPECT_FALSE(capture.recording());
}

TEST(ShortcutCapture, CaptionShowsTheFailureUntilANewKeyOrARecording) {
    using Caption = ShortcutCapture::Caption;
    const ShortcutKey bound(40, 0x120000, "⇧⌘K");
    const Caption failure{"无法录制，请手动选择", Style::failure};
    ShortcutCapture capture;
    EXPECT_EQ(capture.caption(), (Caption{"点击开始录制快捷键…", Style::prompt}));
    capture.setBoundKey(bound);
    EXPECT_EQ(capture.caption(), (Caption{"⇧⌘K", Style::label}));
    capture.begin();
    EXPECT_EQ(capture.caption(), (Caption{"请按下快捷键组合…", Style::recording}));

    capture.tapUnavailable();
    EXPECT_EQ(capture.caption(), failure);
    capture.setBoundKey(bound);  // the editor's next update brings the same key
    EXPECT_EQ(capture.caption(), failure);
    capture.setBoundKey(ShortcutKey(0, 0, "A"));
    EXPECT_EQ(capture.caption(), (Caption{"A", Style::label}));

    capture.tapUnavailable();
    capture.begin();
    capture.keyDown(36, 0, false);
    EXPECT_EQ(capture.caption(), (Caption{"↩", Style::label}));
}

}  // namespace
}  // namespace dorvane
