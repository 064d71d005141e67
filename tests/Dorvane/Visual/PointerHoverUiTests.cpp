#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include <QWidget>

#include "Dorvane/Visual/GlobalPointerMonitor.h"
#include "Dorvane/Visual/PointerHover.h"
#include "tests/Dorvane/Visual/VisualUiSupport.h"
#include "tests/Platform/Host/WindowHostSupport.h"

namespace dorvane {
namespace {

// A plain element that counts its repaints.
class Tile final : public QWidget {
public:
    using QWidget::QWidget;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

// A window of tiles, 40 × 40 points each on a 50-point pitch in rows of ten, each tracked as
// its own element; what each one heard is kept.
class HoverTest : public host::WindowHostTest {
protected:
    void SetUp() override {
        host::WindowHostTest::SetUp();
        for (int index = 0; index < 40; ++index) {
            auto* tile = new Tile(&window);
            tile->setGeometry(10 + (index % 10) * 50, 10 + (index / 10) * 50, 40, 40);
            const std::string id = "tile" + std::to_string(index);
            tracking.push_back(PointerHover::shared().track(tile, id, [this, tile, id](bool hovered) {
                heard[id].push_back(hovered);
                tile->update();
            }));
            tiles.push_back(tile);
        }
        testing::showActive(window, QRect(100, 100, 520, 220));
        PointerHover::shared().reset();
    }
    void TearDown() override { PointerHover::shared().watch(nullptr); }

    // The centre of tile `index` plus an offset, in window coordinates.
    static QPoint at(int index, int dx = 0) { return QPoint(30 + (index % 10) * 50 + dx, 30 + (index / 10) * 50); }
    void move(QPoint position) { QTest::mouseMove(window.windowHandle(), position); }
    const std::optional<std::string>& hovered() const { return PointerHover::shared().hoveredID(); }

    testing::LightAppearance appearance;
    QWidget window;
    std::vector<Tile*> tiles;
    std::vector<dispatch::Observation> tracking;
    std::map<std::string, std::vector<bool>> heard;
};

TEST_F(HoverTest, ATouchTapNeverLightsTheTappedElement) {
    move(at(0));
    move(at(0, 10));
    ASSERT_EQ(hovered(), "tile0") << "a real, small move hovers";
    // The finger lands 300 points away and presses at once, drags a little, lifts.
    QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, at(6));
    EXPECT_EQ(hovered(), std::nullopt);
    move(at(6, 3));
    QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, at(6, 3));
    move(at(6, 5));
    EXPECT_EQ(hovered(), std::nullopt) << "the first position after the press only starts over";
    EXPECT_EQ(heard["tile0"], (std::vector<bool>{true, false}));
    EXPECT_TRUE(heard["tile6"].empty()) << "never lit";
    move(at(6, 7));
    EXPECT_EQ(hovered(), "tile6");

    // A jump of more than 48 points clears the hover and lights nothing.
    move(at(8));
    EXPECT_EQ(hovered(), std::nullopt);
    EXPECT_TRUE(heard["tile8"].empty());
}

TEST_F(HoverTest, AClickInAnotherApplicationClearsTheHover) {
    HostGlobalPointerMonitor monitor(app->pointer());
    PointerHover::shared().watch(&monitor);
    const pid_t other = launch("浏览器");
    open(other, {800, 500, 400, 300});
    move(at(3));
    move(at(3, 4));
    ASSERT_EQ(hovered(), "tile3");
    admin().click({900, 600}, std::nullopt);
    scheduler.runUntilIdle();
    EXPECT_EQ(hovered(), std::nullopt);
    EXPECT_EQ(heard["tile3"], (std::vector<bool>{true, false}));

    // The wheel turned over another application clears it too.
    move(at(4));
    move(at(4, 4));
    ASSERT_EQ(hovered(), "tile4");
    auto wheel = app->events().createScrollWheelEvent(nullptr, events::ScrollUnit::pixel, 1, -5, 0, 0);
    ASSERT_TRUE(wheel);
    wheel->location = {900, 600};
    app->events().post(events::TapLocation::hid, *wheel);
    scheduler.runUntilIdle();
    EXPECT_EQ(hovered(), std::nullopt);
}

TEST_F(HoverTest, AHoverChangeRepaintsExactlyTheTwoElementsConcerned) {
    move(at(12));
    move(at(12, 5));
    ASSERT_EQ(hovered(), "tile12");
    testing::settle();
    for (Tile* tile : tiles) tile->paints = 0;
    move(at(13, -15));  // 40 points on: a real move onto the next tile
    ASSERT_EQ(hovered(), "tile13");
    testing::settle();
    std::vector<int> repainted;
    for (int index = 0; index < 40; ++index) {
        if (tiles[static_cast<std::size_t>(index)]->paints > 0) repainted.push_back(index);
    }
    EXPECT_EQ(repainted, (std::vector<int>{12, 13}));
    EXPECT_EQ(heard.size(), 2u) << "no other element was told anything";
}

TEST_F(HoverTest, TrackingEndsWithTheElementOrItsObservation) {
    const auto before = PointerHover::shared().trackedCount();
    tracking[5].cancel();
    EXPECT_EQ(PointerHover::shared().trackedCount(), before - 1);
    delete tiles[6];
    EXPECT_EQ(PointerHover::shared().trackedCount(), before - 2);
    move(at(7));
    move(at(7, 2));
    EXPECT_EQ(hovered(), "tile7");
    PointerHover::shared().leave("tile2");
    EXPECT_EQ(hovered(), "tile7") << "leaving another element changes nothing";
    QTest::mouseMove(window.windowHandle(), QPoint(515, 215));  // off every tile
    EXPECT_EQ(hovered(), std::nullopt);
}

}  // namespace
}  // namespace dorvane
