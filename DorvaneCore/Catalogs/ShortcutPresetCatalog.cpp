#include "DorvaneCore/Catalogs/ShortcutPresetCatalog.h"

#include <unordered_set>

#include "DorvaneCore/Core/FailureText.h"
#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Core/ResourceBundle.h"
#include "DorvaneCore/Support/AtomicFile.h"
#include "DorvaneCore/Support/JsonFields.h"

namespace dorvane {

namespace {

constexpr std::string_view kUnsupported = "快捷操作预设格式不支持。";
constexpr std::string_view kInvalid = "快捷操作预设无效。";
constexpr std::string_view kDuplicate = "快捷操作预设重复。";
constexpr std::string_view kNotFound = "未找到快捷操作预设。";

[[noreturn]] void fail(std::string_view message) { throw FitError::message(std::string(message)); }

constexpr auto shortcutPresetCatalogFields = [](auto& f, auto& catalog) {
    f.required("schemaVersion", catalog.schemaVersion);
    f.required("updatedAt", catalog.updatedAt);
    f.required("presets", catalog.presets);
};

}  // namespace

const NamedShortcut* ShortcutPresetCatalog::preset(std::string_view id) const {
    for (const auto& candidate : presets) {
        if (candidate.id == id) return &candidate;
    }
    return nullptr;
}

json::Json ShortcutPresetCatalog::toJson() const { return json::writeFields(*this, shortcutPresetCatalogFields); }

ShortcutPresetCatalog ShortcutPresetCatalog::decode(std::string_view document) {
    auto catalog = json::readFields<ShortcutPresetCatalog>(json::parse(document), shortcutPresetCatalogFields);

    if (catalog.schemaVersion != 1) fail(kUnsupported);

    std::unordered_set<std::string> ids;
    std::unordered_set<std::string> names;
    for (const auto& preset : catalog.presets) {
        // Validity is checked before uniqueness, so a bad key is reported as such.
        if (!preset.isValid()) fail(kInvalid);
        if (preset.id.empty() || !ids.insert(preset.id).second) fail(kDuplicate);
        if (!names.insert(preset.name).second) fail(kDuplicate);
    }
    return catalog;
}

ShortcutPresetCatalog ShortcutPresetCatalog::bundled() { return bundled(coreResourceBundle()); }

const std::vector<NamedShortcut>& ShortcutPresetCatalog::recommendedPresets() {
    static const std::vector<NamedShortcut> presets = []() -> std::vector<NamedShortcut> {
        try {
            return bundled().presets;
        } catch (const std::exception&) {
            return {};
        }
    }();
    return presets;
}

namespace {

// The catalog in `file`, none when there is no such file. A failure names the file, and the
// line for a document that does not decode.
std::optional<ShortcutPresetCatalog> readCatalog(const std::filesystem::path& file) {
    std::optional<std::string> document;
    try {
        document = readFileIfPresent(file);
        if (!document) return std::nullopt;
        return ShortcutPresetCatalog::decode(*document);
    } catch (...) {
        rethrowNamingFile(file.filename().string(), document);
    }
}

}  // namespace

ShortcutPresetCatalog ShortcutPresetCatalog::bundled(const std::optional<std::filesystem::path>& bundleFolder) {
    if (!bundleFolder) fail(kNotFound);
    auto catalog = readCatalog(*bundleFolder / fileName);
    if (!catalog) fail(kNotFound);
    return std::move(*catalog);
}

ShortcutPresetCatalog ShortcutPresetCatalog::load(const std::optional<std::filesystem::path>& overrideFile) {
    return load(overrideFile, coreResourceBundle());
}

ShortcutPresetCatalog ShortcutPresetCatalog::load(const std::optional<std::filesystem::path>& overrideFile,
                                                  const std::optional<std::filesystem::path>& bundleFolder) {
    if (overrideFile) {
        if (auto catalog = readCatalog(*overrideFile)) return std::move(*catalog);
    }
    return bundled(bundleFolder);
}

}  // namespace dorvane
