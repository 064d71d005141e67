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
      workspace_(workspace),
      self_(std::make_shared<RemoteSessionMonitor*>(this)) {}

RemoteSessionMonitor::~RemoteSessionMonitor() {
    stop();
    self_.reset();
}

bool RemoteSessionMonitor::isWatchedApplication(const workspace::RunningApplication& application) {
    if (!application.bundlePath) return false;
    return application.bundlePath->find("/ToDesk") != std::string::npos ||
           application.bundlePath->find("/UURemote") != std::string::npos;
}

void RemoteSessionMonitor::start(Sample sample) {
    stop();
    sample_ = std::move(sample);
    std::weak_ptr<RemoteSessionMonitor*> weak = self_;
    auto requestIfAlive = [weak] {
        if (auto self = weak.lock()) (*self)->request();
    };

    notificationsStarted_ = notifications_.start(requestIfAlive);
    fallback_ = dispatch::Timer::repeating(
        main_, notificationsStarted_ ? fallbackWithNotifications : fallbackWithoutNotifications, requestIfAlive);
    observation_ = workspace_.observeRunningApplications(
        [requestIfAlive](const std::vector<workspace::RunningApplication>& before,
                         const std::vector<workspace::RunningApplication>& after) {
            if (watchedProcesses(before) != watchedProcesses(after)) requestIfAlive();
        });
    wake_ = workspace_.observeWake(requestIfAlive);
    request();
}

void RemoteSessionMonitor::request() {
    if (!sample_) return;
    if (pending_) {
        dirty_ = true;
        return;
    }
    const double wait = std::max(lastSample_ + minimumSpacing - clock_.uptime(), 0.0);
    pending_.emplace();
    dispatch::spawn(main_, runSample(wait, generation_, pending_->token()));
}

dispatch::Task<void> RemoteSessionMonitor::runSample(double wait, int generation, dispatch::CancellationToken token) {
    std::weak_ptr<RemoteSessionMonitor*> weak = self_;
    if (wait > 0) co_await dispatch::sleepFor(wait, token);

    auto self = weak.lock();
    if (!self || token.isCancelled() || generation != generation_ || !sample_) co_return;
    lastSample_ = clock_.uptime();
    Sample sample = sample_;
    self.reset();

    const std::optional<double> delay = co_await sample();

    self = weak.lock();
    if (!self || token.isCancelled() || generation != generation_) co_return;
    pending_.reset();
    confirmation_.cancel();
    if (delay) {
        std::weak_ptr<RemoteSessionMonitor*> again = self_;
        confirmation_ = dispatch::Timer::once(main_, std::max(*delay, shortestRecheck), [again] {
            if (auto monitor = again.lock()) (*monitor)->request();
        });
    }
    if (dirty_) {
        dirty_ = false;
        request();
    }
}

void RemoteSessionMonitor::stop() {
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
