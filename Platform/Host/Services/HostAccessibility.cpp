#include "Platform/Host/Services/HostAccessibility.h"

#include <cmath>
#include <limits>
#include <mutex>
#include <set>
#include <utility>

#include "DorvaneCore/Core/BusyFailure.h"
#include "Platform/Host/Machines/AccessibilityTree.h"
#include "Platform/Host/State/HostError.h"
#include "Platform/Host/Session/RefusableChange.h"

namespace dorvane::host {

using accessibility::AXElement;
using accessibility::AXElementIdentity;
using accessibility::AXError;
using accessibility::AXValue;
using Kind = AXElementIdentity::Kind;

namespace {

std::optional<std::uint32_t> windowOf(const AXElement& element) {
    switch (element.kind()) {
        case Kind::window:
        case Kind::closeButton:
        case Kind::minimizeButton:
        case Kind::zoomButton: return element.identity().window;
        default: return std::nullopt;
    }
}

// What the log calls an element that is neither an application nor a window.
std::optional<std::string> partName(const AXElementIdentity& id) {
    switch (id.kind) {
        case Kind::closeButton: return "closeButton";
        case Kind::minimizeButton: return "minimizeButton";
        case Kind::zoomButton: return "zoomButton";
        case Kind::menuBar: return "menuBar";
        case Kind::menuBarItem: return "menuBarItem " + std::to_string(id.menu);
        case Kind::menu: return "menu " + std::to_string(id.menu);
        case Kind::menuItem: return "menuItem " + std::to_string(id.menu) + "." + std::to_string(id.item);
        default: return std::nullopt;
    }
}

AXValue malformed(const AXValue& value, FaultValue kind) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    if (kind == FaultValue::nan) {
        if (std::holds_alternative<geometry::Point>(value)) return geometry::Point{nan, nan};
        if (std::holds_alternative<geometry::Size>(value)) return geometry::Size{nan, nan};
        if (std::holds_alternative<double>(value)) return nan;
    }
    if (kind == FaultValue::zero) {
        if (std::holds_alternative<geometry::Point>(value)) return geometry::Point{};
        if (std::holds_alternative<geometry::Size>(value)) return geometry::Size{};
        if (std::holds_alternative<double>(value)) return 0.0;
        if (std::holds_alternative<bool>(value)) return false;
        if (std::holds_alternative<std::string>(value)) return std::string();
        if (std::holds_alternative<std::vector<AXElement>>(value)) return std::vector<AXElement>();
    }
    // Another type: a text, or for a text a number.
    if (std::holds_alternative<std::string>(value)) return 0.0;
    return std::string("malformed");
}

// Notifications of one application, for as long as the observer lives.
class HostAXObserver final : public accessibility::AXObserver {
public:
    HostAXObserver(std::shared_ptr<HostSession> session, HostWindowEvents& events, pid_t pid,
                   accessibility::AXObserverCallback callback)
        : session_(std::move(session)), state_(std::make_shared<State>()) {
        state_->pid = pid;
        state_->callback = std::move(callback);
        std::weak_ptr<State> weak = state_;
        observation_ = events.observe([weak](const JournalEntry& entry) {
            if (auto state = weak.lock()) state->deliver(entry);
        });
    }

    AXError addNotification(const AXElement& element, std::string_view notification) override {
        if (const auto error = check(element); error != AXError::success) return error;
        std::lock_guard lock(state_->mutex);
        state_->registrations.insert({element.kind() == Kind::window ? element.identity().window : 0,
                                      std::string(notification)});
        return AXError::success;
    }

    AXError removeNotification(const AXElement& element, std::string_view notification) override {
        if (!element.isValid() || element.pid() != state_->pid) return AXError::illegalArgument;
        std::lock_guard lock(state_->mutex);
        state_->registrations.erase({element.kind() == Kind::window ? element.identity().window : 0,
                                     std::string(notification)});
        return AXError::success;
    }

private:
    struct State {
        std::mutex mutex;
        pid_t pid = 0;
        accessibility::AXObserverCallback callback;
        std::set<std::pair<std::uint32_t, std::string>> registrations;  // window (0: all), notification

