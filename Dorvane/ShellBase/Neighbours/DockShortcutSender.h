#pragma once

#include <cstdint>
#include <optional>

#include "DorvaneCore/Shortcuts/NamedShortcut.h"
#include "Platform/Dispatch/Task.h"

namespace dorvane::shell {

// The controller's own shortcut sender for the Dock shortcut.
class DockShortcutSender {
public:
    virtual ~DockShortcutSender() = default;
    // Sends the shortcut to the process (or the frontmost other application) in a task
    // of its own, which becomes the pending tap; failures stay inside.
    virtual void enqueueTap(const NamedShortcut& shortcut, std::optional<std::int32_t> targetPID) = 0;
    // Finishes when the pending tap has ended; at once when there is none.
    virtual dispatch::Task<void> waitForPendingTap() = 0;
    // Cancels the pending tap and releases every held key; safe when nothing is held.
    virtual void releaseAll() = 0;
};

class NullDockShortcutSender final : public DockShortcutSender {
public:
    void enqueueTap(const NamedShortcut&, std::optional<std::int32_t>) override {}
    dispatch::Task<void> waitForPendingTap() override { co_return; }
    void releaseAll() override {}
};

}  // namespace dorvane::shell
