#include "tools/corvelle-host/WindowsCommand.h"

#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

#include "DorvaneCore/Support/DecimalText.h"
#include "Platform/Host/Machines/AccessibilityTree.h"
#include "Platform/Host/State/GeometryJson.h"
#include "Platform/Host/State/HostError.h"
#include "tools/corvelle-host/ExitStatus.h"
#include "tools/corvelle-host/Parsing.h"

namespace dorvane::hosttool {

const char* const kWindowsUsage = R"(  windows init [--fixture desk|empty]                     start the windows over (default: empty)
  windows add-app NAME [--bundle-id ID | --no-bundle-id] [--policy regular|accessory|prohibited]
                  [APP OPTIONS]                           launch an application; prints its pid
  windows add PID [--frame X,Y,W,H] [--title T] [--level N] [--role R] [--subrole S] [--modal]
                  [--min W,H] [--max W,H] [--close|--minimise|--zoom absent|disabled|enabled]
                  [--zoom-subrole S] [--alpha A] [--minimised] [--settable ATTR,...]
                                                          open a window; prints its number
  windows move N X Y [W H]                                drag (and resize) a window as the user does,
                                                          within its minimum and maximum size
  windows focus|minimise|unminimise|close N
  windows hide|unhide|quit PID
  windows click X Y [--raise N]                           click there; N comes forward before the release
  windows behave window N [--min W,H|none] [--max W,H|none] [--steps W,H|none]
                  [--clamp-to-screen on|off] [--below-menu-bar on|off] [--redirect X,Y|off]
                  [--ignore-writes N] [--late S] [--refuse CODE|off] [--enhanced-settle S]
                  [--mouse-down-after N|off] [--zoom animated|none|bounce|short:N] [--omit KEY,...]
                  [--settable ATTR,...]
  windows behave app PID [APP OPTIONS]
        APP OPTIONS: [--latency S] [--enhanced-ui on|off|absent] [--activation works|fails|never|S]
                  (S: it comes forward S seconds after being activated) [--command-w close|ignore] [--menu-bar default|none] [--window-menu TITLE]
                  [--zoom-item TITLE] [--disable ITEM]
  windows event space-changed|session-resigned
  windows assistive voiceover|switch-control on|off
  windows events [--json]                                 the notification journal
  windows list [--all] [--json]                           front to back, [key]: the window the keys go to;
                                                          --all adds what is off screen
  permission grant|revoke|show NAME|all                   NAME: accessibility, input-monitoring,
                                                          post-events (a fresh host grants only
                                                          post-events)
)";

