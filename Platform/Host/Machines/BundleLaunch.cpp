#include "Platform/Host/Machines/BundleLaunch.h"

#include "Platform/Host/Machines/BundleReader.h"
#include "Platform/Host/Machines/WindowMachine.h"

namespace dorvane::host {

using workspace::ActivationPolicy;
using workspace::OpenApplicationResult;
using workspace::RunningApplication;

namespace {

// Where a freshly launched application puts its first window.
const geometry::Rect kFirstWindowFrame{100, 100, 800, 600};

const RunningApplication* runningInstance(const HostData& data, const ApplicationBundle& bundle) {
    for (const auto& application : data.workspace().applications) {
        if (application.bundlePath && standardizedPath(*application.bundlePath) == bundle.path) return &application;
        if (bundle.bundleIdentifier && application.bundleID == bundle.bundleIdentifier) return &application;
    }
    return nullptr;
}

ActivationPolicy policyOf(const BundleContents& contents) {
    if (contents.bundle.backgroundOnly) return ActivationPolicy::prohibited;
    return contents.agent ? ActivationPolicy::accessory : ActivationPolicy::regular;
}

pid_t launchBundle(HostData& data, const Actor& actor, const BundleContents& contents, bool activates) {
    ApplicationLaunch launch;
    launch.name = contents.bundle.name();
    launch.bundleID = contents.bundle.bundleIdentifier;
    launch.policy = policyOf(contents);
    launch.bundlePath = contents.bundle.path;
    launch.executable = contents.executablePath();
    launch.activates = activates;
    const pid_t pid = launchApplication(data, actor, launch);
    WindowRecord window;
    window.pid = pid;
    window.title = launch.name;
    window.frame = kFirstWindowFrame;
    openWindow(data, actor, window);
    if (activates) activateApplication(data, actor, pid);
    return pid;
}

}  // namespace

std::string applicationNotFoundText(const std::string& name) { return "找不到应用程序“" + name + "”。"; }

std::string applicationCannotOpenText(const std::string& name) { return "无法打开应用程序“" + name + "”。"; }

OpenApplicationResult openBundle(HostData& data, const Actor& actor, const ApplicationFolders& folders,
                                 const std::string& path, bool activates) {
    OpenApplicationResult result;
    json::Json details = json::Json::object();
    details["path"] = path;
    const auto contents = readBundleContents(folders, path);
    if (!contents) {
        result.error = applicationNotFoundText(fileStem(standardizedPath(path)));
    } else if (const auto behaviour = data.launching().of(contents->bundle.path); behaviour.fails) {
        result.error = behaviour.failureText.value_or(applicationCannotOpenText(contents->bundle.name()));
    } else if (const auto* running = runningInstance(data, contents->bundle)) {
        const pid_t pid = running->pid;
        if (activates) activateApplication(data, actor, pid);
        result.application = *data.workspace().application(pid);
    } else {
        const pid_t pid = launchBundle(data, actor, *contents, activates);
        result.application = *data.workspace().application(pid);
    }
    if (result.application) {
        details["pid"] = result.application->pid;
    } else {
        details["error"] = result.error;
    }
    data.record(actor, "applicationOpen", details);
    return result;
}

}  // namespace dorvane::host
