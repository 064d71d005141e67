#pragma once

#include <functional>

namespace dorvane::shell {

// The Accessibility permission monitor and its guide.
class PermissionTracker {
public:
    virtual ~PermissionTracker() = default;
    // Reads the Accessibility trust and the event-posting access again.
    virtual void refresh() = 0;
    virtual bool accessibilityGranted() const = 0;
    // Run once when trust is granted; replaces an earlier one.
    virtual void setCompletion(std::function<void()> completion) = 0;
    // Opens the system's Accessibility settings and shows the guide panel.
    virtual void showGuide() = 0;
};

class NullPermissionTracker final : public PermissionTracker {
public:
    void refresh() override {}
    bool accessibilityGranted() const override { return false; }
    void setCompletion(std::function<void()>) override {}
    void showGuide() override {}
};

}  // namespace dorvane::shell
