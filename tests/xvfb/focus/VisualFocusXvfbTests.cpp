#include <gtest/gtest.h>

#include <memory>
#include <string>

#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWindow>

#include "Dorvane/QtHost/QtMainQueue.h"
#include "Dorvane/Visual/GlassDropdown.h"
#include "Dorvane/Visual/TransientNotice.h"
#include "tests/Support/QtTestApplication.h"
#include "tests/xvfb/focus/XInput.h"

namespace dorvane {
namespace {

// Under a real X server (xvfb-run): the panels that must not take the focus leave it with
// the window being typed in, however they are shown.
class PanelFocusTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
        auto* layout = new QVBoxLayout(&window);
        text = new QLineEdit;
        field = new GlassDropdown<std::string>(QStringLiteral("切换分辨率"),
                                               {{"a", "iPad Pro 11 英寸"}, {"b", "iPhone 15 Pro Max"}, {"c", "1920 × 1080"}},
                                               std::string("a"), QStringLiteral("请选择规格"), 160,
                                               [this](const std::string& id) { chosen = id; });
        layout->addWidget(text);
        layout->addWidget(field);
        layout->addStretch();
        window.setGeometry(200, 200, 360, 240);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        text->setFocus();
    }

    static void clickThroughX(QWidget& widget, QPoint local) { testing::clickThroughX(widget, local); }
    static void type(const char* letters) { testing::typeIntoFocus(letters); }

    QApplication& application = testing::qtApplication();
    QWidget window;
    QLineEdit* text = nullptr;
    GlassDropdown<std::string>* field = nullptr;
    std::string chosen;
};

TEST_F(PanelFocusTest, AnOpenDropdownListLeavesTheTypingInTheWindow) {
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, field->mapTo(&window, field->rect().center()));
    GlassPanel* list = field->controller().popup().panel();
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(list));
    QGuiApplication::sync();
    EXPECT_EQ(QGuiApplication::focusWindow(), window.windowHandle());
    EXPECT_TRUE(text->hasFocus());
    type("abc");
    EXPECT_EQ(text->text(), QStringLiteral("abc"));
    QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_Down);
    EXPECT_EQ(text->text(), QStringLiteral("abc")) << "the list took the arrow";

    // Choosing with the pointer: the click lands on the list, the typing stays put.
    const DropdownMenuView* menu = field->controller().popup().menu();
    clickThroughX(*const_cast<DropdownMenuView*>(menu), menu->rowRect(2).center());
    ASSERT_TRUE(QTest::qWaitFor([this] { return !chosen.empty(); }, 10000));
    EXPECT_EQ(chosen, "c");
    QGuiApplication::sync();
    EXPECT_EQ(QGuiApplication::focusWindow(), window.windowHandle());
    type("d");
    EXPECT_EQ(text->text(), QStringLiteral("abcd"));
}

TEST_F(PanelFocusTest, ANoticeLeavesTheTypingInTheWindow) {
    qthost::QtMainQueue mainQueue;
    TransientNotice notice(TransientNotice::Services{mainQueue, {}, {}, {}});
    notice.show("自动切换未完成", std::string("没有可用的规格"), geometry::Rect{0, 0, 1280, 1024});
    ASSERT_NE(notice.panel(), nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(notice.panel()));
    QGuiApplication::sync();
    EXPECT_EQ(QGuiApplication::focusWindow(), window.windowHandle());
    type("xyz");
    EXPECT_EQ(text->text(), QStringLiteral("xyz"));
}

}  // namespace
}  // namespace dorvane
