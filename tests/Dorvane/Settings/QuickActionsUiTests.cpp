#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include <QAccessible>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

#include "Dorvane/Editors/EditorParts.h"
#include "Dorvane/Editors/IconPickerView.h"
#include "Dorvane/Editors/ShortcutEditor.h"
#include "Dorvane/InputViews/ShortcutRecorder.h"
#include "Dorvane/Settings/BuiltinIconSheet.h"
#include "Dorvane/Settings/OperationCardView.h"
#include "Dorvane/Settings/OperationDragController.h"
#include "Dorvane/Settings/OperationDragHandle.h"
#include "Dorvane/Settings/QuickActionsSettingsPage.h"
#include "Dorvane/Settings/RecommendedPresetsView.h"
#include "Dorvane/Visual/SegmentedPicker.h"
#include "Dorvane/Visual/StyledButton.h"
#include "Dorvane/Visual/ToggleSwitch.h"
#include "DorvaneCore/Support/AtomicFile.h"
#include "tests/Dorvane/Settings/QuickActionsUiSupport.h"

namespace dorvane {
namespace {

using testing::Move;
using testing::QuickActionsTest;
using testing::centreOf;
using testing::click;
using testing::settle;

const std::string A = "builtin:runningApplications";
const std::string B = "builtin:centerWindow";
const std::string C = "builtin:fillWindow";
const std::string D = "builtin:minimizeWindow";

TEST_F(QuickActionsTest, DraggingAGripMovesTheOperationLiveIntoEachCardEnteredAndKeepsTheCards) {
    QuickActionsSettingsPage& shown = page();
    ASSERT_EQ(order(), (std::vector<std::string>{A, B, C, D}));
    OperationCardView* dragged = shown.card(A);
    const std::set<OperationCardView*> cards{shown.card(A), shown.card(B), shown.card(C), shown.card(D)};

    const QPoint start = centreOf(*dragged->grip());
    QTest::mousePress(windowHandle(), Qt::LeftButton, {}, start);
    QTest::mouseMove(windowHandle(), start + QPoint(2, 2));  // 2.8 points: not yet
    EXPECT_FALSE(shown.drag().isDragging());
    EXPECT_FALSE(view->state().draggedOperationID);
    QTest::mouseMove(windowHandle(), start + QPoint(3, 0));
    EXPECT_EQ(view->state().draggedOperationID, A);
    ASSERT_NE(shown.drag().picture(), nullptr);
    EXPECT_TRUE(shown.drag().picture()->isVisible());
    EXPECT_TRUE(moves.empty());

    QTest::mouseMove(windowHandle(), centreOf(*shown.card(B)));
    EXPECT_EQ(moves, (std::vector<Move>{{{0}, 2}}));
    EXPECT_EQ(order(), (std::vector<std::string>{B, A, C, D}));
    // The pointer now lies over the dragged card itself, which moves nothing.
    QTest::mouseMove(windowHandle(), centreOf(*shown.card(A)) + QPoint(1, 0));
    QTest::mouseMove(windowHandle(), centreOf(*shown.card(C)));
    EXPECT_EQ(moves, (std::vector<Move>{{{0}, 2}, {{1}, 3}}));
    EXPECT_EQ(order(), (std::vector<std::string>{B, C, A, D}));
    QTest::mouseRelease(windowHandle(), Qt::LeftButton, {}, centreOf(*shown.card(C)));
    settle();

    EXPECT_FALSE(view->state().draggedOperationID);
    EXPECT_FALSE(shown.drag().isDragging());
    EXPECT_EQ(shown.card(A), dragged);
    EXPECT_EQ((std::set<OperationCardView*>{shown.card(A), shown.card(B), shown.card(C), shown.card(D)}), cards);
    EXPECT_EQ(view->state().operationCardSizes.at(A).height, dragged->height());
}

TEST_F(QuickActionsTest, EscapeEndsTheDragAndKeepsTheMovesMadeSoFar) {
    QuickActionsSettingsPage& shown = page();
    const QPoint start = centreOf(*shown.card(A)->grip());
    QTest::mousePress(windowHandle(), Qt::LeftButton, {}, start);
    QTest::mouseMove(windowHandle(), start + QPoint(0, 4));
    QTest::mouseMove(windowHandle(), centreOf(*shown.card(B)));
    QTest::keyClick(windowHandle(), Qt::Key_Escape);
    EXPECT_FALSE(view->state().draggedOperationID);
    QTest::mouseMove(windowHandle(), centreOf(*shown.card(D)));
    QTest::mouseRelease(windowHandle(), Qt::LeftButton, {}, centreOf(*shown.card(D)));
    settle();
    EXPECT_EQ(moves, (std::vector<Move>{{{0}, 2}}));
    EXPECT_EQ(order(), (std::vector<std::string>{B, A, C, D}));
}

// With the window's drag-to-scroll attached, a finger's drag on a heading scrolls the page,
// the same drag on a grip drags the card and leaves the page where it was.
TEST_F(QuickActionsTest, DraggingAGripNeverScrollsThePage) {
    panel.edit([](Preferences& p) {
        for (int i = 0; i < 40; ++i) {
            p.namedShortcuts.emplace_back("s" + std::to_string(i), "快捷键 " + std::to_string(i), ShortcutKey(8, modifier::command, "⌘C"));
        }
    });
    QuickActionsSettingsPage& shown = page();
    QScrollBar* bar = shown.scrollArea()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 100);
    OperationCardView* first = shown.shownCards().front();
    std::vector<std::string> dragged;
    auto fingerDrag = [&](QWidget& from) {
        const QPoint start = centreOf(from);
        QTest::mousePress(windowHandle(), Qt::LeftButton, {}, start);
        for (int step = 1; step <= 6; ++step) QTest::mouseMove(windowHandle(), start - QPoint(0, 10 * step));
        dragged.push_back(view->state().draggedOperationID.value_or(""));
        QTest::mouseRelease(windowHandle(), Qt::LeftButton, {}, start - QPoint(0, 60));
        settle();
    };
    fingerDrag(*first->heading());
    const int scrolled = bar->value();
    EXPECT_GT(scrolled, 0);
    fingerDrag(*first->grip());
    EXPECT_EQ(bar->value(), scrolled);
    EXPECT_EQ(dragged, (std::vector<std::string>{"", first->card().id}));
    EXPECT_FALSE(view->state().draggedOperationID);
}

// "前移" and "后移" move one place, never past either end.
TEST_F(QuickActionsTest, TheAccessibilityActionsMoveOnePlace) {
    QuickActionsSettingsPage& shown = page();
    auto act = [&](const std::string& id, const char* action) {
        QAccessibleInterface* card = QAccessible::queryAccessibleInterface(shown.card(id));
        ASSERT_NE(card, nullptr);
        ASSERT_NE(card->actionInterface(), nullptr);
        EXPECT_EQ(card->actionInterface()->actionNames(), (QStringList{QStringLiteral("前移"), QStringLiteral("后移")}));
        card->actionInterface()->doAction(QString::fromUtf8(action));
    };
    act(D, "后移");
    act(A, "前移");
    EXPECT_TRUE(moves.empty());
    act(C, "前移");
    act(A, "后移");
    EXPECT_EQ(moves, (std::vector<Move>{{{2}, 1}, {{0}, 2}}));
    EXPECT_EQ(order(), (std::vector<std::string>{C, A, B, D}));
}

TEST_F(QuickActionsTest, CardsShowTheirOperationAndTheirSwitchesCallTheModel) {
    panel.edit([](Preferences& p) {
        p.namedShortcuts = {NamedShortcut("copy", "复制", ShortcutKey(8, modifier::command, "C"), NamedShortcut::Mode::press,
                                          ShortcutIcon::copy, false)};
        p.floatingActionIcons["fillWindow"] = "star";
    });
    QuickActionsSettingsPage& shown = page();
    OperationCardView* copy = shown.card("shortcut:copy");
    OperationCardView* fill = shown.card(C);
    EXPECT_EQ(copy->heading()->secondLine(), QStringLiteral("⌘C"));
    EXPECT_EQ(fill->heading()->secondLine(), QString());
    EXPECT_EQ(fill->card().symbol, "star");
    std::vector<std::string> toggles;
    panel.model.onShortcutToggle = [&](const std::string& id, bool on) { toggles.push_back(id + (on ? " on" : " off")); };
    panel.model.onFloatingActionToggle = [&](FloatingAction action, bool on) {
        toggles.push_back(std::string(rawValue(action)) + (on ? " on" : " off"));
    };
    click(*copy->toggle());
    click(*fill->toggle());
    EXPECT_EQ(toggles, (std::vector<std::string>{"copy on", "fillWindow off"}));
}

// "添加操作" without the permission opens the guide; once it is granted the editor opens,
// for a new shortcut (no delete). A stored shortcut's pencil opens it with delete.
TEST_F(QuickActionsTest, AddingWaitsForThePermissionAndEditingAStoredShortcutOffersDelete) {
    panel.edit([](Preferences& p) { p.namedShortcuts = {NamedShortcut("copy", "复制", ShortcutKey(8, modifier::command, "⌘C"))}; });
    QuickActionsSettingsPage& shown = page();
    click(*shown.addOperationButton());
    EXPECT_TRUE(tracker->isGuideOpen());
    EXPECT_EQ(sheet<ShortcutEditor>(QuickActionsSettingsPage::shortcutEditorSheet), nullptr);
    tool->permissionsAdmin().set(host::Permission::accessibility, true);
    pass(0.25);
    ShortcutEditor* added = sheet<ShortcutEditor>(QuickActionsSettingsPage::shortcutEditorSheet);
    ASSERT_NE(added, nullptr);
    EXPECT_FALSE(added->deleteButton()->isVisibleTo(added));
    EXPECT_TRUE(added->unsetLabel()->isVisibleTo(added));
    EXPECT_FALSE(added->saveButton()->isEnabled());

    // The recording field takes the next combination from the host's key events.
    click(*added->modePicker()->segment(1));
    ASSERT_NE(added->recorder(), nullptr);
    ASSERT_TRUE(added->recorder()->isVisibleTo(added));
    click(added->recorder()->field());
    ASSERT_TRUE(added->recorder()->field().capture().recording());
    pressKeys("cmd+shift+k");
    EXPECT_EQ(added->model().key(), ShortcutKey(40, modifier::command | modifier::shift, "⇧⌘K"));
    EXPECT_FALSE(added->recorder()->field().capture().recording());
    QTest::keyClicks(added->nameField(), QStringLiteral("Delete line"));
    EXPECT_TRUE(added->saveButton()->isEnabled());

    click(*added->cancelButton());
    EXPECT_FALSE(view->state().editingShortcut);
    click(*shown.card("shortcut:copy")->pencil());
    ShortcutEditor* editing = sheet<ShortcutEditor>(QuickActionsSettingsPage::shortcutEditorSheet);
    ASSERT_NE(editing, nullptr);
    EXPECT_TRUE(editing->deleteButton()->isVisibleTo(editing));
    EXPECT_EQ(editing->keyChip()->text(), QStringLiteral("⌘C"));

    // The delete alert hangs from the settings window above the editor's sheet, the dimming
    // between them: Return and Escape keep the shortcut, only "删除" deletes it.
    panel.calls.clear();
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        click(*editing->deleteButton());
        SheetAlert* alert = editing->deleteAlert();
        ASSERT_NE(alert, nullptr);
        EXPECT_EQ(alert->text(), QStringLiteral("删除「复制」？"));
        testing::expectAlertHangsFromWindow(*alert, *view, view->sheets().dimming(),
                                            {QStringLiteral("取消"), QStringLiteral("删除")});
        QWidget* sheetWidget = view->sheets().presented(QuickActionsSettingsPage::shortcutEditorSheet);
        EXPECT_EQ(view->childAt(sheetWidget->geometry().bottomLeft() + QPoint(8, -8)), view->sheets().dimming())
            << "the sheet lies under the dimming while the alert shows";
        QTest::keyClick(alert, key);
        settle();
        EXPECT_EQ(editing->deleteAlert(), nullptr);
        EXPECT_TRUE(view->sheets().dimming()->isVisible()) << "the sheet still dims the window";
        EXPECT_TRUE(sheetWidget->isAncestorOf(view->childAt(sheetWidget->geometry().bottomLeft() + QPoint(8, -8))) ||
                    view->childAt(sheetWidget->geometry().bottomLeft() + QPoint(8, -8)) == sheetWidget)
            << "the sheet is on top again";
    }
    EXPECT_TRUE(panel.calls.empty());
    click(*editing->deleteButton());
    for (QAbstractButton* button : editing->deleteAlert()->buttons()) {
        if (button->text() == QStringLiteral("删除")) button->click();
    }
    settle();
    EXPECT_EQ(panel.calls, std::vector<std::string>{"onDeleteShortcut(copy)"});
}

