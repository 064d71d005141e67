#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>

#include "Dorvane/Editors/ShortcutApplicationPicker.h"
#include "Dorvane/Editors/ShortcutEditor.h"
#include "Dorvane/Settings/ApplicationShortcutsSettings.h"
#include "Dorvane/Visual/DropdownMenuView.h"
#include "Dorvane/Visual/GlassMenu.h"
#include "DorvaneCore/Visual/GlassDropdownMetrics.h"
#include "Dorvane/Visual/StyledButton.h"
#include "Dorvane/Visual/ToggleSwitch.h"
#include "tests/Dorvane/Settings/QuickActionsUiSupport.h"
#include "tests/Support/ApplicationsHost.h"

namespace dorvane {
namespace {

using testing::click;
using testing::settle;

const std::string kNotes = "com.example.notes";

// The application lists over a machine whose installed applications are a temporary tree,
// scanned on a queue of the test's virtual time.
class ApplicationShortcutsTest : public testing::QuickActionsTest {
protected:
    void SetUp() override {
        QuickActionsTest::SetUp();
        editors.installedApplications = &machine.app.installedApplications();
        editors.runningApplications = &machine.app.workspace();
        editors.mainQueue = &scheduler.mainQueue();
        editors.scanQueue = &scanQueue;
    }

    ApplicationShortcutsSettings& applications() { return *page().applications(); }

    ShortcutApplicationPicker* openPicker() {
        click(*applications().addApplicationButton());
        return sheet<ShortcutApplicationPicker>(ApplicationShortcutsSettings::pickerSheet);
    }

    std::vector<std::string> rows(ShortcutApplicationPicker& picker) {
        std::vector<std::string> names;
        for (auto* row : picker.shownRows()) names.push_back(row->application().name);
        return names;
    }

    SheetAlert* failure() {
        return qobject_cast<SheetAlert*>(view->sheets().presented(ApplicationShortcutsSettings::failureAlert));
    }

    // Chooses row `row` of an open glass menu with a click on it, as a person would.
    void clickRow(GlassMenu& menu, int row) {
        ASSERT_TRUE(menu.isOpen());
        GlassPanel* list = menu.popup().panel();
        const DropdownMenuView* rows = menu.popup().menu();
        ASSERT_NE(list, nullptr);
        ASSERT_NE(rows, nullptr);
        testing::clickAt(*list, rows->mapTo(list, rows->rowRect(row).center()));
    }

    void rightClick(QWidget& widget) {
        QTest::mouseClick(widget.window()->windowHandle(), Qt::RightButton, {}, testing::centreOf(widget));
        settle();
    }

