#include "tools/corvelle-host/HostCommand.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "Platform/Host/State/HostError.h"
#include "Platform/Host/Store/HostFolder.h"
#include "Platform/Host/SimulatedHost.h"
#include "tools/corvelle-host/AppCommand.h"
#include "tools/corvelle-host/CommandLine.h"
#include "tools/corvelle-host/EscapedOutput.h"
#include "tools/corvelle-host/HostReport.h"
#include "tools/corvelle-host/InputCommand.h"
#include "tools/corvelle-host/Parsing.h"
#include "Platform/Dispatch/SystemClock.h"
#include "tools/corvelle-host/RemoteCommand.h"
#include "tools/corvelle-host/StatusBarCommand.h"
#include "tools/corvelle-host/WindowsCommand.h"
#include "tools/corvelle-host/SystemCommand.h"

namespace dorvane::hosttool {

namespace {

using host::HostError;

constexpr const char* kUsage = R"(usage: corvelle-host COMMAND
  init [--fixture laptop|laptop+external|dual-external]   start over (default: laptop)
  show [--json]                                           the displays, main first
  display plug NAME [--after SECONDS]                     connect a physical display
  display unplug NAME [--after SECONDS]                   disconnect it
  display set-mode DISPLAY MODE                           MODE: a mode id, or WxH[@HZ] in points
  fault add CALL ACTION [--display DISPLAY] [--role ROLE] [--pid PID] [--window N] [--name NAME]
        [--skip N] [--times M] [--ignore-term]
        ACTION: --fail CODE | --nothing | --hang | --delay SECONDS | --value wrong-type|nan|zero
        (CODE for the ax... calls: an Accessibility code such as -25204 or cannotComplete)
  fault list
  fault clear [ID]
  sleep | wake                                            put the displays to sleep, wake them
  log [--json]                                            the action log
  remote connect uu|todesk                                a remote session starts (the application
                                                          is launched when it does not run)
  remote disconnect uu|todesk                             the session ends
  remote unknown uu|todesk on|off                         the path of the process holding the
                                                          session's assertion cannot be read
  remote status                                           applications, simulated processes,
                                                          power assertions
  remote assert add --pid PID [--type T] [--name N] [--level L]
                                                          a power assertion held by a running
                                                          process (default: UU Remote's session)
  remote assert list                                      every power assertion
  remote assert clear                                     release those held by real processes
  remote pid uu|todesk                                    the process id of the application (for
                                                          input --from-pid)
  statusbar show [--json]                                 the running program's status item and its
                                                          menu (status 1 when no program runs)
  statusbar click TITLE [--timeout SECONDS]               choose a menu entry in the running
                                                          program and wait for it (default 5 s)
  defaults read KEY                                       a user default as JSON
  defaults write KEY VALUE                                VALUE: JSON (true, 3, "x", {...}),
                                                          else the text as a string
  defaults delete KEY
  notify NAME [--object TEXT] [--info JSON]               a distributed notification to every
                                                          running program
  appearance show | light | dark                          the appearance
  appearance reduce-motion on|off                         the Reduce Motion setting
  announcements                                           what programs announced, oldest first
)";

constexpr const char* kUsageFooter = R"(The host lives in $CORVELLE_HOST_DIR, else ${XDG_STATE_HOME:-$HOME/.local/state}/corvelle-host.
DISPLAY is a display name, an id, "virtual" or "placeholder".
)";

std::string usage() { return std::string(kUsage) + kWindowsUsage + kAppUsage + kInputUsage + kUsageFooter; }

template <typename E>
E parseCase(std::string_view text, std::string_view what) {
    if (const auto value = fromRawValue<E>(text)) return *value;
    std::string known;
    for (const auto value : allCases<E>()) known += (known.empty() ? "" : ", ") + std::string(rawValue(value));
    throw UsageError("unknown " + std::string(what) + " \"" + std::string(text) + "\" (one of: " + known + ")");
}

displays::DisplayError parseCode(std::string_view text) {
    if (const auto named = fromRawValue<displays::DisplayError>(text)) return *named;
    const auto code = parseNumber<std::int32_t>(text, "error code");
    if (const auto error = displays::displayErrorFromCode(code)) return *error;
    throw UsageError("unknown error code " + std::string(text) + " (1000-1011, or a name such as illegalArgument)");
}

accessibility::AXError parseAccessibilityCode(std::string_view text) {
    if (const auto named = fromRawValue<accessibility::AXError>(text)) return *named;
    const auto code = parseNumber<std::int32_t>(text, "Accessibility code");
    if (const auto error = accessibility::axErrorFromCode(code)) return *error;
    throw UsageError("unknown Accessibility code " + std::string(text) +
                     " (-25200 to -25212, or a name such as cannotComplete)");
}

// A mode id, or the first valid mode of that logical size (and refresh rate), 1x
// duplicates last.
std::int32_t parseMode(const host::HostState& state, host::DisplayID display, std::string_view text) {
    const auto* record = state.online(display);
    if (record == nullptr) throw HostError("display " + std::to_string(display) + " is not online");
    if (text.find('x') == std::string_view::npos) return parseNumber<std::int32_t>(text, "mode id");
    const auto at = text.find('@');
    const auto size = text.substr(0, at);
    const auto cross = size.find('x');
    const auto width = parseNumber<std::int64_t>(size.substr(0, cross), "width");
    const auto height = parseNumber<std::int64_t>(size.substr(cross + 1), "height");
    std::optional<double> refresh;
    if (at != std::string_view::npos) refresh = parseFigure(text.substr(at + 1), "refresh rate");
    for (const bool duplicates : {false, true}) {
        for (const auto& mode : record->modes) {
            if (mode.lowResolutionDuplicate != duplicates || !mode.info.isValid()) continue;
            if (mode.info.width != width || mode.info.height != height) continue;
            if (refresh && std::fabs(mode.info.refresh - *refresh) >= 0.5) continue;
            return mode.info.modeID;
        }
    }
    throw HostError("display " + record->name + " has no mode " + std::string(text));
}

int runInit(host::SimulatedHost& host, Arguments& args, std::ostream& out) {
    auto fixture = host::HostFixture::laptop;
    if (args.flag("--fixture")) fixture = parseCase<host::HostFixture>(args.next("fixture name"), "fixture");
    args.finish();
    host.admin().reset(fixture);
    host.applicationsAdmin().reset();
    out << "Host initialised with the " << rawValue(fixture) << " fixture.\n";
    return kExitSuccess;
}

int runShow(host::SimulatedHost& host, const std::filesystem::path& folder, Arguments& args, std::ostream& out) {
    const bool asJson = args.flag("--json");
    args.finish();
    HostReport report;
    report.folder = folder;
    report.state = host.admin().state();
    report.screens = host.screens().screens();
    report.faultRules = host.admin().faults().size();
    if (asJson) {
        out << json::serializePretty(renderJson(report)) << "\n";
    } else {
        out << renderTable(report);
    }
    return kExitSuccess;
}

int runDisplay(host::SimulatedHost& host, Arguments& args, std::ostream& out) {
    const auto verb = args.next("display command (plug, unplug or set-mode)");
    if (verb == "plug" || verb == "unplug") {
        const auto name = args.next("display name");
        std::optional<double> after;
        if (args.flag("--after")) after = parseSeconds(args.next("seconds"));
        args.finish();
        const auto action = verb == "plug" ? host::PlugAction::plug : host::PlugAction::unplug;
        if (after) {
            host.admin().schedule(action, name, *after);
            out << "Scheduled: " << verb << " " << name << " in " << *after << " s.\n";
            return kExitSuccess;
        }
        if (action == host::PlugAction::plug) {
            host.admin().plug(name);
        } else {
            host.admin().unplug(name);
        }
        out << (action == host::PlugAction::plug ? "Plugged " : "Unplugged ") << name;
        if (action == host::PlugAction::plug) out << " as display " << host.admin().state().physicalNamed(name)->id;
        out << ".\n";
        return kExitSuccess;
    }
    if (verb == "set-mode") {
        const auto selector = args.next("display");
        const auto modeText = args.next("mode");
        args.finish();
        const auto id = host.admin().resolve(selector);
        const auto modeID = parseMode(host.admin().state(), id, modeText);
        host.admin().setMode(std::to_string(id), modeID);
        out << "Display " << id << " now shows mode " << modeID << ".\n";
        return kExitSuccess;
    }
    throw UsageError("unknown display command \"" + verb + "\" (plug, unplug or set-mode)");
}

int runFault(host::SimulatedHost& host, Arguments& args, std::ostream& out) {
    const auto verb = args.next("fault command (add, list or clear)");
    if (verb == "add") {
        host::FaultRule rule;
        rule.call = parseCase<host::HostCall>(args.next("call"), "call");
        bool haveAction = false;
        while (!args.empty()) {
            std::optional<host::FaultAction> action;
            if (args.flag("--fail")) {
                action = host::FaultAction::fail;
                if (host::answersAccessibilityError(rule.call)) {
                    rule.axCode = parseAccessibilityCode(args.next("error code"));
                } else {
                    rule.code = parseCode(args.next("error code"));
                }
            } else if (args.flag("--value")) {
                action = host::FaultAction::value;
                rule.valueKind = parseCase<host::FaultValue>(args.next("value kind"), "value kind");
            } else if (args.flag("--pid")) {
                rule.pid = parseNumber<std::int32_t>(args.next("process id"), "process id");
            } else if (args.flag("--window")) {
                rule.window = parseNumber<std::uint32_t>(args.next("window number"), "window number");
            } else if (args.flag("--name")) {
                rule.name = args.next("name");
            } else if (args.flag("--nothing")) {
                action = host::FaultAction::nothing;
            } else if (args.flag("--hang")) {
                action = host::FaultAction::hang;
            } else if (args.flag("--delay")) {
                action = host::FaultAction::delay;
                rule.seconds = parseSeconds(args.next("seconds"));
            } else if (args.flag("--display")) {
                rule.display = args.next("display");
            } else if (args.flag("--role")) {
                rule.role = parseCase<processes::ProcessRole>(args.next("role"), "role");
            } else if (args.flag("--skip")) {
                rule.skip = parseNumber<std::uint32_t>(args.next("count"), "count");
            } else if (args.flag("--times")) {
                rule.times = parseNumber<std::uint32_t>(args.next("count"), "count");
            } else if (args.flag("--ignore-term")) {
                rule.ignoreTerminate = true;
            } else {
                args.finish();
            }
            if (action) {
                if (haveAction) throw UsageError("give only one of --fail, --nothing, --hang, --delay, --value");
                rule.action = *action;
                haveAction = true;
            }
        }
        if (!haveAction) {
            throw UsageError("missing action: --fail CODE, --nothing, --hang, --delay SECONDS or --value KIND");
        }
        const auto id = host.admin().addFault(rule);
        out << "Added fault rule #" << id << ".\n";
        return kExitSuccess;
    }
    if (verb == "list") {
        args.finish();
        const auto rules = host.admin().faults();
        if (rules.empty()) out << "No fault rules.\n";
        for (const auto& rule : rules) out << rule.describe() << "\n";
        return kExitSuccess;
    }
    if (verb == "clear") {
        if (args.empty()) {
            host.admin().clearFaults();
            out << "Cleared all fault rules.\n";
            return kExitSuccess;
        }
        const auto id = parseNumber<std::uint32_t>(args.next("rule id"), "rule id");
        args.finish();
        if (!host.admin().removeFault(id)) throw HostError("no fault rule #" + std::to_string(id));
        out << "Cleared fault rule #" << id << ".\n";
        return kExitSuccess;
    }
    throw UsageError("unknown fault command \"" + verb + "\" (add, list or clear)");
}

int runLog(host::SimulatedHost& host, Arguments& args, std::ostream& out) {
    const bool asJson = args.flag("--json");
    args.finish();
    for (const auto& entry : host.admin().actionLog()) {
        out << (asJson ? json::serialize(entry.toJson()) : entry.line()) << "\n";
    }
    return kExitSuccess;
}

}  // namespace

