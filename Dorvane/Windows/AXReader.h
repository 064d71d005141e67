#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

#include "DorvaneCore/Windows/CoordinateSpaces.h"
#include "Platform/Accessibility/AccessibilityServices.h"

namespace dorvane::windows {

// The reads every window actor makes of another application's elements, each answering
// none (or false, or nothing) when the call fails or the value has another type.
class AXReader {
public:
    explicit AXReader(accessibility::AccessibilityServices& ax) : ax_(ax) {}

    accessibility::AccessibilityServices& services() const { return ax_; }

    // The application's element, with its messaging timeout set before anything asks it.
    accessibility::AXElement application(pid_t pid, double timeout) const;
    void setTimeout(const accessibility::AXElement& element, double timeout) const;

    std::optional<accessibility::AXElement> element(const accessibility::AXElement& of, std::string_view attribute) const;
    // The element under `attribute` unless its "AXEnabled" reads as false.
    std::optional<accessibility::AXElement> enabledButton(const accessibility::AXElement& window,
                                                          std::string_view attribute) const;
    // An unreadable or mistyped list is empty.
    std::vector<accessibility::AXElement> elements(const accessibility::AXElement& of, std::string_view attribute) const;
    std::optional<bool> boolean(const accessibility::AXElement& of, std::string_view attribute) const;
    bool isTrue(const accessibility::AXElement& of, std::string_view attribute) const;
    std::optional<std::string> text(const accessibility::AXElement& of, std::string_view attribute) const;
    // The settability query succeeds and answers true.
    bool settable(const accessibility::AXElement& of, std::string_view attribute) const;
    // "AXPosition" and "AXSize", both read as a point and a size.
    std::optional<Rect> frame(const accessibility::AXElement& window) const;

private:
    accessibility::AccessibilityServices& ax_;
};

}  // namespace dorvane::windows
