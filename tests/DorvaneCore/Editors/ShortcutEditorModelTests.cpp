#include <gtest/gtest.h>

#include "DorvaneCore/Editors/ManualKeys.h"
#include "DorvaneCore/Editors/ShortcutEditorModel.h"

namespace dorvane {
namespace {

constexpr std::uint16_t kOptionLeft = 58;
constexpr std::uint16_t kCommandLeft = 55;
constexpr std::uint16_t kA = 0;
constexpr std::uint16_t kC = 8;
constexpr std::uint16_t kKeypadOne = 83;  // recordable, but not among the manual keys

ShortcutEditorModel opened(NamedShortcut shortcut, bool offersDelete = true) {
    return ShortcutEditorModel(shortcut, offersDelete);
}

NamedShortcut stored(std::string name, ShortcutKey key, ShortcutIcon icon = ShortcutIcon::keyboard) {
    return NamedShortcut("ID", std::move(name), std::move(key), NamedShortcut::Mode::hold, icon, false);
}

TEST(ShortcutEditorOpening, KeyOnlyWhenValidIconChosenOrSuggested) {
    const auto fresh = ShortcutEditorModel(ShortcutEditorModel::newShortcut(), false);
    EXPECT_EQ(fresh.title(), "添加操作");
    EXPECT_FALSE(fresh.key());
    EXPECT_FALSE(fresh.keyChipLabel());  // "未设定"
    EXPECT_FALSE(fresh.keycapsEnabled());
    EXPECT_FALSE(fresh.canSave());
    EXPECT_EQ(fresh.icon(), ShortcutIcon::keyboard);
    EXPECT_FALSE(fresh.userExplicitlySelectedIcon());

    struct Case {
        const char* what;
        NamedShortcut shortcut;
        bool hasKey;
        ShortcutIcon icon;
        bool explicitIcon;
    };
    const std::vector<Case> cases{
        {"chosen icon kept", stored("复制", ShortcutKey(kC, modifier::command, "⌘C"), ShortcutIcon::star), true,
         ShortcutIcon::star, true},
        {"generic icon suggested from the name", stored("粘贴", ShortcutKey(kA, 0, "A")), true, ShortcutIcon::clipboard,
         false},
        {"invalid key, its label still asked", stored("", ShortcutKey(200, modifier::command, "⌘C")), false,
         ShortcutIcon::copy, false},
        {"nothing to suggest", stored("随便", ShortcutKey(kA, 0, "")), false, ShortcutIcon::keyboard, false},
    };
    for (const auto& [what, shortcut, hasKey, icon, explicitIcon] : cases) {
        const auto model = opened(shortcut);
        EXPECT_EQ(model.title(), "编辑操作") << what;
        EXPECT_EQ(model.key().has_value(), hasKey) << what;
        EXPECT_EQ(model.icon(), icon) << what;
        EXPECT_EQ(model.userExplicitlySelectedIcon(), explicitIcon) << what;
    }
}

TEST(ShortcutEditorManualKeys, ComposingFromTheTableAndKeycaps) {
    auto model = opened(stored("", ShortcutKey()));
    model.chooseManualKey(kOptionLeft);
    EXPECT_EQ(model.key(), ShortcutKey(kOptionLeft, modifier::option, "Option 左"));
    EXPECT_FALSE(model.keycapsEnabled());
    model.toggleKeycap(modifier::shift);              // disabled: nothing changes
    EXPECT_EQ(model.key(), ShortcutKey(kOptionLeft, modifier::option, "Option 左"));

    model.setManualKey(kCommandLeft, modifier::shift);  // the given modifiers are ignored
    EXPECT_EQ(model.key(), ShortcutKey(kCommandLeft, modifier::command, "Command 左"));
    model.chooseManualKey(kA);  // the former main key's mask does not stay behind
    EXPECT_EQ(model.key(), ShortcutKey(kA, 0, "A"));
    EXPECT_TRUE(model.keycapsEnabled());

    // Control and Command on C, in either order, read the same.
    for (const auto& order : {std::array{modifier::control, modifier::command},
                              std::array{modifier::command, modifier::control}}) {
        model.chooseManualKey(kC);
        for (auto mask : order) model.toggleKeycap(mask);
        EXPECT_EQ(model.key(), ShortcutKey(kC, modifier::control | modifier::command, "⌃⌘C"));
        EXPECT_TRUE(model.isKeycapOn(modifier::command));
        EXPECT_FALSE(model.isKeycapOn(modifier::shift));
        model.toggleKeycap(modifier::control);
        model.toggleKeycap(modifier::command);
        EXPECT_EQ(model.key(), ShortcutKey(kC, 0, "C"));
    }
    EXPECT_EQ(model.manualKeySelection(), kC);
    model.chooseManualKey(ShortcutEditorModel::noManualKey);  // "请选择按键…"
    EXPECT_FALSE(model.key());
    EXPECT_EQ(model.manualKeySelection(), std::nullopt);
}

TEST(ShortcutEditorManualKeys, RecordedKeysOutsideTheTableAndAHeldFn) {
    auto model = opened(stored("", ShortcutKey()));
    model.setRecordedKey(ShortcutKey(kKeypadOne, modifier::command, "⌘1"));
    EXPECT_EQ(model.manualKeySelection(), std::nullopt);  // the picker shows no selection
    EXPECT_EQ(model.keyChipLabel(), "⌘1");
    model.toggleKeycap(modifier::shift);  // a key the table cannot compose is emptied
    EXPECT_FALSE(model.key());

    // A key recorded with Fn keeps it in its label once keycaps rebuild it.
    model.setRecordedKey(ShortcutKey(kA, modifier::function | modifier::command, "Fn⌘A"));
    model.toggleKeycap(modifier::shift);
    EXPECT_EQ(model.key(), ShortcutKey(kA, modifier::function | modifier::shift | modifier::command, "Fn⇧⌘A"));
    model.toggleKeycap(modifier::command);
    model.toggleKeycap(modifier::shift);
    EXPECT_EQ(model.key(), ShortcutKey(kA, modifier::function, "FnA"));
    EXPECT_EQ(model.key()->displayLabel(), "FnA");  // never "FnFnA"
}

TEST(ShortcutEditorIcon, TheSuggestionFollowsUntilTheUserChooses) {
    auto model = opened(stored("", ShortcutKey()));
    struct Step {
        const char* name;
        ShortcutIcon icon;
    };
    for (const auto& [name, icon] : std::vector<Step>{
             {"复制", ShortcutIcon::copy}, {"粘贴", ShortcutIcon::clipboard}, {"没有规则", ShortcutIcon::clipboard}}) {
        model.setName(name);
        EXPECT_EQ(model.icon(), icon) << name;
    }
    model.setName("");
    model.chooseManualKey(kC);
    model.toggleKeycap(modifier::command);  // "⌘C" suggests copying
    EXPECT_EQ(model.icon(), ShortcutIcon::copy);
    model.setRecordedKey(ShortcutKey(9, modifier::command, "⌘V"));  // the recorder asks for nothing
    EXPECT_EQ(model.icon(), ShortcutIcon::copy);
    model.setName("x");  // the next name change uses the recorded label
    EXPECT_EQ(model.icon(), ShortcutIcon::clipboard);

    model.showsIconPicker = true;
    model.chooseIcon(ShortcutIcon::star);
    EXPECT_FALSE(model.showsIconPicker);
    model.setName("复制");
    model.chooseManualKey(kA);
    EXPECT_EQ(model.icon(), ShortcutIcon::star);
}

TEST(ShortcutEditorSaving, NameRulesRecordAndAnswers) {
    const std::string thirtyTwo(32, 'n');
    struct Case {
        std::string name;
        bool canSave;
    };
    const std::vector<Case> cases{
        {thirtyTwo, true}, {" " + thirtyTwo, false}, {"\u3000 \n", false}, {" 截屏 ", true}};
    auto model = opened(stored("", ShortcutKey(kA, 0, "A"), ShortcutIcon::star));
    for (const auto& [name, canSave] : cases) {
        model.setName(name);
        EXPECT_EQ(model.canSave(), canSave) << "\"" << name << "\"";
        EXPECT_EQ(model.saveRequest().has_value(), canSave) << "\"" << name << "\"";
    }
    const auto record = model.saveRequest();
    ASSERT_TRUE(record);
    EXPECT_EQ(*record, NamedShortcut("ID", "截屏", ShortcutKey(kA, 0, "A"), NamedShortcut::Mode::press,
                                     ShortcutIcon::star, false));  // trimmed, hold became press, enabled kept
    model.setRecordedKey(std::nullopt);
    EXPECT_FALSE(model.saveRequest());

    EXPECT_FALSE(model.error());
    model.saveAnswered(true);
    EXPECT_FALSE(model.error());
    model.saveAnswered(false);
    EXPECT_EQ(model.error(), "保存失败，请重试");
    model.deleteAnswered(false);
    EXPECT_EQ(model.error(), "删除失败，请重试");

    EXPECT_EQ(model.deleteAlertTitle(), "删除「 截屏 」？");
    model.setName(" \n");
    EXPECT_EQ(model.deleteAlertTitle(), "删除此操作？");
}

TEST(ShortcutEditorHeight, PreferredAndLimited) {
    auto model = opened(stored("", ShortcutKey()));
    EXPECT_EQ(model.preferredHeight(0, 0, 0), 450);
    EXPECT_EQ(model.preferredHeight(60.2, 300, 0), 450);  // not all measured yet
    model.showsIconPicker = true;
    EXPECT_EQ(model.preferredHeight(0, 0, 0), 610);
    model.saveAnswered(false);
    EXPECT_EQ(model.preferredHeight(0, 0, 0), 650);
    EXPECT_EQ(model.preferredHeight(60.2, 300, 70.1), 433);  // 432.3, rounded up

    struct Case {
        double preferred;
        std::optional<double> screen;
        std::optional<double> window;
        double height;
    };
    const std::vector<Case> cases{
        {900, std::nullopt, std::nullopt, 660},  // no screen, no window
        {500, std::nullopt, std::nullopt, 500},
        {900, 800, std::nullopt, 740},
        {900, 800, 600, 560},
        {900, 200, std::nullopt, 300},  // never limited below 300
        {250, 200, 100, 250},
    };
    for (const auto& [preferred, screen, window, height] : cases) {
        EXPECT_EQ(ShortcutEditorModel::panelHeight(preferred, screen, window), height) << preferred;
    }
}

TEST(ShortcutEditorTables, ManualKeysAndKeycaps) {
    EXPECT_EQ(manualKeys.size(), 66u);
    EXPECT_EQ(manualKey(kC)->title, "C");
    EXPECT_EQ(manualKey(111)->title, "F12");
    EXPECT_EQ(manualKey(kKeypadOne), std::nullopt);
    std::vector<std::string_view> caps;
    for (const auto& cap : modifierKeycaps) caps.push_back(cap.symbol);
    EXPECT_EQ(caps, (std::vector<std::string_view>{"⌘", "⌥", "⌃", "⇧"}));
}

}  // namespace
}  // namespace dorvane
