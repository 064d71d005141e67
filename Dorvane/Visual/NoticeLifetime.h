#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "Platform/Dispatch/Executor.h"

namespace dorvane {

// How long the notice stays: each restart sleeps three seconds on the main queue (virtual
// time under a test clock) and then expires, unless a later restart or a cancel came
// first. Destroying the lifetime cancels it. Main thread only.
class NoticeLifetime {
public:
    explicit NoticeLifetime(dispatch::Executor& mainQueue);
    ~NoticeLifetime();
    NoticeLifetime(const NoticeLifetime&) = delete;
    NoticeLifetime& operator=(const NoticeLifetime&) = delete;

    // Cancels a pending expiry and starts a new one that calls `onExpire` after 3 s.
    void restart(std::function<void()> onExpire);
    // Advances the generation, cancels the pending expiry and forgets it.
    void cancel();

    // Only grows: every cancel and restart advances it.
    std::uint64_t generation() const;
    bool isPending() const;

    struct State;  // shared with the sleeping task, which holds it weakly

private:
    dispatch::Executor& mainQueue_;
    std::shared_ptr<State> state_;
};

}  // namespace dorvane
