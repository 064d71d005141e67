#include <gtest/gtest.h>

#include <sstream>

#include <QAccessible>
#include <QWheelEvent>

#include "Dorvane/Toolbar/ToolbarContent.h"
#include "tests/Dorvane/Toolbar/ToolbarHarness.h"
#include "tests/Support/OwnWindowHost.h"

namespace dorvane {
namespace {

// One button in a toolbar panel on a screen 924 points high, its callbacks written down.
class ToolbarButtonTest : public ::testing::Test {
public:
    ToolbarButtonTest() {
        environment->log = [this](std::string_view line) { log.emplace_back(line); };
        environment->screenSpace = [] { return ScreenSpace{924}; };
        auto* host = new QWidget;
        host->resize(72, 200);
        panel.setContentView(host);
        button = new ToolbarButton(ToolbarButtonFace::settings(), environment, host);
        button->setGeometry(8, 8, 56, 58);
        button->onTap = [this] { heard.push_back("tap"); };
        button->onPress = [this] { heard.push_back("press"); };
        button->onRelease = [this] { heard.push_back("release"); };
        panel.setFrame(geometry::Rect{100, 300, 72, 200});
        panel.orderFront();
    }

    void scrolls(bool horizontal) {
        button->dragsHorizontally = horizontal;
        button->onScrollDrag = [this](double step) {
            std::ostringstream text;
            text << "scroll " << step;
            heard.push_back(text.str());
        };
    }
    void drags() {
        button->onDrag = [this](geometry::Point origin) {
            std::ostringstream text;
            text << "drag " << origin.x << "," << origin.y;
            heard.push_back(text.str());
        };
    }
    // A press at the button's centre, moves by Qt offsets from there, and the release at the
    // last, straight to the button: the application would round fractional positions.
    void press(std::vector<QPointF> moves) {
        const QPointF origin = QPointF(button->mapToGlobal(QPoint(0, 0)));
        auto send = [&](QEvent::Type type, QPointF local, Qt::MouseButtons buttons) {
            QMouseEvent event(type, local, local, origin + local, Qt::LeftButton, buttons, Qt::NoModifier);
            static_cast<QObject*>(button)->event(&event);
        };
        const QPointF start(28, 29);
        send(QEvent::MouseButtonPress, start, Qt::LeftButton);
        QPointF at = start;
        for (const QPointF& move : moves) {
            at = start + move;
            send(QEvent::MouseMove, at, Qt::LeftButton);
        }
        send(QEvent::MouseButtonRelease, at, Qt::NoButton);
    }

