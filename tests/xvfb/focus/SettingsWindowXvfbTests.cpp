#include <gtest/gtest.h>

#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QWindow>

#include "Dorvane/Editors/ShortcutEditor.h"
#include "Dorvane/QtHost/QtSettingsWindows.h"
#include "Dorvane/Settings/AutomaticResolutionSettings.h"
#include "Dorvane/Settings/ConnectionSettingsPage.h"
#include "Dorvane/Settings/FixedSettingsPermissions.h"
#include "Dorvane/Settings/QuickActionsSettingsPage.h"
#include "Dorvane/Visual/StyledButton.h"
#include "Dorvane/Settings/SettingsView.h"
#include "Dorvane/Settings/SettingsViews.h"
#include "Dorvane/ShellBase/ControlPanelModel.h"
#include "tests/Support/QtTestApplication.h"
#include "tests/Support/TemporaryFolder.h"
#include "tests/xvfb/focus/XInput.h"

namespace dorvane {
namespace {

// The settings window as the program shows it, under a real X server: fixed at 900 × 720,
// active, and its dropdown list, opened with the pointer, follows the keys typed into it.
TEST(SettingsWindowUnderXvfb, IsAFixedActiveWindowWhoseDropdownFollowsTheKeys) {
    QApplication& application = testing::qtApplication();
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    testing::TemporaryFolder folder("corvelle-settings-xvfb");
    ControlPanelModel model;
    Preferences preferences;
    preferences.customPresets = {{"a", "办公", 1280, 720, 100}, {"b", "平板", 2048, 1536, 150}, {"c", "", 1920, 1080, 100}};
    preferences.autoResolutionEnabled = true;
    preferences.autoResolutionPresetID = "a";
    model.setPreferences(preferences);
    std::vector<std::string> chosen;
    model.onAutoResolutionPreset = [&chosen](const std::string& id) { chosen.push_back(id); };

    qthost::QtSettingsWindows windows(
        std::make_unique<SettingsViews>(std::make_unique<FixedSettingsPermissions>(true),
                                        std::make_unique<system::XdgAutostartLoginItems>(folder.path(), "/opt/corvelle"),
                                        folder.path()),
        nullptr);
    windows.showSettings(model, false, SettingsPage::connection);
    QWidget* window = windows.settingsWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("设置"));
    EXPECT_EQ(window->size(), QSize(900, 720));
    EXPECT_EQ(window->windowHandle()->minimumSize(), window->windowHandle()->maximumSize());

    auto* view = dynamic_cast<SettingsView*>(windows.settingsContent());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->size(), QSize(900, 720));
    auto* page = dynamic_cast<ConnectionSettingsPage*>(view->currentPage());
    ASSERT_NE(page, nullptr);
    auto* dropdown = page->settings()->presetDropdown();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, dropdown->mapTo(window, dropdown->rect().center()));
    ASSERT_TRUE(QTest::qWaitFor([dropdown] { return dropdown->controller().state().isOpen(); }, 10000));
    QGuiApplication::sync();
    EXPECT_EQ(QGuiApplication::focusWindow(), window->windowHandle()) << "the open list takes no focus";
    QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_Down);
    QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&chosen] { return !chosen.empty(); }, 10000));
    EXPECT_EQ(chosen, std::vector<std::string>{"b"});
    EXPECT_FALSE(dropdown->controller().state().isOpen());
    (void)application;
}

