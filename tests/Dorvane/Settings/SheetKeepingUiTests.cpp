#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include "Dorvane/Editors/IconPickerView.h"
#include "Dorvane/Editors/ShortcutEditor.h"
#include "Dorvane/InputViews/ShortcutRecorder.h"
#include "Dorvane/Settings/QuickActionsSettingsPage.h"
#include "Dorvane/Settings/RecommendedPresetsView.h"
#include "Dorvane/Visual/SegmentedPicker.h"
#include "tests/Dorvane/Settings/QuickActionsUiSupport.h"

namespace dorvane {
namespace {

using testing::click;
using testing::settle;

// The shortcut editor of "添加操作", with the permission that lets it record.
class ShortcutEditorSheetTest : public testing::QuickActionsTest {
protected:
    void SetUp() override {
        QuickActionsTest::SetUp();
        tool->permissionsAdmin().set(host::Permission::accessibility, true);
    }

    ShortcutEditor& openEditor() {
        click(*page().addOperationButton());
        ShortcutEditor* editor = sheet<ShortcutEditor>(QuickActionsSettingsPage::shortcutEditorSheet);
        EXPECT_NE(editor, nullptr);
        return *editor;
    }

    void type(const char* letters) { typeIntoWindow(letters); }
};

// The window ordered out, closed or minimised and shown again: the same sheet, with the name typed,
// the key recorded, and a recording under way, which listens to no key while the window is
// away (those keys are the other application's) and takes the next one once it is back.
TEST_F(ShortcutEditorSheetTest, HidingTheWindowKeepsTheEditorAndItsRecordingAsTheUserLeftThem) {
    ShortcutEditor& editor = openEditor();
    QDialog* dialog = view->sheets().presented(QuickActionsSettingsPage::shortcutEditorSheet);
    click(*editor.nameField());
    type("ab");
    ASSERT_EQ(editor.nameField()->text(), QStringLiteral("ab"));
    click(*editor.modePicker()->segment(1));
    ASSERT_NE(editor.recorder(), nullptr);
    ShortcutCaptureView& field = editor.recorder()->field();
    click(field);
    pressKeys("cmd+shift+k");
    ASSERT_EQ(editor.model().key(), ShortcutKey(40, modifier::command | modifier::shift, "⇧⌘K"));
    click(field);
    ASSERT_TRUE(field.capture().recording());

    for (const Away away : everyWayAway) {
        putWindowAway(away);
        EXPECT_FALSE(field.hasTap()) << "no key is taken while the window is away";
        pressKeys("ctrl+j");
        EXPECT_EQ(editor.model().key(), ShortcutKey(40, modifier::command | modifier::shift, "⇧⌘K"));
        bringWindowBack();
        ASSERT_EQ(view->sheets().presented(QuickActionsSettingsPage::shortcutEditorSheet), dialog);
        ASSERT_EQ(sheet<ShortcutEditor>(QuickActionsSettingsPage::shortcutEditorSheet), &editor);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(editor.nameField()->text(), QStringLiteral("ab"));
        EXPECT_EQ(editor.modePicker()->selectedIndex(), 1);
        EXPECT_EQ(editor.keyChip()->text(), QStringLiteral("⇧⌘K"));
        EXPECT_TRUE(field.capture().recording()) << describe(away);
        EXPECT_TRUE(field.hasTap());
        EXPECT_TRUE(field.hasFocus());
    }
    pressKeys("ctrl+j");
    EXPECT_EQ(editor.model().key(), ShortcutKey(38, modifier::control, "⌃J"));
    EXPECT_FALSE(field.capture().recording());

    // The icon search and the expanded catalog stay too; collapsing the picker starts it over.
    click(*editor.iconToggle());
    IconPickerView* picker = editor.iconPicker();
    ASSERT_TRUE(picker->isVisibleTo(&editor));
    click(*picker->expandButton());
    click(*picker->searchField());
    type("arrow");
    const auto found = picker->shownIcons();
    ASSERT_FALSE(found.empty());
    putWindowAway(Away::orderedOut);
    bringWindowBack();
    EXPECT_EQ(picker->searchField()->text(), QStringLiteral("arrow"));
    EXPECT_TRUE(picker->isExpanded());
    EXPECT_EQ(picker->shownIcons(), found);
    click(*editor.iconToggle());
    click(*editor.iconToggle());
    EXPECT_EQ(picker->searchField()->text(), QString());
    EXPECT_FALSE(picker->isExpanded());
}

// The name field keeps the focus through clicks on the controls beside it and through the
// main-key list opening and closing with Escape (which closes only the list): typing goes on
// into the name. The editor opens with its name field focused.
TEST_F(ShortcutEditorSheetTest, TypingStaysInTheNameFieldThroughClicksOnTheControls) {
    ShortcutEditor& editor = openEditor();
    QLineEdit* name = editor.nameField();
    EXPECT_TRUE(name->hasFocus()) << "the first field has the focus at once";
    click(*name);
    type("a");
    GlassDropdown<std::uint16_t>& mainKey = *editor.mainKeyPicker();
    click(mainKey);
    ASSERT_TRUE(mainKey.isOpen());
    EXPECT_TRUE(name->hasFocus()) << "the open list leaves the focus in the field";
    QTest::keyClick(windowHandle(), Qt::Key_Escape);
    settle();
    EXPECT_FALSE(mainKey.isOpen());
    ASSERT_TRUE(view->state().editingShortcut) << "Escape closed only the list";
    type("b");
    EXPECT_EQ(name->text(), QStringLiteral("ab"));

    // A key chosen from the list with the arrows and Return, then a keycap.
    click(mainKey);
    const auto a = std::ranges::find(mainKey.items(), std::string("A"), &GlassDropdownItem<std::uint16_t>::title);
    for (auto row = mainKey.items().begin(); row != a; ++row) QTest::keyClick(windowHandle(), Qt::Key_Down);
    QTest::keyClick(windowHandle(), Qt::Key_Return);
    settle();
    ASSERT_EQ(mainKey.title(), QStringLiteral("A"));
    ASSERT_TRUE(view->state().editingShortcut) << "Return chose in the list, and saved nothing";
    type("c");
    click(*editor.keycap(0));
    ASSERT_EQ(editor.keyChip()->text(), QStringLiteral("⌘A"));
    type("d");
    click(*editor.modePicker()->segment(1));
    type("e");
    click(*editor.modePicker()->segment(0));
    click(*editor.iconToggle());
    type("f");
    EXPECT_EQ(name->text(), QStringLiteral("abcdef"));
    EXPECT_TRUE(name->hasFocus());
}

// Tab stops only where the focus shows: the text fields. The lists scroll with the wheel, a
// drag or their bar, and the recording field starts with a click.
TEST_F(ShortcutEditorSheetTest, TabStopsOnTheTextFieldsOnly) {
    ShortcutEditor& editor = openEditor();
    click(*editor.modePicker()->segment(1));
    ASSERT_TRUE(editor.recorder()->field().isVisible());
    EXPECT_EQ(testing::tabStops(*window, 3), std::vector<QWidget*>{editor.nameField()});

    click(*editor.modePicker()->segment(0));
    click(*editor.iconToggle());
    click(*editor.iconPicker()->expandButton());
    EXPECT_EQ(testing::tabStops(*window, 6),
              (std::vector<QWidget*>{editor.iconPicker()->searchField(), editor.nameField()}));
    QScrollBar* icons = editor.iconPicker()->gridArea()->verticalScrollBar();
    ASSERT_GT(icons->maximum(), 0);
    icons->setValue(0);
    for (const Qt::Key key : {Qt::Key_PageDown, Qt::Key_Down}) QTest::keyClick(windowHandle(), key);
    EXPECT_EQ(icons->value(), 0) << "no list takes the keys unseen";
}

// The recommended shortcuts have no text field: Tab stops nowhere and no key scrolls the
// list unseen.
TEST_F(ShortcutEditorSheetTest, TheRecommendedShortcutsTakeNoFocus) {
    click(*page().presetsButton());
    RecommendedPresetsView* presets = sheet<RecommendedPresetsView>(QuickActionsSettingsPage::presetSheet);
    ASSERT_NE(presets, nullptr);
    auto* list = presets->findChild<QScrollArea*>();
    ASSERT_NE(list, nullptr);
    ASSERT_GT(list->verticalScrollBar()->maximum(), 0) << "the catalog does not fit";
    click(*presets->keyLabel(presets->catalog().presets().front().id));
    for (const QWidget* stop : testing::tabStops(*window, 4)) {
        EXPECT_FALSE(presets->isAncestorOf(stop)) << stop->metaObject()->className();
    }
    for (const Qt::Key key : {Qt::Key_PageDown, Qt::Key_Down, Qt::Key_End}) QTest::keyClick(windowHandle(), key);
    EXPECT_EQ(list->verticalScrollBar()->value(), 0);
}

}  // namespace
}  // namespace dorvane
