#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <QMouseEvent>
#include <QWidget>

#include "Dorvane/QtHost/MouseDetails.h"
#include "Dorvane/QtHost/PlatformChoice.h"
#include "Dorvane/QtHost/QtMainQueue.h"
#include "Dorvane/QtHost/QtTerminationSignals.h"
#include "Dorvane/ShellBase/ControlPanelModel.h"
#include "Dorvane/Visual/OverlayFloatingPanel.h"
#include "Dorvane/Visual/ScreenGlyph.h"
#include "Platform/Dispatch/Task.h"
#include "tests/Support/QtTestApplication.h"

namespace dorvane {
namespace {

using testing::processUntil;

TEST(QtMainQueue, RunsPostsFromOtherThreadsInTheOrderTheyWereMade) {
    testing::qtApplication();
    qthost::QtMainQueue queue;
    std::mutex posting;
    int ticket = 0;
    std::vector<int> ran;
    std::atomic<bool> offThreadCurrent{true};
    std::vector<std::thread> threads;
    constexpr int perThread = 300;
    for (int t = 0; t < 3; ++t) {
        threads.emplace_back([&] {
            offThreadCurrent = offThreadCurrent && queue.isCurrent();
            for (int i = 0; i < perThread; ++i) {
                std::lock_guard lock(posting);
                queue.post([&ran, number = ticket++] { ran.push_back(number); });
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_FALSE(offThreadCurrent.load());
    EXPECT_TRUE(queue.isCurrent());
    ASSERT_TRUE(processUntil([&] { return ran.size() == 3 * perThread; }));
    for (int i = 0; i < 3 * perThread; ++i) ASSERT_EQ(ran[static_cast<std::size_t>(i)], i);
}

// Qt released a queued functor on whichever thread dropped it last, often the poster's:
// what a job held was destroyed there, beside the main thread that had used it. Whether
// the old way shows depends on the threads' timing; ThreadSanitizer reported it too.
TEST(QtMainQueue, JobsPostedFromOtherThreadsAreDestroyedOnTheMainThread) {
    testing::qtApplication();
    qthost::QtMainQueue queue;
    std::atomic<int> destroyedElsewhere{0};
    struct Held {
        Held(qthost::QtMainQueue& queue, std::atomic<int>& elsewhere) : queue(queue), elsewhere(elsewhere) {}
        ~Held() {
            if (!queue.isCurrent()) ++elsewhere;
        }
        qthost::QtMainQueue& queue;
        std::atomic<int>& elsewhere;
    };
    std::atomic<int> ran{0};
    constexpr int jobs = 2000;
    std::thread poster([&] {
        for (int i = 0; i < jobs; ++i) {
            queue.post([held = std::make_shared<Held>(queue, destroyedElsewhere), &ran] { ++ran; });
        }
    });
    ASSERT_TRUE(processUntil([&] { return ran.load() == jobs; }));
    poster.join();
    EXPECT_EQ(destroyedElsewhere.load(), 0);
}

TEST(QtMainQueue, DelayedJobsRunOnTheMainThreadUnlessCancelled) {
    testing::qtApplication();
    qthost::QtMainQueue queue;
    std::atomic<bool> ranOnMain{false};
    std::atomic<bool> cancelledRan{false};
    std::atomic<int> ran{0};
    dispatch::TimerHandle cancelled;
    std::thread poster([&] {
        queue.postAfter(0.001, [&] {
            ranOnMain = queue.isCurrent();
            ++ran;
        });
        cancelled = queue.postAfter(0.001, [&] { cancelledRan = true; });
        cancelled.cancel();
        queue.postAfter(0.002, [&] { ++ran; });
    });
    poster.join();
    ASSERT_TRUE(processUntil([&] { return ran.load() == 2; }));
    EXPECT_TRUE(ranOnMain.load());
    EXPECT_FALSE(cancelledRan.load());
}

// What a job, a timer or a task without a handler throws goes to the queue's last resort,
// named after the queue, and never into Qt's event loop: the next job still runs.
TEST(QtMainQueue, FailuresNothingHandledGoToTheLastResortAndTheQueueGoesOn) {
    testing::qtApplication();
    std::vector<std::string> reported;
    qthost::QtMainQueue queue([&reported](const std::string& where, std::exception_ptr failure) {
        reported.push_back(where + ": " + dispatch::failureText(failure));
    });
    auto failing = []() -> dispatch::Task<void> {
        throw std::runtime_error("task");
        co_return;
    };
    int ran = 0;
    queue.post([] { throw std::runtime_error("job"); });
    queue.postAfter(0.001, [] { throw std::runtime_error("timer"); });
    dispatch::spawn(queue, failing());
    queue.postAfter(0.002, [&ran] { ++ran; });
    ASSERT_TRUE(processUntil([&] { return ran == 1 && reported.size() == 3; }));
    std::sort(reported.begin(), reported.end());
    EXPECT_EQ(reported, (std::vector<std::string>{"main: job", "main: task", "main: timer"}));
}

TEST(QtTerminationSignals, EachSignalReachesTheHandlerOnTheMainThread) {
    testing::qtApplication();
    // Caught, not ignored: a child started now gets the default back on exec. Ctrl-C as much
    // as kill: a slow call under way when it comes (one of the quit's last steps, too) goes
    // on rather than failing with EINTR.
    const auto expectCaughtAndRestarting = [](const char* when) {
        for (const int stop : {SIGTERM, SIGINT}) {
            struct sigaction current {};
            ::sigaction(stop, nullptr, &current);
            EXPECT_NE(current.sa_handler, SIG_IGN) << when << " " << stop;
            EXPECT_NE(current.sa_handler, SIG_DFL) << when << " " << stop;
            EXPECT_NE(current.sa_flags & SA_RESTART, 0) << when << " " << stop;
        }
    };
    int calls = 0;
    {
        qthost::QtTerminationSignals signals;
        signals.install([&] { ++calls; });
        ::raise(SIGTERM);
        ::raise(SIGINT);
        ASSERT_TRUE(processUntil([&] { return calls == 2; }));
        expectCaughtAndRestarting("running");
    }
    // Gone with the quit done: a late request does not kill the process as it ends.
    expectCaughtAndRestarting("after the quit");
    ::raise(SIGTERM);
    ::raise(SIGINT);
    EXPECT_EQ(calls, 2);
}

TEST(ApplicationRunner, PicksOffscreenOnlyWithoutAnyDisplay) {
    struct Case {
        std::optional<std::string> qpa, display, wayland, platform;
        bool notice;
    };
    for (const auto& c : std::vector<Case>{{std::nullopt, std::nullopt, std::nullopt, "offscreen", true},
                                           {std::nullopt, ":99", std::nullopt, "xcb", false},
                                           {std::nullopt, ":99", "wayland-0", "xcb", false},
                                           {std::nullopt, std::nullopt, "wayland-0", std::nullopt, false},
                                           {"minimal", std::nullopt, std::nullopt, std::nullopt, false}}) {
        const auto choice = qthost::choosePlatform(c.qpa, c.display, c.wayland);
        EXPECT_EQ(choice.platform, c.platform) << c.display.value_or("-");
        EXPECT_EQ(choice.notice.has_value(), c.notice);
    }
    // The one line says why, and where the status menu is reached instead.
    EXPECT_EQ(qthost::choosePlatform(std::nullopt, std::nullopt, std::nullopt).notice,
              "Corvelle：未检测到图形显示（DISPLAY 与 WAYLAND_DISPLAY 均未设置），将以 offscreen 方式运行；"
              "可通过 corvelle-host statusbar 使用状态栏菜单。");
}

TEST(VisualComponents, GlyphSizesAndPanelFlags) {
    testing::qtApplication();
    using Values = ScreenGlyph::Values;
    EXPECT_EQ(ScreenGlyph::drawnSize(Values{{0, 0}, false, 60, 40, 0.5}), QSizeF(12, 12));
    EXPECT_EQ(ScreenGlyph::drawnSize(Values{{3840, 512}, true, 60, 40, 0.5}), QSizeF(60, 12));
    EXPECT_EQ(ScreenGlyph::drawnSize(Values{{1400, 630}, false, 60, 40, 0.5}), QSizeF(60, 27));
    ScreenGlyph glyph(Values{{1400, 630}, true, 60, 40, 0.5}, Qt::blue);
    EXPECT_EQ(glyph.size(), QSize(62, 42));

    OverlayFloatingPanel panel(nullptr, Qt::WindowDoesNotAcceptFocus | Qt::WindowStaysOnTopHint);
    const auto flags = panel.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::Tool));
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
}

TEST(ControlPanelModel, StartsDetectingWithTheDefaultSizeAndInertCallbacks) {
    testing::qtApplication();
    ControlPanelModel model;
    EXPECT_EQ(model.status(), "正在检测…");
    EXPECT_EQ(model.adjustment(), (ResolutionAdjustment{{1400, 630}, 100}));
    EXPECT_EQ(model.preferences(), Preferences());
    EXPECT_FALSE(model.onSaveShortcut(NamedShortcut{}));
    EXPECT_FALSE(model.onFloatingActionIcon(FloatingAction::settings, ShortcutIcon{}));
    int changes = 0;
    QObject::connect(&model, &ControlPanelModel::changed, [&] { ++changes; });
    model.onApply();
    EXPECT_EQ(changes, 0);
    model.setApplying(true);
    EXPECT_EQ(changes, 1);
}

TEST(MouseDetails, DescribesThePressWithAndWithoutTheHostsRecord) {
    testing::qtApplication();
    QWidget window;
    window.setGeometry(100, 50, 300, 200);
    QWidget view(&window);
    view.setGeometry(20, 10, 100, 80);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 6), QPointF(125, 66), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    const auto line = qthost::mouseDetails(press, view);
    EXPECT_TRUE(line.starts_with("eventXY=(25.0, 16.0) localXY=(5.0, 6.0) pointerXY=(")) << line;
    EXPECT_NE(line.find(" cgXY=(0.0, 0.0) sourcePID=-1 targetPID=-1 clicks=1 eventTime="), std::string::npos) << line;
    EXPECT_TRUE(line.ends_with(" frame=(20.0, 10.0, 100.0, 80.0) windowFrame=(100.0, 50.0, 300.0, 200.0)")) << line;

    // The host's record of the press: its own place, processes, count and time; the host's pointer.
    qthost::HostMouseFacts facts;
    facts.click = workspace::OwnWindowClick{7, {125, 66}, true, 812.25, 0, 4242, 2};
    facts.pointer = geometry::Point{130, 70};
    EXPECT_EQ(qthost::mouseDetails(press, view, facts),
              "eventXY=(25.0, 16.0) localXY=(5.0, 6.0) pointerXY=(130.0, 70.0) cgXY=(125.0, 66.0) sourcePID=0 "
              "targetPID=4242 clicks=2 eventTime=812.25 frame=(20.0, 10.0, 100.0, 80.0) "
              "windowFrame=(100.0, 50.0, 300.0, 200.0)");
}

}  // namespace
}  // namespace dorvane