// The settings window under a real X server with the sheet of "添加操作" open, driven by a
// person's clicks (through the X server) and keys (to the window that has the focus).
class ShortcutSheetUnderXvfb : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
        windows.showSettings(model, false, SettingsPage::floating);
        window = windows.settingsWindow();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        view = dynamic_cast<SettingsView*>(windows.settingsContent());
        ASSERT_NE(view, nullptr);
        auto* page = dynamic_cast<QuickActionsSettingsPage*>(view->currentPage());
        ASSERT_NE(page, nullptr);
        clickOn(*page->addOperationButton());
        ASSERT_TRUE(QTest::qWaitFor([this] { return sheet() != nullptr; }, 10000));
        editor = sheet()->findChild<ShortcutEditor*>();
        ASSERT_NE(editor, nullptr);
        ASSERT_TRUE(QTest::qWaitFor([this] { return editor->nameField()->hasFocus(); }, 10000))
            << "the sheet opens with its name field focused";
    }

    QDialog* sheet() const { return view->sheets().presented(QuickActionsSettingsPage::shortcutEditorSheet); }

    static void clickOn(QWidget& widget) {
        testing::clickThroughX(widget, widget.rect().center());
        QGuiApplication::sync();
    }

    // Types `letters` into the window that has the keyboard, and says whether they reached
    // the name field, after what it held.
    bool typingReachesTheName(const char* letters) {
        QGuiApplication::sync();
        QTest::qWait(100);
        if (QGuiApplication::focusWindow() != window->windowHandle()) return false;
        const QString before = editor->nameField()->text();
        testing::typeIntoFocus(letters);
        return editor->nameField()->text() == before + QString::fromUtf8(letters);
    }

    void showAgain() {
        windows.showSettings(model, false, std::nullopt);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }

    QApplication& application = testing::qtApplication();
    testing::TemporaryFolder folder{"corvelle-sheet-xvfb"};
    ControlPanelModel model;
    qthost::QtSettingsWindows windows{
        std::make_unique<SettingsViews>(std::make_unique<FixedSettingsPermissions>(true),
                                        std::make_unique<system::XdgAutostartLoginItems>(folder.path(), "/opt/corvelle"),
                                        folder.path()),
        nullptr};
    QWidget* window = nullptr;
    SettingsView* view = nullptr;
    ShortcutEditor* editor = nullptr;
};

// The name typed stays in the sheet when the window is closed with its close button, or
// ordered out as for the resolution panel, and "设置…" shows it again: the same sheet, and
// the typing goes on into the name.
TEST_F(ShortcutSheetUnderXvfb, TheTypedNameOutlivesTheWindowClosedOrOrderedOut) {
    clickOn(*editor->nameField());
    ASSERT_TRUE(typingReachesTheName("ab"));
    QDialog* shown = sheet();

    testing::closeThroughX(*window);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window->isVisible(); }, 10000)) << "closing hides the window";
    showAgain();
    ASSERT_EQ(sheet(), shown);
    EXPECT_EQ(editor->nameField()->text(), QStringLiteral("ab"));
    EXPECT_TRUE(typingReachesTheName("c"));

    windows.orderSettingsOut();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window->isVisible(); }, 10000));
    showAgain();
    ASSERT_EQ(sheet(), shown);
    EXPECT_EQ(editor->nameField()->text(), QStringLiteral("abc"));
    EXPECT_TRUE(typingReachesTheName("d"));
}

// The main-key list opened with a click and closed with Escape, a key chosen from it with
// the arrows and Return, a click on a keycap: the name field keeps the keyboard throughout.
TEST_F(ShortcutSheetUnderXvfb, TypingReachesTheNameAfterTheKeyListAndAKeycap) {
    clickOn(*editor->nameField());
    ASSERT_TRUE(typingReachesTheName("a"));
    GlassDropdown<std::uint16_t>& mainKey = *editor->mainKeyPicker();
    clickOn(mainKey);
    ASSERT_TRUE(QTest::qWaitFor([&mainKey] { return mainKey.isOpen(); }, 10000));
    QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&mainKey] { return !mainKey.isOpen(); }, 10000));
    EXPECT_NE(sheet(), nullptr) << "Escape closed the list only";
    EXPECT_TRUE(typingReachesTheName("b"));

    clickOn(mainKey);
    ASSERT_TRUE(QTest::qWaitFor([&mainKey] { return mainKey.isOpen(); }, 10000));
    const auto a = std::ranges::find(mainKey.items(), std::string("A"), &GlassDropdownItem<std::uint16_t>::title);
    for (auto row = mainKey.items().begin(); row != a; ++row) QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_Down);
    QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&mainKey] { return mainKey.title() == QStringLiteral("A"); }, 10000));
    EXPECT_TRUE(typingReachesTheName("c"));
    clickOn(*editor->keycap(0));
    ASSERT_TRUE(QTest::qWaitFor([this] { return editor->keyChip()->text() == QStringLiteral("⌘A"); }, 10000));
    EXPECT_TRUE(typingReachesTheName("d"));
    EXPECT_EQ(editor->nameField()->text(), QStringLiteral("abcd"));
}

}  // namespace
}  // namespace dorvane
