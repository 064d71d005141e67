#pragma once

#include <functional>
#include <string>

#include "Platform/Dispatch/Observation.h"
#include "Platform/StatusBar/StatusItem.h"

namespace dorvane::statusbar {

// The system status bar as the program sees it: one item it owns, shown with its menu.
// The item goes away with its owner.
class StatusBar {
public:
    // Answers whether the chosen entry was carried out (false: no such enabled entry).
    using ClickHandler = std::function<bool(const std::string& title)>;

    virtual ~StatusBar() = default;

    // Shows the item, or replaces what it shows.
    virtual void publish(const StatusItem& item) = 0;
    // Takes the item out of the status bar.
    virtual void remove() = 0;

    // Calls `handler` on the main queue with the title of each menu entry the user
    // chooses; its answer is the acknowledgement the chooser gets.
    virtual dispatch::Observation observeClicks(ClickHandler handler) = 0;
};

}  // namespace dorvane::statusbar
