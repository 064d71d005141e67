#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "DorvaneCore/QuickActions/RecommendedPresets.h"
#include "DorvaneCore/Support/AtomicFile.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;

NamedShortcut named(std::string id, std::string name, ShortcutKey key = ShortcutKey(8, modifier::command, "⌘C")) {
    return NamedShortcut(std::move(id), std::move(name), std::move(key), NamedShortcut::Mode::doublePress,
                         ShortcutIcon::copy, false);
}

std::string catalog(const std::vector<NamedShortcut>& presets) {
    json::Json list = json::Json::array();
    for (const auto& preset : presets) list.push_back(preset.toJson());
    return json::serialize(json::Json{{"schemaVersion", 1}, {"updatedAt", "2024"}, {"presets", list}});
}

TEST(RecommendedPresetsKeys, SymbolsAreNeverDoubled) {
    struct Case {
        ShortcutKey key;
        std::string description;
    };
    const std::vector<Case> cases{
        {ShortcutKey(8, modifier::command, "⌘C"), "⌘C"},
        {ShortcutKey(40, modifier::control | modifier::shift, "K"), "⌃ ⇧ K"},
        {ShortcutKey(3, modifier::function | modifier::command, "F"), "Fn ⌘ F"},
        {ShortcutKey(21, modifier::control | modifier::shift | modifier::command, "⌃⇧⌘4"), "⌃⇧⌘4"},
        {ShortcutKey(53, 0, "Esc"), "Esc"},
    };
    for (const auto& [key, description] : cases) EXPECT_EQ(RecommendedPresets::keyDescription(key), description);

    // Every row of the shipped catalog, each modifier symbol at most once.
    const auto shipped = RecommendedPresets::loaded(fs::path("/nonexistent-support-folder"));
    ASSERT_FALSE(shipped.loadError());
    ASSERT_FALSE(shipped.presets().empty());
    for (const auto& preset : shipped.presets()) {
        const std::string description = RecommendedPresets::keyDescription(preset.key);
        for (std::string_view symbol : {"Fn", "⌃", "⌥", "⇧", "⌘"}) {
            const auto first = description.find(symbol);
            EXPECT_TRUE(first == std::string::npos || description.find(symbol, first + 1) == std::string::npos)
                << preset.name << ": " << description;
        }
    }
}

TEST(RecommendedPresetsSheet, AddedByNameMissingInOrderAndAdoptedCopies) {
    const fs::path root = fs::temp_directory_path() / ("recommended-presets-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root);
    const std::vector<NamedShortcut> presets{named("p1", "复制"), named("p2", "粘贴"), named("p3", "剪切"),
                                             named("p4", "撤销")};
    writeFileAtomically(root / "shortcut-presets.json", catalog(presets));
    const auto sheet = RecommendedPresets::loaded(root, std::nullopt);
    ASSERT_EQ(sheet.presets(), presets);

    Preferences preferences;
    // Same name, other id and key: added. A name with a blank around it is another name.
    preferences.namedShortcuts = {named("mine", "粘贴", ShortcutKey(1, 0, "S")), named("x", " 复制")};
    std::vector<std::string> missing;
    for (const auto& preset : sheet.missing(preferences)) missing.push_back(preset.id);
    EXPECT_EQ(missing, (std::vector<std::string>{"p1", "p3", "p4"}));
    EXPECT_EQ(RecommendedPresets::addAllTitle(missing.size()), "全部添加 (3)");
    EXPECT_TRUE(RecommendedPresets::isAdded(presets[1], preferences));

    NamedShortcut copy = RecommendedPresets::adoptedCopy(presets[0]);
    EXPECT_EQ(copy.id.size(), 36u);
    EXPECT_NE(copy.id, RecommendedPresets::adoptedCopy(presets[0]).id);
    copy.id = presets[0].id;
    EXPECT_EQ(copy, presets[0]);  // nothing but the id changes

    writeFileAtomically(root / "shortcut-presets.json", catalog({}));
    EXPECT_EQ(RecommendedPresets::loaded(root, std::nullopt).emptyMessage(), "暂无快捷操作预设");
    writeFileAtomically(root / "shortcut-presets.json", "{ broken");
    const auto broken = RecommendedPresets::loaded(root, std::nullopt);
    EXPECT_TRUE(broken.presets().empty());
    EXPECT_EQ(broken.emptyMessage(), "无法读取快捷操作预设");
    EXPECT_TRUE(broken.missing(preferences).empty());
    fs::remove_all(root);
}

}  // namespace
}  // namespace dorvane
