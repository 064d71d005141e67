#include "tools/corvelle-host/InputCommand.h"

#include <cmath>
#include <sstream>

#include "DorvaneCore/Input/KeyCombination.h"
#include "DorvaneCore/Input/KeyboardLayout.h"
#include "DorvaneCore/Shortcuts/ShortcutEventPlan.h"
#include "DorvaneCore/Support/DecimalText.h"
#include "Platform/Host/State/EventJson.h"
#include "Platform/Host/State/HostError.h"
#include "Platform/Host/Admin/WindowsAdmin.h"
#include "tools/corvelle-host/ExitStatus.h"
#include "tools/corvelle-host/Parsing.h"

namespace dorvane::hosttool {

const char* const kInputUsage = R"(  input key COMBO                                         a key combination such as cmd+shift+k
  input click X,Y [--count N] [--interval S] [--hold S]   N clicks S apart (default 1, 0.15 s), each
                                                          held S (default 0)
  input drag X1,Y1 X2,Y2 [--duration S] [--steps N] [--hold S]
                                                          press, hold, move in N steps over S
                                                          seconds (default 0.3 s, 10), release
  input move X,Y                                          the pointer moves there
  input scroll X,Y --dy N                                 a mouse wheel turns N notches there (below 0:
                                                          towards the user, scrolling down)
        each of these takes [--from-pid P] (the process that posts it; 0, the default, is the
        hardware) and returns once the program has handled it; with no program running it is
        delivered at once, without taps; points are top-left
  input delivered [--json] [--clear]                      what reached applications, oldest first
                                                          (the last 2,000); --clear forgets them
  input disable-taps --timeout|--user-input               the program's taps are switched off
)";

namespace {

using events::Event;
using events::EventField;
using events::EventType;
using host::HostError;
using host::InjectedEvent;

constexpr double kHandledMargin = 5.0;

InjectedEvent mouse(EventType type, geometry::Point location, double offset, std::int64_t clicks = 0) {
    InjectedEvent injected;
    injected.offset = offset;
    injected.event.type = type;
    injected.event.location = location;
    if (clicks > 0) injected.event.setField(EventField::clickState, clicks);
    return injected;
}

std::int64_t parseCount(std::string_view text, std::int64_t lowest, std::string_view what) {
    const auto count = parseNumber<std::int64_t>(text, what);
    if (count < lowest || count > 1000) {
        throw UsageError(std::string(what) + " must be " + std::to_string(lowest) + " to 1000");
    }
    return count;
}

std::string pointText(geometry::Point point) {
    return "(" + decimalText(point.x) + ", " + decimalText(point.y) + ")";
}

// Plays the events and answers once they are handled.
int play(host::SimulatedHost& host, std::vector<InjectedEvent> events,
         std::optional<pid_t> fromPID, std::ostream& out) {
    const pid_t source = fromPID.value_or(0);
    double last = 0;
    for (auto& injected : events) {
        injected.event.setField(EventField::sourceUnixProcessID, source);
        last = std::max(last, injected.offset);
    }
    auto& input = host.inputAdmin();
    const auto id = input.inject(events);
    const std::string count = std::to_string(events.size()) + (events.size() == 1 ? " event" : " events");
    if (!id) {
        out << "No program owns the input: delivered " << count << " without taps.\n";
        return kExitSuccess;
    }
    switch (input.waitUntilHandled(*id, last + kHandledMargin)) {
        case host::InputAdmin::Wait::handled: out << "The program handled " << count << ".\n"; return kExitSuccess;
        case host::InputAdmin::Wait::ownerEnded: throw HostError("the program ended before it handled the input");
        case host::InputAdmin::Wait::timedOut: break;
    }
    throw HostError("the program did not handle the input in time");
}

int runDelivered(host::SimulatedHost& host, Arguments& args, std::ostream& out) {
    bool asJson = false;
    bool clear = false;
    while (!args.empty()) {
        if (args.flag("--json")) {
            asJson = true;
        } else if (args.flag("--clear")) {
            clear = true;
        } else {
            args.finish();
        }
    }
    auto& input = host.inputAdmin();
    const auto delivered = input.delivered();
    if (asJson) {
        json::Json list = json::Json::array();
        for (const auto& event : delivered) list.push_back(event.toJson());
        out << json::serializePretty(list) << "\n";
    } else {
        if (delivered.empty()) out << "No events delivered.\n";
        for (const auto& event : delivered) out << renderDelivered(event) << "\n";
    }
    if (clear) input.clearDelivered();
    return kExitSuccess;
}

int runDisableTaps(host::SimulatedHost& host, Arguments& args, std::ostream& out) {
    std::optional<host::TapDisabling> how;
    if (args.flag("--timeout")) {
        how = host::TapDisabling::timeout;
    } else if (args.flag("--user-input")) {
        how = host::TapDisabling::userInput;
    } else {
        throw UsageError("missing --timeout or --user-input");
    }
    args.finish();
    auto& input = host.inputAdmin();
    const auto id = input.disableTaps(*how);
    if (!id) throw HostError("no program owns the input, so there are no taps to switch off");
    switch (input.waitUntilHandled(*id, kHandledMargin)) {
        case host::InputAdmin::Wait::handled:
            out << "The program's taps are off (" << rawValue(*how) << ").\n";
            return kExitSuccess;
        case host::InputAdmin::Wait::ownerEnded: throw HostError("the program ended before it switched its taps off");
        case host::InputAdmin::Wait::timedOut: break;
    }
    throw HostError("the program did not answer in time");
}

}  // namespace

