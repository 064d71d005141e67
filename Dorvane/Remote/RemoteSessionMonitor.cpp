#include "Dorvane/Remote/RemoteSessionMonitor.h"

#include <algorithm>
#include <set>

namespace dorvane {

namespace {

std::set<pid_t> watchedProcesses(const std::vector<workspace::RunningApplication>& applications) {
    std::set<pid_t> pids;
    for (const auto& application : applications) {
        if (RemoteSessionMonitor::isWatchedApplication(application)) pids.insert(application.pid);
    }
    return pids;
}

}  // namespace

RemoteSessionMonitor::RemoteSessionMonitor(dispatch::Executor& mainQueue, dispatch::Clock& clock,
                                           power::AssertionChangeNotifications& notifications,
                                           workspace::WorkspaceEvents& workspace)
    : main_(mainQueue),
      clock_(clock),
      notifications_(notifications),
      workspace_(workspace) {}

RemoteSessionMonitor::~RemoteSessionMonitor() {
    dispatch::assertOn(main_, "RemoteSessionMonitor::~RemoteSessionMonitor");
    lifetime_.end();
    stop();
}

bool RemoteSessionMonitor::isWatchedApplication(const workspace::RunningApplication& application) {
    if (!application.bundlePath) return false;
    return application.bundlePath->find("/ToDesk") != std::string::npos ||
           application.bundlePath->find("/UURemote") != std::string::npos;
}

std::function<void()> RemoteSessionMonitor::requestIfAlive() {
    return [this, alive = lifetime_.watch()] {
        if (alive) request();
    };
}

void RemoteSessionMonitor::start(Sample sample) {
    dispatch::assertOn(main_, "RemoteSessionMonitor::start");
    stop();
    sample_ = std::move(sample);
    notificationsStarted_ = notifications_.start(requestIfAlive());
    fallback_ = dispatch::Timer::repeating(
        main_, notificationsStarted_ ? fallbackWithNotifications : fallbackWithoutNotifications, requestIfAlive());
    observation_ = workspace_.observeRunningApplications(
        [requestIfAlive = requestIfAlive()](const std::vector<workspace::RunningApplication>& before,
                                            const std::vector<workspace::RunningApplication>& after) {
            if (watchedProcesses(before) != watchedProcesses(after)) requestIfAlive();
        });
    wake_ = workspace_.observeWake(requestIfAlive());
    request();
}

void RemoteSessionMonitor::request() {
    dispatch::assertOn(main_, "RemoteSessionMonitor::request");
    if (!sample_) return;
    if (pending_) {
        dirty_ = true;
        return;
    }
    const double wait = std::max(lastSample_ + minimumSpacing - clock_.uptime(), 0.0);
    pending_.emplace();
    dispatch::spawn(main_, runSample(lifetime_.watch(), wait, generation_, pending_->token()),
                    [this, alive = lifetime_.watch(), generation = generation_](std::exception_ptr) {
                        if (alive && generation == generation_) sampleEnded(std::nullopt);
                    });
}

// A spawned member task: it starts as a later job of the main queue, when the monitor may
// be gone, so nothing of `this` is read before `alive` was checked, here and after each await.
dispatch::Task<void> RemoteSessionMonitor::runSample(dispatch::Lifetime::Watch alive, double wait, int generation,
                                                     dispatch::CancellationToken token) {
    if (wait > 0) co_await dispatch::sleepFor(wait, token);

    if (!alive || token.isCancelled() || generation != generation_ || !sample_) co_return;
    lastSample_ = clock_.uptime();
    Sample sample = sample_;

    const std::optional<double> delay = co_await sample();

    if (!alive || token.isCancelled() || generation != generation_) co_return;
    sampleEnded(delay);
}

// A sample that failed asks for no recheck; the fallback timer and the next change
// bring the next one.
void RemoteSessionMonitor::sampleEnded(std::optional<double> delay) {
    pending_.reset();
    confirmation_.cancel();
    if (delay) confirmation_ = dispatch::Timer::once(main_, std::max(*delay, shortestRecheck), requestIfAlive());
    if (dirty_) {
        dirty_ = false;
        request();
    }
}

void RemoteSessionMonitor::stop() {
    dispatch::assertOn(main_, "RemoteSessionMonitor::stop");
    ++generation_;
    notifications_.stop();
    notificationsStarted_ = false;
    fallback_.cancel();
    confirmation_.cancel();
    pending_.reset();  // cancels the running sample's token
    observation_.cancel();
    wake_.cancel();
    sample_ = nullptr;
    dirty_ = false;
    lastSample_ = -std::numeric_limits<double>::infinity();
}

}  // namespace dorvane
