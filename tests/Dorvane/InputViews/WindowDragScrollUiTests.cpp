#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QTextEdit>
#include <QWindow>

#include "Dorvane/InputViews/OperationDragHandleMarker.h"
#include "Dorvane/InputViews/WindowDragScroll.h"
#include "tests/Support/QtTestApplication.h"

namespace dorvane {
namespace {

struct Grip final : QWidget, OperationDragHandleMarker {};

// A window whose page scrolls, a button on it, as the settings pages have them.
struct Page {
    explicit Page(bool monitored) {
        window.resize(300, 300);
        auto* content = new QWidget;
        content->resize(280, 1000);
        button = new QPushButton(QStringLiteral("按钮"), content);
        button->setGeometry(20, 100, 200, 80);
        QObject::connect(button, &QPushButton::clicked, [this] { ++clicks; });
        area = new QScrollArea(&window);
        area->setGeometry(0, 0, 300, 300);
        area->setWidget(content);
        window.show();
        if (monitored) dragScroll = std::make_unique<WindowDragScroll>(&window);
    }

    // Presses the button's centre, moves the pointer by each step in turn, releases.
    void drag(const std::vector<QPoint>& steps) {
        area->verticalScrollBar()->setValue(0);
        QWindow* handle = window.windowHandle();
        const QPoint start = button->mapTo(&window, button->rect().center());
        QTest::mousePress(handle, Qt::LeftButton, {}, start);
        for (const auto& step : steps) QTest::mouseMove(handle, start + step);
        QTest::mouseRelease(handle, Qt::LeftButton, {}, start + steps.back());
    }

    QWidget window;
    QScrollArea* area = nullptr;
    QPushButton* button = nullptr;
    int clicks = 0;
    std::unique_ptr<WindowDragScroll> dragScroll;
};

TEST(WindowDragScrollUi, AMostlyVerticalDragOverEightPointsScrollsAndTheButtonDoesNotFire) {
    testing::qtApplication();
    struct Case {
        const char* name;
        std::vector<QPoint> steps;
        int offset;
        int clicks;
    };
    const Case cases[] = {
        {"9 pt upwards scrolls by 9", {{0, -9}}, 9, 0},
        {"8 pt does not scroll: a click", {{0, -8}}, 0, 1},
        {"diagonal, then vertical: the offset follows the pointer", {{-10, -10}, {-10, -30}}, 30, 0},
        {"downwards at the top stays at 0", {{0, 20}}, 0, 0},
    };
    Page page(true);
    for (const auto& c : cases) {
        page.clicks = 0;
        page.drag(c.steps);
        EXPECT_EQ(page.area->verticalScrollBar()->value(), c.offset) << c.name;
        EXPECT_EQ(page.clicks, c.clicks) << c.name;
        EXPECT_FALSE(page.button->isDown()) << c.name;
    }
    Page other(false);  // another window's events are left alone
    other.drag({{0, -30}});
    EXPECT_EQ(other.area->verticalScrollBar()->value(), 0);
    EXPECT_EQ(other.clicks, 1);
}

TEST(WindowDragScrollUi, TextSlidersEditableFieldsAndGripsNeverStartAScroll) {
    testing::qtApplication();
    QWidget page;
    auto* text = new QTextEdit(&page);
    auto* readOnly = new QLineEdit(&page);
    readOnly->setReadOnly(true);
    auto* grip = new Grip;
    grip->setParent(&page);
    const std::pair<QWidget*, bool> cases[] = {{text->viewport(), true},    {new QSlider(&page), true},
                                               {new QLineEdit(&page), true}, {readOnly, false},
                                               {new QLabel(grip), true},     {&page, false}};
    for (const auto& [widget, excluded] : cases) EXPECT_EQ(WindowDragScroll::isExcluded(widget), excluded);
    EXPECT_EQ(WindowDragScroll::scrollView(text->viewport()), text);
    EXPECT_EQ(WindowDragScroll::scrollView(&page), nullptr);
}

}  // namespace
}  // namespace dorvane