// Return saves what the editor holds (a refusal keeps it open with its message); Escape
// cancels without a call; the editor never grows past the window it lies over.
TEST_F(QuickActionsTest, TheEditorSavesOnReturnAndCancelsOnEscape) {
    tool->permissionsAdmin().set(host::Permission::accessibility, true);
    panel.edit([](Preferences& p) {
        p.namedShortcuts = {NamedShortcut("pad", "  小键盘  ", ShortcutKey(82, 0, "0"), NamedShortcut::Mode::hold,
                                          ShortcutIcon::keyboard, true)};
    });
    QuickActionsSettingsPage& shown = page();
    click(*shown.card("shortcut:pad")->pencil());
    ShortcutEditor* editor = sheet<ShortcutEditor>(QuickActionsSettingsPage::shortcutEditorSheet);
    ASSERT_NE(editor, nullptr);
    QWidget* dialog = editor->window();
    // A recorded key the manual table does not offer: no main key is selected.
    EXPECT_EQ(editor->mainKeyPicker()->selection(), std::nullopt);
    EXPECT_EQ(editor->mainKeyPicker()->title(), QStringLiteral("请选择按键…"));
    EXPECT_TRUE(editor->keycapRow()->isEnabled());
    EXPECT_LE(editor->height(), 720 - 40);

    accepts = false;
    QTest::keyClick(dialog->windowHandle(), Qt::Key_Return);
    ASSERT_EQ(saved.size(), 1U);
    EXPECT_EQ(saved[0].name, "小键盘");
    EXPECT_EQ(saved[0].mode, NamedShortcut::Mode::press);
    EXPECT_EQ(saved[0].key, ShortcutKey(82, 0, "0"));
    ASSERT_EQ(sheet<ShortcutEditor>(QuickActionsSettingsPage::shortcutEditorSheet), editor);
    EXPECT_TRUE(editor->errorLabel()->isVisibleTo(editor));
    EXPECT_EQ(editor->errorLabel()->text(), QStringLiteral("保存失败，请重试"));

    // A main key chosen from the table, then a keycap: the chip shows the combination.
    GlassDropdown<std::uint16_t>& mainKey = *editor->mainKeyPicker();
    const auto k = std::ranges::find(mainKey.items(), std::string("K"), &GlassDropdownItem<std::uint16_t>::title);
    ASSERT_NE(k, mainKey.items().end());
    EXPECT_EQ(mainKey.items().front().title, "请选择按键…");
    click(mainKey);
    ASSERT_TRUE(mainKey.isOpen());
    mainKey.controller().commit(static_cast<int>(k - mainKey.items().begin()));
    EXPECT_EQ(mainKey.selection(), std::optional<std::uint16_t>(40));
    EXPECT_EQ(mainKey.title(), QStringLiteral("K"));
    click(*editor->keycap(0));
    EXPECT_EQ(editor->keyChip()->text(), QStringLiteral("⌘K"));

    accepts = true;
    QTest::keyClick(dialog->windowHandle(), Qt::Key_Return);
    ASSERT_EQ(saved.size(), 2U);
    EXPECT_EQ(saved[1].key, ShortcutKey(40, modifier::command, "⌘K"));
    settle();
    EXPECT_EQ(view->sheets().presented(QuickActionsSettingsPage::shortcutEditorSheet), nullptr);
    EXPECT_FALSE(view->state().editingShortcut);

    click(*shown.card("shortcut:pad")->pencil());
    ShortcutEditor* again = sheet<ShortcutEditor>(QuickActionsSettingsPage::shortcutEditorSheet);
    ASSERT_NE(again, nullptr);
    const int collapsed = again->height();
    click(*again->iconToggle());
    EXPECT_TRUE(again->iconPicker()->isVisibleTo(again));
    click(*again->iconPicker()->expandButton());
    EXPECT_GT(again->height(), collapsed);
    EXPECT_LE(again->height(), 720 - 40);
    QTest::keyClick(again->window()->windowHandle(), Qt::Key_Escape);
    settle();
    EXPECT_FALSE(view->state().editingShortcut);
    EXPECT_EQ(saved.size(), 2U);
}