    testing::ApplicationsHost machine;
    dispatch::Executor& scanQueue = scheduler.makeSerialQueue("application-scan");
};

TEST_F(ApplicationShortcutsTest, TheScanShowsTheSpinnerUntilItIsBackThenOnlyApplicationsNotListed) {
    machine.install("Notes", kNotes);
    machine.install("Mail", "com.example.mail");
    panel.edit([](Preferences& p) {
        p.applicationShortcuts = {{kNotes, "Notes", "/Applications/Notes.app", {}},
                                  {"com.example.mail", "Mail", "/Applications/Mail.app", {}}};
    });
    ShortcutApplicationPicker* picker = openPicker();
    ASSERT_NE(picker, nullptr);
    QTest::keyClicks(picker->searchField(), QStringLiteral("zz"));
    EXPECT_TRUE(picker->spinner()->isVisibleTo(picker));
    EXPECT_FALSE(picker->emptyLabel()->isVisibleTo(picker));
    scheduler.runUntilIdle();
    settle();
    EXPECT_FALSE(picker->spinner()->isVisibleTo(picker));
    picker->searchField()->clear();
    EXPECT_TRUE(picker->emptyLabel()->isVisibleTo(picker));
    EXPECT_EQ(picker->emptyLabel()->text(), QStringLiteral("未找到应用"));

    // Closed before its scan is back: the result finds no sheet and is dropped.
    QTest::keyClick(picker->window()->windowHandle(), Qt::Key_Escape);
    settle();
    EXPECT_FALSE(applications().isChoosingApplication());
    picker = openPicker();
    ASSERT_NE(picker, nullptr);
    click(*picker->cancelButton());
    settle();
    scheduler.runUntilIdle();
    settle();
    EXPECT_EQ(view->sheets().presented(ApplicationShortcutsSettings::pickerSheet), nullptr);
}

// The window coming back finds the picker as it left it: no new scan, the search and the
// list's place kept. The search field has the focus and is the one place Tab stops.
TEST_F(ApplicationShortcutsTest, ThePickerKeepsItsListWhileTheWindowIsAwayAndTabStopsInItsSearch) {
    for (int number = 0; number < 16; ++number) {
        machine.install("App " + std::to_string(number), "com.example.app" + std::to_string(number));
    }
    ShortcutApplicationPicker* picker = openPicker();
    ASSERT_NE(picker, nullptr);
    scheduler.runUntilIdle();
    settle();
    EXPECT_TRUE(picker->searchField()->hasFocus());
    typeIntoWindow("app");
    const std::vector<std::string> listed = rows(*picker);
    ASSERT_EQ(listed.size(), 16u);
    QScrollBar* bar = picker->list()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    bar->setValue(bar->maximum());
    for (const Away away : everyWayAway) {
        putWindowAway(away);
        bringWindowBack();
        ASSERT_EQ(sheet<ShortcutApplicationPicker>(ApplicationShortcutsSettings::pickerSheet), picker);
        EXPECT_FALSE(picker->isLoading()) << "no new scan";
        EXPECT_EQ(picker->searchField()->text(), QStringLiteral("app"));
        EXPECT_EQ(rows(*picker), listed);
        EXPECT_EQ(bar->value(), bar->maximum()) << describe(away);
    }
    EXPECT_EQ(testing::tabStops(*window, 3), std::vector<QWidget*>{picker->searchField()});
}

// A refused save keeps the picker open with its line and shows the alert "保存失败" /
// "请重试"; an accepted one appends the application and closes the picker.
TEST_F(ApplicationShortcutsTest, PickingSavesTheWholeListAndShowsRefusals) {
    machine.install("Notes", kNotes);
    machine.install("Maps", "com.example.maps");
    ShortcutApplicationPicker* picker = openPicker();
    ASSERT_NE(picker, nullptr);
    scheduler.runUntilIdle();
    settle();
    EXPECT_EQ(rows(*picker), (std::vector<std::string>{"Maps", "Notes"}));
    QTest::keyClicks(picker->searchField(), QStringLiteral("EXAMPLE.MA"));
    ASSERT_EQ(rows(*picker), std::vector<std::string>{"Maps"});

    accepts = false;
    click(*picker->shownRows().front());
    EXPECT_TRUE(picker->failureLabel()->isVisibleTo(picker));
    ASSERT_NE(failure(), nullptr);
    EXPECT_EQ(failure()->text(), QStringLiteral("保存失败"));
    EXPECT_EQ(failure()->message(), QStringLiteral("请重试"));
    // Over the picker's sheet, one button "好", which Return and Escape both take.
    testing::expectAlertHangsFromWindow(*failure(), *view, view->sheets().dimming(), {QStringLiteral("好")});
    EXPECT_EQ(failure()->escapeButton(), failure()->defaultButton());
    click(*failure()->buttons().front());
    EXPECT_EQ(failure(), nullptr);
    EXPECT_NE(sheet<ShortcutApplicationPicker>(ApplicationShortcutsSettings::pickerSheet), nullptr);

    accepts = true;
    click(*picker->shownRows().front());
    settle();
    EXPECT_EQ(view->sheets().presented(ApplicationShortcutsSettings::pickerSheet), nullptr);
    ASSERT_EQ(applicationSaves.size(), 2U);
    ASSERT_EQ(applicationSaves.back().size(), 1U);
    EXPECT_EQ(applicationSaves.back()[0].bundleID, "com.example.maps");
    EXPECT_EQ(applicationSaves.back()[0].path, "/Applications/Maps.app");
    ASSERT_NE(applications().card("com.example.maps"), nullptr);
    EXPECT_TRUE(applications().card("com.example.maps")->shownChips().empty());
}

// Chips: the context menu switches a shortcut off and on (dimmed while off), the chevron
// folds the card, the menu removes the application after confirmation.
TEST_F(ApplicationShortcutsTest, ChipsFoldAndSwitchAndTheApplicationIsRemovedAfterConfirmation) {
    panel.edit([](Preferences& p) {
        p.applicationShortcuts = {{kNotes, "Notes", "/Applications/Notes.app",
                                   {NamedShortcut("new", "新建", ShortcutKey(45, modifier::command, "N"))}}};
    });
    ApplicationCardView* card = applications().card(kNotes);
    ASSERT_NE(card, nullptr);
    ASSERT_EQ(card->shownChips().size(), 1U);
    StyledButton* chip = card->shownChips().front();

    rightClick(*chip);
    ASSERT_TRUE(card->chipMenu().isOpen());
    ASSERT_EQ(card->chipMenu().commands().size(), 1U);
    EXPECT_EQ(card->chipMenu().commands()[0].title, QStringLiteral("停用"));
    clickRow(card->chipMenu(), 0);
    EXPECT_FALSE(card->chipMenu().isOpen());
    ASSERT_EQ(applicationSaves.size(), 1U);
    EXPECT_FALSE(applicationSaves[0][0].shortcuts[0].enabled);
    EXPECT_EQ(card->chip("new"), chip);
    EXPECT_NE(chip->graphicsEffect(), nullptr);
    rightClick(*chip);
    ASSERT_TRUE(card->chipMenu().isOpen());
    EXPECT_EQ(card->chipMenu().commands()[0].title, QStringLiteral("启用"));
    QTest::keyClick(view->window()->windowHandle(), Qt::Key_Escape);
    settle();
    EXPECT_FALSE(card->chipMenu().isOpen());
    EXPECT_EQ(applicationSaves.size(), 1U) << "Escape only closes the menu";

    click(*card->chevron());
    EXPECT_FALSE(card->flow()->isVisibleTo(card));
    click(*card->chevron());
    EXPECT_TRUE(card->flow()->isVisibleTo(card));

    // Return and Escape keep the application; only "移除" removes it.
    const std::size_t saves = applicationSaves.size();
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        click(*card->menuButton());
        clickRow(card->menu(), 0);
        auto* alert = qobject_cast<SheetAlert*>(view->sheets().presented(ApplicationShortcutsSettings::removalAlert));
        ASSERT_NE(alert, nullptr);
        EXPECT_EQ(alert->text(), QStringLiteral("移除「Notes」？"));
        testing::expectAlertHangsFromWindow(*alert, *view, view->sheets().dimming(),
                                            {QStringLiteral("取消"), QStringLiteral("移除")});
        QTest::keyClick(alert, key);
        settle();
        EXPECT_EQ(view->sheets().presented(ApplicationShortcutsSettings::removalAlert), nullptr);
    }
    EXPECT_EQ(applicationSaves.size(), saves);
    ASSERT_NE(applications().card(kNotes), nullptr);

