#pragma once

#include <cstdint>
#include <functional>

#include "DorvaneCore/Geometry/Rect.h"
#include "Platform/Dispatch/Task.h"
#include "Platform/Displays/ScreenServices.h"

namespace dorvane::shell {

// Window commands on other applications' windows, as far as the shell's lifecycle
// uses them: the hooks it installs at launch, auto-fill's work, ending a pick session.
class WindowCommands {
public:
    // Awaited before every window frame change.
    using PrepareLayout = std::function<dispatch::Task<void>()>;
    // The toolkit rectangle window commands may use on a screen.
    using LayoutArea = std::function<geometry::Rect(const displays::Screen&)>;

    virtual ~WindowCommands() = default;

    virtual void setLayoutHooks(PrepareLayout prepare, LayoutArea area) = 0;
    // Fills the process's front window when the auto-fill policy allows; never throws.
    virtual dispatch::Task<void> autoFillFront(std::int32_t pid) = 0;
    // Ends a running window-pick session; harmless when none runs.
    virtual void endPicking() = 0;
};

class NullWindowCommands final : public WindowCommands {
public:
    void setLayoutHooks(PrepareLayout, LayoutArea) override {}
    dispatch::Task<void> autoFillFront(std::int32_t) override { co_return; }
    void endPicking() override {}
};

}  // namespace dorvane::shell
