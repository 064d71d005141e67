#include <gmock/gmock.h>

#include <utility>

#include "tests/Dorvane/Windows/WindowHarness.h"

namespace dorvane::windows::testing {
namespace {

using Window = ApplicationWindowCatalog::Window;
using ::testing::ElementsAre;

class ApplicationWindowCatalogTest : public ::testing::Test, protected WindowHarness {
protected:
    ApplicationWindowCatalog counting{scheduler.makeSerialQueue("counted-catalog"), app->accessibility(),
                                      [this] {
                                          ++reads;
                                          auto list = catalog.query()();
                                          // The program moving a window once the list was read.
                                          if (std::exchange(forgetWhileReading, false)) counting.forget();
                                          return list;
                                      },
                                      [this] { return scheduler.uptime(); }};
    int reads = 0;
    bool forgetWhileReading = false;
};

TEST_F(ApplicationWindowCatalogTest, ListsOnlyOtherRegularApplicationsUsableOrdinaryWindows) {
    const pid_t editor = launch("编辑器");
    const auto document = open(editor, kStart);
    open(editor, {10, 10, 79, 300});                          // too narrow
    open(editor, {10, 10, 300, 300}, [](auto& w) { w.level = 3; });  // floating
    host::ApplicationLaunch helper;
    helper.name = "助手";
    helper.policy = workspace::ActivationPolicy::accessory;
    const pid_t accessory = admin().launch(helper);
    open(accessory, kStart);
    app->ownWindows().registerApplication("Corvelle", std::nullopt);
    app->ownWindows().addWindow(workspace::OwnWindow{"设置", kStart});
    EXPECT_THAT(run(catalog.snapshot()).value.value(), ElementsAre(Window{editor, document, kStart}));
}

TEST_F(ApplicationWindowCatalogTest, CallersWithinTheCacheLifetimeOrDuringAReadShareOneRead) {
    const pid_t editor = launch("编辑器");
    open(editor, kStart);
    const auto first = start(counting.snapshot());
    const auto joined = start(counting.snapshot());
    EXPECT_EQ(finish(first).value, finish(joined).value);
    EXPECT_EQ(reads, 1);
    scheduler.advanceBy(0.19);
    EXPECT_EQ(run(counting.snapshot()).value->size(), 1u);
    EXPECT_EQ(reads, 1);
    scheduler.advanceBy(0.01);
    run(counting.snapshot());
    EXPECT_EQ(reads, 2);
}

// Once the program has moved a window, the list read before is not given out again: the
// next caller reads afresh, and a read that was under way caches nothing.
TEST_F(ApplicationWindowCatalogTest, AForgottenListIsReadAfreshAndAReadUnderWayThenCachesNothing) {
    const pid_t editor = launch("编辑器");
    const auto document = open(editor, kStart);
    run(counting.snapshot());
    admin().drag(document, {300, 200, 600, 400});
    counting.forget();
    EXPECT_THAT(run(counting.snapshot()).value.value(), ElementsAre(Window{editor, document, {300, 200, 600, 400}}));
    EXPECT_EQ(reads, 2);

    scheduler.advanceBy(0.2);
    forgetWhileReading = true;
    run(counting.snapshot());
    run(counting.snapshot());
    EXPECT_EQ(reads, 4) << "the read under way when forgotten is not the cache";
}

TEST_F(ApplicationWindowCatalogTest, FocusedWindowUsableMeasuresTheFocusedWindow) {
    const pid_t editor = launch("编辑器");
    open(editor, kStart);
    EXPECT_EQ(catalog.focusedWindowUsable(editor), true);
    open(editor, {10, 10, 70, 50});
    EXPECT_EQ(catalog.focusedWindowUsable(editor), false);
    EXPECT_EQ(catalog.focusedWindowUsable(launch("空")), std::nullopt);
}

}  // namespace
}  // namespace dorvane::windows::testing
