#include "Platform/Host/Services/HostOwnWindows.h"

#include <exception>
#include <string>

#include "Platform/Accessibility/AXNames.h"
#include "Platform/Host/Services/HostPointer.h"
#include "Platform/Host/Machines/KeyboardFocus.h"
#include "Platform/Host/Machines/WindowMachine.h"
#include "Platform/Host/State/HostError.h"

namespace dorvane::host {

void HostOwnWindows::registerApplication(const std::string& name, const std::optional<std::string>& bundleID) {
    session_->access([&](HostData& data) {
        registerOwnApplication(data, session_->actor(), session_->identity(), name, bundleID);
    });
}

std::uint32_t HostOwnWindows::addWindow(const workspace::OwnWindow& window) {
    std::uint32_t number = 0;
    session_->access([&](HostData& data) { number = addOwnWindow(data, session_->identity().pid, window); });
    return number;
}

bool HostOwnWindows::updateWindow(std::uint32_t number, const workspace::OwnWindow& window) {
    bool found = false;
    session_->access([&](HostData& data) { found = updateOwnWindow(data, session_->identity().pid, number, window); });
    return found;
}

bool HostOwnWindows::removeWindow(std::uint32_t number) {
    bool found = false;
    session_->access([&](HostData& data) { found = removeOwnWindow(data, session_->identity().pid, number); });
    return found;
}

bool HostOwnWindows::activateWindow(std::uint32_t number) {
    bool found = false;
    session_->access([&](HostData& data) { found = activateOwnWindow(data, session_->identity().pid, number); });
    return found;
}

bool HostOwnWindows::makeKey(std::uint32_t number) {
    bool found = false;
    session_->access([&](HostData& data) { found = makeOwnWindowKey(data, session_->identity().pid, number); });
    return found;
}

namespace {

workspace::OwnActivation standingIn(HostSession& session) {
    workspace::OwnActivation standing;
    session.access([&](HostData& data) {
        const pid_t own = session.identity().pid;
        standing.frontmost = data.workspace().frontmostPID == own;
        const auto focus = keyboardFocus(data);
        if (focus.pid == own && focus.window != 0) standing.keyWindow = focus.window;
    });
    return standing;
}

// Whether the entry may change where the program stands: who is in front, or which
// window has the keyboard.
bool movesActivation(const JournalEntry& entry, pid_t own) {
    switch (entry.event) {
        case JournalEvent::activated:
        case JournalEvent::sessionResigned:
        case JournalEvent::keyChanged:
            return true;
        case JournalEvent::axNotification:
            return entry.pid == own && entry.name == accessibility::notification::focusedWindowChanged;
        default:
            return false;
    }
}

}  // namespace

workspace::OwnActivation HostOwnWindows::activation() { return standingIn(*session_); }

dispatch::Observation HostOwnWindows::observeActivation(
    std::function<void(const workspace::OwnActivation&)> handler) {
    const pid_t own = session_->identity().pid;
    auto told = std::make_shared<std::function<void(const workspace::OwnActivation&)>>(std::move(handler));
    const std::string key = "own activation " + std::to_string(nextObservation_++);
    std::weak_ptr<HostSession> weakSession = session_;
    std::weak_ptr<std::function<void(const workspace::OwnActivation&)>> weakTold = told;
    auto journaled = std::make_shared<dispatch::Observation>(journal_->observe(
        [session = session_, own, key, weakSession, weakTold](const JournalEntry& entry) {
            if (!movesActivation(entry, own)) return;
            // What stands now: later activations may have landed since this one. A read the
            // host turns away is made once it lets go: this change may be the last for long.
            session->catchUp().attempt(key, HostCatchUp::Kind::read, [weakSession, weakTold] {
                const auto session = weakSession.lock();
                const auto told = weakTold.lock();
                if (!session || !told) return;
                const auto standing = standingIn(*session);
                (*told)(standing);
            });
        }));
    return dispatch::Observation([journaled, told, weakSession, key] {
        journaled->cancel();
        if (const auto session = weakSession.lock()) session->catchUp().drop(key);
    });
}

void HostOwnWindows::tryAgainLater(const std::string& key, std::function<bool()> attempt, const std::string& why) {
    // The program answers whether its attempt got through; one that did not was turned away.
    session_->catchUp().later(key, HostCatchUp::Kind::write, [key, attempt = std::move(attempt)] {
        if (!attempt()) throw HostError(key + ": turned away again");
    }, why);
}

dispatch::Observation HostOwnWindows::observePointerElsewhere(std::function<void()> handler) {
    using events::EventType;
    const auto pointer = events::maskOf(EventType::mouseMoved, EventType::leftMouseDown, EventType::leftMouseUp,
                                        EventType::rightMouseDown, EventType::rightMouseUp,
                                        EventType::leftMouseDragged, EventType::rightMouseDragged,
                                        EventType::scrollWheel);
    // The same monitor as the program's global one: what reaches other applications.
    return HostPointer(session_, journal_, events_)
        .addGlobalMonitor(pointer, [handler = std::move(handler)](const events::Event&) { handler(); });
}

dispatch::Observation HostOwnWindows::observeClicks(std::function<void(const workspace::OwnWindowClick&)> handler) {
    const pid_t own = session_->identity().pid;
    auto shared = std::make_shared<std::function<void(const workspace::OwnWindowClick&)>>(std::move(handler));
    auto delivered = events_->observeDeliveries([own, shared](const DeliveredEvent& record) {
        const auto type = record.event.type;
        if (record.receiver != own || (type != events::EventType::leftMouseDown && type != events::EventType::leftMouseUp)) {
            return;
        }
        const auto clicks = record.event.field(events::EventField::clickState);
        (*shared)(workspace::OwnWindowClick{record.window, record.event.location,
                                            type == events::EventType::leftMouseDown, record.event.timestamp,
                                            record.event.sourcePID(), own, clicks > 0 ? clicks : 1});
    });
    // Clicks another process delivered (the host tool when the program does not own the input).
    auto journaled = journal_->observe([own, shared](const JournalEntry& entry) {
        if (entry.pid != own) return;
        if (const auto event = clickFromJournal(entry, own)) {
            (*shared)(workspace::OwnWindowClick{entry.window, entry.location,
                                                event->type == events::EventType::leftMouseDown, event->timestamp,
                                                entry.by.value_or(-1), own,
                                                event->field(events::EventField::clickState)});
        }
    });
    return combined(std::move(delivered), std::move(journaled));
}

dispatch::Observation HostOwnWindows::observeRemovals(std::function<void(std::uint32_t window)> handler) {
    const pid_t own = session_->identity().pid;
    // A window that leaves the list is destroyed for Accessibility, whoever removed it.
    return journal_->observe([own, handler = std::move(handler)](const JournalEntry& entry) {
        if (entry.pid == own && entry.event == JournalEvent::axNotification && entry.window != 0 &&
            entry.name == accessibility::notification::elementDestroyed) {
            handler(entry.window);
        }
    });
}

std::optional<workspace::OwnWindowPlace> HostOwnWindows::place(std::uint32_t number) {
    std::optional<workspace::OwnWindowPlace> found;
    session_->access([&](HostData& data) {
        const auto* window = data.windows().window(number);
        if (window != nullptr && window->pid == session_->identity().pid) {
            found = workspace::OwnWindowPlace{window->frame, window->minimised};
        }
    });
    return found;
}

dispatch::Observation HostOwnWindows::observeChanges(std::function<void(std::uint32_t window)> handler) {
    namespace notification = accessibility::notification;
    const pid_t own = session_->identity().pid;
    return journal_->observe([own, handler = std::move(handler)](const JournalEntry& entry) {
        if (entry.pid != own || entry.event != JournalEvent::axNotification || entry.window == 0) return;
        if (entry.name == notification::windowMoved || entry.name == notification::windowResized ||
            entry.name == notification::windowMiniaturized || entry.name == notification::windowDeminiaturized) {
            handler(entry.window);
        }
    });
}

dispatch::Observation HostOwnWindows::observeEvents(
    std::function<void(const events::Event& event, std::uint32_t window)> handler) {
    const pid_t own = session_->identity().pid;
    return events_->observeDeliveries([own, handler = std::move(handler)](const DeliveredEvent& record) {
        if (record.receiver == own) handler(record.event, record.window);
    });
}

}  // namespace dorvane::host