// The icon sheet: the action's icon marked, a refusal kept open with its message, which is
// gone when the sheet opens again; a choice that is stored closes it.
TEST_F(QuickActionsTest, ARefusedIconShowsItsFailureUntilTheSheetOpensAgain) {
    QuickActionsSettingsPage& shown = page();
    click(*shown.card(C)->pencil());
    BuiltinIconSheet* icons = sheet<BuiltinIconSheet>(QuickActionsSettingsPage::builtinIconSheet);
    ASSERT_NE(icons, nullptr);
    IconCell* current = icons->picker()->cell(ShortcutIcon::fillWindow);
    QAccessibleInterface* currentCell = QAccessible::queryAccessibleInterface(current);
    EXPECT_TRUE(currentCell->state().selected);
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(icons->picker()->cell(ShortcutIcon::copy))->state().selected);

    accepts = false;
    click(*icons->picker()->cell(ShortcutIcon::copy));
    EXPECT_TRUE(icons->failureLabel()->isVisibleTo(icons));
    EXPECT_EQ(icons->failureLabel()->text(), QStringLiteral("保存失败，请重试"));
    click(*icons->cancelButton());
    EXPECT_FALSE(view->state().editingBuiltinIcon);

    click(*shown.card(C)->pencil());
    icons = sheet<BuiltinIconSheet>(QuickActionsSettingsPage::builtinIconSheet);
    ASSERT_NE(icons, nullptr);
    EXPECT_FALSE(icons->failureLabel()->isVisibleTo(icons));
    accepts = true;
    // A cell is pressed through the accessibility interface as a click would press it.
    QAccessibleInterface* copyCell = QAccessible::queryAccessibleInterface(icons->picker()->cell(ShortcutIcon::copy));
    EXPECT_EQ(copyCell->role(), QAccessible::Button);
    ASSERT_NE(copyCell->actionInterface(), nullptr);
    copyCell->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    settle();
    EXPECT_FALSE(view->state().editingBuiltinIcon);
    EXPECT_EQ(panel.calls, (std::vector<std::string>{"onFloatingActionIcon(fillWindow, doc.on.doc)",
                                                     "onFloatingActionIcon(fillWindow, doc.on.doc)"}));
    EXPECT_EQ(shown.card(C)->card().symbol, "doc.on.doc");
}

