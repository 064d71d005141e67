#include "Platform/Host/Machines/WindowMachine.h"

#include <algorithm>
#include <cmath>

#include "DorvaneCore/Windows/WindowLayout.h"
#include "Platform/Accessibility/AXNames.h"
#include "Platform/Host/State/GeometryJson.h"
#include "Platform/Host/State/HostError.h"
#include "Platform/Host/Machines/KeyboardFocus.h"
#include "Platform/Host/Machines/RemoteMachine.h"
#include "Platform/Host/State/ScreenLayout.h"
#include "Platform/Host/Machines/WindowListing.h"

namespace dorvane::host {

namespace attribute = accessibility::attribute;
namespace notification = accessibility::notification;
using accessibility::AXError;
using geometry::Rect;
using windows::WindowLayout::approximatelyEqual;

namespace {

JournalEntry accessibilityEntry(pid_t pid, std::uint32_t window, std::string_view name) {
    JournalEntry entry;
    entry.event = JournalEvent::axNotification;
    entry.pid = pid;
    entry.window = window;
    entry.name = std::string(name);
    return entry;
}

json::Json numberDetails(std::uint32_t number) {
    json::Json details = json::Json::object();
    details["window"] = number;
    return details;
}

json::Json pidDetails(pid_t pid) {
    json::Json details = json::Json::object();
    details["pid"] = pid;
    return details;
}

void foldAll(HostData& data, const std::vector<displays::Screen>& screens) {
    for (auto& window : data.windows().windows) foldLandedChanges(window, data.now, screens);
}

// The application's windows side, made on first use for an application that has none yet.
WindowApplication& entryFor(HostData& data, pid_t pid) {
    if (auto* application = data.windows().application(pid)) return *application;
    WindowApplication application;
    application.pid = pid;
    data.windows().applications.push_back(application);
    return data.windows().applications.back();
}

void moveToFront(HostData& data, std::uint32_t number) {
    auto& windows = data.windows().windows;
    const auto found = std::find_if(windows.begin(), windows.end(),
                                    [number](const WindowRecord& window) { return window.number == number; });
    if (found != windows.end()) std::rotate(windows.begin(), found, found + 1);
}

// The application's front window on the normal level that shows, other than `excluding`:
// panels and floating windows take the focus only when asked to.
std::optional<std::uint32_t> frontWindowOf(const HostData& data, pid_t pid, std::uint32_t excluding = 0) {
    for (const auto& window : data.windows().windows) {
        if (window.pid == pid && window.number != excluding && window.level == 0 && !window.minimised &&
            window.onScreen) {
            return window.number;
        }
    }
    return std::nullopt;
}

// Changes the application's focused and main windows, telling its observers.
void setKeyWindows(HostData& data, pid_t pid, std::optional<std::uint32_t> focused,
                   std::optional<std::uint32_t> main) {
    auto& application = entryFor(data, pid);
    if (application.focusedWindow != focused) {
        application.focusedWindow = focused;
        postNotification(data, accessibilityEntry(pid, focused.value_or(0), notification::focusedWindowChanged));
    }
    if (application.mainWindow != main) {
        application.mainWindow = main;
        postNotification(data, accessibilityEntry(pid, main.value_or(0), notification::mainWindowChanged));
    }
}

// After `number` stops showing, its application's next window takes over.
void handOverKeyWindows(HostData& data, pid_t pid, std::uint32_t number) {
    const auto* application = data.windows().application(pid);
    if (application == nullptr) return;
    const auto next = frontWindowOf(data, pid, number);
    setKeyWindows(data, pid, application->focusedWindow == number ? next : application->focusedWindow,
                  application->mainWindow == number ? next : application->mainWindow);
}

void setFrontmost(HostData& data, std::optional<pid_t> pid) {
    if (data.workspace().frontmostPID == pid) return;
    data.workspace().frontmostPID = pid;
    // The application coming forward has the keyboard, not a panel of another one.
    setKeyPanel(data, std::nullopt);
    if (!pid) return;
    JournalEntry entry;
    entry.event = JournalEvent::activated;
    entry.pid = pid;
    postNotification(data, entry);
}

// Who is frontmost once `leaving` no longer is: the owner of the front window that
// shows, among regular applications.
std::optional<pid_t> nextFrontmost(const HostData& data, pid_t leaving) {
    for (const auto& window : data.windows().windows) {
        if (window.pid == leaving || window.level != 0 || !isOnScreen(data, window)) continue;
        const auto* application = data.workspace().application(window.pid);
        if (application && application->activationPolicy == workspace::ActivationPolicy::regular) return window.pid;
    }
    return std::nullopt;
}

// Makes a running application frontmost, as the user does; its front window comes forward.
void bringForward(HostData& data, pid_t pid) {
    auto* application = data.workspace().application(pid);
    if (application == nullptr) return;
    application->hidden = false;
    // Also when it was frontmost already: its window takes the keys back from a panel.
    setKeyPanel(data, std::nullopt);
    if (const auto* windows = data.windows().application(pid)) {
        const auto front = windows->focusedWindow ? windows->focusedWindow : windows->mainWindow;
        if (front) moveToFront(data, *front);
    }
    setFrontmost(data, pid);
}

// Tells the window's observers what a change landing at `at` does to it.
void noticeFrameChange(HostData& data, const WindowRecord& window, const WindowPose& before, const WindowPose& after,
                       double at) {
    if (before.frame.origin() != after.frame.origin()) {
        postNotification(data, accessibilityEntry(window.pid, window.number, notification::windowMoved), at);
    }
    if (before.frame.size() != after.frame.size()) {
        postNotification(data, accessibilityEntry(window.pid, window.number, notification::windowResized), at);
    }
}

void schedule(HostData& data, WindowRecord& window, const TimedChange& change,
              const std::vector<displays::Screen>& screens) {
    const auto before = poseAt(window, change.at, screens);
    const auto place = std::upper_bound(window.changes.begin(), window.changes.end(), change.at,
                                        [](double at, const TimedChange& other) { return at < other.at; });
    window.changes.insert(place, change);
    noticeFrameChange(data, window, before, poseAt(window, change.at, screens), change.at);
}

void discardWindow(HostData& data, std::uint32_t number) {
    auto& windows = data.windows().windows;
    const auto found = std::find_if(windows.begin(), windows.end(),
                                    [number](const WindowRecord& window) { return window.number == number; });
    if (found == windows.end()) return;
    const pid_t pid = found->pid;
    windows.erase(found);
    postNotification(data, accessibilityEntry(pid, number, notification::elementDestroyed));
    keyPanelGone(data, number);
    handOverKeyWindows(data, pid, number);
}

// The application leaves: its windows, its entries and, when it was frontmost, its place.
void removeApplication(HostData& data, pid_t pid) {
    std::vector<std::uint32_t> numbers;
    for (const auto& window : data.windows().windows) {
        if (window.pid == pid) numbers.push_back(window.number);
    }
    for (const auto number : numbers) discardWindow(data, number);
    std::erase_if(data.windows().applications, [pid](const WindowApplication& entry) { return entry.pid == pid; });
    std::erase_if(data.workspace().applications,
                  [pid](const workspace::RunningApplication& application) { return application.pid == pid; });
    if (data.workspace().frontmostPID == pid) setFrontmost(data, nextFrontmost(data, pid));
}

// Tells the window's observers that it went to the Dock or came back.
void noticeMinimised(HostData& data, const WindowRecord& window) {
    postNotification(data, accessibilityEntry(window.pid, window.number,
                                              window.minimised ? notification::windowMiniaturized
                                                               : notification::windowDeminiaturized));
}

bool finitePoint(geometry::Point point) { return std::isfinite(point.x) && std::isfinite(point.y); }

bool usableSize(geometry::Size size) {
    return std::isfinite(size.width) && std::isfinite(size.height) && size.width > 0 && size.height > 0;
}

bool isWindowAttribute(std::string_view name) {
    return name == attribute::position || name == attribute::size || name == attribute::minimized ||
           name == attribute::fullScreen || name == attribute::main || name == attribute::focused;
}

Rect lerp(const Rect& from, const Rect& to, double fraction) {
    auto mix = [fraction](double a, double b) { return std::round(a + (b - a) * fraction); };
    return Rect{mix(from.x, to.x), mix(from.y, to.y), mix(from.width, to.width), mix(from.height, to.height)};
}

std::vector<const workspace::RunningApplication*> runningNamed(const HostData& data, const std::string& name) {
    std::vector<const workspace::RunningApplication*> found;
    for (const auto& application : data.workspace().applications) {
        if (application.name == name) found.push_back(&application);
    }
    return found;
}

// The program's own window of that number, or null.
WindowRecord* ownWindow(HostData& data, pid_t pid, std::uint32_t number) {
    auto* window = data.windows().window(number);
    return window != nullptr && window->pid == pid ? window : nullptr;
}

}  // namespace

bool minimiseWindow(HostData& data, std::uint32_t number, bool minimised) {
    auto& window = windowOrThrow(data, number);
    if (window.minimised == minimised) return false;
    window.minimised = minimised;
    const pid_t pid = window.pid;
    noticeMinimised(data, window);
    if (minimised) {
        keyPanelGone(data, number);
        handOverKeyWindows(data, pid, number);
    } else {
        moveToFront(data, number);
        setKeyWindows(data, pid, number, number);
    }
    return true;
}

namespace {

// The window once everything on its way has landed.
WindowPose finalPose(const WindowRecord& window, double now, const std::vector<displays::Screen>& screens) {
    return poseAt(window, window.changes.empty() ? now : std::max(now, window.changes.back().at), screens);
}

// Full screen changes once the screen has switched over.
void scheduleFullScreen(HostData& data, WindowRecord& window, bool fullScreen,
                        const std::vector<displays::Screen>& screens) {
    if (finalPose(window, data.now, screens).fullScreen == fullScreen) return;
    TimedChange change;
    change.at = data.now + kFullScreenSeconds;
    change.kind = TimedChange::Kind::fullScreen;
    change.fullScreen = fullScreen;
    schedule(data, window, change, screens);
}

}  // namespace

void removeWindow(HostData& data, std::uint32_t number) {
    windowOrThrow(data, number);
    discardWindow(data, number);
}

namespace {

WindowRecord recordOf(const workspace::OwnWindow& own) {
    WindowRecord record;
    record.title = own.title;
    record.frame = own.frame;
    record.titled = own.titled;
    record.level = own.level;
    record.onScreen = own.onScreen;
    record.minimised = own.minimised;
    if (!own.titled) {
        record.closeButton = record.minimizeButton = record.zoomButton = ButtonState::absent;
    }
    if (!own.titled || own.level != 0) record.subrole = std::string(accessibility::subrole::floatingWindow);
    return record;
}

}  // namespace

std::vector<displays::Screen> currentScreens(const HostData& data) { return screensOf(data.state()); }

void postNotification(HostData& data, JournalEntry entry, std::optional<double> at) {
    entry.seq = data.windows().nextSeq++;
    entry.at = at.value_or(data.now);
    auto& journal = data.windows().journal;
    journal.push_back(std::move(entry));
    if (journal.size() > WindowsState::kJournalLimit) {
        journal.erase(journal.begin(), journal.begin() + static_cast<std::ptrdiff_t>(journal.size() -
                                                                                     WindowsState::kJournalLimit));
    }
}

WindowRecord& windowOrThrow(HostData& data, std::uint32_t number) {
    if (auto* window = data.windows().window(number)) return *window;
    throw HostError("no window " + std::to_string(number) + " (\"corvelle-host windows list --all\" shows them)");
}

WindowApplication& applicationOrThrow(HostData& data, pid_t pid) {
    if (data.workspace().application(pid) == nullptr) {
        throw HostError("no running application with process " + std::to_string(pid));
    }
    return entryFor(data, pid);
}

pid_t launchApplication(HostData& data, const Actor& actor, const ApplicationLaunch& launch) {
    if (!launch.bundlePath) {
        if (launch.name.empty() || launch.name.find('/') != std::string::npos) {
            throw HostError("an application needs a name without \"/\"");
        }
        if (!runningNamed(data, launch.name).empty()) throw HostError("\"" + launch.name + "\" is already running");
    }
    const std::string bundle = launch.bundlePath.value_or("/Applications/" + launch.name + ".app");
    const pid_t pid = startSimulatedProcess(data, actor, launch.name,
                                            launch.executable.value_or(bundle + "/Contents/MacOS/" + launch.name));
    data.workspace().applications.push_back(
        workspace::RunningApplication{pid, launch.bundleID, launch.name, bundle, launch.policy, false});
    WindowApplication entry = launch.accessibility;
    entry.pid = pid;
    entry.owner.reset();
    entry.focusedWindow.reset();
    entry.mainWindow.reset();
    entry.launched = true;
    data.windows().applications.push_back(entry);
    JournalEntry launched;
    launched.event = JournalEvent::launched;
    launched.pid = pid;
    postNotification(data, launched);
    json::Json details = pidDetails(pid);
    details["name"] = launch.name;
    data.record(actor, "applicationLaunch", details);
    if (launch.activates && launch.policy == workspace::ActivationPolicy::regular) bringForward(data, pid);
    return pid;
}

std::uint32_t openWindow(HostData& data, const Actor& actor, WindowRecord window) {
    applicationOrThrow(data, window.pid);
    if (!(usableSize(window.frame.size()) && finitePoint(window.frame.origin()))) {
        throw HostError("a window needs a finite frame with a positive width and height");
    }
    foldAll(data, currentScreens(data));
    window.number = data.windows().nextNumber++;
    window.changes.clear();
    window.frame = Rect(window.frame.origin(), limitedSize(window, window.frame.size()));
    const auto number = window.number;
    const pid_t pid = window.pid;
    const bool shows = window.onScreen && !window.minimised;
    data.windows().windows.insert(data.windows().windows.begin(), std::move(window));
    postNotification(data, accessibilityEntry(pid, number, notification::windowCreated));
    // Panels and floating windows do not take the focus.
    if (shows && data.windows().window(number)->level == 0) setKeyWindows(data, pid, number, number);
    json::Json details = numberDetails(number);
    details["pid"] = pid;
    data.record(actor, "windowOpen", details);
    return number;
}

void dragWindow(HostData& data, const Actor& actor, std::uint32_t number, const Rect& frame) {
    if (!(usableSize(frame.size()) && finitePoint(frame.origin()))) {
        throw HostError("a window needs a finite frame with a positive width and height");
    }
    const auto screens = currentScreens(data);
    foldAll(data, screens);
    auto& window = windowOrThrow(data, number);
    const auto before = poseAt(window, data.now, screens);
    if (before.fullScreen) throw HostError("window " + std::to_string(number) + " fills its screen");
    window.changes.clear();
    window.frame = Rect(frame.origin(), limitedSize(window, frame.size()));
    noticeFrameChange(data, window, before, poseAt(window, data.now, screens), data.now);
    json::Json details = numberDetails(number);
    details["frame"] = rectJson(window.frame);
    data.record(actor, "windowDrag", details);
}

void focusWindow(HostData& data, const Actor& actor, std::uint32_t number) {
    auto& window = windowOrThrow(data, number);
    const pid_t pid = window.pid;
    if (window.minimised) {
        window.minimised = false;
        noticeMinimised(data, window);
    }
    window.onScreen = true;
    moveToFront(data, number);
    setKeyWindows(data, pid, number, number);
    bringForward(data, pid);
    data.record(actor, "windowFocus", numberDetails(number));
}

void setMinimised(HostData& data, const Actor& actor, std::uint32_t number, bool minimised) {
    if (minimiseWindow(data, number, minimised)) {
        data.record(actor, minimised ? "windowMinimise" : "windowUnminimise", numberDetails(number));
    }
}

void closeWindow(HostData& data, const Actor& actor, std::uint32_t number) {
    removeWindow(data, number);
    data.record(actor, "windowClose", numberDetails(number));
}

void raiseWindow(HostData& data, std::uint32_t number) {
    const auto& window = windowOrThrow(data, number);
    const pid_t pid = window.pid;
    moveToFront(data, number);
    if (!window.minimised) setKeyWindows(data, pid, number, number);
}

void setHidden(HostData& data, const Actor& actor, pid_t pid, bool hidden) {
    applicationOrThrow(data, pid);
    auto* application = data.workspace().application(pid);
    if (application->hidden == hidden) return;
    application->hidden = hidden;
    if (const auto panel = data.windows().keyPanel; hidden && panel) {
        if (const auto* window = data.windows().window(*panel); window != nullptr && window->pid == pid) {
            setKeyPanel(data, std::nullopt);
        }
    }
    if (hidden && data.workspace().frontmostPID == pid) setFrontmost(data, nextFrontmost(data, pid));
    data.record(actor, hidden ? "applicationHide" : "applicationUnhide", pidDetails(pid));
}

void quitApplication(HostData& data, const Actor& actor, pid_t pid) {
    applicationOrThrow(data, pid);
    removeApplication(data, pid);
    if (isSimulatedPID(pid)) endSimulatedProcess(data, actor, pid);
    data.record(actor, "applicationQuit", pidDetails(pid));
}

bool activateApplication(HostData& data, const Actor&, pid_t pid) {
    const auto* application = data.workspace().application(pid);
    if (application == nullptr || application->activationPolicy == workspace::ActivationPolicy::prohibited) {
        return false;
    }
    const auto* entry = data.windows().application(pid);
    if (entry != nullptr && entry->activationFails) return false;
    data.windows().pendingActivation.reset();
    if (entry != nullptr && entry->activationNever) return true;
    if (entry != nullptr && entry->activationDelay > 0) {
        data.windows().pendingActivation = WindowsState::PendingActivation{pid, data.now + entry->activationDelay};
        return true;
    }
    bringForward(data, pid);
    return true;
}

void settleActivation(HostData& data) {
    const auto pending = data.windows().pendingActivation;
    if (!pending || pending->at > data.now) return;
    data.windows().pendingActivation.reset();
    bringForward(data, pending->pid);
}

PointTarget targetAt(HostData& data, geometry::Point location) {
    const auto screens = currentScreens(data);
    foldAll(data, screens);
    PointTarget target;
    if (const auto hit = windowAt(data, screens, location)) {
        target.window = hit->number;
        if (hit->record != nullptr) target.pid = hit->pid;
        if (hit->layer != 0) {
            if (const auto ordinary = windowAt(data, screens, location, true)) target.beneath = ordinary->number;
        }
    }
    return target;
}

namespace {

void postMouseEntry(HostData& data, JournalEvent event, geometry::Point location, const PointTarget& target,
                    std::optional<pid_t> by) {
    JournalEntry entry;
    entry.event = event;
    entry.location = location;
    entry.window = target.window;
    entry.beneath = target.beneath;
    entry.pid = target.pid;
    entry.by = by;
    postNotification(data, entry);
}

}  // namespace

PointTarget pressLeftButton(HostData& data, geometry::Point location, std::optional<pid_t> by) {
    const auto target = targetAt(data, location);
    data.windows().pointer.location = location;
    data.windows().pointer.buttons |= 1;
    if (target.pid) {
        moveToFront(data, target.window);
        // The program's panels (above the normal level) take no focus: a click on one leaves
        // the frontmost application and its key window as they are.
        const auto* entry = data.windows().application(*target.pid);
        const auto* window = data.windows().window(target.window);
        const bool ownPanel = entry != nullptr && entry->owner && window != nullptr && window->level != 0;
        if (!ownPanel) {
            setKeyWindows(data, *target.pid, target.window, target.window);
            bringForward(data, *target.pid);
        }
    }
    postMouseEntry(data, JournalEvent::mouseDown, location, target, by);
    return target;
}

PointTarget releaseLeftButton(HostData& data, geometry::Point location, std::optional<pid_t> by,
                              std::optional<std::uint32_t> raiseBefore) {
    if (raiseBefore) {
        const pid_t pid = windowOrThrow(data, *raiseBefore).pid;
        raiseWindow(data, *raiseBefore);
        bringForward(data, pid);
    }
    const auto target = targetAt(data, location);
    data.windows().pointer.location = location;
    data.windows().pointer.buttons &= ~1u;
    postMouseEntry(data, JournalEvent::mouseUp, location, target, by);
    return target;
}

void zoomWindow(HostData& data, std::uint32_t number) {
    const auto screens = currentScreens(data);
    foldAll(data, screens);
    auto& window = windowOrThrow(data, number);
    if (window.zoomButtonSubrole == accessibility::subrole::fullScreenButton) {
        scheduleFullScreen(data, window, !finalPose(window, data.now, screens).fullScreen, screens);
        return;
    }
    const auto current = poseAt(window, data.now, screens);
    const auto* screen = screenFor(current.frame, screens);
    if (current.fullScreen || screen == nullptr || window.behaviours.zoom == ZoomMode::none) return;
    Rect target = screen->visibleFrame;
    if (approximatelyEqual(current.frame, target, 2) && window.zoomUserFrame) {
        target = *window.zoomUserFrame;
    } else {
        window.zoomUserFrame = current.frame;
    }
    if (window.behaviours.zoom == ZoomMode::shortBy) {
        target.width = std::max(1.0, target.width - window.behaviours.zoomShortBy);
        target.height = std::max(1.0, target.height - window.behaviours.zoomShortBy);
    }
    // A bouncing window goes half way and comes back.
    static constexpr double kAnimated[kZoomSteps] = {0.25, 0.5, 0.75, 1.0};
    static constexpr double kBounce[kZoomSteps] = {0.25, 0.5, 0.25, 0.0};
    const double* fractions = window.behaviours.zoom == ZoomMode::bounce ? kBounce : kAnimated;
    for (int step = 0; step < kZoomSteps; ++step) {
        TimedChange change;
        change.at = data.now + kZoomStepSeconds * (step + 1);
        change.kind = TimedChange::Kind::frame;
        change.frame = lerp(current.frame, target, fractions[step]);
        schedule(data, window, change, screens);
    }
}

AXError writeWindowAttribute(HostData& data, std::uint32_t number, std::string_view name,
                             const accessibility::AXValue& value) {
    const auto screens = currentScreens(data);
    foldAll(data, screens);
    auto& window = windowOrThrow(data, number);
    if (!isWindowAttribute(name) || !window.isSettable(name)) return AXError::attributeUnsupported;
    auto& rules = window.behaviours;
    ++rules.writes;
    if (rules.mouseDownAfterWrites && rules.writes >= *rules.mouseDownAfterWrites) {
        data.windows().pointer.buttons |= 1;
    }
    const auto* point = std::get_if<geometry::Point>(&value);
    const auto* size = std::get_if<geometry::Size>(&value);
    const auto* flag = std::get_if<bool>(&value);
    if (name == attribute::position ? (point == nullptr || !finitePoint(*point))
        : name == attribute::size   ? (size == nullptr || !std::isfinite(size->width) ||
                                     !std::isfinite(size->height) || size->width < 0 || size->height < 0)
                                    : flag == nullptr) {
        return AXError::illegalArgument;
    }
    if (rules.refuseCode) return accessibility::axErrorFromCode(*rules.refuseCode).value_or(AXError::failure);
    if (rules.ignoredWrites > 0) {
        --rules.ignoredWrites;
        return AXError::success;
    }
    const pid_t pid = window.pid;
    if (name == attribute::position || name == attribute::size) {
        double delay = rules.lateBy;
        const auto* application = data.windows().application(pid);
        if (application && application->enhancedUserInterface == true) delay += rules.enhancedUISettle;
        TimedChange change;
        change.at = data.now + delay;
        change.constrained = true;
        if (point) {
            change.kind = TimedChange::Kind::position;
            change.frame = Rect(*point, geometry::Size{});
        } else {
            change.kind = TimedChange::Kind::size;
            change.frame = Rect(geometry::Point{}, *size);
        }
        schedule(data, window, change, screens);
    } else if (name == attribute::minimized) {
        minimiseWindow(data, number, *flag);
    } else if (name == attribute::fullScreen) {
        scheduleFullScreen(data, window, *flag, screens);
    } else if (*flag) {  // AXMain, AXFocused
        raiseWindow(data, number);
    }
    return AXError::success;
}

void deliverKey(HostData& data, pid_t pid, std::uint32_t window, std::uint16_t code, std::uint64_t flags,
                bool down) {
    constexpr std::uint16_t kW = 13;
    constexpr std::uint64_t kCommand = 0x100000;
    if (!down || code != kW || (flags & kCommand) == 0 || window == 0) return;
    const auto* application = data.windows().application(pid);
    if (application == nullptr || !application->closesOnCommandW) return;
    discardWindow(data, window);
}

void resignSession(HostData& data) {
    // Nobody of the session is in front, and nobody has the keyboard.
    setKeyPanel(data, std::nullopt);
    data.workspace().frontmostPID.reset();
}

void registerOwnApplication(HostData& data, const Actor& actor, const processes::ProcessIdentity& owner,
                            const std::string& name, const std::optional<std::string>& bundleID) {
    const pid_t pid = owner.pid;
    if (auto* application = data.workspace().application(pid)) {
        application->name = name;
        application->bundleID = bundleID;
    } else {
        data.workspace().applications.push_back(workspace::RunningApplication{
            pid, bundleID, name, std::nullopt, workspace::ActivationPolicy::accessory, false});
        JournalEntry launched;
        launched.event = JournalEvent::launched;
        launched.pid = pid;
        postNotification(data, launched);
        data.record(actor, "applicationLaunch", pidDetails(pid));
    }
    auto& entry = entryFor(data, pid);
    entry.owner = owner;
}

std::uint32_t addOwnWindow(HostData& data, pid_t pid, const workspace::OwnWindow& own) {
    const auto* entry = data.windows().application(pid);
    if (entry == nullptr || !entry->owner) throw HostError("the program has not registered as an application");
    auto record = recordOf(own);
    record.pid = pid;
    foldAll(data, currentScreens(data));
    record.number = data.windows().nextNumber++;
    const auto number = record.number;
    auto& windows = data.windows().windows;
    if (own.onScreen && !own.minimised) {
        windows.insert(windows.begin(), std::move(record));
    } else {
        windows.push_back(std::move(record));
    }
    postNotification(data, accessibilityEntry(pid, number, notification::windowCreated));
    return number;
}

bool updateOwnWindow(HostData& data, pid_t pid, std::uint32_t number, const workspace::OwnWindow& own) {
    const auto screens = currentScreens(data);
    foldAll(data, screens);
    auto* found = ownWindow(data, pid, number);
    if (found == nullptr) return false;
    auto& window = *found;
    const auto before = poseAt(window, data.now, screens);
    const bool showed = window.onScreen && !window.minimised;
    const bool wasMinimised = window.minimised;
    const bool shows = own.onScreen && !own.minimised;
    auto record = recordOf(own);
    record.number = number;
    record.pid = pid;
    window = std::move(record);
    noticeFrameChange(data, window, before, poseAt(window, data.now, screens), data.now);
    if (window.minimised != wasMinimised) noticeMinimised(data, window);
    if (shows && !showed) moveToFront(data, number);
    if (!shows) {
        keyPanelGone(data, number);
        handOverKeyWindows(data, pid, number);
    }
    return true;
}

bool removeOwnWindow(HostData& data, pid_t pid, std::uint32_t number) {
    if (ownWindow(data, pid, number) == nullptr) return false;
    discardWindow(data, number);
    return true;
}

bool activateOwnWindow(HostData& data, pid_t pid, std::uint32_t number) {
    if (ownWindow(data, pid, number) == nullptr) return false;
    raiseWindow(data, number);
    setFrontmost(data, pid);
    return true;
}

bool makeOwnWindowKey(HostData& data, pid_t pid, std::uint32_t number) {
    const auto* window = ownWindow(data, pid, number);
    if (window == nullptr) return false;
    // A window that does not show is never key.
    if (!isOnScreen(data, *window)) return true;
    moveToFront(data, number);
    if (data.workspace().frontmostPID == pid) {
        setKeyWindows(data, pid, number, entryFor(data, pid).mainWindow);
    } else {
        setKeyPanel(data, number);
    }
    return true;
}

void startWindowsOver(HostData& data, const Actor& actor) {
    std::vector<WindowApplication> entries = data.windows().applications;
    for (const auto& entry : entries) {
        if (entry.owner) continue;
        if (entry.launched && data.workspace().application(entry.pid) != nullptr) {
            quitApplication(data, actor, entry.pid);
            continue;
        }
        std::vector<std::uint32_t> numbers;
        for (const auto& window : data.windows().windows) {
            if (window.pid == entry.pid) numbers.push_back(window.number);
        }
        for (const auto number : numbers) discardWindow(data, number);
        std::erase_if(data.windows().applications,
                      [&entry](const WindowApplication& other) { return other.pid == entry.pid; });
    }
    data.windows().pointer = PointerState{};
    data.windows().voiceOver = false;
    data.windows().switchControl = false;
}

void settleWindowOwners(HostData& data, const IsAlive& isAlive) {
    std::vector<pid_t> ended;
    for (const auto& application : data.windows().applications) {
        if (application.owner && !isAlive(*application.owner)) ended.push_back(application.pid);
    }
    for (const auto pid : ended) {
        removeApplication(data, pid);
        data.record(Actor::host(), "applicationEnded", pidDetails(pid));
    }
}

}  // namespace dorvane::host
