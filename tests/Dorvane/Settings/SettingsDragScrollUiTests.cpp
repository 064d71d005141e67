#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QWindow>

#include "Dorvane/Settings/SettingsPageView.h"
#include "tests/Dorvane/Settings/SettingsUiSupport.h"

namespace dorvane {
namespace {

class SettingsDragScrollTest : public testing::SettingsViewHarness {};

TEST_F(SettingsDragScrollTest, AFingersDragUpwardsShowsMoreOfTheSettingsPage) {
    auto& view = open();
    window->resize(900, 500);
    view.setGeometry(0, 0, 900, 500);
    testing::settle();
    auto* area = view.currentPage()->findChild<QScrollArea*>();
    ASSERT_NE(area, nullptr);
    ASSERT_GT(area->verticalScrollBar()->maximum(), 20);
    const QPoint start = area->viewport()->mapTo(window.get(), QPoint(40, 300));
    QWindow* shown = window->windowHandle();
    QTest::mousePress(shown, Qt::LeftButton, {}, start);
    QTest::mouseMove(shown, start - QPoint(0, 20));
    QTest::mouseRelease(shown, Qt::LeftButton, {}, start - QPoint(0, 20));
    EXPECT_EQ(area->verticalScrollBar()->value(), 20);
    EXPECT_TRUE(panel.calls.empty());  // nothing under the finger was clicked
}

}  // namespace
}  // namespace dorvane
