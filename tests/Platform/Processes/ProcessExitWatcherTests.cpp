#include <chrono>
#include <condition_variable>
#include <csignal>
#include <functional>
#include <memory>
#include <optional>
#include <mutex>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "Platform/Processes/ProcessExitWatcher.h"

namespace dorvane::processes {
namespace {

// Counts calls and lets the test wait for them; also serves as a one-way gate between
// the test and the watcher's thread.
class Signal {
public:
    void open() {
        std::lock_guard lock(mutex_);
        ++count_;
        changed_.notify_all();
    }
    std::function<void()> callback() {
        return [this] { open(); };
    }
    int count() {
        std::lock_guard lock(mutex_);
        return count_;
    }
    // Waits until `expected` calls arrived (or a generous bound passed); answers the count.
    int awaitCount(int expected) {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, std::chrono::seconds(20), [&] { return count_ >= expected; });
        return count_;
    }
    bool await() { return awaitCount(1) >= 1; }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int count_ = 0;
};

pid_t pausedChild() {
    const pid_t child = ::fork();
    if (child == 0) {
        for (;;) ::pause();
    }
    return child;
}

// Kills and leaves a zombie: the exit is then visible to any pidfd opened on it.
void endAndKeepZombie(pid_t pid) {
    ::kill(pid, SIGKILL);
    siginfo_t info{};
    ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT);
}

ProcessIdentity identityOf(pid_t pid) { return ProcessIdentity{pid, readProcessStatus(pid)->startTime}; }

TEST(ProcessExitWatcherTest, ReportsEachEndOnceAndAProcessGoneOrReplacedAtOnce) {
    ProcessExitWatcher watcher;
    Signal watched, unwatched, replaced, gone;
    const pid_t first = pausedChild();
    const pid_t second = pausedChild();
    ASSERT_GT(first, 0);
    ASSERT_GT(second, 0);
    const auto identity = identityOf(first);
    ASSERT_TRUE(watcher.watch(identity, watched.callback()));
    const auto id = watcher.watch(identityOf(second), unwatched.callback());
    ASSERT_TRUE(id);
    EXPECT_EQ(watched.count(), 0);
    // Same pid, other start time: another process now.
    EXPECT_FALSE(watcher.watch(ProcessIdentity{second, identityOf(second).startTime + 1}, replaced.callback()));
    EXPECT_EQ(replaced.count(), 1);

    watcher.unwatch(*id);
    ::kill(second, SIGKILL);
    ::kill(first, SIGKILL);  // left a zombie: it has ended all the same
    EXPECT_EQ(watched.awaitCount(1), 1);
    ASSERT_EQ(::waitpid(first, nullptr, 0), first);
    ASSERT_EQ(::waitpid(second, nullptr, 0), second);
    EXPECT_EQ(unwatched.count(), 0);
    EXPECT_EQ(watched.count(), 1);
    EXPECT_FALSE(watcher.watch(identity, gone.callback()));
    EXPECT_EQ(gone.count(), 1);
}

// Both `first` and `second` are watched and end while `blocker`'s callback holds the
// watcher's thread, so they are reported together, first before second.
struct EndedTogether {
    pid_t first = pausedChild();
    pid_t second = pausedChild();
    pid_t blocker = pausedChild();
    Signal blocking, release;  // outlive run(): the blocker's callback may still be returning

    void run(ProcessExitWatcher& watcher, std::function<void()> firstEnded, std::function<void()> secondEnded,
             std::optional<std::uint64_t>& secondID) {
        ASSERT_GT(first, 0);
        ASSERT_GT(second, 0);
        ASSERT_GT(blocker, 0);
        ASSERT_TRUE(watcher.watch(identityOf(first), std::move(firstEnded)));
        secondID = watcher.watch(identityOf(second), std::move(secondEnded));
        ASSERT_TRUE(secondID);
        ASSERT_TRUE(watcher.watch(identityOf(blocker), [&] {
            blocking.open();
            release.await();
        }));
        endAndKeepZombie(blocker);
        ASSERT_TRUE(blocking.await());
        endAndKeepZombie(first);
        endAndKeepZombie(second);
        release.open();
    }
    ~EndedTogether() {
        for (const pid_t pid : {first, second, blocker}) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }
};

TEST(ProcessExitWatcherTest, AnEndedWatchNotYetReportedCanStillBeWithdrawn) {
    ProcessExitWatcher watcher;
    Signal firstRunning, firstRelease, second;
    std::optional<std::uint64_t> secondID;
    EndedTogether processes;
    processes.run(
        watcher,
        [&] {
            firstRunning.open();
            firstRelease.await();
        },
        second.callback(), secondID);
    ASSERT_TRUE(firstRunning.await());
    watcher.unwatch(*secondID);  // the second end is already taken in, not yet reported
    firstRelease.open();

    // Callbacks run one after another: once a later one ran, the second's turn is over.
    Signal later;
    const pid_t child = pausedChild();
    ASSERT_GT(child, 0);
    ASSERT_TRUE(watcher.watch(identityOf(child), later.callback()));
    endAndKeepZombie(child);
    EXPECT_EQ(later.awaitCount(1), 1);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    EXPECT_EQ(second.count(), 0);
}

TEST(ProcessExitWatcherTest, NothingIsReportedAfterACallbackDestroysTheWatcher) {
    auto watcher = std::make_unique<ProcessExitWatcher>();
    // The second callback reports, when dropped, whether it ran.
    struct Outcome {
        Signal called, dropped;
    };
    auto outcome = std::make_shared<Outcome>();
    struct Drop {
        std::shared_ptr<Outcome> outcome;
        ~Drop() {
            if (outcome) outcome->dropped.open();
        }
    };
    auto drop = std::make_shared<Drop>();
    drop->outcome = outcome;
    std::optional<std::uint64_t> secondID;
    EndedTogether processes;
    processes.run(
        *watcher, [&] { watcher.reset(); },
        [drop] { drop->outcome->called.open(); }, secondID);
    drop.reset();
    ASSERT_TRUE(outcome->dropped.await());
    EXPECT_EQ(outcome->called.count(), 0);
}

}  // namespace
}  // namespace dorvane::processes