    click(*card->menuButton());
    clickRow(card->menu(), 0);
    auto* removal = qobject_cast<SheetAlert*>(view->sheets().presented(ApplicationShortcutsSettings::removalAlert));
    ASSERT_NE(removal, nullptr);
    for (QAbstractButton* button : removal->buttons()) {
        if (button->text() == QStringLiteral("移除")) click(*button);
    }
    settle();
    EXPECT_TRUE(applicationSaves.back().empty());
    EXPECT_EQ(applications().card(kNotes), nullptr);
}

// The card's menus are the kit's glass menus: under their control, never across the
// window's sides and inside the host's screen that holds the window, even where the window
// stands against the screen's right edge (not inside Qt's own smaller screen); as tall as
// their one row; "移除应用" in the destructive colour and "停用" not.
TEST_F(ApplicationShortcutsTest, MenusStayInsideTheWindowAndTheHostScreenBesideTheirControl) {
    // As the application sets them at start: the host's screens, not Qt's offscreen one.
    GlassDropdownPopup::setScreenAreas([this] {
        std::vector<QRect> areas;
        for (const displays::Screen& screen : app->screens().screens()) {
            const displays::Rect& f = screen.visibleFrame;
            areas.push_back(QRectF(f.x, f.y, f.width, f.height).toRect());
        }
        return areas;
    });
    const struct Unset {
        ~Unset() { GlassDropdownPopup::setScreenAreas(nullptr); }
    } unset;
    panel.edit([](Preferences& p) {
        p.applicationShortcuts = {{kNotes, "Notes", "/Applications/Notes.app",
                                   {NamedShortcut("new", "新建", ShortcutKey(45, modifier::command, "N"))}}};
    });
    page();
    const displays::Rect frame = app->screens().screens().front().visibleFrame;
    const QRect visible = QRectF(frame.x, frame.y, frame.width, frame.height).toRect();
    ApplicationCardView* card = applications().card(kNotes);
    ASSERT_NE(card, nullptr);
    const QColor destructive = DesignTokens::Colors::destructive.resolved();
    for (const int left : {visible.right() + 1 - window->width(), visible.center().x() - window->width() / 2}) {
        window->move(left, visible.top());
        settle();
        const QRect windowFrame = window->frameGeometry();
        for (const bool chipMenu : {false, true}) {
            QWidget& control = chipMenu ? static_cast<QWidget&>(*card->shownChips().front()) : *card->menuButton();
            if (chipMenu) {
                rightClick(control);
            } else {
                click(control);
            }
            GlassMenu& menu = chipMenu ? card->chipMenu() : card->menu();
            ASSERT_TRUE(menu.isOpen());
            ASSERT_NE(menu.popup().panel(), nullptr);
            const QRect glass = menu.popup().panel()->glassFrame();
            const QRect trigger(control.mapToGlobal(QPoint(0, 0)), control.size());
            const std::string where = "window at " + std::to_string(left) + ", chip menu " + std::to_string(chipMenu);
            EXPECT_TRUE(visible.contains(glass)) << where;
            EXPECT_GE(glass.left(), windowFrame.left()) << where;
            EXPECT_LE(glass.right(), windowFrame.right()) << where;
            EXPECT_LE(glass.left(), trigger.right()) << where;
            EXPECT_GE(glass.right(), trigger.left()) << where;
            EXPECT_TRUE(glass.top() == trigger.bottom() + 1 + 4 || glass.bottom() + 1 + 4 == trigger.top()) << where;
            EXPECT_EQ(glass.height(), static_cast<int>(GlassDropdownMetrics::menuHeight(1))) << where;
            EXPECT_EQ(testing::showsColour(menu.popup().menu()->grab().toImage(), destructive), !chipMenu) << where;
            menu.close();
            settle();
        }
    }
}

// A card's icon is the one of the bundle where the workspace has the application now, else
// the one at the path stored with it (drawn as the lettered square when there is none).
// Folding lasts only while the page is on screen, and the locations are asked for again
// when it comes back, so an application that moved meanwhile keeps its icon.
TEST_F(ApplicationShortcutsTest, CardsShowTheIconOfWhereTheApplicationIsAndStartExpandedOnThePage) {
    const auto iconOf = [&](const std::string& path) {
        return QString::fromStdString(machine.app.installedApplications().iconFile(path).string());
    };
    const std::string notes = machine.install("Notes", kNotes, host::InstallPlace::applications, "Utilities");
    panel.edit([](Preferences& p) {
        p.applicationShortcuts = {{kNotes, "Notes", "/Applications/Notes.app", {}},
                                  {"com.example.gone", "Gone", "/Applications/Gone.app", {}}};
    });
    ApplicationCardView* card = applications().card(kNotes);
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->iconPath(), iconOf("/Applications/Notes.app"));  // until the workspace answers
    scheduler.runUntilIdle();
    settle();
    EXPECT_EQ(card->iconPath(), iconOf(notes));
    EXPECT_EQ(applications().card("com.example.gone")->iconPath(), iconOf("/Applications/Gone.app"));