std::vector<InjectedEvent> keyEvents(const ShortcutKey& key) {
    const auto strokes = ShortcutEventPlan::strokes(key);
    std::vector<InjectedEvent> events;
    const auto* layout = KeyboardLayout::key(key.code);
    const std::uint64_t own = layout ? layout->ownFlags : 0;
    for (const auto* list : {&strokes.press, &strokes.release}) {
        for (const auto& stroke : *list) {
            InjectedEvent injected;
            injected.event.type = stroke.modifier ? EventType::flagsChanged
                                                  : (stroke.down ? EventType::keyDown : EventType::keyUp);
            injected.event.setField(EventField::keyCode, stroke.code);
            injected.event.flags = stroke.modifier ? stroke.flags : ((own & key_flag::arrow) | stroke.flags);
            events.push_back(injected);
        }
    }
    return events;
}

std::string renderDelivered(const host::DeliveredEvent& delivered) {
    const auto& event = delivered.event;
    std::ostringstream line;
    line << rawValue(event.type);
    if (events::isKeyboardType(event.type)) {
        line << " code=" << event.keyCode();
        if (event.type == EventType::flagsChanged) line << (events::isModifierPress(event) ? " down" : " up");
    } else if (event.type == EventType::scrollWheel) {
        line << " at=" << pointText(event.location) << " dy=" << event.field(EventField::scrollDeltaAxis1);
        if (const auto dx = event.field(EventField::scrollDeltaAxis2); dx != 0) line << " dx=" << dx;
        if (const auto phase = event.field(EventField::scrollPhase); phase != 0) line << " phase=" << phase;
        if (const auto momentum = event.field(EventField::momentumPhase); momentum != 0) line << " momentum=" << momentum;
    } else if (event.type != EventType::null) {
        line << " at=" << pointText(event.location);
        if (const auto clicks = event.field(EventField::clickState); clicks != 0) line << " clicks=" << clicks;
    }
    if (const auto data = event.field(EventField::sourceUserData); data != 0) line << " user-data=" << data;
    line << " flags=" << host::flagsText(event.flags) << " from=" << event.sourcePID() << " to=";
    if (delivered.receiver) {
        line << *delivered.receiver;
    } else {
        line << "none";
    }
    if (delivered.window != 0) line << " window=" << delivered.window;
    line << " entry=" << rawValue(delivered.entry);
    return line.str();
}

