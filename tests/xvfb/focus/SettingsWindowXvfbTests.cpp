#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QTest>
#include <QWindow>

#include "Dorvane/QtHost/QtSettingsWindows.h"
#include "Dorvane/Settings/AutomaticResolutionSettings.h"
#include "Dorvane/Settings/ConnectionSettingsPage.h"
#include "Dorvane/Settings/FixedSettingsPermissions.h"
#include "Dorvane/Settings/SettingsView.h"
#include "Dorvane/Settings/SettingsViews.h"
#include "Dorvane/ShellBase/ControlPanelModel.h"
#include "tests/Support/QtTestApplication.h"
#include "tests/Support/TemporaryFolder.h"

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

}  // namespace
}  // namespace dorvane
