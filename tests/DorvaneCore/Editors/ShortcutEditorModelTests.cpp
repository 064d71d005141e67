#include <gtest/gtest.h>

#include "DorvaneCore/Editors/ShortcutEditorModel.h"

namespace dorvane {
namespace {

constexpr std::uint16_t kOptionLeft = 58;
constexpr std::uint16_t kCommandLeft = 55;
constexpr std::uint16_t kA = 0;
constexpr std::uint16_t kC = 8;
constexpr std::uint16_t kKeypadOne = 83;  // recordable, not among the manual keys

ShortcutEditorModel opened(std::string name, ShortcutKey key, ShortcutIcon icon = ShortcutIcon::keyboard) {
    return ShortcutEditorModel(NamedShortcut("ID", std::move(name), std::move(key), NamedShortcut::Mode::hold, icon, false),
                               true);
}

TEST(ShortcutEditorOpening, KeyOnlyWhenValidIconChosenOrSuggested) {
    struct Case {
        ShortcutEditorModel model;
        bool hasKey;
        ShortcutIcon icon;
    };
    const std::vector<Case> cases{
        {ShortcutEditorModel(ShortcutEditorModel::newShortcut(), false), false, ShortcutIcon::keyboard},
        {opened("复制", ShortcutKey(kC, modifier::command, "⌘C"), ShortcutIcon::star), true, ShortcutIcon::star},
        {opened("粘贴", ShortcutKey(kA, 0, "A")), true, ShortcutIcon::clipboard},
        {opened("", ShortcutKey(200, modifier::command, "⌘C")), false, ShortcutIcon::copy},  // the label still asked
    };
    for (const auto& [model, hasKey, icon] : cases) {
        EXPECT_EQ(model.key().has_value(), hasKey) << model.title();
        EXPECT_EQ(model.keycapsEnabled(), hasKey);
        EXPECT_EQ(model.icon(), icon);
    }
    EXPECT_EQ(cases[0].model.title(), "添加操作");
    EXPECT_FALSE(cases[0].model.canSave());
}

TEST(ShortcutEditorManualKeys, ModifierKeysStandAloneAndLabelsFollowTheKeycaps) {
    auto model = opened("", ShortcutKey());
    model.chooseManualKey(kOptionLeft);
    EXPECT_EQ(model.key(), ShortcutKey(kOptionLeft, modifier::option, "Option 左"));
    EXPECT_FALSE(model.keycapsEnabled());
    model.setManualKey(kCommandLeft, modifier::shift);  // the given modifiers are ignored
    model.chooseManualKey(kA);                          // the former main key's mask does not stay behind
    EXPECT_EQ(model.key(), ShortcutKey(kA, 0, "A"));

    for (const auto& order : {std::array{modifier::control, modifier::command},
                              std::array{modifier::command, modifier::control}}) {
        model.chooseManualKey(kC);
        for (auto mask : order) model.toggleKeycap(mask);
        EXPECT_EQ(model.key(), ShortcutKey(kC, modifier::control | modifier::command, "⌃⌘C"));
        for (auto mask : order) model.toggleKeycap(mask);
    }
    model.chooseManualKey(ShortcutEditorModel::noManualKey);
    EXPECT_FALSE(model.key());

    model.setRecordedKey(ShortcutKey(kKeypadOne, modifier::command, "⌘1"));
    EXPECT_EQ(model.manualKeySelection(), std::nullopt);
    model.toggleKeycap(modifier::shift);  // a key the table cannot compose is emptied
    EXPECT_FALSE(model.key());

    // A held Fn stays in the label once keycaps rebuild it.
    model.setRecordedKey(ShortcutKey(kA, modifier::function | modifier::command, "Fn⌘A"));
    model.toggleKeycap(modifier::shift);
    EXPECT_EQ(model.key(), ShortcutKey(kA, modifier::function | modifier::shift | modifier::command, "Fn⇧⌘A"));
}

TEST(ShortcutEditorIcon, TheSuggestionFollowsUntilTheUserChooses) {
    auto model = opened("", ShortcutKey());
    model.setName("粘贴");
    EXPECT_EQ(model.icon(), ShortcutIcon::clipboard);
    model.setName("没有规则");  // no suggestion keeps the icon
    model.chooseManualKey(kC);
    EXPECT_EQ(model.icon(), ShortcutIcon::clipboard);
    model.toggleKeycap(modifier::command);  // "⌘C"
    EXPECT_EQ(model.icon(), ShortcutIcon::copy);
    model.setRecordedKey(ShortcutKey(9, modifier::command, "⌘V"));  // the recorder asks for nothing
    EXPECT_EQ(model.icon(), ShortcutIcon::copy);

    model.chooseIcon(ShortcutIcon::star);
    model.setName("复制");
    model.chooseManualKey(kA);
    EXPECT_EQ(model.icon(), ShortcutIcon::star);
}

TEST(ShortcutEditorSaving, UntrimmedLengthTrimmedRecordAndAnswers) {
    auto model = opened("", ShortcutKey(kA, 0, "A"), ShortcutIcon::star);
    for (const auto& [name, canSave] : std::vector<std::pair<std::string, bool>>{
             {std::string(32, 'n'), true}, {" " + std::string(32, 'n'), false}, {"\u3000 \n", false}, {" 截屏 ", true}}) {
        model.setName(name);
        EXPECT_EQ(model.saveRequest().has_value(), canSave) << "\"" << name << "\"";
    }
    EXPECT_EQ(model.saveRequest(), NamedShortcut("ID", "截屏", ShortcutKey(kA, 0, "A"), NamedShortcut::Mode::press,
                                                 ShortcutIcon::star, false));
    model.saveAnswered(false);
    EXPECT_EQ(model.error(), "保存失败，请重试");
    EXPECT_EQ(model.deleteAlertTitle(), "删除「 截屏 」？");
}

TEST(ShortcutEditorHeight, PreferredAndLimited) {
    auto model = opened("", ShortcutKey());
    EXPECT_EQ(model.preferredHeight(60.2, 300, 0), 450);  // not all measured yet
    model.showsIconPicker = true;
    model.saveAnswered(false);
    EXPECT_EQ(model.preferredHeight(0, 0, 0), 650);
    EXPECT_EQ(model.preferredHeight(60.2, 300, 70.1), 433);  // 432.3 with the dividers, rounded up

    struct Case {
        double preferred;
        std::optional<double> screen;
        std::optional<double> window;
        double height;
    };
    for (const auto& [preferred, screen, window, height] : std::vector<Case>{{900, std::nullopt, std::nullopt, 660},
                                                                             {900, 800, std::nullopt, 740},
                                                                             {900, 800, 600, 560},
                                                                             {900, 200, std::nullopt, 300},
                                                                             {250, 200, 100, 250}}) {
        EXPECT_EQ(ShortcutEditorModel::panelHeight(preferred, screen, window), height) << preferred;
    }
}

}  // namespace
}  // namespace dorvane