    testing::LightAppearance appearance;
    std::vector<std::string> log;
    std::vector<std::string> heard;
    std::shared_ptr<ToolbarButtonEnvironment> environment = std::make_shared<ToolbarButtonEnvironment>();
    ToolbarPanel panel{QStringLiteral("Corvelle 快捷操作"), [] { return ScreenSpace{924}; }};
    ToolbarButton* button = nullptr;
};

TEST_F(ToolbarButtonTest, APressIsATapAScrollDragOrAToolbarDragByHowFarItMovesAlongTheStrip) {
    using Heard = std::vector<std::string>;
    struct Case {
        const char* name;
        std::function<void(ToolbarButtonTest&)> wire;
        std::vector<QPointF> moves;  // Qt offsets: y grows downwards
        Heard expected;
    };
    const std::vector<Case> cases{
        {"six points up a vertical strip still taps", [](auto& t) { t.scrolls(false); }, {{0, -6}},
         Heard{"press", "tap", "release"}},
        {"6.01 points scroll the whole distance and release at once", [](auto& t) { t.scrolls(false); },
         {{0, -6.01}, {0, -10}}, Heard{"press", "release", "scroll 6.01", "scroll 3.99"}},
        {"a finger moving down a vertical strip steps backwards", [](auto& t) { t.scrolls(false); }, {{0, 20}},
         Heard{"press", "release", "scroll -20"}},
        {"rightwards on a horizontal strip steps backwards", [](auto& t) { t.scrolls(true); }, {{20, 0}},
         Heard{"press", "release", "scroll -20"}},
        {"across the strip never scrolls; ending outside never taps", [](auto& t) { t.scrolls(false); }, {{80, 0}},
         Heard{"press", "release"}},
        {"the handle moves only past 10 points, from its origin", [](auto& t) { t.drags(); },
         {{0, -10}, {0, -10.5}}, Heard{"press", "drag 100,310.5", "release"}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        heard.clear();
        button->onScrollDrag = nullptr;
        button->onDrag = nullptr;
        test.wire(*this);
        press(test.moves);
        EXPECT_EQ(heard, test.expected);
        EXPECT_FALSE(button->highlighted());
        EXPECT_FALSE(button->pressing());
    }
}

TEST_F(ToolbarButtonTest, AReleaseOutsideNeitherTapsNorStaysLitAndALostGrabEndsThePress) {
    const QPointF start = QPointF(button->mapToGlobal(QPoint(28, 29)));
    testing::mouseAt(*button, QEvent::MouseButtonPress, start);
    EXPECT_TRUE(button->highlighted());
    testing::mouseAt(*button, QEvent::MouseMove, start + QPointF(0, 100));
    EXPECT_FALSE(button->highlighted()) << "lit only while the pointer is over it";
    testing::mouseAt(*button, QEvent::MouseButtonRelease, start + QPointF(0, 100), Qt::NoButton);
    EXPECT_EQ(heard, (std::vector<std::string>{"press", "release"}));
    EXPECT_FALSE(button->highlighted());
    ASSERT_EQ(log.size(), 2u);
    EXPECT_NE(log[1].find("inside=false dragged=false"), std::string::npos) << log[1];

    // The release never comes: a move without the button, or the panel going away, ends it.
    heard.clear();
    testing::mouseAt(*button, QEvent::MouseButtonPress, start);
    testing::mouseAt(*button, QEvent::MouseMove, start, Qt::NoButton);
    testing::mouseAt(*button, QEvent::MouseButtonPress, start);
    panel.orderOut();
    EXPECT_EQ(heard, (std::vector<std::string>{"press", "release", "press", "release"}));
    EXPECT_FALSE(button->pressing());
}

// Pressed through the accessibility interface, as assistive technology presses it.
TEST_F(ToolbarButtonTest, AnAssistivePressDoesAllThreeWhileEnabled) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::Button);
    EXPECT_EQ(accessible->text(QAccessible::Name), QString::fromStdString(button->name()));
    ASSERT_NE(accessible->actionInterface(), nullptr);
    EXPECT_TRUE(accessible->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(heard, (std::vector<std::string>{"press", "release", "tap"}));
    EXPECT_EQ(log, (std::vector<std::string>{"button-accessibility id=persistent:settings"}));
    button->setEnabled(false);
    EXPECT_FALSE(button->accessibilityPerformPress());
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    testing::tap(*button);
    EXPECT_EQ(heard.size(), 3u);
    EXPECT_EQ(log.size(), 1u);
}

// Scrolled part of the way, the strip fades out at both ends as drawn: buttons hidden above
// and below show as a fade at the top and at the bottom, the middle stays solid.
TEST_F(ToolbarButtonTest, AStripScrolledHalfwayFadesAtBothEndsAsDrawn) {
    ToolbarContent content(geometry::Size{72, 350}, DesktopToolbarLayout::Grid{}, ToolbarSide::right, std::nullopt,
                           environment);
    for (int i = 0; i < 5; ++i) content.addStripButton(new ToolbarButton(ToolbarButtonFace::grip(), environment));
    content.show();
    content.layoutContent();
    // Something solid the whole length of the strip's content, to read the mask off.
    auto* solid = new QWidget(content.document());
    solid->setGeometry(content.document()->rect());
    solid->setAutoFillBackground(true);
    QPalette black = solid->palette();
    black.setColor(QPalette::Window, Qt::black);
    solid->setPalette(black);
    solid->show();
    for (const double offset : {content.maxOffset() / 2, 0.0, content.maxOffset()}) {
        content.setOffset(offset);
        ASSERT_TRUE(content.fade().has_value());
        QImage whole(content.size(), QImage::Format_ARGB32_Premultiplied);
        whole.fill(Qt::transparent);
        content.render(&whole, QPoint(), QRegion(), QWidget::DrawChildren);
        const QImage drawn = whole.copy(content.clip()->geometry());
        const int x = drawn.width() / 2;
        const int middle = testing::alphaAt(drawn, x, drawn.height() / 2);
        EXPECT_GT(middle, 240) << offset;
        EXPECT_EQ(testing::alphaAt(drawn, x, 1) < 64, content.fade()->start) << "top, offset " << offset;
        EXPECT_EQ(testing::alphaAt(drawn, x, drawn.height() - 2) < 64, content.fade()->end) << "bottom, offset " << offset;
    }
}

TEST_F(ToolbarButtonTest, TheStripScrollsItsFiveButtonsByTheWheelAndFadesItsHiddenEnds) {
    // 350 points high: a 134-point footer (no optional buttons) leaves a 200-point strip.
    ToolbarContent content(geometry::Size{72, 350}, DesktopToolbarLayout::Grid{}, ToolbarSide::left, std::nullopt,
                           environment);
    for (int i = 0; i < 5; ++i) content.addStripButton(new ToolbarButton(ToolbarButtonFace::grip(), environment));
    content.show();
    content.layoutContent();
    EXPECT_EQ(content.footerButtons().front()->geometry(), QRect(8, 350 - 134 + 6, 56, 38));
    EXPECT_EQ(content.maxOffset(), 114);
    ASSERT_TRUE(content.fade().has_value());
    EXPECT_NE(content.clip()->graphicsEffect(), nullptr) << "an opacity mask while overflowing";

    content.setOffset(500);
    EXPECT_EQ(content.offset(), 114);
    EXPECT_EQ(content.document()->y(), -114);
    EXPECT_TRUE(content.fade()->start) << "the fade follows the offset";
    EXPECT_FALSE(content.fade()->end);

    // One notch of a mouse wheel turned away from the user: 16 points towards the start.
    QWheelEvent notch(QPointF(30, 30), QPointF(30, 30), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&content, &notch);
    EXPECT_EQ(content.offset(), 98);
    QWheelEvent precise(QPointF(30, 30), QPointF(30, 30), QPoint(0, 1), QPoint(0, 8), Qt::NoButton, Qt::NoModifier,
                        Qt::ScrollUpdate, false);
    QApplication::sendEvent(&content, &precise);
    EXPECT_EQ(content.offset(), 97);

    // Taller than its buttons: nothing to scroll, no mask, the wheel goes on.
    content.resize(72, 600);
    EXPECT_EQ(content.offset(), 0);
    EXPECT_FALSE(content.fade().has_value());
    EXPECT_EQ(content.clip()->graphicsEffect(), nullptr);
    QWheelEvent ignored(QPointF(30, 30), QPointF(30, 30), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                        Qt::NoScrollPhase, false);
    QApplication::sendEvent(&content, &ignored);
    EXPECT_FALSE(ignored.isAccepted());
}

// The host's wheel over one of the strip's buttons turns the strip, as a real wheel does:
// the button has no use for it and hands it on.
TEST_F(ToolbarButtonTest, TheHostsWheelOverAStripButtonTurnsTheStrip) {
    ToolbarContent content(geometry::Size{72, 350}, DesktopToolbarLayout::Grid{}, ToolbarSide::left, std::nullopt,
                           environment);
    for (int i = 0; i < 5; ++i) content.addStripButton(new ToolbarButton(ToolbarButtonFace::grip(), environment));
    content.setGeometry(400, 100, 72, 350);
    content.show();
    content.layoutContent();
    testing::OwnWindowHost host;
    host.start();
    const QPoint overButton = content.document()->mapToGlobal(QPoint(28, 29));
    ASSERT_EQ(content.childAt(content.mapFromGlobal(overButton)) == &content, false);
    host.scroll({static_cast<double>(overButton.x()), static_cast<double>(overButton.y())}, -1);
    EXPECT_EQ(content.offset(), 16) << "one notch of a mouse wheel towards the end";
    EXPECT_EQ(host.errors.str(), "");
}

}  // namespace
}  // namespace dorvane