// The picker's cells are made once: searching and expanding only show and hide them.
TEST_F(QuickActionsTest, TheIconPickerShowsItsOneSetOfCells) {
    IconPickerView picker(ShortcutIcon::star, [](ShortcutIcon) {}, [] { return true; });
    auto cellsOf = [&picker] {
        std::set<QWidget*> cells;
        for (QWidget* child : picker.findChildren<QWidget*>()) {
            if (dynamic_cast<IconCell*>(child) != nullptr) cells.insert(child);
        }
        return cells;
    };
    const auto cells = cellsOf();
    QTest::keyClicks(picker.searchField(), QStringLiteral("zzz"));
    EXPECT_TRUE(picker.shownIcons().empty());
    EXPECT_FALSE(picker.emptyResults()->isHidden());
    picker.searchField()->clear();
    picker.expandButton()->click();
    EXPECT_EQ(picker.shownIcons().size(), cells.size());
    EXPECT_EQ(cellsOf(), cells);
}

void writePresets(const std::filesystem::path& folder, const std::vector<std::string>& names) {
    std::string presets;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) presets += ",";
        presets += R"({"id":"preset:)" + std::to_string(i) + R"(","name":")" + names[i] +
                   R"(","key":{"code":8,"modifiers":1048576,"label":"⌘C"},"mode":"press","icon":"doc.on.doc","enabled":true})";
    }
    writeFileAtomically(folder / "shortcut-presets.json",
                        R"({"schemaVersion":1,"updatedAt":"2026-01-01","presets":[)" + presets + "]}");
}

