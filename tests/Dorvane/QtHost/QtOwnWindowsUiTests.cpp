#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include <QCloseEvent>
#include <QWidget>

#include "Dorvane/QtHost/QtOwnWindowReporter.h"
#include "Dorvane/QtHost/QtOwnWindows.h"
#include "tests/Dorvane/Windows/WindowHarness.h"
#include "tests/Support/QtTestApplication.h"

namespace dorvane::windows::testing {
namespace {

// A window that says no to being closed, as a window with unsaved work does.
class RefusingWindow final : public QWidget {
protected:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

// The Qt side comes first: the harness's facade drives these windows.
struct QtSide {
    QApplication& application = dorvane::testing::qtApplication();
    std::ostringstream errors;
    std::unique_ptr<qthost::QtOwnWindowReporter> reporter;
    qthost::QtOwnWindows own{[this](const QWidget* window) {
        return reporter ? reporter->number(window) : std::optional<std::uint32_t>();
    }};
};

class QtOwnWindowsTest : public ::testing::Test, protected QtSide, protected WindowHarness {
protected:
    QtOwnWindowsTest() : WindowHarness(&own) {
        reporter = std::make_unique<qthost::QtOwnWindowReporter>(app->ownWindows(), errors);
        reporter->start();
    }
    ~QtOwnWindowsTest() override { reporter.reset(); }

    // Shows the window at (100, 100, 800, 600) and waits until it has the focus.
    void showActive(QWidget& window) {
        window.setGeometry(100, 100, 800, 600);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(dorvane::testing::processUntil([&] { return QApplication::activeWindow() == &window; }));
    }
    static Rect frame(const QWidget& window) {
        const QRect geometry = window.geometry();
        return Rect(geometry.x(), geometry.y(), geometry.width(), geometry.height());
    }
};

TEST_F(QtOwnWindowsTest, CloseFollowsTheWindowsHintsAndItsOwnAnswer) {
    QWidget fixed(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    showActive(fixed);
    EXPECT_EQ(run(facade.perform(WindowControl::close, ownPID())).error, "当前窗口不能关闭");
    EXPECT_TRUE(fixed.isVisible());

    RefusingWindow refusing;
    showActive(refusing);
    EXPECT_EQ(run(facade.perform(WindowControl::close, ownPID())).error, "");
    EXPECT_TRUE(refusing.isVisible());

    QWidget plain;
    showActive(plain);
    EXPECT_EQ(run(facade.perform(WindowControl::close, ownPID())).error, "");
    EXPECT_FALSE(plain.isVisible());
}

TEST_F(QtOwnWindowsTest, WindowInFullScreenSnapsOnceItHasLeftIt) {
    QWidget window;
    showActive(window);
    window.showFullScreen();
    ASSERT_TRUE(dorvane::testing::processUntil([&] { return window.isFullScreen(); }));
    const auto snapping = start(facade.snap(WindowSnap::left, ownPID()));
    scheduler.advanceBy(0.89);
    QCoreApplication::processEvents();
    EXPECT_FALSE(window.isFullScreen());
    EXPECT_NE(frame(window), Rect(0, 38, 756, 944));
    scheduler.advanceBy(0.01);
    EXPECT_TRUE(finish(snapping).finished);
    EXPECT_EQ(frame(window), Rect(0, 38, 756, 944));
}

TEST_F(QtOwnWindowsTest, OwnWindowTakesItsLayoutSlotByItsNumber) {
    QWidget window;
    showActive(window);
    reporter->flush();
    const auto number = reporter->number(&window);
    ASSERT_TRUE(number.has_value());
    const auto generation = facade.beginPicked();
    facade.placePicked(WindowArrangement::thirds, ScreenWindow{*number, ownPID(), kStart, 0}, 2);
    const auto summary = run(facade.endPicked(WindowArrangement::thirds, generation));
    ASSERT_TRUE(summary.value.has_value());
    EXPECT_EQ(*summary.value, std::nullopt);
    EXPECT_EQ(frame(window), Rect(1008, 38, 504, 944));
    EXPECT_EQ(operations.back(), "layout-placed pid=" + std::to_string(ownPID()) + " slot=2 result=placed");
}

}  // namespace
}  // namespace dorvane::windows::testing
