#pragma once

#include <functional>
#include <string>

#include "DorvaneCore/Core/AppTheme.h"

namespace dorvane {

// What the application controller asks of the toolkit's application object.
class ApplicationPlatform {
public:
    virtual ~ApplicationPlatform() = default;
    // Leaves the event loop; the program then ends with `exitCode`.
    virtual void quit(int exitCode) = 0;
    // No Dock icon and no menu bar of its own.
    virtual void setAccessoryPolicy() = 0;
    virtual void applyTheme(AppTheme theme) = 0;
    // Brings the program's windows to the front.
    virtual void activate() = 0;
    // Whether the program's resources hold the image `name`.
    virtual bool hasImage(const std::string& name) = 0;
};

// The terminate and interrupt signals, turned into calls on the main queue.
class TerminationSignals {
public:
    virtual ~TerminationSignals() = default;
    // From now on each terminate or interrupt signal calls `handler` on the main queue.
    virtual void install(std::function<void()> handler) = 0;
};

}  // namespace dorvane
