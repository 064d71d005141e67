#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

#include "Dorvane/Input/InputServices.h"
#include "Dorvane/Input/ShortcutEventRelay.h"
#include "DorvaneCore/Shortcuts/NamedShortcut.h"
#include "DorvaneCore/Shortcuts/ShortcutEventPlan.h"
#include "Platform/Accessibility/ProcessTrust.h"
#include "Platform/Dispatch/Clock.h"
#include "Platform/Dispatch/Lifetime.h"
#include "Platform/Dispatch/SpawnedTask.h"
#include "Platform/Events/EventServices.h"
#include "Platform/Events/PointerServices.h"
#include "Platform/System/SystemSound.h"
#include "Platform/Workspace/ApplicationWorkspace.h"

namespace dorvane {

class ShortcutPermissions;

// Turns named shortcuts into synthetic key events for a target application. A tap
// (enqueueTap) brings the target forward, waits until it is frontmost and presses and
// releases the shortcut, taps running strictly one after another; a hold (sendPress)
// posts the press now and keeps the release until clearHeldEvents(). Presses of an
// ordinary key without activation are isolated: they go through the sender's own relay,
// so that the target gets them whole and in order.
//
// Main queue only.
class ShortcutSender {
public:
    struct Services {
        events::EventServices& events;
        events::PointerServices& pointer;
        workspace::ApplicationWorkspace& workspace;
        accessibility::ProcessTrust& trust;
        system::SystemSound& sound;
        dispatch::MainQueue& main;
        dispatch::Clock& clock;
        OperationLog log;
        // The program's permission monitor; none where there is no guide to show.
        ShortcutPermissions* permissions = nullptr;
    };

    static constexpr double kActivationTimeout = 0.3;
    static constexpr double kActivationPoll = 0.01;
    static constexpr double kReleaseGap = 0.035;
    static constexpr double kCursorRecoveryDelay = 0.05;

    explicit ShortcutSender(Services services);
    ~ShortcutSender();

    ShortcutSender(const ShortcutSender&) = delete;
    ShortcutSender& operator=(const ShortcutSender&) = delete;

    // Queues one tap of the shortcut for the target (or, when none is given, the default
    // target resolved now); returns at once. Failures are logged with a beep.
    void enqueueTap(const NamedShortcut& shortcut, std::optional<pid_t> targetPID);
    // Posts the press half and holds the release half; throws FitError.
    void sendPress(const NamedShortcut& shortcut, std::optional<pid_t> target, bool activate);
    // Posts the held release half and forgets the held press.
    void clearHeldEvents();
    // Cancels queued and running taps and releases held keys.
    void releaseAll();
    // The default target: `targetPID` when set, else the frontmost regular application
    // that is not this program.
    std::optional<pid_t> resolveTarget();

    // The most recently enqueued tap; the next tap (and whoever needs the shortcut sent
    // first) awaits it.
    const dispatch::SpawnedTask& pendingTap() const { return pendingTap_; }
    const std::optional<std::string>& heldID() const { return heldID_; }
    // The shortcut whose press was posted last, until its release.
    const std::optional<std::string>& activeID() const { return activeID_; }
    // A shortcut that could not be sent, and no notice says so: logged with a beep.
    void reportFailure(const NamedShortcut& shortcut, std::optional<pid_t> target, std::string_view error);
    ShortcutEventRelay& relay() { return relay_; }

    // Each replaces one step when set.
    std::function<bool()> permissionCheck;
    std::function<dispatch::Task<void>(std::optional<pid_t>)> activationRequest;
    std::function<void(const std::vector<ShortcutStroke>&, events::TapLocation)> eventSink;
    std::function<void(std::optional<pid_t>)> cursorRecovery;
    // Resolves the default target.
    std::function<std::optional<pid_t>()> targetPID;
    // Told the held id after a press, none after a release.
    std::function<void(const std::optional<std::string>&)> onChange;

    // A zero-length pointer move at `location`, as a private source makes it.
    std::optional<events::Event> cursorRecoveryEvent(geometry::Point location);

private:
    void post(const std::vector<ShortcutStroke>& strokes);
    dispatch::Task<void> focusAndWait(std::optional<pid_t> target, dispatch::CancellationToken token,
                                      dispatch::Lifetime::Watch alive);
    void restoreCursorAfterReturn(std::optional<pid_t> target);
    dispatch::Task<void> runTap(dispatch::Lifetime::Watch alive, dispatch::SpawnedTask previous,
                                NamedShortcut shortcut, std::optional<pid_t> target, std::int64_t epoch,
                                dispatch::CancellationToken token);
    std::optional<pid_t> frontmostPID();

    Services services_;
    std::vector<ShortcutStroke> releaseEvents_;
    std::optional<std::string> activeID_;
    std::optional<events::EventSource> eventSource_;
    events::TapLocation eventTap_ = events::TapLocation::hid;
    ShortcutEventRelay relay_;
    bool usesRelay_ = false;
    dispatch::SpawnedTask pendingTap_;
    std::int64_t tapEpoch_ = 0;
    std::optional<std::string> heldID_;
    dispatch::Lifetime lifetime_;
};

}  // namespace dorvane
