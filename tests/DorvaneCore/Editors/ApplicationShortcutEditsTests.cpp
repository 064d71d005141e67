#include <gtest/gtest.h>

#include "DorvaneCore/Editors/ApplicationShortcutEdits.h"

namespace dorvane {
namespace {

NamedShortcut chip(std::string id, bool enabled = true) {
    return NamedShortcut(id, "名" + id, ShortcutKey(0, modifier::command, "A"), NamedShortcut::Mode::press,
                         ShortcutIcon::keyboard, enabled);
}

ApplicationShortcuts app(std::string bundleID, std::vector<NamedShortcut> shortcuts = {}) {
    return ApplicationShortcuts{bundleID, bundleID + " 名", "/Applications/" + bundleID + ".app", std::move(shortcuts)};
}

std::vector<std::string> bundles(const std::vector<ApplicationShortcuts>& list) {
    std::vector<std::string> result;
    for (const auto& entry : list) result.push_back(entry.bundleID);
    return result;
}

std::vector<std::string> shortcutIDs(const std::optional<ApplicationShortcuts>& application) {
    std::vector<std::string> result;
    if (application) {
        for (const auto& shortcut : application->shortcuts) result.push_back(shortcut.id + (shortcut.enabled ? "" : "-"));
    }
    return result;
}

using IDs = std::vector<std::string>;

TEST(ApplicationShortcutEditsTest, GroupsReplaceInPlaceOrAppend) {
    const std::vector<ApplicationShortcuts> list{app("a", {chip("1")}), app("b"), app("a", {chip("9")})};
    ApplicationShortcuts renamed = app("a", {chip("2")});
    renamed.name = "新名";
    const auto replaced = savingGroup(list, renamed);
    EXPECT_EQ(bundles(replaced), (IDs{"a", "b", "a"}));
    EXPECT_EQ(replaced[0], renamed);                      // name, path and shortcuts all from the saved value
    EXPECT_EQ(shortcutIDs(replaced[2]), IDs{"9"});         // only the first of a repeated identifier
    EXPECT_EQ(bundles(savingGroup(list, app("c"))), (IDs{"a", "b", "a", "c"}));
    EXPECT_EQ(bundles(removingApplication(list, "a")), IDs{"b"});
    EXPECT_EQ(listedBundleIDs(list), (std::set<std::string>{"a", "b"}));
    EXPECT_EQ(missingApplicationLogLine("com.example.Gone"),
              "application-shortcut-save missing-application bundle=com.example.Gone");
}

TEST(ApplicationShortcutEditsTest, ShortcutSaveDeleteAndToggle) {
    const std::vector<ApplicationShortcuts> list{app("a", {chip("1"), chip("2"), chip("1", false)}), app("b")};
    NamedShortcut edited = chip("2");
    edited.name = "改名";
    const auto saved = withSavedShortcut(list, "a", edited);
    EXPECT_EQ(shortcutIDs(saved), (IDs{"1", "2", "1-"}));  // kept its place
    EXPECT_EQ(saved->shortcuts[1].name, "改名");
    EXPECT_EQ(shortcutIDs(withSavedShortcut(list, "a", chip("3"))), (IDs{"1", "2", "1-", "3"}));
    EXPECT_EQ(shortcutIDs(withSavedShortcut(list, "b", chip("3"))), IDs{"3"});
    EXPECT_EQ(withSavedShortcut(list, "gone", chip("3")), std::nullopt);

    EXPECT_EQ(shortcutIDs(withoutShortcut(list, "a", "1")), IDs{"2"});  // every copy of the id
    EXPECT_EQ(withoutShortcut(list, "gone", "1"), std::nullopt);

    EXPECT_EQ(shortcutIDs(withToggledShortcut(list[0], "1")), (IDs{"1-", "2", "1-"}));  // the first only
    EXPECT_EQ(withToggledShortcut(list[0], "7"), std::nullopt);

    EXPECT_TRUE(editorOffersDelete(list, "a", "2"));
    EXPECT_FALSE(editorOffersDelete(list, "a", "3"));
    EXPECT_FALSE(editorOffersDelete(list, "gone", "1"));
}

TEST(ApplicationShortcutEditsTest, CardTexts) {
    const auto safari = ApplicationShortcuts{"com.apple.Safari", "Safari", "/Applications/Safari.app", {}};
    EXPECT_EQ(removalAlertTitle(safari), "移除「Safari」？");
    EXPECT_EQ(chevronAccessibleName(safari, false), "收起Safari操作");
    EXPECT_EQ(chevronAccessibleName(safari, true), "展开Safari操作");
    EXPECT_EQ(enablementMenuTitle(chip("1")), "停用");
    EXPECT_EQ(enablementMenuTitle(chip("1", false)), "启用");
}

}  // namespace
}  // namespace dorvane