TEST_F(QuickActionsTest, AddingAllSavesTheMissingPresetsInCatalogOrderUnderNewIds) {
    writePresets(folder.path(), {"甲", "乙", "丙", "丁"});
    panel.edit([](Preferences& p) { p.namedShortcuts = {NamedShortcut("mine", "乙", ShortcutKey(1, 0, "S"))}; });
    tool->permissionsAdmin().set(host::Permission::accessibility, true);
    click(*page().presetsButton());
    RecommendedPresetsView* presets = sheet<RecommendedPresetsView>(QuickActionsSettingsPage::presetSheet);
    ASSERT_NE(presets, nullptr);
    EXPECT_TRUE(presets->addedMark("preset:1")->isVisibleTo(presets));
    EXPECT_EQ(presets->keyLabel("preset:0")->text(), QStringLiteral("⌘C"));
    EXPECT_EQ(presets->addAllButton()->text(), QStringLiteral("全部添加 (3)"));
    click(*presets->addAllButton());
    std::vector<std::string> names;
    std::set<std::string> ids;
    for (const auto& shortcut : saved) {
        names.push_back(shortcut.name);
        ids.insert(shortcut.id);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"甲", "丙", "丁"}));
    EXPECT_EQ(ids.size(), 3U);
    EXPECT_FALSE(ids.contains("preset:0"));
    EXPECT_FALSE(presets->addAllButton()->isVisibleTo(presets));
    EXPECT_TRUE(presets->addedMark("preset:3")->isVisibleTo(presets));
}

// Without the permission nothing is added at once; the preset is added once it is granted,
// also after the sheet has closed.
TEST_F(QuickActionsTest, AnAddWaitingForThePermissionStillSavesAfterTheSheetClosed) {
    writePresets(folder.path(), {"甲"});
    click(*page().presetsButton());
    RecommendedPresetsView* presets = sheet<RecommendedPresetsView>(QuickActionsSettingsPage::presetSheet);
    ASSERT_NE(presets, nullptr);
    click(*presets->addButton("preset:0"));
    EXPECT_TRUE(tracker->isGuideOpen());
    click(*presets->doneButton());
    settle();
    EXPECT_FALSE(view->state().showingPresetSheet);
    EXPECT_TRUE(saved.empty());
    tool->permissionsAdmin().set(host::Permission::accessibility, true);
    pass(0.25);
    ASSERT_EQ(saved.size(), 1U);
    EXPECT_EQ(saved[0].name, "甲");
}

}  // namespace
}  // namespace dorvane