namespace {

using host::HostError;

// How long a running program may take to handle a click.
constexpr double kClickTimeout = 5.0;

geometry::Size parseSize(std::string_view text) {
    const auto figures = parseFigures(text, 2, "size W,H");
    if (figures[0] <= 0 || figures[1] <= 0) throw UsageError("a size needs a positive width and height");
    return {figures[0], figures[1]};
}

geometry::Rect parseFrame(std::string_view text) {
    const auto figures = parseFigures(text, 4, "frame X,Y,W,H");
    if (figures[2] <= 0 || figures[3] <= 0) throw UsageError("a frame needs a positive width and height");
    return {figures[0], figures[1], figures[2], figures[3]};
}

std::uint32_t parseWindowNumber(std::string_view text) {
    const auto number = parseNumber<std::uint32_t>(text, "window number");
    if (number < 1) throw UsageError("a window number is 1 or more");
    return number;
}

bool parseSwitch(std::string_view text, std::string_view on, std::string_view off) {
    if (text == on) return true;
    if (text == off) return false;
    throw UsageError("expected " + std::string(on) + " or " + std::string(off) + ", not \"" + std::string(text) + "\"");
}

template <typename E>
E parseWord(std::string_view text, std::string_view what) {
    if (const auto value = fromRawValue<E>(text)) return *value;
    std::string known;
    for (const auto value : allCases<E>()) known += (known.empty() ? "" : ", ") + std::string(rawValue(value));
    throw UsageError("unknown " + std::string(what) + " \"" + std::string(text) + "\" (one of: " + known + ")");
}

std::vector<std::string> parseList(std::string_view text) {
    std::vector<std::string> items;
    std::size_t start = 0;
    for (;;) {
        const auto comma = text.find(',', start);
        const auto piece = text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        if (piece.empty()) throw UsageError("empty name in \"" + std::string(text) + "\"");
        items.emplace_back(piece);
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return items;
}

accessibility::AXError parseRefusal(std::string_view text) {
    if (const auto named = fromRawValue<accessibility::AXError>(text)) return *named;
    const auto code = parseNumber<std::int32_t>(text, "Accessibility code");
    const auto error = accessibility::axErrorFromCode(code);
    if (!error || *error == accessibility::AXError::success) {
        throw UsageError("unknown Accessibility code " + std::string(text) + " (-25200 to -25212, or a name such as "
                         "cannotComplete)");
    }
    return *error;
}

// Options an application takes at launch and later, menus aside; false when `args` holds
// none of them next.
bool applicationOption(Arguments& args, host::WindowApplication& application) {
    if (args.flag("--latency")) {
        application.latency = parseSeconds(args.next("seconds"));
    } else if (args.flag("--enhanced-ui")) {
        const auto value = args.next("on, off or absent");
        if (value == "absent") {
            application.enhancedUserInterface.reset();
        } else {
            application.enhancedUserInterface = parseSwitch(value, "on", "off");
        }
    } else if (args.flag("--activation")) {
        const auto how = args.next("works, fails, never or seconds");
        application.activationFails = how == "fails";
        application.activationNever = how == "never";
        application.activationDelay = 0;
        if (how != "works" && how != "fails" && how != "never") application.activationDelay = parseSeconds(how);
    } else if (args.flag("--command-w")) {
        application.closesOnCommandW = parseSwitch(args.next("close or ignore"), "close", "ignore");
    } else if (args.flag("--menu-bar")) {
        const bool present = parseSwitch(args.next("default or none"), "default", "none");
        application.menuBar = present ? std::optional(host::defaultMenuBar()) : std::nullopt;
    } else {
        return false;
    }
    return true;
}

// The menu options change the Window menu (the first one) of an application that has a menu bar.
bool menuOption(Arguments& args, host::WindowApplication& application) {
    enum class Kind { title, zoomItem, disable };
    std::optional<Kind> kind;
    if (args.flag("--window-menu")) kind = Kind::title;
    else if (args.flag("--zoom-item")) kind = Kind::zoomItem;
    else if (args.flag("--disable")) kind = Kind::disable;
    if (!kind) return false;
    const auto text = args.next("title");
    if (text.empty()) throw UsageError("a menu title must not be empty");
    if (!application.menuBar || application.menuBar->empty()) throw UsageError("the application has no menu bar");
    auto& menu = application.menuBar->front();
    if (*kind == Kind::title) {
        menu.title = text;
    } else if (*kind == Kind::zoomItem) {
        for (auto& item : menu.items) {
            if (host::isZoomItemTitle(item.title)) item.title = text;
        }
    } else {
        bool found = false;
        for (auto& item : menu.items) {
            if (item.title != text) continue;
            item.enabled = false;
            found = true;
        }
        if (!found) throw UsageError("the Window menu has no item \"" + text + "\"");
    }
    return true;
}

bool anyApplicationOption(Arguments& args, host::WindowApplication& application) {
    return menuOption(args, application) || applicationOption(args, application);
}

int runAddApp(host::SimulatedHost& host, Arguments& args, std::ostream& out) {
    host::ApplicationLaunch launch;
    launch.name = args.next("application name");
    if (launch.name.empty() || launch.name.find('/') != std::string::npos) {
        throw UsageError("an application name must not be empty or hold \"/\"");
    }
    launch.bundleID = "local.host." + launch.name;
    while (!args.empty()) {
        if (args.flag("--bundle-id")) {
            launch.bundleID = args.next("bundle identifier");
        } else if (args.flag("--no-bundle-id")) {
            launch.bundleID.reset();
        } else if (args.flag("--policy")) {
            launch.policy = parseWord<workspace::ActivationPolicy>(args.next("policy"), "activation policy");
        } else if (!anyApplicationOption(args, launch.accessibility)) {
            args.finish();
        }
    }
    out << host.windowsAdmin().launch(launch) << "\n";
    return kExitSuccess;
}

int runAdd(host::SimulatedHost& host, Arguments& args, std::ostream& out) {
    host::WindowRecord window;
    window.pid = parsePID(args.next("process id"));
    window.title = "未命名";
    window.frame = geometry::Rect{100, 100, 800, 600};
    while (!args.empty()) {
        if (args.flag("--frame")) {
            window.frame = parseFrame(args.next("frame X,Y,W,H"));
        } else if (args.flag("--title")) {
            window.title = args.next("title");
        } else if (args.flag("--level")) {
            window.level = parseNumber<std::int32_t>(args.next("level"), "level");
        } else if (args.flag("--role")) {
            window.role = args.next("role");
        } else if (args.flag("--subrole")) {
            window.subrole = args.next("subrole");
        } else if (args.flag("--modal")) {
            window.modal = true;
        } else if (args.flag("--min")) {
            window.minSize = parseSize(args.next("size W,H"));
        } else if (args.flag("--max")) {
            window.maxSize = parseSize(args.next("size W,H"));
        } else if (args.flag("--close")) {
            window.closeButton = parseWord<host::ButtonState>(args.next("button state"), "button state");
        } else if (args.flag("--minimise")) {
            window.minimizeButton = parseWord<host::ButtonState>(args.next("button state"), "button state");
        } else if (args.flag("--zoom")) {
            window.zoomButton = parseWord<host::ButtonState>(args.next("button state"), "button state");
        } else if (args.flag("--zoom-subrole")) {
            window.zoomButtonSubrole = args.next("subrole");
        } else if (args.flag("--alpha")) {
            window.alpha = parseFigure(args.next("alpha"), "alpha");
            if (window.alpha < 0 || window.alpha > 1) throw UsageError("alpha lies between 0 and 1");
        } else if (args.flag("--minimised")) {
            window.minimised = true;
        } else if (args.flag("--settable")) {
            window.settable = parseList(args.next("attribute names"));
        } else {
            args.finish();
        }
    }
    out << host.windowsAdmin().open(window) << "\n";
    return kExitSuccess;
}

int runBehaveWindow(host::SimulatedHost& host, Arguments& args, std::ostream& out) {
    const auto number = parseWindowNumber(args.next("window number"));
    std::vector<std::function<void(host::WindowRecord&)>> changes;
    auto optionalSize = [&args](std::string_view what) -> std::optional<geometry::Size> {
        const auto text = args.next(what);
        if (text == "none") return std::nullopt;
        return parseSize(text);
    };
    while (!args.empty()) {
        if (args.flag("--min")) {
            changes.push_back([size = optionalSize("size W,H or none")](auto& w) { w.minSize = size; });
        } else if (args.flag("--max")) {
            changes.push_back([size = optionalSize("size W,H or none")](auto& w) { w.maxSize = size; });
        } else if (args.flag("--steps")) {
            changes.push_back([size = optionalSize("steps W,H or none")](auto& w) { w.behaviours.sizeSteps = size; });
        } else if (args.flag("--clamp-to-screen")) {
            const bool on = parseSwitch(args.next("on or off"), "on", "off");
            changes.push_back([on](auto& w) { w.behaviours.clampToScreen = on; });
        } else if (args.flag("--below-menu-bar")) {
            const bool on = parseSwitch(args.next("on or off"), "on", "off");
            changes.push_back([on](auto& w) { w.behaviours.keepBelowMenuBar = on; });
        } else if (args.flag("--redirect")) {
            const auto text = args.next("point X,Y or off");
            std::optional<geometry::Point> point;
            if (text != "off") point = parsePoint(text);
            changes.push_back([point](auto& w) { w.behaviours.redirectPosition = point; });
        } else if (args.flag("--ignore-writes")) {
            const auto count = parseNumber<std::uint32_t>(args.next("count"), "count");
            changes.push_back([count](auto& w) { w.behaviours.ignoredWrites = count; });
        } else if (args.flag("--late")) {
            const auto seconds = parseSeconds(args.next("seconds"));
            changes.push_back([seconds](auto& w) { w.behaviours.lateBy = seconds; });
        } else if (args.flag("--refuse")) {
            const auto text = args.next("Accessibility code or off");
            std::optional<std::int32_t> code;
            if (text != "off") code = accessibility::axErrorCode(parseRefusal(text));
            changes.push_back([code](auto& w) { w.behaviours.refuseCode = code; });
        } else if (args.flag("--enhanced-settle")) {
            const auto seconds = parseSeconds(args.next("seconds"));
            changes.push_back([seconds](auto& w) { w.behaviours.enhancedUISettle = seconds; });
        } else if (args.flag("--mouse-down-after")) {
            const auto text = args.next("count or off");
            std::optional<std::uint32_t> count;
            if (text != "off") count = parseNumber<std::uint32_t>(text, "count");
            if (count == 0u) throw UsageError("the button goes down after one write or more");
            changes.push_back([count](auto& w) { w.behaviours.mouseDownAfterWrites = count; });
        } else if (args.flag("--zoom")) {
            const auto text = args.next("zoom mode");
            auto mode = host::ZoomMode::animated;
            double shortBy = 0;
            if (text.starts_with("short:")) {
                mode = host::ZoomMode::shortBy;
                shortBy = parseFigure(std::string_view(text).substr(6), "distance in points");
                if (shortBy <= 0) throw UsageError("short:N needs a positive number of points");
            } else if (text == "short") {
                throw UsageError("short needs a distance: short:N");
            } else {
                mode = parseWord<host::ZoomMode>(text, "zoom mode");
            }
            changes.push_back([mode, shortBy](auto& w) {
                w.behaviours.zoom = mode;
                w.behaviours.zoomShortBy = shortBy;
            });
        } else if (args.flag("--omit")) {
            auto keys = parseList(args.next("window-list keys"));
            changes.push_back([keys](auto& w) { w.behaviours.omittedListKeys = keys; });
        } else if (args.flag("--settable")) {
            auto names = parseList(args.next("attribute names"));
            changes.push_back([names](auto& w) { w.settable = names; });
        } else {
            args.finish();
        }
    }
    if (changes.empty()) throw UsageError("behave window needs at least one option");
    host.windowsAdmin().behaveWindow(number, [&changes](host::WindowRecord& window) {
        for (const auto& change : changes) change(window);
    });
    out << "Window " << number << " changed.\n";
    return kExitSuccess;
}

int runBehaveApp(host::SimulatedHost& host, Arguments& args, std::ostream& out) {
    const auto pid = parsePID(args.next("process id"));
    // Options apply to the entry as it is, in the order given, all or none.
    std::vector<std::string> words;
    while (!args.empty()) words.push_back(args.next("option"));
    if (words.empty()) throw UsageError("behave app needs at least one option");
    {
        host::WindowApplication probe;  // checks the words before the host is touched
        Arguments check(words);
        while (!check.empty()) {
            if (!anyApplicationOption(check, probe)) check.finish();
        }
    }
    host.windowsAdmin().behaveApplication(pid, [&words](host::WindowApplication& application) {
        Arguments apply(words);
        try {
            while (!apply.empty()) anyApplicationOption(apply, application);
        } catch (const UsageError& error) {
            throw HostError(error.what());  // the words were fine; this application's menus are not
        }
    });
    out << "Application " << pid << " changed.\n";
    return kExitSuccess;
}

std::string boundsText(const geometry::Rect& rect) {
    auto figure = [](double value) {
        return std::trunc(value) == value ? std::to_string(static_cast<long long>(value)) : decimalText(value);
    };
    return figure(rect.x) + "," + figure(rect.y) + " " + figure(rect.width) + "x" + figure(rect.height);
}

bool shown(const host::ListedWindow& window, bool all) { return all || (window.onScreen && !window.desktop); }

std::string renderTable(const host::WindowsView& view, bool all) {
    std::string text = "Frontmost: ";
    if (!view.frontmost) text += "none";
    for (const auto& application : view.applications) {
        if (view.frontmost == application.pid) text += application.name + " (" + std::to_string(application.pid) + ")";
    }
    text += "\nApplications:\n";
    if (view.applications.empty()) text += "  (none)\n";
    for (const auto& application : view.applications) {
        text += "  " + std::to_string(application.pid) + " " + application.name + " [" +
                std::string(rawValue(application.activationPolicy)) + (application.hidden ? ", hidden" : "") + "]\n";
    }
    text += "Windows, front to back:\n";
    for (const auto& window : view.windows) {
        if (!shown(window, all)) continue;
        std::string state = window.minimised ? " [minimised]" : !window.onScreen && !window.desktop ? " [off screen]" : "";
        if (window.number == view.keyWindow) state += " [key]";
        text += "  " + std::to_string(window.number) + "  layer " + std::to_string(window.layer) + "  " +
                boundsText(window.bounds) + "  " + window.ownerName + ": " + window.title + state + "\n";
    }
    return text;
}

int runList(host::SimulatedHost& host, Arguments& args, std::ostream& out) {
    bool all = false;
    bool asJson = false;
    while (!args.empty()) {
        if (args.flag("--all")) {
            all = true;
        } else if (args.flag("--json")) {
            asJson = true;
        } else {
            args.finish();
        }
    }
    const auto view = host.windowsAdmin().view();
    if (asJson) {
        out << json::serializePretty(renderWindowsJson(view, all)) << "\n";
    } else {
        out << renderTable(view, all);
    }
    return kExitSuccess;
}

int runEvents(host::SimulatedHost& host, Arguments& args, std::ostream& out) {
    const bool asJson = args.flag("--json");
    args.finish();
    const auto journal = host.windowsAdmin().view().state.journal;
    if (asJson) {
        out << json::serializePretty(json::encodeArray(journal)) << "\n";
        return kExitSuccess;
    }
    for (const auto& entry : journal) {
        out << entry.seq << " " << decimalText(entry.at) << " " << rawValue(entry.event);
        if (entry.pid) out << " pid=" << *entry.pid;
        if (entry.window != 0) out << " window=" << entry.window;
        if (!entry.name.empty()) out << " " << entry.name;
        if (entry.event == host::JournalEvent::mouseDown || entry.event == host::JournalEvent::mouseUp) {
            out << " at=" << decimalText(entry.location.x) << "," << decimalText(entry.location.y);
        }
        out << "\n";
    }
    return kExitSuccess;
}

}  // namespace

json::Json renderWindowsJson(const host::WindowsView& view, bool all) {
    json::Json applications = json::Json::array();
    for (const auto& application : view.applications) {
        json::Json entry = json::Json::object();
        entry["pid"] = application.pid;
        entry["name"] = application.name;
        entry["bundleID"] = application.bundleID ? json::Json(*application.bundleID) : json::Json(nullptr);
        entry["activationPolicy"] = rawValue(application.activationPolicy);
        entry["hidden"] = application.hidden;
        applications.push_back(entry);
    }
    json::Json windows = json::Json::array();
    for (const auto& window : view.windows) {
        if (!shown(window, all)) continue;
        json::Json entry = json::Json::object();
        entry["number"] = window.number;
        entry["pid"] = window.pid;
        entry["layer"] = window.layer;
        entry["bounds"] = host::rectJson(window.bounds);
        entry["title"] = window.title;
        entry["owner"] = window.ownerName;
        entry["onScreen"] = window.onScreen;
        entry["minimised"] = window.minimised;
        entry["key"] = window.number == view.keyWindow;
        windows.push_back(entry);
    }
    json::Json object = json::Json::object();
    object["frontmost"] = view.frontmost ? json::Json(*view.frontmost) : json::Json(nullptr);
    object["applications"] = applications;
    object["windows"] = windows;
    return object;
}

int runWindows(host::SimulatedHost& host, Arguments& args, std::ostream& out) {
    const auto verb = args.next("windows command");
    auto& admin = host.windowsAdmin();
    if (verb == "init") {
        auto fixture = host::WindowsFixture::empty;
        if (args.flag("--fixture")) fixture = parseWord<host::WindowsFixture>(args.next("fixture"), "fixture");
        args.finish();
        admin.reset(fixture);
        out << "Windows started over with the " << rawValue(fixture) << " fixture.\n";
        return kExitSuccess;
    }
    if (verb == "add-app") return runAddApp(host, args, out);
    if (verb == "add") return runAdd(host, args, out);
    if (verb == "move") {
        const auto number = parseWindowNumber(args.next("window number"));
        const double x = parseFigure(args.next("x"), "x");
        const double y = parseFigure(args.next("y"), "y");
        std::optional<geometry::Size> size;
        if (!args.empty()) {
            const double width = parseFigure(args.next("width"), "width");
            const double height = parseFigure(args.next("height"), "height");
            if (width <= 0 || height <= 0) throw UsageError("a size needs a positive width and height");
            size = geometry::Size{width, height};
        }
        args.finish();
        if (!size) {
            for (const auto& window : admin.view().windows) {
                if (window.number == number && window.pid != 0) size = window.bounds.size();
            }
            if (!size) throw HostError("no window " + std::to_string(number));
        }
        admin.drag(number, geometry::Rect(geometry::Point{x, y}, *size));
        out << "Window " << number << " moved.\n";
        return kExitSuccess;
    }
    if (verb == "focus" || verb == "minimise" || verb == "unminimise" || verb == "close") {
        const auto number = parseWindowNumber(args.next("window number"));
        args.finish();
        if (verb == "focus") admin.focus(number);
        if (verb == "minimise" || verb == "unminimise") admin.setMinimised(number, verb == "minimise");
        if (verb == "close") admin.close(number);
        out << "Window " << number << ": " << verb << ".\n";
        return kExitSuccess;
    }
    if (verb == "hide" || verb == "unhide" || verb == "quit") {
        const auto pid = parsePID(args.next("process id"));
        args.finish();
        if (verb == "quit") {
            admin.quit(pid);
        } else {
            admin.setHidden(pid, verb == "hide");
        }
        out << "Application " << pid << ": " << verb << ".\n";
        return kExitSuccess;
    }
    if (verb == "click") {
        const double x = parseFigure(args.next("x"), "x");
        const double y = parseFigure(args.next("y"), "y");
        std::optional<std::uint32_t> raise;
        if (args.flag("--raise")) raise = parseWindowNumber(args.next("window number"));
        args.finish();
        const auto click = admin.clickThroughInput({x, y}, raise);
        if (click.injection &&
            host.inputAdmin().waitUntilHandled(*click.injection, kClickTimeout) != host::InputAdmin::Wait::handled) {
            throw HostError("the program did not take the click");
        }
        const auto window = click.window;
        out << "Clicked " << (window == 0 ? std::string("the desktop") : "window " + std::to_string(window)) << ".\n";
        return kExitSuccess;
    }
    if (verb == "behave") {
        const auto what = args.next("window or app");
        if (what == "window") return runBehaveWindow(host, args, out);
        if (what == "app") return runBehaveApp(host, args, out);
        throw UsageError("behave window N ... or behave app PID ..., not \"" + what + "\"");
    }
    if (verb == "event") {
        const auto event = args.next("space-changed or session-resigned");
        args.finish();
        if (event == "space-changed") {
            admin.post(host::JournalEvent::spaceChanged);
        } else if (event == "session-resigned") {
            admin.post(host::JournalEvent::sessionResigned);
        } else {
            throw UsageError("unknown event \"" + event + "\" (space-changed or session-resigned)");
        }
        out << "Posted " << event << ".\n";
        return kExitSuccess;
    }
    if (verb == "assistive") {
        const auto which = args.next("voiceover or switch-control");
        if (which != "voiceover" && which != "switch-control") {
            throw UsageError("unknown assistive technology \"" + which + "\" (voiceover or switch-control)");
        }
        const bool on = parseSwitch(args.next("on or off"), "on", "off");
        args.finish();
        admin.setAssistive(which == "voiceover", on);
        out << which << " " << (on ? "on" : "off") << ".\n";
        return kExitSuccess;
    }
    if (verb == "events") return runEvents(host, args, out);
    if (verb == "list") return runList(host, args, out);
    throw UsageError("unknown windows command \"" + verb + "\"");
}

int runPermission(host::SimulatedHost& host, Arguments& args, std::ostream& out) {
    const auto verb = args.next("grant, revoke or show");
    if (verb != "grant" && verb != "revoke" && verb != "show") {
        throw UsageError("unknown permission command \"" + verb + "\" (grant, revoke or show)");
    }
    const auto name = args.next("permission");
    std::vector<host::Permission> permissions;
    if (name == "all") {
        for (const auto permission : allCases<host::Permission>()) permissions.push_back(permission);
    } else {
        permissions.push_back(parseWord<host::Permission>(name, "permission"));
    }
    args.finish();
    for (const auto permission : permissions) {
        if (verb != "show") host.permissionsAdmin().set(permission, verb == "grant");
        out << rawValue(permission) << ": "
            << (host.permissionsAdmin().granted(permission) ? "granted" : "not granted") << "\n";
    }
    return kExitSuccess;
}

}  // namespace dorvane::hosttool