int runInput(host::SimulatedHost& host, Arguments& args, std::ostream& out) {
    const auto verb = args.next("input command (key, click, drag, move, scroll, delivered or disable-taps)");
    if (verb == "delivered") return runDelivered(host, args, out);
    if (verb == "disable-taps") return runDisableTaps(host, args, out);

    std::vector<InjectedEvent> events;
    std::optional<pid_t> fromPID;
    auto fromOption = [&args, &fromPID] {
        if (!args.flag("--from-pid")) return false;
        const auto pid = parseNumber<std::int32_t>(args.next("process id"), "process id");
        if (pid < 0) throw UsageError("a process id is 0 (the hardware) or more");
        fromPID = pid;
        return true;
    };
    if (verb == "key") {
        const auto text = args.next("key combination");
        while (!args.empty()) {
            if (!fromOption()) args.finish();
        }
        try {
            events = keyEvents(parseKeyCombination(text));
        } catch (const KeyCombinationError& error) {
            throw UsageError(error.what());
        }
    } else if (verb == "click") {
        const auto point = parsePoint(args.next("point X,Y"));
        std::int64_t count = 1;
        double interval = 0.15;
        double hold = 0;
        while (!args.empty()) {
            if (args.flag("--count")) {
                count = parseCount(args.next("count"), 1, "the count");
            } else if (args.flag("--interval")) {
                interval = parseSeconds(args.next("seconds"));
            } else if (args.flag("--hold")) {
                hold = parseSeconds(args.next("seconds"));
            } else if (!fromOption()) {
                args.finish();
            }
        }
        for (std::int64_t click = 0; click < count; ++click) {
            const double at = static_cast<double>(click) * (interval + hold);
            events.push_back(mouse(EventType::leftMouseDown, point, at, click + 1));
            events.push_back(mouse(EventType::leftMouseUp, point, at + hold, click + 1));
        }
    } else if (verb == "drag") {
        const auto from = parsePoint(args.next("point X1,Y1"));
        const auto to = parsePoint(args.next("point X2,Y2"));
        double duration = 0.3;
        std::int64_t steps = 10;
        double hold = 0;
        while (!args.empty()) {
            if (args.flag("--duration")) {
                duration = parseSeconds(args.next("seconds"));
            } else if (args.flag("--steps")) {
                steps = parseCount(args.next("steps"), 1, "the number of steps");
            } else if (args.flag("--hold")) {
                hold = parseSeconds(args.next("seconds"));
            } else if (!fromOption()) {
                args.finish();
            }
        }
        events.push_back(mouse(EventType::leftMouseDown, from, 0, 1));
        for (std::int64_t step = 1; step <= steps; ++step) {
            const double fraction = static_cast<double>(step) / static_cast<double>(steps);
            const geometry::Point point{from.x + (to.x - from.x) * fraction, from.y + (to.y - from.y) * fraction};
            events.push_back(mouse(EventType::leftMouseDragged, point, hold + duration * fraction));
        }
        events.push_back(mouse(EventType::leftMouseUp, to, hold + duration, 1));
    } else if (verb == "move") {
        const auto point = parsePoint(args.next("point X,Y"));
        while (!args.empty()) {
            if (!fromOption()) args.finish();
        }
        events.push_back(mouse(EventType::mouseMoved, point, 0));
    } else if (verb == "scroll") {
        const auto point = parsePoint(args.next("point X,Y"));
        std::optional<std::int32_t> dy;
        while (!args.empty()) {
            if (args.flag("--dy")) {
                dy = parseNumber<std::int32_t>(args.next("points"), "number of points");
            } else if (!fromOption()) {
                args.finish();
            }
        }
        if (!dy) throw UsageError("missing --dy N");
        auto wheel = mouse(EventType::scrollWheel, point, 0);
        wheel.event.setField(EventField::scrollDeltaAxis1, *dy);
        wheel.event.setField(EventField::scrollPointDeltaAxis1, *dy);
        events.push_back(wheel);
    } else {
        throw UsageError("unknown input command \"" + verb +
                         "\" (key, click, drag, move, scroll, delivered or disable-taps)");
    }
    return play(host, std::move(events), fromPID, out);
}

}  // namespace dorvane::hosttool
