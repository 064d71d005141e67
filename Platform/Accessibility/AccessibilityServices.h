#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <sys/types.h>

#include "Platform/Accessibility/AXElement.h"
#include "Platform/Accessibility/AXError.h"
#include "Platform/Accessibility/AXValue.h"
#include "Platform/Accessibility/ProcessTrust.h"

namespace dorvane::accessibility {

// Called on the main queue with the element a notification is about and its name.
using AXObserverCallback = std::function<void(const AXElement& element, const std::string& notification)>;

// Notifications of one application's elements. Destroying the observer stops every
// call, including one already queued.
class AXObserver {
public:
    virtual ~AXObserver() = default;

    // The element must belong to the observer's application: the application itself
    // (every window's notifications of that name) or one window.
    virtual AXError addNotification(const AXElement& element, std::string_view notification) = 0;
    virtual AXError removeNotification(const AXElement& element, std::string_view notification) = 0;
};

// Other applications' user interface, element by element. Every call to an application
// costs its answer time; a call that would take longer than the element's messaging
// timeout (its own, else the system-wide element's, else 6 s) waits that long and
// answers cannotComplete. Without trust every call answers notTrusted.
class AccessibilityServices : public ProcessTrust {
public:
    virtual AXElement applicationElement(pid_t pid) = 0;
    virtual AXElement systemWideElement() = 0;

    // Seconds, above 0; 0 makes the element use the system-wide timeout again (on the
    // system-wide element: the 6 s default). Negative or not finite: illegalArgument.
    virtual AXError setMessagingTimeout(const AXElement& element, double seconds) = 0;

    virtual AXError copyAttributeValue(const AXElement& element, std::string_view attribute, AXValue& value) = 0;
    virtual AXError isAttributeSettable(const AXElement& element, std::string_view attribute, bool& settable) = 0;
    virtual AXError setAttributeValue(const AXElement& element, std::string_view attribute, const AXValue& value) = 0;
    virtual AXError performAction(const AXElement& element, std::string_view action) = 0;

    virtual AXError createObserver(pid_t pid, AXObserverCallback callback, std::unique_ptr<AXObserver>& observer) = 0;
};

}  // namespace dorvane::accessibility