namespace {

int runEscaped(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    Arguments args(arguments);
    try {
        if (args.empty()) throw UsageError("missing command");
        const auto command = args.next("command");
        if (command == "help" || command == "--help" || command == "-h") {
            out << usage();
            return kExitSuccess;
        }
        static const std::vector<std::string_view> known = {
            "init", "show",   "display",    "fault",     "sleep",    "wake",   "log",        "remote",
            "windows", "permission", "statusbar", "defaults", "notify", "appearance", "announcements", "app", "input"};
        if (std::find(known.begin(), known.end(), command) == known.end()) {
            throw UsageError("unknown command \"" + command + "\"");
        }

        const auto folder = host::defaultHostFolder();
        dispatch::SystemClock clock;
        auto host = host::SimulatedHost::openFolder(folder, processes::ProcessRole::tool, clock);
        if (command == "init") return runInit(*host, args, out);
        if (command == "show") return runShow(*host, folder, args, out);
        if (command == "display") return runDisplay(*host, args, out);
        if (command == "fault") return runFault(*host, args, out);
        if (command == "log") return runLog(*host, args, out);
        if (command == "remote") return runRemote(*host, args, out);
        if (command == "input") return runInput(*host, args, out);
        if (command == "statusbar") return runStatusBar(*host, clock, args, out);
        if (command == "windows") return runWindows(*host, args, out);
        if (command == "permission") return runPermission(*host, args, out);
        if (command == "defaults") return runDefaults(*host, args, out);
        if (command == "notify") return runNotify(*host, args, out);
        if (command == "appearance") return runAppearance(*host, args, out);
        if (command == "announcements") return runAnnouncements(*host, args, out);
        if (command == "app") return runApp(*host, args, out);
        args.finish();
        if (command == "sleep") {
            host->admin().sleepDisplays();
            out << "Displays asleep.\n";
        } else {
            host->admin().wakeDisplays();
            out << "Displays awake.\n";
        }
        return kExitSuccess;
    } catch (const UsageError& error) {
        err << "corvelle-host: " << error.what() << "\n"
            << "Run \"corvelle-host help\" for the usage.\n";
        return kExitUsage;
    } catch (const HostError& error) {
        err << "corvelle-host: " << error.what() << "\n";
        return kExitHostError;
    } catch (const std::exception& error) {
        err << "corvelle-host: " << error.what() << "\n";
        return kExitHostError;
    }
}

}  // namespace

int runHostCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    EscapedOutput escapedOut(out);
    EscapedOutput escapedErr(err);
    std::ostream safeOut(&escapedOut);
    std::ostream safeErr(&escapedErr);
    const int status = runEscaped(arguments, safeOut, safeErr);
    safeOut.flush();
    safeErr.flush();
    return status;
}

}  // namespace dorvane::hosttool
