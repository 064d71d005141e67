#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DorvaneCore/Settings/Preferences.h"
#include "DorvaneCore/Settings/PreferencesStore.h"
#include "tests/DorvaneCore/Settings/PreferencesPrinting.h"

namespace dorvane {
namespace {

using Strings = std::vector<std::string>;

Preferences decoded(std::string_view text) { return Preferences::fromJson(json::parse(text)); }

Strings keysOf(const json::Json& object) {
    Strings keys;
    for (auto it = object.begin(); it != object.end(); ++it) keys.push_back(it.key());
    return keys;
}

Strings specIDs(const Preferences& preferences) {
    Strings ids;
    for (const auto& custom : preferences.customPresets) ids.push_back(custom.id);
    return ids;
}

// Every field away from its default, so a field the encoder forgets cannot round-trip.
Preferences everythingChanged() {
    Preferences p;
    const NamedShortcut copy("S1", "复制", ShortcutKey(8, modifier::command, "⌘C"));
    p.theme = AppTheme::light;
    p.preset = ScreenPreset::tablet;
    p.size = DisplaySize::moreSpace;
    p.customPresets.push_back(CustomPreset{"U1", "我的平板", 2048, 1536, 125});
    p.floatingActionIcons = {{"fillWindow", "doc.on.doc"}, {"centerWindow", "keyboard"}};
    p.applicationShortcutsEnabled = true;
    p.applicationShortcuts = {ApplicationShortcuts{"com.example.editor", "编辑器", "/Apps/Editor.app", {copy}}};
    p.namedShortcuts = {NamedShortcut("S2", "撤销", ShortcutKey(6, modifier::command, "⌘Z"),
                                      NamedShortcut::Mode::tapHold, ShortcutIcon::undo, false)};
    p.operationOrder = {"shortcut:S2", "builtin:fillWindow", "builtin:someFutureAction"};
    p.floatingActions = {FloatingAction::centerWindow, FloatingAction::maximizeWindow};
    p.toolbarSide = ToolbarSide::top;
    p.selectedCustomID = p.autoResolutionPresetID = "U1";
    p.autoResolutionEnabled = p.autoShowDockOnConnect = p.toolbarWhenDisconnected = true;
    p.autoFillWindowsOnRemote = p.uuTouchScrollEnabled = true;
    p.toolbarWhenConnected = p.autoRestoreOnDisconnect = p.showWindowControls = false;
    return p;
}

TEST(PreferencesCodingTest, EmptyObjectGivesTheDocumentedDefaultsAndRecordsRoundTrip) {
    Preferences expected;  // a fresh installation, except for the two documented differences
    expected.theme = AppTheme::system;
    expected.autoResolutionPresetID.reset();
    EXPECT_EQ(decoded("{}"), expected);
    EXPECT_EQ(decoded(R"({"theme":null,"floatingActions":null,"customPresets":null})"), expected);
    EXPECT_EQ(specIDs(expected).size(), 7u);

    EXPECT_EQ(Preferences::fromJson(Preferences().toJson()), Preferences());
    EXPECT_EQ(Preferences::fromJson(json::parse(PreferencesStore::encode(everythingChanged()))),
              everythingChanged());
}

TEST(PreferencesCodingTest, WritesCompactlyInTheFileKeyOrder) {
    Strings fileOrder{"applicationShortcutsEnabled", "applicationShortcuts", "theme", "toolbarSide", "preset", "size",
                      "customPresets", "selectedCustomID", "floatingActions", "namedShortcuts", "operationOrder",
                      "floatingActionIcons", "seededFactorySpecs", "autoResolutionEnabled", "autoResolutionPresetID",
                      "autoShowDockOnConnect", "toolbarWhenConnected", "toolbarWhenDisconnected",
                      "autoFillWindowsOnRemote", "uuTouchScrollEnabled", "autoRestoreOnDisconnect",
                      "showWindowControls", "seededMinimizeAction"};
    EXPECT_EQ(keysOf(everythingChanged().toJson()), fileOrder);

    Preferences none;  // absent ids are left out, never written as null
    none.autoResolutionPresetID.reset();
    std::erase(fileOrder, "selectedCustomID");
    std::erase(fileOrder, "autoResolutionPresetID");
    EXPECT_EQ(keysOf(none.toJson()), fileOrder);

    const std::string text = PreferencesStore::encode(everythingChanged());
    EXPECT_EQ(text.rfind(R"({"applicationShortcutsEnabled":true,"applicationShortcuts":[{"bundleID":)", 0), 0u);
    EXPECT_NE(text.find(R"("floatingActions":["centerWindow","maximizeWindow"])"), std::string::npos);
    EXPECT_NE(text.find(R"("floatingActionIcons":{"centerWindow":"keyboard","fillWindow":"doc.on.doc"})"),
              std::string::npos);
}

TEST(PreferencesCodingTest, StrictKeysRejectTheWholeFile) {
    const std::vector<std::pair<std::string, std::string>> rejected{
        {"toolbarSide", R"("middle")"},
        {"preset", R"("Phone")"},
        {"size", R"("huge")"},
        {"theme", "3"},
        {"floatingActionIcons", "[]"},
        {"floatingActionIcons", R"({"fillWindow":7})"},
        {"applicationShortcutsEnabled", R"("true")"},
        {"applicationShortcuts", R"([{"bundleID":"a","name":"b","shortcuts":[]}])"},
        {"namedShortcuts", R"([{"id":"x","name":"n","key":{"code":70000,"modifiers":0,"label":"k"}}])"},
        {"namedShortcuts", R"([{"id":"x","name":"n","key":{"code":1,"modifiers":0,"label":"k"},"mode":"triple"}])"},
        {"operationOrder", R"(["builtin:fillWindow",3])"},
        {"floatingActions", R"("fillWindow")"},
        {"customPresets", R"([{"id":"a","name":"a","width":1280}])"},
        {"selectedCustomID", "5"},
        {"autoResolutionEnabled", "1"},
        {"autoResolutionPresetID", "false"},
        {"autoShowDockOnConnect", R"("no")"},
        {"uuTouchScrollEnabled", "0"},
        {"autoRestoreOnDisconnect", R"("yes")"},
        {"showWindowControls", "[]"},
        {"seededMinimizeAction", R"("true")"},
        {"seededFactorySpecs", "1"},
    };
    for (const auto& [key, value] : rejected) {
        EXPECT_THROW(decoded("{\"" + key + "\":" + value + "}"), json::DecodeError) << key << " = " << value;
    }
    EXPECT_THROW(decoded("[]"), json::DecodeError);
}

TEST(PreferencesCodingTest, TolerantKeysFallBackInsteadOfFailing) {
    EXPECT_EQ(decoded(R"({"theme":"sepia"})").theme, AppTheme::system);
    EXPECT_EQ(decoded(R"({"floatingActionIcons":{"fillWindow":"doc.on.doc","settings":"keyboard",
                  "fillWindows":"doc.on.doc","centerWindow":"no.such.symbol"}})")
                  .floatingActionIcons,
              (std::map<std::string, std::string>{{"fillWindow", "doc.on.doc"}, {"settings", "keyboard"}}));