    click(*card->chevron());
    EXPECT_FALSE(card->flow()->isVisibleTo(card));
    view->setPage(SettingsPage::general);
    machine.admin().remove(notes);
    const std::string moved = machine.install("Notes", kNotes, host::InstallPlace::home);
    view->setPage(SettingsPage::floating);
    scheduler.runUntilIdle();
    settle();
    EXPECT_TRUE(applications().card(kNotes)->flow()->isVisibleTo(applications().card(kNotes)));
    EXPECT_FALSE(applications().isCollapsed(kNotes));
    EXPECT_EQ(applications().card(kNotes)->iconPath(), iconOf(moved));
}

// Where an application lives was kept until the page was shown again: one moved while the
// page stayed open kept its old icon. It is asked again at each redraw and when the user
// comes back to the program.
TEST_F(ApplicationShortcutsTest, AnApplicationMovedWhileThePageIsOpenShowsItsNewIcon) {
    const auto iconOf = [&](const std::string& path) {
        return QString::fromStdString(machine.app.installedApplications().iconFile(path).string());
    };
    const std::string notes = machine.install("Notes", kNotes, host::InstallPlace::applications, "Utilities");
    page();
    panel.edit([](Preferences& p) { p.applicationShortcuts = {{kNotes, "Notes", "/Applications/Notes.app", {}}}; });
    scheduler.runUntilIdle();
    settle();
    ASSERT_EQ(applications().card(kNotes)->iconPath(), iconOf(notes));

    machine.admin().remove(notes);
    const std::string home = machine.install("Notes", kNotes, host::InstallPlace::home);
    panel.edit([](Preferences& p) { p.applicationShortcutsEnabled = !p.applicationShortcutsEnabled; });
    EXPECT_EQ(applications().card(kNotes)->iconPath(), iconOf(notes)) << "until the workspace answers";
    scheduler.runUntilIdle();
    settle();
    EXPECT_EQ(applications().card(kNotes)->iconPath(), iconOf(home));

    machine.admin().remove(home);
    const std::string back = machine.install("Notes", kNotes, host::InstallPlace::applications);
    Q_EMIT qGuiApp->applicationStateChanged(Qt::ApplicationActive);
    scheduler.runUntilIdle();
    settle();
    EXPECT_EQ(applications().card(kNotes)->iconPath(), iconOf(back));
}

