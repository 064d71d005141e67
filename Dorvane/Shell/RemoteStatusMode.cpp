#include "Dorvane/Shell/RemoteStatusMode.h"

#include <iostream>
#include <limits>
#include <optional>

#include "Dorvane/Remote/RemoteSessionProbe.h"
#include "Dorvane/ShellBase/ModeHost.h"
#include "Platform/Dispatch/ManualMainQueue.h"
#include "Platform/Dispatch/SerialQueue.h"
#include "Platform/Dispatch/SystemClock.h"
#include "Platform/Dispatch/Task.h"
#include "Platform/Host/SimulatedHost.h"

namespace dorvane {

namespace {

dispatch::Task<void> sampleInto(RemoteSessionProbe& probe, std::optional<RemoteSessionSnapshot>& result) {
    result = co_await probe.sample();
}

// No assertions to read: what the probe reports for an unreadable list.
RemoteSessionSnapshot unreadable() {
    RemoteSessionSnapshot snapshot;
    for (const auto software : allCases<RemoteSoftware>()) snapshot.unknown.insert(software);
    return snapshot;
}

RemoteSessionSnapshot sampleHost() {
    // Declared in the order they must be created; they go in reverse (see MainQueue).
    dispatch::SystemClock clock;
    dispatch::ManualMainQueue mainQueue;
    std::unique_ptr<host::SimulatedHost> host;
    try {
        host = openModeHost(processes::ProcessRole::application, clock);
    } catch (const std::exception&) {
        return unreadable();
    }
    dispatch::SerialQueue probeQueue("probe");
    RemoteSessionProbe probe(probeQueue, host->power(), host->processes());
    std::optional<RemoteSessionSnapshot> result;
    dispatch::spawn(mainQueue, sampleInto(probe, result), [&result](std::exception_ptr) { result = unreadable(); });
    mainQueue.runUntil([&result] { return result.has_value(); }, std::numeric_limits<double>::infinity());
    // The probe's thread may still be leaving its last post to the main queue: it stops
    // and joins before the probe, the host and the main queue go.
    probeQueue.stop();
    return *result;
}

}  // namespace

int printRemoteStatus(const RemoteSessionSnapshot& snapshot, std::ostream& out, std::ostream& err) {
    std::string text;
    try {
        // A plain (not insertion-ordered) object keeps its keys sorted.
        const nlohmann::json sorted(snapshot.toJson());
        text = sorted.dump();
    } catch (const std::exception& error) {
        err << "无法输出远程会话状态：" << error.what() << "\n";
        return 1;
    }
    out << text << "\n";
    out.flush();
    if (!out) {
        err << "无法输出远程会话状态：写入标准输出失败\n";
        return 1;
    }
    return 0;
}

int runRemoteStatusMode(std::ostream& out, std::ostream& err) { return printRemoteStatus(sampleHost(), out, err); }

}  // namespace dorvane
