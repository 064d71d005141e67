#include "Platform/Host/State/WindowsState.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "DorvaneCore/Support/JsonFields.h"
#include "Platform/Host/State/GeometryJson.h"
#include "Platform/Host/State/SecondsJson.h"

namespace dorvane::host {

namespace {

double notNegative(const json::Json& value) {
    const auto seconds = json::decode<double>(value);
    if (!(seconds >= 0)) throw json::DecodeError("must not be negative");
    return seconds;
}

constexpr auto menuItemFields = [](auto& f, auto& item) {
    f.required("title", item.title);
    f.required("enabled", item.enabled);
};

constexpr auto menuRecordFields = [](auto& f, auto& menu) {
    f.required("title", menu.title);
    f.required("items", menu.items);
};

constexpr auto windowBehavioursFields = [](auto& f, auto& behaviours) {
    f.requiredOrNull("sizeSteps", behaviours.sizeSteps, sizeCodec);
    f.required("clampToScreen", behaviours.clampToScreen);
    f.required("keepBelowMenuBar", behaviours.keepBelowMenuBar);
    f.requiredOrNull("redirectPosition", behaviours.redirectPosition, pointCodec);
    f.required("ignoredWrites", behaviours.ignoredWrites);
    f.required("lateBy", behaviours.lateBy);
    f.nullable("refuseCode", behaviours.refuseCode);
    f.required("enhancedUISettle", behaviours.enhancedUISettle);
    f.nullable("mouseDownAfterWrites", behaviours.mouseDownAfterWrites);
    f.required("zoom", behaviours.zoom);
    f.required("zoomShortBy", behaviours.zoomShortBy);
    f.required("omittedListKeys", behaviours.omittedListKeys);
    f.required("writes", behaviours.writes);
};

constexpr auto timedChangeFields = [](auto& f, auto& change) {
    f.required("at", change.at);
    f.required("kind", change.kind);
    f.required("frame", change.frame, rectCodec);
    f.required("fullScreen", change.fullScreen);
    f.required("constrained", change.constrained);
};

constexpr auto windowRecordFields = [](auto& f, auto& window) {
    f.required("number", window.number);
    f.required("pid", window.pid);
    f.required("title", window.title);
    f.required("role", window.role);
    f.required("subrole", window.subrole);
    f.required("modal", window.modal);
    f.required("frame", window.frame, rectCodec);
    f.requiredOrNull("minSize", window.minSize, sizeCodec);
    f.requiredOrNull("maxSize", window.maxSize, sizeCodec);
    f.required("minimised", window.minimised);
    f.required("fullScreen", window.fullScreen);
    f.requiredOrNull("frameBeforeFullScreen", window.frameBeforeFullScreen, rectCodec);
    f.requiredOrNull("zoomUserFrame", window.zoomUserFrame, rectCodec);
    f.required("closeButton", window.closeButton);
    f.required("minimizeButton", window.minimizeButton);
    f.required("zoomButton", window.zoomButton);
    f.required("zoomButtonSubrole", window.zoomButtonSubrole);
    f.required("settable", window.settable);
    f.required("level", window.level);
    f.required("alpha", window.alpha);
    f.required("titled", window.titled);
    f.required("onScreen", window.onScreen);
    f.required("behaviours", window.behaviours);
    f.required("changes", window.changes);
};

constexpr auto windowApplicationFields = [](auto& f, auto& application) {
    f.required("pid", application.pid);
    f.nullable("owner", application.owner);
    f.nullable("menuBar", application.menuBar);
    f.nullable("enhancedUserInterface", application.enhancedUserInterface);
    f.required("latency", application.latency, {.decode = notNegative});
    f.required("activationFails", application.activationFails);
    f.defaulted("activationDelay", application.activationDelay, 0, {.decode = finiteSecondsFromJson});
    f.defaulted("activationNever", application.activationNever, false);
    f.required("closesOnCommandW", application.closesOnCommandW);
    f.nullable("focusedWindow", application.focusedWindow);
    f.nullable("mainWindow", application.mainWindow);
    f.required("launched", application.launched);
};

constexpr auto journalEntryFields = [](auto& f, auto& entry) {
    f.required("seq", entry.seq);
    f.required("at", entry.at);
    f.required("event", entry.event);
    f.nullable("pid", entry.pid);
    f.required("window", entry.window);
    f.required("name", entry.name);
    f.required("location", entry.location, pointCodec);
    f.optional("by", entry.by);
    f.optional("beneath", entry.beneath);
};

constexpr auto pointerStateFields = [](auto& f, auto& pointer) {
    f.required("location", pointer.location, pointCodec);
    f.required("buttons", pointer.buttons);
};

constexpr json::Codec<PointerState> pointerCodec{
    [](const PointerState& pointer) { return json::writeFields(pointer, pointerStateFields); },
    [](const json::Json& value) { return json::readFields<PointerState>(value, pointerStateFields); }};

constexpr auto pendingActivationFields = [](auto& f, auto& pending) {
    f.required("pid", pending.pid);
    f.required("at", pending.at);
};

constexpr json::Codec<WindowsState::PendingActivation> pendingActivationCodec{
    [](const WindowsState::PendingActivation& pending) { return json::writeFields(pending, pendingActivationFields); },
    [](const json::Json& value) {
        return json::readFields<WindowsState::PendingActivation>(value, pendingActivationFields);
    }};

constexpr auto windowsStateFields = [](auto& f, auto& state) {
    f.format(WindowsState::kFormat);
    f.required("generation", state.generation);
    f.required("nextNumber", state.nextNumber);
    f.required("nextSeq", state.nextSeq);
    f.required("applications", state.applications);
    f.required("windows", state.windows);
    f.required("pointer", state.pointer, pointerCodec);
    f.required("voiceOver", state.voiceOver);
    f.required("switchControl", state.switchControl);
    f.required("journal", state.journal);
    f.optional("pendingActivation", state.pendingActivation, pendingActivationCodec);
    f.optional("keyPanel", state.keyPanel);
};

}  // namespace

json::Json MenuItemRecord::toJson() const { return json::writeFields(*this, menuItemFields); }

MenuItemRecord MenuItemRecord::fromJson(const json::Json& value) {
    return json::readFields<MenuItemRecord>(value, menuItemFields);
}

json::Json MenuRecord::toJson() const { return json::writeFields(*this, menuRecordFields); }

MenuRecord MenuRecord::fromJson(const json::Json& value) { return json::readFields<MenuRecord>(value, menuRecordFields); }

std::vector<MenuRecord> defaultMenuBar() { return {MenuRecord{"窗口", {{"最小化", true}, {"缩放", true}}}}; }

json::Json WindowBehaviours::toJson() const { return json::writeFields(*this, windowBehavioursFields); }

WindowBehaviours WindowBehaviours::fromJson(const json::Json& value) {
    auto behaviours = json::readFields<WindowBehaviours>(value, windowBehavioursFields);
    if (behaviours.lateBy < 0 || behaviours.enhancedUISettle < 0 || behaviours.zoomShortBy < 0) {
        throw json::DecodeError("delays and distances must not be negative");
    }
    return behaviours;
}

json::Json TimedChange::toJson() const { return json::writeFields(*this, timedChangeFields); }

TimedChange TimedChange::fromJson(const json::Json& value) { return json::readFields<TimedChange>(value, timedChangeFields); }

std::vector<std::string> WindowRecord::defaultSettable() {
    return {"AXPosition", "AXSize", "AXMinimized", "AXFullScreen", "AXMain", "AXFocused"};
}

bool WindowRecord::isSettable(std::string_view attribute) const {
    return std::find(settable.begin(), settable.end(), attribute) != settable.end();
}

json::Json WindowRecord::toJson() const { return json::writeFields(*this, windowRecordFields); }

WindowRecord WindowRecord::fromJson(const json::Json& value) { return json::readFields<WindowRecord>(value, windowRecordFields); }

json::Json WindowApplication::toJson() const { return json::writeFields(*this, windowApplicationFields); }

WindowApplication WindowApplication::fromJson(const json::Json& value) {
    return json::readFields<WindowApplication>(value, windowApplicationFields);
}

json::Json JournalEntry::toJson() const { return json::writeFields(*this, journalEntryFields); }

JournalEntry JournalEntry::fromJson(const json::Json& value) { return json::readFields<JournalEntry>(value, journalEntryFields); }

const WindowApplication* WindowsState::application(pid_t pid) const {
    for (const auto& application : applications) {
        if (application.pid == pid) return &application;
    }
    return nullptr;
}

WindowApplication* WindowsState::application(pid_t pid) {
    return const_cast<WindowApplication*>(static_cast<const WindowsState*>(this)->application(pid));
}

const WindowRecord* WindowsState::window(std::uint32_t number) const {
    for (const auto& window : windows) {
        if (window.number == number) return &window;
    }
    return nullptr;
}

WindowRecord* WindowsState::window(std::uint32_t number) {
    return const_cast<WindowRecord*>(static_cast<const WindowsState*>(this)->window(number));
}

json::Json WindowsState::toJson() const { return json::writeFields(*this, windowsStateFields); }

WindowsState WindowsState::fromJson(const json::Json& value) {
    auto state = json::readFields<WindowsState>(value, windowsStateFields);

    std::set<std::uint32_t> numbers;
    for (const auto& window : state.windows) {
        if (window.number == 0 || window.number >= state.nextNumber) {
            throw json::DecodeError("window number " + std::to_string(window.number) + " not in 1..nextNumber",
                                    "windows");
        }
        if (!numbers.insert(window.number).second) {
            throw json::DecodeError("two windows have the number " + std::to_string(window.number), "windows");
        }
    }
    std::set<pid_t> pids;
    for (const auto& application : state.applications) {
        if (!pids.insert(application.pid).second) {
            throw json::DecodeError("two entries for process " + std::to_string(application.pid), "applications");
        }
    }
    for (const auto& entry : state.journal) {
        if (entry.seq >= state.nextSeq) throw json::DecodeError("journal entry beyond nextSeq", "journal");
    }
    return state;
}

}  // namespace dorvane::host
