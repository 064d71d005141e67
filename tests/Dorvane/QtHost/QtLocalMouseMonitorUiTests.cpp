#include <gmock/gmock.h>

#include <memory>
#include <sstream>
#include <vector>

#include <QMouseEvent>
#include <QWidget>

#include "Dorvane/QtHost/QtLocalMouseMonitor.h"
#include "Dorvane/QtHost/QtMainQueue.h"
#include "Dorvane/QtHost/QtOwnWindowReporter.h"
#include "Dorvane/QtHost/QtOwnWindows.h"
#include "Platform/Dispatch/SystemClock.h"
#include "Platform/Host/MemoryHostStore.h"
#include "Platform/Host/SimulatedHost.h"
#include "tests/Support/QtTestApplication.h"

namespace dorvane {
namespace {

using testing::processUntil;

// Counts the presses that reach it; a child that ignores them passes them to its parent.
class PressCounter final : public QWidget {
public:
    PressCounter(QWidget* parent, bool passesOn) : QWidget(parent), passesOn_(passesOn) {}
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        ++presses;
        if (passesOn_) event->ignore();
    }

private:
    bool passesOn_;
};

// The program's windows on the in-memory host; a person clicks them from outside.
class QtLocalMouseMonitorTest : public ::testing::Test {
protected:
    QApplication& application = testing::qtApplication();
    dispatch::SystemClock clock;
    qthost::QtMainQueue mainQueue;
    std::shared_ptr<host::MemoryHostStore> store = std::make_shared<host::MemoryHostStore>();
    host::SimulatedHost app{store, processes::ProcessRole::application, clock, &mainQueue};
    host::SimulatedHost tool{store, processes::ProcessRole::tool, clock};
    std::ostringstream errors;
    qthost::QtOwnWindowReporter reporter{app.ownWindows(), errors};
    qthost::QtOwnWindows own{[this](const QWidget* window) { return reporter.number(window); }};
    qthost::QtLocalMouseMonitor monitor{own};
};

TEST_F(QtLocalMouseMonitorTest, PressOnAnOwnWindowIsSeenOnceAndStillReachesTheWidget) {
    reporter.start();
    PressCounter window(nullptr, false);
    window.setGeometry(300, 200, 400, 300);
    auto* child = new PressCounter(&window, true);
    child->setGeometry(50, 40, 100, 80);
    window.show();
    std::vector<windows::LocalMouseEvent> seen;
    auto observation = monitor.addLocalMouseMonitor([&](const windows::LocalMouseEvent& event) { seen.push_back(event); });
    ASSERT_TRUE(observation.has_value());

    tool.windowsAdmin().click({360, 250}, std::nullopt);  // on the child, which passes it on
    using Kind = events::MouseEvent::Kind;
    ASSERT_TRUE(processUntil([&] { return !seen.empty() && seen.back().kind == Kind::leftMouseUp; }));
    ASSERT_EQ(seen.size(), 2u);
    const auto id = own.idOf(&window);
    EXPECT_EQ(seen[0].kind, Kind::leftMouseDown);
    EXPECT_EQ(seen[1].kind, Kind::leftMouseUp);
    for (const auto& event : seen) {
        EXPECT_EQ(event.location, (geometry::Point{360, 250}));
        EXPECT_EQ(event.window, id);
    }
    EXPECT_EQ(child->presses, 1);
    EXPECT_EQ(window.presses, 1);

    // Once the monitor is gone, clicks still arrive and nothing is seen.
    observation->cancel();
    tool.windowsAdmin().click({310, 480}, std::nullopt);
    ASSERT_TRUE(processUntil([&] { return window.presses == 2; }));
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_EQ(errors.str(), "");
}

}  // namespace
}  // namespace dorvane
