#include <gtest/gtest.h>

#include "DorvaneCore/Editors/ApplicationShortcutEdits.h"

namespace dorvane {
namespace {

NamedShortcut chip(std::string id, bool enabled = true) {
    return NamedShortcut(id, "名" + id, ShortcutKey(0, 0, "A"), NamedShortcut::Mode::press, ShortcutIcon::keyboard,
                         enabled);
}

ApplicationShortcuts app(std::string bundleID, std::vector<NamedShortcut> shortcuts = {}) {
    return ApplicationShortcuts{bundleID, bundleID + " 名", "/Applications/" + bundleID + ".app", std::move(shortcuts)};
}

// "b:1,2-" for application b holding shortcut 1 and the disabled shortcut 2.
std::string describe(const std::optional<ApplicationShortcuts>& application) {
    if (!application) return "none";
    std::string text = application->bundleID + ":";
    for (const auto& shortcut : application->shortcuts) {
        text += (text.back() == ':' ? "" : ",") + shortcut.id + (shortcut.enabled ? "" : "-");
    }
    return text;
}

std::string describe(const std::vector<ApplicationShortcuts>& list) {
    std::string text;
    for (const auto& application : list) text += (text.empty() ? "" : " ") + describe(application);
    return text;
}

TEST(ApplicationShortcutEditsTest, ListsReplaceInPlaceOrAppend) {
    const std::vector<ApplicationShortcuts> list{app("a", {chip("1"), chip("2"), chip("1", false)}), app("b"),
                                                 app("a", {chip("9")})};
    EXPECT_EQ(describe(savingGroup(list, app("a", {chip("5")}))), "a:5 b: a:9");
    EXPECT_EQ(describe(savingGroup(list, app("c"))), "a:1,2,1- b: a:9 c:");
    EXPECT_EQ(describe(removingApplication(list, "a")), "b:");

    EXPECT_EQ(describe(withSavedShortcut(list, "a", chip("2", false))), "a:1,2-,1-");  // kept its place
    EXPECT_EQ(describe(withSavedShortcut(list, "b", chip("3"))), "b:3");
    EXPECT_EQ(describe(withSavedShortcut(list, "gone", chip("3"))), "none");  // the caller logs it
    EXPECT_EQ(describe(withoutShortcut(list, "a", "1")), "a:2");               // every copy of the id
    EXPECT_EQ(describe(withToggledShortcut(list[0], "1")), "a:1-,2,1-");       // the first only
    EXPECT_EQ(describe(withToggledShortcut(list[0], "7")), "none");
    EXPECT_TRUE(editorOffersDelete(list, "a", "2"));
    EXPECT_FALSE(editorOffersDelete(list, "b", "2"));
}

}  // namespace
}  // namespace dorvane
