#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "DorvaneCore/QuickActions/RecommendedPresets.h"
#include "DorvaneCore/Support/AtomicFile.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;

TEST(RecommendedPresetsKeys, ModifierSymbolsAreNeverDoubled) {
    for (const auto& [key, description] : std::vector<std::pair<ShortcutKey, std::string>>{
             {ShortcutKey(8, modifier::command, "⌘C"), "⌘C"},
             {ShortcutKey(40, modifier::control | modifier::shift, "K"), "⌃ ⇧ K"},
             {ShortcutKey(3, modifier::function | modifier::command, "F"), "Fn ⌘ F"}}) {
        EXPECT_EQ(RecommendedPresets::keyDescription(key), description);
    }
    const auto shipped = RecommendedPresets::loaded(fs::path("/nonexistent-support-folder"));
    ASSERT_FALSE(shipped.presets().empty());
    for (const auto& preset : shipped.presets()) {
        const std::string description = RecommendedPresets::keyDescription(preset.key);
        for (std::string_view symbol : {"Fn", "⌃", "⌥", "⇧", "⌘"}) {
            EXPECT_EQ(description.find(symbol), description.rfind(symbol)) << preset.name << ": " << description;
        }
    }
}

TEST(RecommendedPresetsSheet, AddedByExactNameMissingInCatalogOrder) {
    const fs::path root = fs::temp_directory_path() / ("recommended-presets-" + std::to_string(::getpid()));
    fs::create_directories(root);
    json::Json list = json::Json::array();
    for (const char* name : {"复制", "粘贴", "剪切", "撤销"}) {
        list.push_back(NamedShortcut(std::string("p-") + name, name, ShortcutKey(8, modifier::command, "⌘C")).toJson());
    }
    writeFileAtomically(root / "shortcut-presets.json",
                        json::serialize(json::Json{{"schemaVersion", 1}, {"updatedAt", "x"}, {"presets", list}}));
    const auto sheet = RecommendedPresets::loaded(root, std::nullopt);

    Preferences preferences;  // another key still counts; a blank around the name makes another name
    preferences.namedShortcuts = {NamedShortcut("mine", "粘贴", ShortcutKey(1, 0, "S")),
                                  NamedShortcut("x", " 复制", ShortcutKey(1, 0, "S"))};
    std::string missing;
    for (const auto& preset : sheet.missing(preferences)) missing += preset.name;
    EXPECT_EQ(missing, "复制剪切撤销");

    NamedShortcut copy = RecommendedPresets::adoptedCopy(sheet.presets()[0]);
    EXPECT_NE(copy.id, RecommendedPresets::adoptedCopy(sheet.presets()[0]).id);
    copy.id = sheet.presets()[0].id;
    EXPECT_EQ(copy, sheet.presets()[0]);  // nothing but the id changes

    writeFileAtomically(root / "shortcut-presets.json", "{ broken");
    EXPECT_EQ(RecommendedPresets::loaded(root, std::nullopt).emptyMessage(), "无法读取快捷操作预设");
    fs::remove_all(root);
}

}  // namespace
}  // namespace dorvane