    // Mistyped values of the toolbar keys and the retired keys count as missing.
    const auto mistyped = decoded(R"({"toolbarWhenConnected":"no","toolbarWhenDisconnected":1,
        "autoFillWindowsOnRemote":"yes","autoExpandToolbarOnConnect":"no","autoManageToolbarOnDisconnect":0})");
    EXPECT_TRUE(mistyped.toolbarWhenConnected);
    EXPECT_FALSE(mistyped.toolbarWhenDisconnected || mistyped.autoFillWindowsOnRemote);

    const auto dropped = decoded(R"({"seededFactorySpecs":true,"customPresets":[
        {"id":"small","name":"s","width":511,"height":720},
        {"id":"ok","name":"ok","width":1600,"height":900,"scalePercent":125},
        {"id":"zoomed","name":"z","width":3840,"height":2160,"scalePercent":50}],
        "namedShortcuts":[
        {"id":"blank","name":"  ","key":{"code":8,"modifiers":0,"label":"C"}},
        {"id":"good","name":"复制","key":{"code":8,"modifiers":1048576,"label":"C"}},
        {"id":"capsFlag","name":"大写","key":{"code":8,"modifiers":65536,"label":"C"}}]})");
    EXPECT_EQ(specIDs(dropped), Strings{"ok"});
    ASSERT_EQ(dropped.namedShortcuts.size(), 1u);
    EXPECT_EQ(dropped.namedShortcuts[0].id, "good");
}

