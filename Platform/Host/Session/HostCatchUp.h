#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "Platform/Dispatch/Clock.h"
#include "Platform/Dispatch/Executor.h"

namespace dorvane::host {

// Work with the host that the host turned away (its lock held by another program past the
// bound, a file that cannot be read just now) and that no later change may come to bring
// back: it is done again until it is done. The first try comes `firstDelaySeconds` after
// the refusal, each further one twice as long after the last, never more than
// `longestDelaySeconds` apart, and one comes at once after any access of this process that
// got through (the lock is free then). The one place where the readers and writers of the
// host catch up, so that a change the program makes reaches the host after a hold, and a
// change the host made reaches the program.
//
// - Work is kept by key: a newer attempt of a key replaces the one waiting (the newest
//   state is what must reach the host, and a reader reads everything new anyway); keys are
//   tried in the order they first waited, and one turned away again keeps its place.
// - Tries run on the executor given (the main queue, where each is one bounded access and
//   never waits behind another thread); without one, on the thread of a later access that
//   got through.
// - The first refusal of a run (from nothing waiting to something waiting) is said once
//   through the notice, with what was turned away and why.
//
//   catchUp->attempt("status item", [=] { return publishNow(item); });  // now, and again until done
//   catchUp->later("screens", [=] { return readPulse(); }, error.what());  // it just failed
class HostCatchUp : public std::enable_shared_from_this<HostCatchUp> {
public:
    // Answers true when the work is done, or no longer needed (its owner went); false, or a
    // throw, when the host turned it away again.
    using Attempt = std::function<bool()>;
    using Notice = std::function<void(const std::string& line)>;

    static constexpr double firstDelaySeconds = 0.5;
    static constexpr double longestDelaySeconds = 2;

    HostCatchUp(dispatch::Clock& clock, dispatch::Executor* executor);
    ~HostCatchUp();
    HostCatchUp(const HostCatchUp&) = delete;
    HostCatchUp& operator=(const HostCatchUp&) = delete;

    // Where the first refusal of a run is said; none: nowhere. Set before the host is used.
    void setNotice(Notice notice);

    // Runs `attempt` now, on the calling thread. Done: what waited under `key` is dropped
    // (unless another thread kept it after this try began), and the answer is true. Turned
    // away: it waits under `key` (replacing what waited there) to be tried again, and the
    // answer is false.
    bool attempt(const std::string& key, Attempt attempt);
    // Keeps `attempt` under `key` to be tried again, without a try now: the caller's own
    // access just failed, for the reason `why`.
    void later(const std::string& key, Attempt attempt, const std::string& why);
    // What waits under `key` is no longer wanted.
    void drop(const std::string& key);

    // An access of this process got through: the host lets go now, so what waits is tried
    // at once (once per run of tries; it is not tried from inside one of its own tries).
    void hostLetGo();

    // Keys waiting now, in the order they are tried.
    std::vector<std::string> waiting() const;

    // Nothing is tried any more, and nothing waits.
    void end();

private:
    struct Waiting {
        std::string key;
        Attempt attempt;
        std::uint64_t version = 0;  // a newer attempt of the key has a higher one
    };

    // Hold mutex_. keep() puts `attempt` under `key`, in place when the key waits already;
    // settle() ends a run of refusals; schedule() sets the next try, `delay_` from now (twice
    // the last delay when the host refused again), unless one comes sooner.
    void keep(const std::string& key, Attempt attempt);
    void dropLocked(const std::string& key);
    void settle();
    void schedule(bool refusedAgain);
    // Tries everything that waits, in order.
    void run();
    // `attempt`, with a throw taken as a refusal; `why` gets its text.
    static bool tryOnce(const Attempt& attempt, std::string& why);

    dispatch::Clock& clock_;
    dispatch::Executor* executor_;
    mutable std::mutex mutex_;
    Notice notice_;
    std::vector<Waiting> waiting_;
    // The version of each key's newest attempt (or of its drop) while it waits or is tried.
    std::map<std::string, std::uint64_t> latest_;
    std::uint64_t nextVersion_ = 1;
    bool refusing_ = false;  // something was refused and is not done yet
    double delay_ = firstDelaySeconds;
    std::optional<double> nextTry_;  // when the timer fires
    std::optional<double> lastRun_;
    dispatch::TimerHandle timer_;
    bool running_ = false;
    bool soonPosted_ = false;  // a try at once is on its way to the executor
    bool ended_ = false;
};

// An attempt that does `work` with the object `owner` points to while that object lives, and
// is done once it has gone; `work` throws when the host turned it away.
//
//   catchUp.attempt("screens", whileAlive(weak_from_this(), [](Hub& hub) { hub.refresh(); }));
template <typename T, typename Work>
HostCatchUp::Attempt whileAlive(std::weak_ptr<T> owner, Work work) {
    return [owner = std::move(owner), work = std::move(work)] {
        if (const auto alive = owner.lock()) work(*alive);
        return true;
    };
}

}  // namespace dorvane::host
