#pragma once

#include <cstdint>
#include <functional>

#include "Platform/Dispatch/Task.h"

namespace dorvane::shell {

// Fills the front window of activated applications during a remote session.
class AutoFill {
public:
    using Perform = std::function<dispatch::Task<void>(std::int32_t pid)>;
    using CanFill = std::function<bool()>;

    virtual ~AutoFill() = default;
    virtual void setPerform(Perform perform) = 0;
    virtual void setCanFill(CanFill canFill) = 0;
    // Off removes its observers, cancels and resets its tracking.
    virtual void setEnabled(bool on) = 0;
};

class NullAutoFill final : public AutoFill {
public:
    void setPerform(Perform) override {}
    void setCanFill(CanFill) override {}
    void setEnabled(bool) override {}
};

}  // namespace dorvane::shell
