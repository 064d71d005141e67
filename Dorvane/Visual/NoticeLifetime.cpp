#include "Dorvane/Visual/NoticeLifetime.h"

#include <optional>

#include "DorvaneCore/Visual/GenerationGuard.h"
#include "DorvaneCore/Visual/TransientNoticeLayout.h"
#include "Platform/Dispatch/Cancellation.h"
#include "Platform/Dispatch/Task.h"

namespace dorvane {

struct NoticeLifetime::State {
    GenerationGuard guard;
    std::optional<dispatch::CancellationSource> pending;
};

namespace {

dispatch::Task<void> expireAfterSleeping(std::weak_ptr<NoticeLifetime::State> weak, GenerationGuard::Ticket ticket,
                                         dispatch::CancellationToken token, std::function<void()> onExpire);

}  // namespace

NoticeLifetime::NoticeLifetime(dispatch::Executor& mainQueue)
    : mainQueue_(mainQueue), state_(std::make_shared<State>()) {}

NoticeLifetime::~NoticeLifetime() { cancel(); }

void NoticeLifetime::restart(std::function<void()> onExpire) {
    cancel();
    const GenerationGuard::Ticket ticket = state_->guard.begin();
    state_->pending.emplace();
    dispatch::spawn(mainQueue_, expireAfterSleeping(state_, ticket, state_->pending->token(), std::move(onExpire)));
}

void NoticeLifetime::cancel() {
    state_->guard.cancel();
    state_->pending.reset();  // cancels the sleep
}

std::uint64_t NoticeLifetime::generation() const { return state_->guard.generation(); }

bool NoticeLifetime::isPending() const { return state_->guard.isPending(); }

namespace {

dispatch::Task<void> expireAfterSleeping(std::weak_ptr<NoticeLifetime::State> weak, GenerationGuard::Ticket ticket,
                                         dispatch::CancellationToken token, std::function<void()> onExpire) {
    // A cancelled sleep throws TaskCancelled, the quiet end of a replaced notice's expiry.
    co_await dispatch::sleepFor(TransientNoticeLayout::lifetimeSeconds, token);
    // The lifetime may be gone, or a newer notice may own it by now.
    const auto state = weak.lock();
    if (!state || token.isCancelled() || !state->guard.finish(ticket)) co_return;
    state->pending.reset();
    onExpire();
}

}  // namespace

}  // namespace dorvane