TEST(PreferencesCodingTest, RetiredToolbarKeysMigrateUnlessTheCurrentKeysArePresent) {
    const auto manage = decoded(R"({"autoManageToolbarOnDisconnect":false})");
    EXPECT_TRUE(manage.toolbarWhenConnected && manage.toolbarWhenDisconnected);
    const auto expand = decoded(R"({"autoExpandToolbarOnConnect":false,"autoManageToolbarOnDisconnect":true})");
    EXPECT_FALSE(expand.toolbarWhenConnected || expand.toolbarWhenDisconnected);
    const auto current = decoded(R"({"autoExpandToolbarOnConnect":false,"autoManageToolbarOnDisconnect":false,
        "toolbarWhenConnected":true,"toolbarWhenDisconnected":false})");
    EXPECT_TRUE(current.toolbarWhenConnected);
    EXPECT_FALSE(current.toolbarWhenDisconnected);
    EXPECT_EQ(PreferencesStore::encode(current).find("autoExpandToolbarOnConnect"), std::string::npos);
}

TEST(PreferencesCodingTest, ActionsAndOrderAreCleanedAndGetTheMinimiseActionOnce) {
    const auto actions = decoded(R"({"floatingActions":["fillWindow","resolution","fillWindow","teleport"]})");
    EXPECT_EQ(actions.floatingActions,
              (std::vector<FloatingAction>{FloatingAction::fillWindow, FloatingAction::minimizeWindow}));

    const auto order = decoded(R"({"operationOrder":["builtin:leftWorkspace","shortcut:x","builtin:settings",
        "builtin:fillWindow","builtin:previousApplication","builtin:restoreDisplay","shortcut:x"]})");
    EXPECT_EQ(order.operationOrder, (Strings{"shortcut:x", "builtin:fillWindow", "builtin:minimizeWindow",
                                             "shortcut:x"}));

    // Seeded files stay as they are; lists without fill are never touched.
    const auto seeded = decoded(R"({"seededMinimizeAction":true,"floatingActions":["fillWindow"],
        "operationOrder":["builtin:fillWindow"]})");
    EXPECT_EQ(seeded.floatingActions, std::vector<FloatingAction>{FloatingAction::fillWindow});
    EXPECT_EQ(seeded.operationOrder, Strings{"builtin:fillWindow"});
    const auto noFill = decoded(R"({"floatingActions":["centerWindow"],"operationOrder":["builtin:centerWindow"]})");
    EXPECT_EQ(noFill.floatingActions, std::vector<FloatingAction>{FloatingAction::centerWindow});
    EXPECT_EQ(noFill.operationOrder, Strings{"builtin:centerWindow"});
    EXPECT_TRUE(noFill.seededMinimizeAction);
}

TEST(PreferencesCodingTest, FactoryPresetsAreSeededOnceInFront) {
    Strings expected = specIDs(Preferences());
    expected.push_back("a");
    EXPECT_EQ(specIDs(decoded(R"({"seededFactorySpecs":false,"customPresets":[
        {"id":"a","name":"a","width":1280,"height":720}]})")),
              expected);

    // A factory entry the user kept (and edited) is not added twice and keeps its place.
    const auto kept =
        decoded(R"({"customPresets":[{"id":"factory:tablet","name":"改过","width":1024,"height":768}]})");
    EXPECT_EQ(specIDs(kept), (Strings{"factory:phoneRecommended", "factory:portraitRecommended", "factory:phone",
                                      "factory:portrait", "factory:widescreen", "factory:wideTablet",
                                      "factory:tablet"}));
    EXPECT_EQ(kept.customPresets.back().name, "改过");
    EXPECT_TRUE(decoded(R"({"seededFactorySpecs":true,"customPresets":[]})").customPresets.empty());
}

TEST(PreferencesCodingTest, AutomaticPresetMustNameAPresetAfterSeeding) {
    const auto deleted = decoded(R"({"seededFactorySpecs":true,"autoResolutionEnabled":true,
        "autoResolutionPresetID":"tiny","customPresets":[{"id":"tiny","name":"t","width":100,"height":100}]})");
    EXPECT_FALSE(deleted.autoResolutionEnabled);
    EXPECT_EQ(deleted.autoResolutionPresetID, std::nullopt);

    // The id names a factory custom preset that only the seeding adds.
    const auto seeded = decoded(R"({"seededFactorySpecs":false,"customPresets":[],"autoResolutionEnabled":true,
        "autoResolutionPresetID":"factory:tablet","selectedCustomID":"unchecked"})");
    EXPECT_TRUE(seeded.autoResolutionEnabled);
    EXPECT_EQ(seeded.autoResolutionPresetID, "factory:tablet");
    EXPECT_EQ(seeded.selectedCustomID, "unchecked");
}

}  // namespace
}  // namespace dorvane
