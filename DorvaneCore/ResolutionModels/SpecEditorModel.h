#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "DorvaneCore/Resolution/CustomPreset.h"
#include "DorvaneCore/SettingsWindow/SpecDraft.h"
#include "DorvaneCore/Support/UUID.h"

namespace dorvane {

// The state of the custom preset editor sheet ("新增规格" / "编辑规格") and its one decision, commit():
// the typed texts either become a CustomPreset for onSaveCustom or a message.
class SpecEditorModel {
public:
    static constexpr std::size_t maximumNameLength = 24;  // user-perceived characters; longer names are cut
    static constexpr std::int64_t scaleStep = 10;
    static constexpr std::string_view integerMessage = "请输入整数宽度和高度。";
    static constexpr std::string_view sideHint = "每边 512–3840";

    explicit SpecEditorModel(const SpecDraft& draft);

    const std::string& id() const { return id_; }
    bool isNew() const { return isNew_; }
    // "新增规格" or "编辑规格".
    std::string_view title() const;
    // "另存为新规格" is offered only for a custom preset that exists.
    bool offersSaveAsCopy() const { return !isNew_; }

    std::string name;
    std::string width;
    std::string height;

    std::int64_t scalePercent() const { return scalePercent_; }
    // One stepper click: ±10, held within 50–200.
    void stepScale(int direction);
    // "显示大小：120%".
    std::string scaleLabel() const;

    // The message of the last refused attempt. Typing leaves it; only the next
    // attempt replaces it.
    const std::optional<std::string>& error() const { return error_; }

    // Reads the fields (width first: a bad width is reported without looking
    // at the height) and validates the result. On success returns the custom
    // preset to save, under a new UUID when `saveAs`, and leaves error() as it
    // was (the sheet closes); otherwise sets error() and returns none.
    std::optional<CustomPreset> commit(bool saveAs, const RandomSource& random);
    std::optional<CustomPreset> commit(bool saveAs);

private:
    std::string id_;
    bool isNew_;
    std::int64_t scalePercent_;
    std::optional<std::string> error_;
};

// A size field as typed: blanks and tabs around it are allowed (a line break is
// not), then an optional sign and ASCII digits within the 64-bit range. None
// for anything else, including a value beyond the range.
std::optional<std::int64_t> readSizeField(std::string_view text);

}  // namespace dorvane
