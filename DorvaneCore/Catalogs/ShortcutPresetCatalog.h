#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DorvaneCore/Shortcuts/NamedShortcut.h"
#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane {

// Ready-made named shortcuts offered for adoption, read from
// "shortcut-presets.json". The program relies on one of them:
// ShortcutPresetCatalog::toggleDockID shows or hides the Dock on connection.
struct ShortcutPresetCatalog {
    static constexpr std::string_view fileName = "shortcut-presets.json";
    static constexpr std::string_view toggleDockID = "preset:toggle-dock";

    std::int64_t schemaVersion = 1;
    std::string updatedAt;  // carried, never interpreted
    std::vector<NamedShortcut> presets;

    friend bool operator==(const ShortcutPresetCatalog&, const ShortcutPresetCatalog&) = default;

    // The preset with this id, if any.
    const NamedShortcut* preset(std::string_view id) const;

    json::Json toJson() const;

    // Parses and validates a whole document: a catalog is accepted whole or not
    // at all. Malformed JSON throws json::DecodeError; a schema other than 1
    // throws FitError "快捷操作预设格式不支持。"; an invalid preset "快捷操作预设无效。";
    // an empty or repeated id, or a repeated name, "快捷操作预设重复。".
    static ShortcutPresetCatalog decode(std::string_view document);

    // The catalog in the core resource bundle. No bundle, or no file in it,
    // throws FitError "未找到快捷操作预设。". A file that cannot be read or decoded
    // throws a FitError naming the file (and the line that does not decode), the
    // read's or the decoder's error nested in it; decode()'s own FitErrors as they are.
    static ShortcutPresetCatalog bundled();
    static ShortcutPresetCatalog bundled(const std::optional<std::filesystem::path>& bundleFolder);

    // The presets of the bundled catalog, read once; empty when it cannot be read.
    static const std::vector<NamedShortcut>& recommendedPresets();

    // The override file when one exists at `overrideFile` (its read and decode
    // errors are thrown as bundled() throws them; there is no falling back past a bad
    // override), otherwise bundled().
    static ShortcutPresetCatalog load(const std::optional<std::filesystem::path>& overrideFile);
    static ShortcutPresetCatalog load(const std::optional<std::filesystem::path>& overrideFile,
                                      const std::optional<std::filesystem::path>& bundleFolder);
};

}  // namespace dorvane
