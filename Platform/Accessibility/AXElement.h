#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <sys/types.h>

namespace dorvane::accessibility {

// What an element stands for. Two elements made separately for the same thing are equal.
struct AXElementIdentity {
    enum class Kind : std::uint8_t {
        systemWide,
        application,
        window,
        closeButton,     // a window's title-bar buttons
        minimizeButton,
        zoomButton,
        menuBar,
        menuBarItem,     // `menu`: its index in the menu bar
        menu,            // the menu a menu-bar item opens
        menuItem,        // `menu` and `item`: its place
    };

    Kind kind = Kind::systemWide;
    pid_t pid = 0;
    std::uint32_t window = 0;
    std::uint32_t menu = 0;
    std::uint32_t item = 0;

    friend bool operator==(const AXElementIdentity&, const AXElementIdentity&) = default;
};

// A handle on one element of another application's user interface. Copies share one
// element, and so its messaging timeout; equality and the hash follow what it stands
// for, and the hash is the same in every process.
class AXElement {
public:
    // An empty handle, equal only to other empty handles.
    AXElement() = default;
    explicit AXElement(AXElementIdentity identity);

    bool isValid() const { return static_cast<bool>(shared_); }
    // Valid handles only.
    const AXElementIdentity& identity() const { return shared_->identity; }
    pid_t pid() const { return isValid() ? shared_->identity.pid : 0; }
    AXElementIdentity::Kind kind() const { return shared_->identity.kind; }

    // The element's own messaging timeout in seconds; none while it uses the system-wide one.
    std::optional<double> messagingTimeout() const;
    void setMessagingTimeout(std::optional<double> seconds) const;

    std::size_t hash() const;

    friend bool operator==(const AXElement& a, const AXElement& b);

private:
    struct Shared {
        AXElementIdentity identity;
        std::atomic<double> timeout{0};  // 0: none of its own
    };
    std::shared_ptr<Shared> shared_;
};

}  // namespace dorvane::accessibility

template <>
struct std::hash<dorvane::accessibility::AXElement> {
    std::size_t operator()(const dorvane::accessibility::AXElement& element) const { return element.hash(); }
};
