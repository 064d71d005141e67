#include "tools/corvelle-host/AppCommand.h"

#include <cmath>
#include <string>

#include "DorvaneCore/Support/DecimalText.h"
#include "Platform/Host/State/HostError.h"
#include "tools/corvelle-host/ExitStatus.h"

namespace dorvane::hosttool {

const char* const kAppUsage = R"(  app install NAME [--id ID] [--display-name T] [--background-only] [--agent]
                  [--in home|applications|system] [--folder SUB]
                                                          install a bundle (default: /Applications);
                                                          prints its path
  app remove PATH                                         delete an installed bundle
  app list                                                the bundles of the application folders
  app launch PATH|ID                                      open it as the user does
  app quit PID|ID                                         quit the running application(s)
  app behave PATH|ID --launch-delay S | --launch-fails [TEXT] | --normal
                                                          how opening it from a program behaves
                                                          (default: 0.3 s, opens)
)";

namespace {

using host::HostError;

int runInstall(host::SimulatedHost& host, Arguments& args, std::ostream& out) {
    host::BundleInstall bundle;
    bundle.name = args.next("application name");
    while (!args.empty()) {
        if (args.flag("--id")) {
            bundle.identifier = args.next("bundle identifier");
        } else if (args.flag("--display-name")) {
            bundle.displayName = args.next("display name");
        } else if (args.flag("--background-only")) {
            bundle.backgroundOnly = true;
        } else if (args.flag("--agent")) {
            bundle.agent = true;
        } else if (args.flag("--in")) {
            const auto place = args.next("home, applications or system");
            const auto parsed = fromRawValue<host::InstallPlace>(place);
            if (!parsed) throw UsageError("unknown folder \"" + place + "\" (home, applications or system)");
            bundle.place = *parsed;
        } else if (args.flag("--folder")) {
            bundle.folder = args.next("sub-folder");
        } else {
            args.finish();
        }
    }
    if (bundle.identifier && bundle.identifier->empty()) throw UsageError("a bundle identifier must not be empty");
    out << host.applicationsAdmin().install(bundle) << "\n";
    return kExitSuccess;
}

std::string describe(const host::InstalledBundle& installed) {
    const auto& bundle = installed.contents.bundle;
    std::string line = bundle.path + "  " + bundle.bundleIdentifier.value_or("(no identifier)") + "  \"" +
                       bundle.name() + "\"";
    std::string notes;
    auto note = [&notes](const std::string& text) { notes += (notes.empty() ? "" : ", ") + text; };
    if (bundle.backgroundOnly) note("background only");
    if (installed.contents.agent) note("agent");
    for (const auto pid : installed.running) note("running as " + std::to_string(pid));
    if (installed.behaviour.delay) note("opens after " + decimalText(*installed.behaviour.delay) + " s");
    if (installed.behaviour.fails) note("fails to open");
    return notes.empty() ? line : line + "  [" + notes + "]";
}

int runBehave(host::SimulatedHost& host, Arguments& args, std::ostream& out) {
    auto& admin = host.applicationsAdmin();
    const auto path = admin.resolve(args.next("bundle path or identifier"));
    std::vector<std::function<void(host::LaunchBehaviour&)>> changes;
    while (!args.empty()) {
        if (args.flag("--launch-delay")) {
            const auto seconds = parseNumber<double>(args.next("seconds"), "number of seconds");
            if (!std::isfinite(seconds) || seconds < 0) throw UsageError("seconds must be zero or more");
            changes.push_back([seconds](auto& behaviour) { behaviour.delay = seconds; });
        } else if (args.flag("--launch-fails")) {
            std::optional<std::string> text;
            if (!args.empty() && !args.peek().starts_with("--")) text = args.next("failure text");
            if (text && text->empty()) throw UsageError("a failure text must not be empty");
            changes.push_back([text](auto& behaviour) {
                behaviour.fails = true;
                behaviour.failureText = text;
            });
        } else if (args.flag("--normal")) {
            changes.push_back([](auto& behaviour) { behaviour = host::LaunchBehaviour{}; });
        } else {
            args.finish();
        }
    }
    if (changes.empty()) throw UsageError("behave needs --launch-delay S, --launch-fails [TEXT] or --normal");
    admin.behave(path, [&changes](host::LaunchBehaviour& behaviour) {
        for (const auto& change : changes) change(behaviour);
    });
    out << path << " changed.\n";
    return kExitSuccess;
}

}  // namespace

int runApp(host::SimulatedHost& host, Arguments& args, std::ostream& out) {
    const auto verb = args.next("app command (install, remove, list, launch, quit or behave)");
    auto& admin = host.applicationsAdmin();
    if (verb == "install") return runInstall(host, args, out);
    if (verb == "remove") {
        const auto path = args.next("bundle path");
        args.finish();
        admin.remove(path);
        out << "Removed " << path << ".\n";
        return kExitSuccess;
    }
    if (verb == "list") {
        args.finish();
        const auto bundles = admin.list();
        if (bundles.empty()) out << "No applications installed.\n";
        for (const auto& bundle : bundles) out << describe(bundle) << "\n";
        return kExitSuccess;
    }
    if (verb == "launch") {
        const auto path = admin.resolve(args.next("bundle path or identifier"));
        args.finish();
        const auto result = admin.open(path);
        if (!result.application) throw HostError(result.error);
        out << "Opened " << result.application->name << " as process " << result.application->pid << ".\n";
        return kExitSuccess;
    }
    if (verb == "quit") {
        const auto which = args.next("process id or bundle identifier");
        args.finish();
        for (const auto pid : admin.quit(which)) out << "Application " << pid << ": quit.\n";
        return kExitSuccess;
    }
    if (verb == "behave") return runBehave(host, args, out);
    throw UsageError("unknown app command \"" + verb + "\" (install, remove, list, launch, quit or behave)");
}

}  // namespace dorvane::hosttool
