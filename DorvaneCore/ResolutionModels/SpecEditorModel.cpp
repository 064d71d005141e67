#include "DorvaneCore/ResolutionModels/SpecEditorModel.h"

#include <algorithm>
#include <charconv>

#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Resolution/SupportedRange.h"
#include "DorvaneCore/Support/UnicodeText.h"

namespace dorvane {

std::optional<std::int64_t> readSizeField(std::string_view text) {
    const auto isBlankOrTab = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlankOrTab(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlankOrTab(text.back())) text.remove_suffix(1);

    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || !std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; })) return std::nullopt;

    // Parsed with its sign so that the most negative value still fits.
    std::string signedDigits = negative ? "-" : "";
    signedDigits += text;
    std::int64_t value = 0;
    const auto [end, status] = std::from_chars(signedDigits.data(), signedDigits.data() + signedDigits.size(), value);
    if (status != std::errc() || end != signedDigits.data() + signedDigits.size()) return std::nullopt;
    return value;
}

SpecEditorModel::SpecEditorModel(const SpecDraft& draft)
    : name(draft.name),
      width(draft.width),
      height(draft.height),
      id_(draft.id),
      isNew_(draft.isNew),
      scalePercent_(draft.scalePercent) {}

std::string_view SpecEditorModel::title() const { return isNew_ ? "新增规格" : "编辑规格"; }

void SpecEditorModel::stepScale(int direction) {
    if (direction == 0) return;
    const std::int64_t stepped = scalePercent_ + (direction > 0 ? scaleStep : -scaleStep);
    scalePercent_ = std::clamp(stepped, kMinimumScalePercent, kMaximumScalePercent);
}

std::string SpecEditorModel::scaleLabel() const { return "显示大小：" + std::to_string(scalePercent_) + "%"; }

std::optional<CustomPreset> SpecEditorModel::commit(bool saveAs, const RandomSource& random) {
    const auto parsedWidth = readSizeField(width);
    const auto parsedHeight = parsedWidth ? readSizeField(height) : std::nullopt;
    if (!parsedWidth || !parsedHeight) {
        error_ = std::string(integerMessage);
        return std::nullopt;
    }
    CustomPreset preset{saveAs ? makeUUIDString(random) : id_,
                        text::prefixGraphemes(text::trimmed(name), maximumNameLength), *parsedWidth, *parsedHeight,
                        scalePercent_};
    try {
        preset.validate();
    } catch (const FitError& failure) {
        error_ = failure.text();
        return std::nullopt;
    }
    return preset;
}

std::optional<CustomPreset> SpecEditorModel::commit(bool saveAs) { return commit(saveAs, systemRandomSource()); }

}  // namespace dorvane
