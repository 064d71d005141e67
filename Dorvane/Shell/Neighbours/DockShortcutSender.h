#pragma once

#include <cstdint>
#include <optional>

#include "DorvaneCore/Shortcuts/NamedShortcut.h"

namespace dorvane::shell {

// The controller's own shortcut sender for the Dock shortcut.
class DockShortcutSender {
public:
    virtual ~DockShortcutSender() = default;
    // Sends the shortcut to the process (or the frontmost other application) in a task
    // of its own; failures stay inside.
    virtual void enqueueTap(const NamedShortcut& shortcut, std::optional<std::int32_t> targetPID) = 0;
    // Cancels the pending tap and releases every held key; safe when nothing is held.
    virtual void releaseAll() = 0;
};

class NullDockShortcutSender final : public DockShortcutSender {
public:
    void enqueueTap(const NamedShortcut&, std::optional<std::int32_t>) override {}
    void releaseAll() override {}
};

}  // namespace dorvane::shell
