#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

#include "Dorvane/Input/ShortcutPermissions.h"
#include "Dorvane/QtHost/QtPermissionGuide.h"
#include "tests/Dorvane/Input/InputHarness.h"
#include "tests/Support/QtTestApplication.h"

namespace dorvane {
namespace {

using qthost::QtPermissionGuidePanel;

class PermissionGuideUiTest : public testing::InputHarness {
protected:
    void SetUp() override {
        testing::qtApplication();
        InputHarness::SetUp();
        tool->permissionsAdmin().set(host::Permission::accessibility, false);
        app->ownWindows().registerApplication("Corvelle", "local.corvelle");
        settings = std::make_unique<QWidget>();
        settings->setWindowTitle(QStringLiteral("设置"));
        settings->setGeometry(100, 100, 400, 300);
        settings->show();
    }

    QtPermissionGuidePanel* panel() {
        for (auto* window : QApplication::topLevelWidgets()) {
            if (auto* found = dynamic_cast<QtPermissionGuidePanel*>(window)) return found;
        }
        return nullptr;
    }

    void moveSystemSettings(const geometry::Rect& frame) {
        for (const auto& window : tool->windowsAdmin().view().windows) {
            if (window.title == "辅助功能") tool->windowsAdmin().drag(window.number, frame);
        }
    }

    void sendMouse(QWidget& target, QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, target.mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(&target, &event);
    }

    std::unique_ptr<QWidget> settings;
    qthost::QtPermissionGuideUI qtUI{app->screens(), app->applicationWorkspace(), app->process().pid,
                                     "/opt/corvelle/bin/corvelle"};
    ShortcutPermissions permissions{{app->accessibility(), app->events(), app->applicationWorkspace(),
                                     app->windowList(), app->screens(), app->urlOpener(), scheduler.mainQueue(),
                                     scheduler, &qtUI}};
};

TEST_F(PermissionGuideUiTest, ThePanelSitsInSystemSettingsWithoutTakingTheFocusAndTrustClosesIt) {
    int completions = 0;
    permissions.completion = [&completions] { ++completions; };
    permissions.showGuide();
    scheduler.advanceBy(0.25);
    auto* shown = panel();
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->isVisible());
    EXPECT_EQ(shown->geometry(), QRect(596, 718, 550, 80));
    const auto flags = shown->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::Tool) && flags.testFlag(Qt::FramelessWindowHint) &&
                flags.testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(shown->testAttribute(Qt::WA_ShowWithoutActivating));

    moveSystemSettings({200, 150, 500, 400});
    scheduler.advanceBy(0.25);
    EXPECT_EQ(shown->geometry(), QRect(430, 458, 360, 80));

    tool->permissionsAdmin().set(host::Permission::accessibility, true);
    scheduler.advanceBy(0.25);
    EXPECT_EQ(panel(), nullptr);
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(app->applicationWorkspace().frontmostApplication()->pid, app->process().pid);
    EXPECT_TRUE(settings->isVisible());
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), settings.get());
    scheduler.advanceBy(2);
    EXPECT_EQ(completions, 1);
}

TEST_F(PermissionGuideUiTest, DraggingTheRowMakesThePanelFaintAndLetsInputThroughUntilReleased) {
    permissions.showGuide();
    scheduler.advanceBy(0.25);
    auto* shown = panel();
    ASSERT_NE(shown, nullptr);
    auto& row = shown->row();
    sendMouse(row, QEvent::MouseButtonPress, {20, 19}, Qt::LeftButton);
    sendMouse(row, QEvent::MouseMove, {23, 21}, Qt::LeftButton);  // within 4 points: not yet
    EXPECT_FALSE(shown->ignoresMouseEvents());
    sendMouse(row, QEvent::MouseMove, {40, 19}, Qt::LeftButton);
    EXPECT_TRUE(shown->ignoresMouseEvents());
    EXPECT_NEAR(shown->windowOpacity(), QtPermissionGuidePanel::kDraggingOpacity, 0.01);
    ASSERT_NE(shown->windowHandle(), nullptr);
    EXPECT_TRUE(shown->windowHandle()->flags().testFlag(Qt::WindowTransparentForInput));
    ASSERT_NE(row.payload(), nullptr);
    EXPECT_EQ(row.payload()->urls().value(0).toLocalFile(), QStringLiteral("/opt/corvelle/bin/corvelle"));
    shown->hide();
    scheduler.advanceBy(0.25);
    EXPECT_FALSE(shown->isVisible());  // ticks do not bring it up during the drag

    sendMouse(row, QEvent::MouseButtonRelease, {40, 19}, Qt::NoButton);
    EXPECT_FALSE(shown->ignoresMouseEvents());
    EXPECT_DOUBLE_EQ(shown->windowOpacity(), 1.0);
    EXPECT_FALSE(shown->windowHandle()->flags().testFlag(Qt::WindowTransparentForInput));
    EXPECT_TRUE(shown->isVisible());

    // Its close button ends the guide.
    QAbstractButton* close = nullptr;
    for (auto* button : shown->findChildren<QAbstractButton*>()) {
        if (button->accessibleName() == QStringLiteral("关闭权限引导")) close = button;
    }
    ASSERT_NE(close, nullptr);
    close->click();
    QApplication::processEvents();
    EXPECT_FALSE(permissions.isGuideOpen());
    EXPECT_EQ(panel(), nullptr);
}

// The row the user drags shows the program's own icon, white screens on the accent, as the
// settings window's sidebar does, and not a bare square.
TEST_F(PermissionGuideUiTest, TheRowShowsTheProgramsIcon) {
    permissions.showGuide();
    scheduler.advanceBy(0.25);
    auto* shown = panel();
    ASSERT_NE(shown, nullptr);
    qthost::PermissionDragRow& row = shown->row();
    const QImage drawn = row.grab().toImage();
    const QRect icon(5, row.height() / 2 - 13, 26, 26);
    int white = 0;
    int accent = 0;
    for (int y = icon.top(); y <= icon.bottom(); ++y) {
        for (int x = icon.left(); x <= icon.right(); ++x) {
            const QColor colour = drawn.pixelColor(x, y);
            if (colour.red() > 230 && colour.green() > 230 && colour.blue() > 230) ++white;
            if (colour.blue() > colour.red() + 100) ++accent;
        }
    }
    EXPECT_GT(white, 20) << "the screens";
    EXPECT_GT(accent, 200) << "on the accent";
}

}  // namespace
}  // namespace dorvane
