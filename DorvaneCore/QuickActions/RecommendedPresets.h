#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DorvaneCore/Settings/Preferences.h"
#include "DorvaneCore/Shortcuts/NamedShortcut.h"
#include "DorvaneCore/Shortcuts/ShortcutKey.h"
#include "DorvaneCore/Support/UUID.h"

namespace dorvane {

// The sheet "常用快捷操作": the shortcut-preset catalog read when the sheet is
// shown, which presets the user already has, and the copies adopting adds.
class RecommendedPresets {
public:
    static constexpr std::string_view loadErrorMessage = "无法读取快捷操作预设";
    static constexpr std::string_view noPresetsMessage = "暂无快捷操作预设";

    // The override in `supportFolder` when it exists (a broken one is a
    // failure), otherwise the bundled catalog; any failure gives no presets and
    // loadError(). `bundleFolder` replaces the core resource bundle in tests.
    static RecommendedPresets loaded(const std::filesystem::path& supportFolder);
    static RecommendedPresets loaded(const std::filesystem::path& supportFolder,
                                     const std::optional<std::filesystem::path>& bundleFolder);

    const std::vector<NamedShortcut>& presets() const { return presets_; }
    const std::optional<std::string>& loadError() const { return loadError_; }

    // What the list says while it has no preset.
    std::string emptyMessage() const;

    // A preset counts as added when the user has a shortcut of exactly its
    // name; ids, keys and icons are not compared.
    static bool isAdded(const NamedShortcut& preset, const Preferences& preferences);
    // The presets not added yet, in catalog order: what "全部添加 (N)" saves.
    std::vector<NamedShortcut> missing(const Preferences& preferences) const;
    // "全部添加 (3)".
    static std::string addAllTitle(std::size_t missingCount);

    // The second line of a row: the modifier symbols and the key, blank-separated,
    // never repeating a symbol the key's label already begins with ("⌘C", "⌃ ⇧ K", "Fn ⌘ F").
    static std::string keyDescription(const ShortcutKey& key);

    // What adopting a preset saves: the preset under a new UUID, all else unchanged.
    static NamedShortcut adoptedCopy(const NamedShortcut& preset, const RandomSource& random);
    static NamedShortcut adoptedCopy(const NamedShortcut& preset);

private:
    std::vector<NamedShortcut> presets_;
    std::optional<std::string> loadError_;
};

}  // namespace dorvane
