// A program of the simulated host in $CORVELLE_HOST_DIR, for the host tool's tests:
//
//   corvelle-system-helper observe STOP NAME...
//       observes NAME... and STOP on its main queue, prints "ready", then one JSON line per
//       notification ({"name", "object", "info", "mainQueue"}) until STOP comes; exits 1
//       when it has not come within a minute
//   corvelle-system-helper announce TEXT
//       one spoken announcement

#include <iostream>
#include <string>
#include <vector>

#include "Platform/Dispatch/ManualMainQueue.h"
#include "Platform/Dispatch/SystemClock.h"
#include "Platform/Host/Store/HostFolder.h"
#include "Platform/Host/SimulatedHost.h"

namespace {

using namespace dorvane;

int observe(host::SimulatedHost& host, dispatch::ManualMainQueue& mainQueue, const std::string& stop,
            const std::vector<std::string>& names) {
    bool stopped = false;
    auto print = [&mainQueue](const system::DistributedNotification& notification) {
        json::Json line = json::Json::object();
        line["name"] = notification.name;
        line["object"] = notification.object ? json::Json(*notification.object) : json::Json(nullptr);
        line["info"] = notification.userInfo.value_or(nullptr);
        line["mainQueue"] = mainQueue.isCurrent();
        std::cout << json::serialize(line) << std::endl;
    };
    std::vector<dispatch::Observation> observations;
    for (const auto& name : names) {
        observations.push_back(host.distributedNotifications().addObserver(name, mainQueue, print));
    }
    observations.push_back(host.distributedNotifications().addObserver(
        stop, mainQueue, [&stopped](const system::DistributedNotification&) { stopped = true; }));
    std::cout << "ready" << std::endl;
    return mainQueue.runUntil([&stopped] { return stopped; }, 60) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.size() < 2 || (arguments[0] != "observe" && arguments[0] != "announce")) {
        std::cerr << "usage: corvelle-system-helper observe STOP NAME... | announce TEXT\n";
        return 2;
    }
    dispatch::SystemClock clock;
    dispatch::ManualMainQueue mainQueue;
    auto host = host::SimulatedHost::openFolder(host::defaultHostFolder(), processes::ProcessRole::application, clock,
                                                &mainQueue);
    if (arguments[0] == "announce") {
        host->announcements().announce(arguments[1]);
        return 0;
    }
    return observe(*host, mainQueue, arguments[1], {arguments.begin() + 2, arguments.end()});
}
