#pragma once

#include <functional>
#include <limits>
#include <memory>
#include <optional>

#include "Platform/Dispatch/Cancellation.h"
#include "Platform/Dispatch/Clock.h"
#include "Platform/Dispatch/Executor.h"
#include "Platform/Dispatch/Lifetime.h"
#include "Platform/Dispatch/Observation.h"
#include "Platform/Dispatch/Task.h"
#include "Platform/Dispatch/Timer.h"
#include "Platform/Power/AssertionChangeNotifications.h"
#include "Platform/Workspace/WorkspaceEvents.h"

namespace dorvane {

// Decides when to sample the remote-session state: on every power-assertion change,
// when a watched remote-desktop application starts or quits, after a wake, on a
// fallback timer, and when the last sample asked for a re-check. Samples are at
// least one second apart and never overlap; requests that arrive during a sample
// lead to exactly one more. Lives on the main queue: every member is called there, and
// it is destroyed there.
class RemoteSessionMonitor {
public:
    // Awaits one sample; answers the delay after which to sample again, if any.
    using Sample = std::function<dispatch::Task<std::optional<double>>()>;

    static constexpr double minimumSpacing = 1.0;
    static constexpr double fallbackWithNotifications = 30.0;
    static constexpr double fallbackWithoutNotifications = 5.0;
    static constexpr double shortestRecheck = 0.05;

    RemoteSessionMonitor(dispatch::Executor& mainQueue, dispatch::Clock& clock,
                         power::AssertionChangeNotifications& notifications, workspace::WorkspaceEvents& workspace);
    ~RemoteSessionMonitor();

    RemoteSessionMonitor(const RemoteSessionMonitor&) = delete;
    RemoteSessionMonitor& operator=(const RemoteSessionMonitor&) = delete;

    void start(Sample sample);
    void request();
    void stop();

    bool isRunning() const { return static_cast<bool>(sample_); }
    bool notificationsAvailable() const { return notificationsStarted_; }

    // True when the bundle path belongs to a watched remote-desktop application.
    static bool isWatchedApplication(const workspace::RunningApplication& application);

private:
    dispatch::Task<void> runSample(dispatch::Lifetime::Watch alive, double wait, int generation,
                                   dispatch::CancellationToken token);
    // The running sample is over: schedule its recheck and the request it kept waiting.
    void sampleEnded(std::optional<double> delay);
    // Runs `request()` while the monitor exists.
    std::function<void()> requestIfAlive();

    dispatch::Executor& main_;
    dispatch::Clock& clock_;
    power::AssertionChangeNotifications& notifications_;
    workspace::WorkspaceEvents& workspace_;

    dispatch::Timer fallback_;
    dispatch::Timer confirmation_;
    std::optional<dispatch::CancellationSource> pending_;
    dispatch::Observation observation_;
    dispatch::Observation wake_;
    Sample sample_;
    int generation_ = 0;
    double lastSample_ = -std::numeric_limits<double>::infinity();
    bool dirty_ = false;
    bool notificationsStarted_ = false;
    // Sample tasks and callbacks check it before touching the monitor.
    dispatch::Lifetime lifetime_;
};

}  // namespace dorvane
