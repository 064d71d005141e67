#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QVBoxLayout>

#include "Dorvane/QtHost/QtMainQueue.h"
#include "Dorvane/Toolbar/FloatingSwitcher.h"
#include "Dorvane/Toolbar/LayoutFlyoutView.h"
#include "Dorvane/Visual/NativeGlassView.h"
#include "Platform/Dispatch/SerialQueue.h"
#include "Platform/Dispatch/SystemClock.h"
#include "Platform/Host/State/HostFixtures.h"
#include "Platform/Host/Store/MemoryHostStore.h"
#include "Platform/Host/SimulatedHost.h"
#include "tests/Support/QtTestApplication.h"
#include "tests/xvfb/focus/XInput.h"

namespace dorvane {
namespace {

// Under a real X server: taps on the expanded toolbar and on a flyout's tile leave the
// keyboard with the window being typed in. The host's display is the X screen's size.
class ToolbarFocusTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
        const QSize screen = QGuiApplication::primaryScreen()->size();
        host->admin().edit([&](host::HostState& state) {
            auto& display = state.displays.front();
            display.notch = false;
            auto mode = display.modes.front();
            mode.info.modeID = 900;
            mode.info.width = screen.width();
            mode.info.height = screen.height();
            display.modes.push_back(mode);
            display.currentModeID = 900;
        });
        toolbar = std::make_unique<FloatingSwitcher>(FloatingSwitcher::Services{
            mainQueue, clock, host->screens(), host->applicationWorkspace(), host->workspace(), host->accessibility(),
            catalog, {},
            ShortcutSender::Services{host->events(), host->pointer(), host->applicationWorkspace(), host->accessibility(),
                                     host->systemSound(), mainQueue, clock, {}, nullptr},
            {}, host->process().pid, nullptr, {}, {}, {}});
        shell::ToolbarCallbacks callbacks;
        callbacks.onAction = [this](FloatingAction action) { heard.emplace_back(rawValue(action)); };
        callbacks.onArrange = [this](windows::WindowArrangement arrangement) { heard.emplace_back(rawValue(arrangement)); };
        toolbar->setCallbacks(std::move(callbacks));
        Preferences preferences;
        preferences.toolbarSide = ToolbarSide::left;
        toolbar->configure(preferences);
        toolbar->reduceMotion = [] { return true; };

        auto* layout = new QVBoxLayout(&window);
        text = new QLineEdit;
        layout->addWidget(text);
        window.setGeometry(300, 200, 360, 120);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        text->setFocus();
    }
    void TearDown() override {
        toolbar.reset();
        catalogQueue.stop();
    }

    bool typingStays(const char* letters) {
        QGuiApplication::sync();
        QTest::qWait(200);
        if (QGuiApplication::focusWindow() != window.windowHandle()) return false;
        const QString before = text->text();
        testing::typeIntoFocus(letters);
        return text->text() == before + QString::fromUtf8(letters);
    }

    QApplication& application = testing::qtApplication();
    dispatch::SystemClock clock;
    qthost::QtMainQueue mainQueue;
    dispatch::SerialQueue catalogQueue{"catalog"};
    std::shared_ptr<host::MemoryHostStore> store =
        std::make_shared<host::MemoryHostStore>(host::makeFixture(host::HostFixture::laptop));
    std::unique_ptr<host::SimulatedHost> host =
        std::make_unique<host::SimulatedHost>(store, processes::ProcessRole::application, clock, &mainQueue);
    windows::ApplicationWindowCatalog catalog{
        catalogQueue, host->accessibility(),
        windows::ApplicationWindowCatalog::windowServerQuery(host->windowList(), host->applicationWorkspace(),
                                                             host->process().pid),
        [this] { return clock.uptime(); }};
    std::unique_ptr<FloatingSwitcher> toolbar;
    std::vector<std::string> heard;
    QWidget window;
    QLineEdit* text = nullptr;
};

TEST_F(ToolbarFocusTest, TapsOnTheToolbarAndAFlyoutLeaveTheTypingInTheWindow) {
    toolbar->setEnabled(true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&toolbar->panel()));
    EXPECT_TRUE(typingStays("ab"));

    // The handle expands the strip.
    testing::clickThroughX(*toolbar->handle(), QPoint(26, 26));
    ASSERT_TRUE(QTest::qWaitFor([this] { return toolbar->toolbar() != nullptr; }, 5000));
    EXPECT_TRUE(typingStays("cd"));

    // The resolution button reaches the shell.
    ToolbarContent& strip = *toolbar->toolbar();
    testing::clickThroughX(*strip.resolution(), strip.resolution()->rect().center());
    ASSERT_TRUE(QTest::qWaitFor([this] { return !heard.empty(); }, 5000));
    EXPECT_EQ(heard.back(), "resolution");
    EXPECT_TRUE(typingStays("ef"));

    // The layout flyout opens, and one of its tiles is picked.
    testing::clickThroughX(*strip.windowButton(), strip.windowButton()->rect().center());
    ASSERT_TRUE(QTest::qWaitFor([this] { return toolbar->windowPanel() && toolbar->windowPanel()->isVisible(); }, 5000));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(toolbar->windowPanel()));
    EXPECT_TRUE(typingStays("gh"));
    auto* layouts = static_cast<LayoutFlyoutView*>(toolbar->windowPanel()->glass()->embedded());
    ToolbarFlyoutTile& tile = *layouts->tiles()[2];
    testing::clickThroughX(tile, tile.rect().center());
    ASSERT_TRUE(QTest::qWaitFor([this] { return heard.back() == "halves"; }, 5000));
    EXPECT_TRUE(typingStays("ij"));
    EXPECT_EQ(text->text(), QStringLiteral("abcdefghij"));
}

}  // namespace
}  // namespace dorvane
