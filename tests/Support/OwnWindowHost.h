#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <sstream>
#include <vector>

#include <QCoreApplication>
#include <QWidget>

#include "Dorvane/QtHost/QtMainQueue.h"
#include "Dorvane/QtHost/QtOwnWindowReporter.h"
#include "DorvaneCore/Shortcuts/ShortcutKey.h"
#include "Platform/Dispatch/SystemClock.h"
#include "Platform/Host/Services/HostEvents.h"
#include "Platform/Host/Store/MemoryHostStore.h"
#include "Platform/Host/SimulatedHost.h"
#include "tests/Support/QtTestApplication.h"

namespace dorvane::testing {

// The program's Qt windows on an in-memory host, reported by the Qt host's reporter, and
// a person at the machine who types, points and turns the wheel through the host's input
// as `corvelle-host input` does: the events take the program's own path to its windows.
// Main thread; start() once the windows to be driven exist.
class OwnWindowHost {
public:
    void start() {
        reporter->start();
        app.hostEvents().claimInputOwnership();
    }

    // The window comes forward as a click on it would bring it: its program frontmost, so
    // that the keys come to it.
    void bringForward(const QWidget& window) {
        reporter->flush();
        if (const auto number = reporter->number(&window)) person.windowsAdmin().focus(*number);
    }

    // A key pressed and released, with `flags` held (Command, Shift ...).
    void key(std::uint16_t code, std::uint64_t flags = 0) {
        host::InjectedEvent down;
        down.event.type = events::EventType::keyDown;
        down.event.flags = flags;
        down.event.setField(events::EventField::keyCode, code);
        host::InjectedEvent up = down;
        up.event.type = events::EventType::keyUp;
        play({down, up});
    }
    void move(geometry::Point location) { play({pointer(events::EventType::mouseMoved, location)}); }
    void rightClick(geometry::Point location) {
        play({pointer(events::EventType::rightMouseDown, location), pointer(events::EventType::rightMouseUp, location)});
    }
    // A mouse wheel turned `lines` notches (positive: towards the top).
    void scroll(geometry::Point location, std::int64_t lines) {
        auto wheel = pointer(events::EventType::scrollWheel, location);
        wheel.event.setField(events::EventField::scrollDeltaAxis1, lines);
        wheel.event.setField(events::EventField::scrollPointDeltaAxis1, lines);
        play({wheel});
    }

    // Plays the events and waits until the program has handled them and its windows have
    // seen them.
    void play(const std::vector<host::InjectedEvent>& events) {
        const auto id = person.inputAdmin().inject(events);
        if (!id) return;
        processUntil([&] {
            const auto state = person.inputAdmin().state(*id);
            return !state || *state == host::Injection::State::handled;
        });
        for (int round = 0; round < 3; ++round) QCoreApplication::processEvents();
    }

    // The host's entry of an own window.
    std::optional<host::ListedWindow> listed(const QWidget& window) {
        reporter->flush();
        const auto number = reporter->number(&window);
        if (!number) return std::nullopt;
        for (auto& entry : person.windowsAdmin().view().windows) {
            if (entry.number == *number) return entry;
        }
        return std::nullopt;
    }

    QApplication& application = qtApplication();
    dispatch::SystemClock clock;
    qthost::QtMainQueue mainQueue;
    std::shared_ptr<host::MemoryHostStore> store = std::make_shared<host::MemoryHostStore>();
    host::SimulatedHost app{store, processes::ProcessRole::application, clock, &mainQueue};
    host::SimulatedHost person{store, processes::ProcessRole::tool, clock};
    std::ostringstream errors;
    std::unique_ptr<qthost::QtOwnWindowReporter> reporter =
        std::make_unique<qthost::QtOwnWindowReporter>(app.ownWindows(), errors);

private:
    static host::InjectedEvent pointer(events::EventType type, geometry::Point location) {
        host::InjectedEvent injected;
        injected.event.type = type;
        injected.event.location = location;
        return injected;
    }
};

}  // namespace dorvane::testing