        void deliver(const JournalEntry& entry) {
            if (entry.event != JournalEvent::axNotification || entry.pid != pid) return;
            {
                std::lock_guard lock(mutex);
                if (!registrations.contains({0, entry.name}) &&
                    !(entry.window != 0 && registrations.contains({entry.window, entry.name}))) {
                    return;
                }
            }
            const auto kind = entry.window != 0 ? Kind::window : Kind::application;
            callback(AXElement(AXElementIdentity{kind, pid, entry.window, 0, 0}), entry.name);
        }
    };

    AXError check(const AXElement& element) {
        if (!element.isValid() || element.pid() != state_->pid ||
            (element.kind() != Kind::application && element.kind() != Kind::window)) {
            return AXError::illegalArgument;
        }
        return answerOr(AXError::cannotComplete, [&] {
            AXError error = AXError::success;
            session_->access([&](HostData& data) {
                error = data.permissions().accessibility ? checkElement(data, element.identity()) : AXError::notTrusted;
            });
            return error;
        });
    }

    std::shared_ptr<HostSession> session_;
    std::shared_ptr<State> state_;
    dispatch::Observation observation_;
};

}  // namespace

HostAccessibility::HostAccessibility(std::shared_ptr<HostSession> session, std::shared_ptr<HostWindowEvents> events)
    : session_(std::move(session)),
      events_(std::move(events)),
      faults_(*session_),
      systemWide_(AXElementIdentity{Kind::systemWide, 0, 0, 0, 0}) {}

bool HostAccessibility::isProcessTrusted() {
    bool trusted = false;
    try {
        session_->access([&](HostData& data) { trusted = data.permissions().accessibility; });
    } catch (const BusyFailure&) {
        // Held by another program, the host has taken nothing away: what it said last
        // stands (before it said anything, nothing is granted).
        return lastTrusted_.load();
    } catch (const HostError&) {
        return false;  // a host that cannot be read grants nothing
    }
    lastTrusted_.store(trusted);
    return trusted;
}

AXElement HostAccessibility::applicationElement(pid_t pid) {
    return AXElement(AXElementIdentity{Kind::application, pid, 0, 0, 0});
}

AXElement HostAccessibility::systemWideElement() { return systemWide_; }

AXError HostAccessibility::setMessagingTimeout(const AXElement& element, double seconds) {
    if (!element.isValid() || !std::isfinite(seconds) || seconds < 0) return AXError::illegalArgument;
    if (element.kind() == Kind::systemWide) {
        systemWideTimeout_.store(seconds);
    } else {
        element.setMessagingTimeout(seconds > 0 ? std::optional(seconds) : std::nullopt);
    }
    return AXError::success;
}

double HostAccessibility::timeoutFor(const AXElement& element) const {
    if (element.kind() != Kind::systemWide) {
        if (const auto own = element.messagingTimeout()) return *own;
    }
    const double systemWide = systemWideTimeout_.load();
    return systemWide > 0 ? systemWide : kDefaultMessagingTimeout;
}

AXError HostAccessibility::copyAttributeValue(const AXElement& element, std::string_view attribute, AXValue& value) {
    if (!element.isValid()) return AXError::illegalArgument;
    return run(
        Request{HostCall::axCopyAttribute, element, attribute, false, std::nullopt},
        [&](HostData& data) { return copyAttribute(data, element.identity(), attribute, value); },
        [&](FaultValue kind) { value = malformed(value, kind); });
}

AXError HostAccessibility::isAttributeSettable(const AXElement& element, std::string_view attribute, bool& settable) {
    if (!element.isValid()) return AXError::illegalArgument;
    return run(Request{HostCall::axIsAttributeSettable, element, attribute, false, std::nullopt},
               [&](HostData& data) { return attributeSettable(data, element.identity(), attribute, settable); });
}

AXError HostAccessibility::setAttributeValue(const AXElement& element, std::string_view attribute,
                                             const AXValue& value) {
    if (!element.isValid()) return AXError::illegalArgument;
    return run(Request{HostCall::axSetAttribute, element, attribute, true, accessibility::describeValue(value)},
               [&](HostData& data) { return setAttribute(data, element.identity(), attribute, value); });
}

