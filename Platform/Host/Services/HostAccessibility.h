#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

#include "Platform/Accessibility/AccessibilityServices.h"
#include "Platform/Host/Session/FaultGate.h"
#include "Platform/Host/Session/HostSession.h"
#include "Platform/Host/Services/HostWindowEvents.h"

namespace dorvane::host {

// A messaging timeout nobody set.
inline constexpr double kDefaultMessagingTimeout = 6.0;

// Accessibility on the simulated host. A call first checks trust and that its element
// still exists (answering at once), then costs its application's latency plus any fault
// delay: past the element's timeout, or on a hung call, it sleeps for the timeout and
// answers cannotComplete; otherwise it sleeps the cost and then acts. Sleeping never
// holds the host's lock. Writes, actions and failures are logged; successful reads are not.
// While another program holds the host's lock, the trust it last told stands.
class HostAccessibility final : public accessibility::AccessibilityServices {
public:
    HostAccessibility(std::shared_ptr<HostSession> session, std::shared_ptr<HostWindowEvents> events);

    bool isProcessTrusted() override;
    accessibility::AXElement applicationElement(pid_t pid) override;
    accessibility::AXElement systemWideElement() override;
    accessibility::AXError setMessagingTimeout(const accessibility::AXElement& element, double seconds) override;
    accessibility::AXError copyAttributeValue(const accessibility::AXElement& element, std::string_view attribute,
                                              accessibility::AXValue& value) override;
    accessibility::AXError isAttributeSettable(const accessibility::AXElement& element, std::string_view attribute,
                                               bool& settable) override;
    accessibility::AXError setAttributeValue(const accessibility::AXElement& element, std::string_view attribute,
                                             const accessibility::AXValue& value) override;
    accessibility::AXError performAction(const accessibility::AXElement& element, std::string_view action) override;
    accessibility::AXError createObserver(pid_t pid, accessibility::AXObserverCallback callback,
                                          std::unique_ptr<accessibility::AXObserver>& observer) override;

    // The timeout a call to `element` waits at most.
    double timeoutFor(const accessibility::AXElement& element) const;

private:
    struct Request {
        HostCall call;
        const accessibility::AXElement& element;
        std::string_view name;
        bool changes;  // a write or an action: always logged
        std::optional<std::string> argument;  // the value written, as the log shows it
    };
    // `body` runs with exclusive access once the call's cost has been paid; `corrupt`
    // gets a value-fault to apply to what it answered.
    accessibility::AXError run(const Request& request, const std::function<accessibility::AXError(HostData&)>& body,
                               const std::function<void(FaultValue)>& corrupt = nullptr);
    accessibility::AXError attempt(const Request& request,
                                   const std::function<accessibility::AXError(HostData&)>& body,
                                   const std::function<void(FaultValue)>& corrupt);
    void log(HostData& data, const Request& request, accessibility::AXError result);

    std::shared_ptr<HostSession> session_;
    std::shared_ptr<HostWindowEvents> events_;
    FaultGate faults_;
    accessibility::AXElement systemWide_;
    std::atomic<double> systemWideTimeout_{0};  // 0: the default
    std::atomic<bool> lastTrusted_{false};      // the trust the host last told
};

}  // namespace dorvane::host
