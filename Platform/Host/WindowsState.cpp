#include "Platform/Host/WindowsState.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "Platform/Host/GeometryJson.h"

namespace dorvane::host {

namespace {

template <typename T, typename Encode>
json::Json optionalJson(const std::optional<T>& value, Encode encode) {
    return value ? encode(*value) : json::Json(nullptr);
}

template <typename T, typename Decode>
std::optional<T> optionalFrom(const json::Json& object, const char* key, Decode decode) {
    const auto& value = json::requireKey(object, key);
    if (value.is_null()) return std::nullopt;
    try {
        return decode(value);
    } catch (const json::DecodeError& error) {
        throw error.within(key);
    }
}

template <typename T, typename Decode>
T requiredFrom(const json::Json& object, const char* key, Decode decode) {
    try {
        return decode(json::requireKey(object, key));
    } catch (const json::DecodeError& error) {
        throw error.within(key);
    }
}

json::Json stringList(const std::vector<std::string>& values) {
    json::Json list = json::Json::array();
    for (const auto& value : values) list.push_back(value);
    return list;
}

}  // namespace

json::Json MenuItemRecord::toJson() const {
    json::Json object = json::Json::object();
    object["title"] = title;
    object["enabled"] = enabled;
    return object;
}

MenuItemRecord MenuItemRecord::fromJson(const json::Json& value) {
    json::requireObject(value);
    return MenuItemRecord{json::get<std::string>(value, "title"), json::get<bool>(value, "enabled")};
}

json::Json MenuRecord::toJson() const {
    json::Json object = json::Json::object();
    object["title"] = title;
    object["items"] = json::encodeArray(items);
    return object;
}

MenuRecord MenuRecord::fromJson(const json::Json& value) {
    json::requireObject(value);
    return MenuRecord{json::get<std::string>(value, "title"), json::get<std::vector<MenuItemRecord>>(value, "items")};
}

std::vector<MenuRecord> defaultMenuBar() { return {MenuRecord{"窗口", {{"最小化", true}, {"缩放", true}}}}; }

json::Json WindowBehaviours::toJson() const {
    json::Json object = json::Json::object();
    object["sizeSteps"] = optionalJson(sizeSteps, sizeJson);
    object["clampToScreen"] = clampToScreen;
    object["keepBelowMenuBar"] = keepBelowMenuBar;
    object["redirectPosition"] = optionalJson(redirectPosition, pointJson);
    object["ignoredWrites"] = ignoredWrites;
    object["lateBy"] = lateBy;
    object["refuseCode"] = refuseCode ? json::Json(*refuseCode) : json::Json(nullptr);
    object["enhancedUISettle"] = enhancedUISettle;
    object["mouseDownAfterWrites"] = mouseDownAfterWrites ? json::Json(*mouseDownAfterWrites) : json::Json(nullptr);
    object["zoom"] = json::encode(zoom);
    object["zoomShortBy"] = zoomShortBy;
    object["omittedListKeys"] = stringList(omittedListKeys);
    object["writes"] = writes;
    return object;
}

WindowBehaviours WindowBehaviours::fromJson(const json::Json& value) {
    json::requireObject(value);
    WindowBehaviours behaviours;
    behaviours.sizeSteps = optionalFrom<geometry::Size>(value, "sizeSteps", sizeFromJson);
    behaviours.clampToScreen = json::get<bool>(value, "clampToScreen");
    behaviours.keepBelowMenuBar = json::get<bool>(value, "keepBelowMenuBar");
    behaviours.redirectPosition = optionalFrom<geometry::Point>(value, "redirectPosition", pointFromJson);
    behaviours.ignoredWrites = json::get<std::uint32_t>(value, "ignoredWrites");
    behaviours.lateBy = json::get<double>(value, "lateBy");
    behaviours.refuseCode = json::getOptional<std::int32_t>(value, "refuseCode");
    behaviours.enhancedUISettle = json::get<double>(value, "enhancedUISettle");
    behaviours.mouseDownAfterWrites = json::getOptional<std::uint32_t>(value, "mouseDownAfterWrites");
    behaviours.zoom = json::get<ZoomMode>(value, "zoom");
    behaviours.zoomShortBy = json::get<double>(value, "zoomShortBy");
    behaviours.omittedListKeys = json::get<std::vector<std::string>>(value, "omittedListKeys");
    behaviours.writes = json::get<std::uint32_t>(value, "writes");
    if (behaviours.lateBy < 0 || behaviours.enhancedUISettle < 0 || behaviours.zoomShortBy < 0) {
        throw json::DecodeError("delays and distances must not be negative");
    }
    return behaviours;
}

json::Json TimedChange::toJson() const {
    json::Json object = json::Json::object();
    object["at"] = at;
    object["kind"] = json::encode(kind);
    object["frame"] = rectJson(frame);
    object["fullScreen"] = fullScreen;
    object["constrained"] = constrained;
    return object;
}

TimedChange TimedChange::fromJson(const json::Json& value) {
    json::requireObject(value);
    return TimedChange{json::get<double>(value, "at"), json::get<Kind>(value, "kind"),
                       requiredFrom<geometry::Rect>(value, "frame", rectFromJson), json::get<bool>(value, "fullScreen"),
                       json::get<bool>(value, "constrained")};
}

std::vector<std::string> WindowRecord::defaultSettable() {
    return {"AXPosition", "AXSize", "AXMinimized", "AXFullScreen", "AXMain", "AXFocused"};
}

bool WindowRecord::isSettable(std::string_view attribute) const {
    return std::find(settable.begin(), settable.end(), attribute) != settable.end();
}

json::Json WindowRecord::toJson() const {
    json::Json object = json::Json::object();
    object["number"] = number;
    object["pid"] = pid;
    object["title"] = title;
    object["role"] = role;
    object["subrole"] = subrole;
    object["modal"] = modal;
    object["frame"] = rectJson(frame);
    object["minSize"] = optionalJson(minSize, sizeJson);
    object["maxSize"] = optionalJson(maxSize, sizeJson);
    object["minimised"] = minimised;
    object["fullScreen"] = fullScreen;
    object["frameBeforeFullScreen"] = optionalJson(frameBeforeFullScreen, rectJson);
    object["zoomUserFrame"] = optionalJson(zoomUserFrame, rectJson);
    object["closeButton"] = json::encode(closeButton);
    object["minimizeButton"] = json::encode(minimizeButton);
    object["zoomButton"] = json::encode(zoomButton);
    object["zoomButtonSubrole"] = zoomButtonSubrole;
    object["settable"] = stringList(settable);
    object["level"] = level;
    object["alpha"] = alpha;
    object["titled"] = titled;
    object["onScreen"] = onScreen;
    object["behaviours"] = behaviours.toJson();
    object["changes"] = json::encodeArray(changes);
    return object;
}

WindowRecord WindowRecord::fromJson(const json::Json& value) {
    json::requireObject(value);
    WindowRecord window;
    window.number = json::get<std::uint32_t>(value, "number");
    window.pid = json::get<std::int32_t>(value, "pid");
    window.title = json::get<std::string>(value, "title");
    window.role = json::get<std::string>(value, "role");
    window.subrole = json::get<std::string>(value, "subrole");
    window.modal = json::get<bool>(value, "modal");
    window.frame = requiredFrom<geometry::Rect>(value, "frame", rectFromJson);
    window.minSize = optionalFrom<geometry::Size>(value, "minSize", sizeFromJson);
    window.maxSize = optionalFrom<geometry::Size>(value, "maxSize", sizeFromJson);
    window.minimised = json::get<bool>(value, "minimised");
    window.fullScreen = json::get<bool>(value, "fullScreen");
    window.frameBeforeFullScreen = optionalFrom<geometry::Rect>(value, "frameBeforeFullScreen", rectFromJson);
    window.zoomUserFrame = optionalFrom<geometry::Rect>(value, "zoomUserFrame", rectFromJson);
    window.closeButton = json::get<ButtonState>(value, "closeButton");
    window.minimizeButton = json::get<ButtonState>(value, "minimizeButton");
    window.zoomButton = json::get<ButtonState>(value, "zoomButton");
    window.zoomButtonSubrole = json::get<std::string>(value, "zoomButtonSubrole");
    window.settable = json::get<std::vector<std::string>>(value, "settable");
    window.level = json::get<std::int32_t>(value, "level");
    window.alpha = json::get<double>(value, "alpha");
    window.titled = json::get<bool>(value, "titled");
    window.onScreen = json::get<bool>(value, "onScreen");
    window.behaviours = json::get<WindowBehaviours>(value, "behaviours");
    window.changes = json::get<std::vector<TimedChange>>(value, "changes");
    return window;
}

json::Json WindowApplication::toJson() const {
    json::Json object = json::Json::object();
    object["pid"] = pid;
    object["owner"] = owner ? owner->toJson() : json::Json(nullptr);
    object["menuBar"] = menuBar ? json::encodeArray(*menuBar) : json::Json(nullptr);
    object["enhancedUserInterface"] = enhancedUserInterface ? json::Json(*enhancedUserInterface) : json::Json(nullptr);
    object["latency"] = latency;
    object["activationFails"] = activationFails;
    object["activationDelay"] = activationDelay;
    object["activationNever"] = activationNever;
    object["closesOnCommandW"] = closesOnCommandW;
    object["focusedWindow"] = focusedWindow ? json::Json(*focusedWindow) : json::Json(nullptr);
    object["mainWindow"] = mainWindow ? json::Json(*mainWindow) : json::Json(nullptr);
    object["launched"] = launched;
    return object;
}

WindowApplication WindowApplication::fromJson(const json::Json& value) {
    json::requireObject(value);
    WindowApplication application;
    application.pid = json::get<std::int32_t>(value, "pid");
    application.owner = json::getOptional<processes::ProcessIdentity>(value, "owner");
    application.menuBar = json::getOptional<std::vector<MenuRecord>>(value, "menuBar");
    application.enhancedUserInterface = json::getOptional<bool>(value, "enhancedUserInterface");
    application.latency = json::get<double>(value, "latency");
    if (!(application.latency >= 0)) throw json::DecodeError("must not be negative", "latency");
    application.activationFails = json::get<bool>(value, "activationFails");
    application.activationDelay = json::getOr<double>(value, "activationDelay", 0);
    if (!std::isfinite(application.activationDelay) || application.activationDelay < 0) {
        throw json::DecodeError("must be a finite number of seconds, not negative", "activationDelay");
    }
    application.activationNever = json::getOr<bool>(value, "activationNever", false);
    application.closesOnCommandW = json::get<bool>(value, "closesOnCommandW");
    application.focusedWindow = json::getOptional<std::uint32_t>(value, "focusedWindow");
    application.mainWindow = json::getOptional<std::uint32_t>(value, "mainWindow");
    application.launched = json::get<bool>(value, "launched");
    return application;
}

json::Json JournalEntry::toJson() const {
    json::Json object = json::Json::object();
    object["seq"] = seq;
    object["at"] = at;
    object["event"] = json::encode(event);
    object["pid"] = pid ? json::Json(*pid) : json::Json(nullptr);
    object["window"] = window;
    object["name"] = name;
    object["location"] = pointJson(location);
    if (by) object["by"] = *by;
    return object;
}

JournalEntry JournalEntry::fromJson(const json::Json& value) {
    json::requireObject(value);
    JournalEntry entry;
    entry.seq = json::get<std::uint64_t>(value, "seq");
    entry.at = json::get<double>(value, "at");
    entry.event = json::get<JournalEvent>(value, "event");
    entry.pid = json::getOptional<std::int32_t>(value, "pid");
    entry.window = json::get<std::uint32_t>(value, "window");
    entry.name = json::get<std::string>(value, "name");
    entry.location = requiredFrom<geometry::Point>(value, "location", pointFromJson);
    entry.by = json::getOptional<std::int32_t>(value, "by");
    return entry;
}

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

json::Json WindowsState::toJson() const {
    json::Json pointerObject = json::Json::object();
    pointerObject["location"] = pointJson(pointer.location);
    pointerObject["buttons"] = pointer.buttons;
    json::Json object = json::Json::object();
    object["format"] = kFormat;
    object["generation"] = generation;
    object["nextNumber"] = nextNumber;
    object["nextSeq"] = nextSeq;
    object["applications"] = json::encodeArray(applications);
    object["windows"] = json::encodeArray(windows);
    object["pointer"] = pointerObject;
    object["voiceOver"] = voiceOver;
    object["switchControl"] = switchControl;
    object["journal"] = json::encodeArray(journal);
    if (pendingActivation) {
        object["pendingActivation"] = json::Json{{"pid", pendingActivation->pid}, {"at", pendingActivation->at}};
    }
    return object;
}

WindowsState WindowsState::fromJson(const json::Json& value) {
    json::requireObject(value);
    const auto format = json::get<std::int32_t>(value, "format");
    if (format != kFormat) throw json::DecodeError("unsupported format " + std::to_string(format), "format");
    WindowsState state;
    state.generation = json::get<std::uint64_t>(value, "generation");
    state.nextNumber = json::get<std::uint32_t>(value, "nextNumber");
    state.nextSeq = json::get<std::uint64_t>(value, "nextSeq");
    state.applications = json::get<std::vector<WindowApplication>>(value, "applications");
    state.windows = json::get<std::vector<WindowRecord>>(value, "windows");
    const auto& pointer = json::requireKey(value, "pointer");
    try {
        state.pointer.location = requiredFrom<geometry::Point>(pointer, "location", pointFromJson);
        state.pointer.buttons = json::get<std::uint32_t>(pointer, "buttons");
    } catch (const json::DecodeError& error) {
        throw error.within("pointer");
    }
    state.voiceOver = json::get<bool>(value, "voiceOver");
    state.switchControl = json::get<bool>(value, "switchControl");
    state.journal = json::get<std::vector<JournalEntry>>(value, "journal");
    if (json::hasValue(value, "pendingActivation")) {
        const auto& pending = json::requireObject(value["pendingActivation"]);
        try {
            state.pendingActivation =
                WindowsState::PendingActivation{json::get<std::int32_t>(pending, "pid"), json::get<double>(pending, "at")};
        } catch (const json::DecodeError& error) {
            throw error.within("pendingActivation");
        }
    }

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