AXError HostAccessibility::performAction(const AXElement& element, std::string_view action) {
    if (!element.isValid()) return AXError::illegalArgument;
    return run(Request{HostCall::axPerformAction, element, action, true, std::nullopt},
               [&](HostData& data) { return host::performAction(data, element.identity(), action); });
}

AXError HostAccessibility::createObserver(pid_t pid, accessibility::AXObserverCallback callback,
                                          std::unique_ptr<accessibility::AXObserver>& observer) {
    if (!events_->canObserve() || !callback) return AXError::failure;
    const auto application = applicationElement(pid);
    const auto error = run(Request{HostCall::axCreateObserver, application, {}, false, std::nullopt},
                           [](HostData&) { return AXError::success; });
    if (error == AXError::success) {
        observer = std::make_unique<HostAXObserver>(session_, *events_, pid, std::move(callback));
    }
    return error;
}

void HostAccessibility::log(HostData& data, const Request& request, AXError result) {
    json::Json details = json::Json::object();
    if (request.element.kind() != Kind::systemWide) details["pid"] = request.element.pid();
    if (const auto window = windowOf(request.element)) details["window"] = *window;
    if (const auto part = partName(request.element.identity())) details["element"] = *part;
    if (!request.name.empty()) {
        details[std::string(request.name)] = request.argument ? json::Json(*request.argument) : json::Json(nullptr);
    }
    data.record(session_->actor(), std::string(rawValue(request.call)), details, accessibility::axErrorCode(result));
}

AXError HostAccessibility::run(const Request& request, const std::function<AXError(HostData&)>& body,
                               const std::function<void(FaultValue)>& corrupt) {
    // A host that cannot be read is an application that cannot answer.
    return answerOr(AXError::cannotComplete, [&] { return attempt(request, body, corrupt); });
}

AXError HostAccessibility::attempt(const Request& request, const std::function<AXError(HostData&)>& body,
                                   const std::function<void(FaultValue)>& corrupt) {
    const double timeout = timeoutFor(request.element);
    const auto& id = request.element.identity();
    FaultSubject subject;
    subject.call = request.call;
    if (id.kind != Kind::systemWide) subject.pid = id.pid;
    subject.window = windowOf(request.element);
    if (!request.name.empty()) subject.name = std::string(request.name);

    // What the call does once its cost is paid; runs with the lock held.
    std::optional<FaultOutcome> fault;
    auto act = [&](HostData& data) {
        AXError result = AXError::success;
        if (fault && fault->action == FaultAction::fail) {
            result = fault->axCode;
        } else if (fault && fault->action == FaultAction::nothing) {
            result = AXError::failure;
        } else {
            result = body(data);
            if (result == AXError::success && fault && fault->action == FaultAction::value && corrupt) {
                corrupt(fault->valueKind);
            }
        }
        if (request.changes || (fault && fault->action != FaultAction::value && result != AXError::success)) {
            log(data, request, result);
        }
        return result;
    };

    std::optional<AXError> answer;
    double cost = 0;
    bool timedOut = false;
    session_->access([&](HostData& data) {
        if (!data.permissions().accessibility) {
            answer = AXError::notTrusted;
            return;
        }
        if (const auto error = checkElement(data, id); error != AXError::success) {
            answer = error;
            return;
        }
        const auto* application = id.kind == Kind::systemWide ? nullptr : data.windows().application(id.pid);
        fault = faults_.match(data, subject);
        cost = (application ? application->latency : 0) +
               (fault && fault->action == FaultAction::delay ? fault->seconds : 0);
        if ((fault && fault->action == FaultAction::hang) || cost > timeout) {
            timedOut = true;
        } else if (cost == 0) {
            answer = act(data);
        }
    });
    if (answer) return *answer;
    if (timedOut) {
        session_->clock().sleep(timeout);
        session_->access([&](HostData& data) { log(data, request, AXError::cannotComplete); });
        return AXError::cannotComplete;
    }
    session_->clock().sleep(cost);
    AXError result = AXError::success;
    session_->access([&](HostData& data) {
        // The application may have quit, or the window closed, while the call was on its way.
        const auto error = checkElement(data, id);
        result = error == AXError::success ? act(data) : error;
    });
    return result;
}

}  // namespace dorvane::host