// The editor saves into the application's list; when the application has gone meanwhile it
// logs the save and answers false, so the editor shows its failure and nothing is written.
TEST_F(ApplicationShortcutsTest, SavingIntoAVanishedApplicationIsLoggedAndRefused) {
    tool->permissionsAdmin().set(host::Permission::accessibility, true);
    panel.edit([](Preferences& p) {
        p.applicationShortcuts = {{kNotes, "Notes", "/Applications/Notes.app",
                                   {NamedShortcut("new", "新建", ShortcutKey(45, modifier::command, "N"))}}};
    });
    click(*applications().card(kNotes)->chip("new"));
    ShortcutEditor* editor = sheet<ShortcutEditor>(ApplicationShortcutsSettings::editorSheet);
    ASSERT_NE(editor, nullptr);
    // The name field opens focused with its text selected: typing on goes after it.
    QTest::keyClick(editor->nameField(), Qt::Key_End);
    QTest::keyClicks(editor->nameField(), QStringLiteral(" 2"));
    QTest::keyClick(editor->window()->windowHandle(), Qt::Key_Return);
    settle();
    ASSERT_EQ(applicationSaves.size(), 1U);
    EXPECT_EQ(applicationSaves[0][0].shortcuts[0].name, "新建 2");
    EXPECT_EQ(view->sheets().presented(ApplicationShortcutsSettings::editorSheet), nullptr);

    click(*applications().card(kNotes)->chip("new"));
    editor = sheet<ShortcutEditor>(ApplicationShortcutsSettings::editorSheet);
    ASSERT_NE(editor, nullptr);
    panel.edit([](Preferences& p) { p.applicationShortcuts.clear(); });
    QTest::keyClick(editor->window()->windowHandle(), Qt::Key_Return);
    settle();
    EXPECT_EQ(logged, std::vector<std::string>{"application-shortcut-save missing-application bundle=" + kNotes});
    EXPECT_EQ(applicationSaves.size(), 1U);
    EXPECT_EQ(editor->errorLabel()->text(), QStringLiteral("保存失败，请重试"));
    EXPECT_EQ(failure(), nullptr);
}

}  // namespace
}  // namespace dorvane
