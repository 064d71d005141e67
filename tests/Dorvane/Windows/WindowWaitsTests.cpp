#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "Dorvane/Windows/WindowWaits.h"
#include "DorvaneCore/Core/FitError.h"
#include "Platform/Dispatch/SimulatedScheduler.h"

namespace dorvane::windows {
namespace {

using dispatch::Task;

struct Outcome {
    std::optional<Rect> frame;
    std::string error;
    double endedAt = -1;
    std::size_t reads = 0;
    friend bool operator==(const Outcome&, const Outcome&) = default;
};

Task<> record(Task<Rect> wait, Outcome* outcome, const dispatch::Clock* clock) {
    try {
        outcome->frame = co_await std::move(wait);
    } catch (const FitError& error) {
        outcome->error = error.what();
    } catch (const dispatch::TaskCancelled&) {
        outcome->error = "cancelled";
    } catch (const std::exception& error) {
        outcome->error = std::string("read failed: ") + error.what();
    }
    outcome->endedAt = clock->uptime();
}

enum class Wait { frame, nativeZoom };
const Rect start{100, 100, 800, 600};
const Rect target{0, 25, 1440, 875};

// Runs one wait on a window worker's queue against a window that reports `frames`, one a
// read, the last one repeating; an empty frame stands for a read that fails. The clock
// starts at 0 so that sums of 0.05 s land exactly on the deadlines.
Outcome run(Wait kind, std::vector<std::optional<Rect>> frames, std::optional<double> cancelAt = std::nullopt) {
    dispatch::SimulatedScheduler scheduler(0.0);
    dispatch::Executor& worker = scheduler.makeSerialQueue("window-worker");
    dispatch::CancellationSource source;
    Outcome outcome;
    WindowLayout::FrameRead read = [&] {
        const auto& frame = frames[std::min(outcome.reads++, frames.size() - 1)];
        if (!frame) throw std::runtime_error("window gone");
        return *frame;
    };
    auto wait = kind == Wait::frame ? WindowLayout::waitForFrame(target, true, scheduler, read, source.token())
                                    : WindowLayout::waitForNativeZoom(start, scheduler, read, source.token());
    dispatch::spawn(worker, record(std::move(wait), &outcome, &scheduler));
    if (cancelAt) {
        scheduler.advanceBy(*cancelAt);
        source.cancel();
    }
    scheduler.advanceBy(5);
    return outcome;
}

TEST(WindowWaits, ReadAtOnceThenEveryFiftyMillisecondsUntilReachedOrTheDeadline) {
    const Rect smaller{0, 25, 1420, 870};
    const Rect nearZoomed{1, 26, 1439, 874};
    struct Case {
        const char* name;
        Outcome outcome;
        Outcome expected;
    };
    const std::vector<Case> cases{
        {"at the target", run(Wait::frame, {smaller}), {smaller, "", 0, 1}},
        {"never there", run(Wait::frame, {start}), {std::nullopt, "窗口未完成调整，请重试", 0.7, 15}},
        {"cancelled", run(Wait::frame, {start}, 0.12), {std::nullopt, "cancelled", 0.12, 3}},
        {"zoom settles", run(Wait::nativeZoom, {start, target, nearZoomed, target}), {target, "", 0.15, 4}},
        {"zoom came back", run(Wait::nativeZoom, {target, target, start, target}), {target, "", 0.25, 6}},
        {"zoom never moves", run(Wait::nativeZoom, {start}), {std::nullopt, "窗口未响应缩放操作", 2.0, 41}},
        {"read fails", run(Wait::nativeZoom, {target, std::nullopt}), {std::nullopt, "read failed: window gone", 0.05, 2}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.outcome, c.expected) << c.name;
}

}  // namespace
}  // namespace dorvane::windows
