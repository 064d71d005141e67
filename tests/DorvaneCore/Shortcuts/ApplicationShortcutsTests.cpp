#include <gtest/gtest.h>

#include "DorvaneCore/Shortcuts/ApplicationShortcutTarget.h"
#include "DorvaneCore/Shortcuts/ApplicationShortcuts.h"

namespace dorvane {
namespace {

NamedShortcut shortcut(std::string id, std::string name, bool enabled = true, std::string label = "⌘R") {
    NamedShortcut value(std::move(id), std::move(name), ShortcutKey(15, 0x100000, std::move(label)));
    value.enabled = enabled;
    return value;
}

TEST(ApplicationShortcutsRecord, EnabledShortcutsKeepOnlyUsableOnesInOrder) {
    const ApplicationShortcuts record{"com.example.editor", "编辑器", "/Applications/Editor.app",
                                      {shortcut("a", "运行"), shortcut("b", "停用", false), shortcut("c", "无键", true, ""),
                                       shortcut("d", std::string(33, 'x')), shortcut("e", "构建")}};
    const auto usable = record.enabledShortcuts();
    ASSERT_EQ(usable.size(), 2u);
    EXPECT_EQ(usable[0].id, "a");
    EXPECT_EQ(usable[1].id, "e");
    EXPECT_EQ(record.id(), "com.example.editor");
}

TEST(ApplicationShortcutsRecord, JsonKeyOrderRoundTripAndRequiredKeys) {
    const ApplicationShortcuts record{"com.example.editor", "编辑器", "/Applications/Editor.app",
                                      {shortcut("a", "运行")}};
    const auto encoded = record.toJson();
    std::vector<std::string> keys;
    for (auto it = encoded.begin(); it != encoded.end(); ++it) keys.push_back(it.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"bundleID", "name", "path", "shortcuts"}));
    EXPECT_EQ(ApplicationShortcuts::fromJson(encoded), record);
    for (const char* key : {"bundleID", "name", "path", "shortcuts"}) {
        auto missing = encoded;
        missing.erase(key);
        EXPECT_THROW(ApplicationShortcuts::fromJson(missing), json::DecodeError) << key;
    }
    auto badShortcut = encoded;
    badShortcut["shortcuts"][0]["mode"] = "triple";
    EXPECT_THROW(ApplicationShortcuts::fromJson(badShortcut), json::DecodeError);
}

TEST(ApplicationShortcutsLookup, FeatureSwitchIdentifierAndUsableRecords) {
    const std::vector<ApplicationShortcuts> records{
        {"com.example.a", "A", "/A.app", {shortcut("1", "停用", false)}},
        {"com.example.a", "A2", "/A.app", {shortcut("2", "运行")}},
        {"com.example.b", "B", "/B.app", {shortcut("3", "无键", true, "")}},
        {"com.example.c", "C", "/C.app", {shortcut("4", "运行")}},
    };
    EXPECT_EQ(applicationShortcutsFor(records, false, "com.example.c"), std::nullopt);
    EXPECT_EQ(applicationShortcutsFor(records, true, std::nullopt), std::nullopt);
    EXPECT_EQ(applicationShortcutsFor(records, true, "com.example.a")->name, "A2");
    EXPECT_EQ(applicationShortcutsFor(records, true, "com.example.b"), std::nullopt);
    EXPECT_EQ(applicationShortcutsFor(records, true, "COM.EXAMPLE.C"), std::nullopt);
    EXPECT_EQ(applicationShortcutsFor(records, true, "com.example.c")->name, "C");
}

TEST(ApplicationShortcutTargetResolve, FrontmostDecidesAloneOtherwiseFirstLiveRecent) {
    const std::int32_t own = 100;
    const std::unordered_set<std::int32_t> live{200, 300, 400};
    const std::unordered_set<std::int32_t> visible{300, 400};
    const std::vector<std::int32_t> recent{own, 999, 200, 300};

    EXPECT_EQ(ApplicationShortcutTarget::resolve(400, own, true, recent, live, visible), 400);
    // A regular frontmost application without a visible window: no target, the recent list is not consulted.
    EXPECT_EQ(ApplicationShortcutTarget::resolve(200, own, true, std::vector<std::int32_t>{300}, live, visible),
              std::nullopt);
    // This program in front: its own id and the quit 999 are skipped, 200 decides (no visible window).
    EXPECT_EQ(ApplicationShortcutTarget::resolve(own, own, true, recent, live, visible), std::nullopt);
    EXPECT_EQ(ApplicationShortcutTarget::resolve(own, own, true, std::vector<std::int32_t>{own, 999, 300, 200}, live,
                                                 visible),
              300);
    // A frontmost application that is not regular defers to the recent list.
    EXPECT_EQ(ApplicationShortcutTarget::resolve(500, own, false, std::vector<std::int32_t>{400}, live, visible), 400);
    EXPECT_EQ(ApplicationShortcutTarget::resolve(std::nullopt, own, true, std::vector<std::int32_t>{999}, live, visible),
              std::nullopt);
}

}  // namespace
}  // namespace dorvane
