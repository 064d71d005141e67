#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <utility>

#include <sys/wait.h>
#include <unistd.h>

#include "Dorvane/Remote/RemoteSessionMonitor.h"
#include "Dorvane/Remote/RemoteSessionProbe.h"
#include "Platform/Dispatch/ManualMainQueue.h"
#include "Platform/Dispatch/SerialQueue.h"
#include "Platform/Dispatch/SystemClock.h"
#include "Platform/Host/Store/MemoryHostStore.h"
#include "Platform/Host/SimulatedHost.h"
#include "Platform/Dispatch/SimulatedScheduler.h"
#include "Platform/Host/State/HostError.h"
#include "tests/Support/RefusingHostStore.h"

namespace dorvane {
namespace {

using host::SimulatedHost;
using processes::ProcessRole;

RemoteSessionSnapshot snapshot(std::set<RemoteSoftware> active, std::set<RemoteSoftware> unknown) {
    return RemoteSessionSnapshot{std::move(active), std::move(unknown)};
}

TEST(RemoteSessionOverHostTest, TheProbeReadsWhatTheHostSimulates) {
    dispatch::SimulatedScheduler clock{100.0};  // only its clock is used
    auto store = std::make_shared<host::MemoryHostStore>();
    SimulatedHost app(store, ProcessRole::application, clock);
    auto& remote = app.remoteAdmin();
    dispatch::SerialQueue queue("probe");
    RemoteSessionProbe probe(queue, app.power(), app.processes());
    const auto uu = RemoteSoftware::uu;
    const auto toDesk = RemoteSoftware::toDesk;

    remote.connect(uu);
    remote.connect(toDesk);
    remote.disconnect(toDesk);
    remote.setUnknown(uu, true);
    remote.setUnknown(toDesk, true);
    EXPECT_EQ(probe.sampleNow(), snapshot({}, {uu, toDesk}));
    remote.setUnknown(uu, false);
    remote.setUnknown(toDesk, false);
    remote.connect(toDesk);
    remote.setAssertionListMalformed(true);
    EXPECT_EQ(probe.sampleNow(), snapshot({}, {uu, toDesk}));
    remote.setAssertionListMalformed(false);

    // One ToDesk session process whose path cannot be read hides the others.
    const auto hidden = remote.startProcess(
        "ToDesk_Session", "/Applications/ToDesk.app/Contents/Helpers/ToDesk_Session.app/Contents/MacOS/ToDesk_Session");
    remote.setPathResolvable(hidden, false);
    EXPECT_EQ(probe.sampleNow(), snapshot({uu}, {toDesk}));
}

// Another program takes the host's lock just as the probe asks for the first process name.
class HoldingOnNames final : public processes::ProcessServices {
public:
    HoldingOnNames(processes::ProcessServices& inner, testing::RefusingHostStore& store)
        : inner_(inner), store_(store) {}
    std::optional<std::vector<pid_t>> allProcessIDs() override { return inner_.allProcessIDs(); }
    std::optional<std::string> name(pid_t pid) override {
        if (std::exchange(first_, false)) store_.held = true;
        return inner_.name(pid);
    }
    std::optional<std::string> executablePath(pid_t pid) override { return inner_.executablePath(pid); }

private:
    processes::ProcessServices& inner_;
    testing::RefusingHostStore& store_;
    bool first_ = true;
};

// ToDesk's session processes that a hold kept the probe from reading used to read as gone,
// and the session as over (4 s of that, and the display was restored under the person):
// such a sample tells nothing of ToDesk.
TEST(RemoteSessionOverHostTest, ASessionWhoseProcessesAHoldHidIsNotOver) {
    dispatch::SimulatedScheduler clock{100.0};  // only its clock is used
    auto store = std::make_shared<host::MemoryHostStore>();
    SimulatedHost tool(store, ProcessRole::tool, clock);
    tool.remoteAdmin().connect(RemoteSoftware::toDesk);
    auto held = std::make_shared<testing::RefusingHostStore>(store);
    SimulatedHost app(held, ProcessRole::application, clock);
    HoldingOnNames processes(app.processes(), *held);
    dispatch::SerialQueue queue("probe");
    RemoteSessionProbe probe(queue, app.power(), processes);

    std::optional<RemoteSessionSnapshot> sampled;
    try {
        sampled = probe.sampleNow();
    } catch (const host::HostError&) {
        // No sample: the monitor's next one tells.
    }
    EXPECT_TRUE(held->refusals > 0);
    EXPECT_FALSE(sampled && !sampled->active.contains(RemoteSoftware::toDesk) &&
                 !sampled->unknown.contains(RemoteSoftware::toDesk));
    held->held = false;
    EXPECT_EQ(probe.sampleNow(), snapshot({RemoteSoftware::toDesk}, {}));
}

// A monitor over the folder backends, as the program runs it, while another process
// changes the host: the assertion notification brings the next sample long before the
// 30 s fallback timer would.
TEST(RemoteSessionOverHostTest, AMonitorSeesAnotherProcessChangeTheHost) {
    std::string pattern = (std::filesystem::temp_directory_path() / "corvelle-remote-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const std::filesystem::path folder = pattern;
    dispatch::SystemClock clock;
    SimulatedHost::openFolder(folder, ProcessRole::tool, clock)->remoteAdmin().connect(RemoteSoftware::uu);

    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    const pid_t child = ::fork();  // before any thread of ours runs
    if (child == 0) {
        char byte = 0;
        if (::read(go[0], &byte, 1) != 1) ::_exit(3);
        dispatch::SystemClock childClock;
        // Only the assertion changes: the application keeps running.
        const bool ended = SimulatedHost::openFolder(folder, ProcessRole::tool, childClock)
                               ->remoteAdmin()
                               .disconnect(RemoteSoftware::uu);
        ::_exit(ended ? 0 : 4);
    }

    dispatch::ManualMainQueue mainQueue;
    auto app = SimulatedHost::openFolder(folder, ProcessRole::application, clock, &mainQueue);
    dispatch::SerialQueue probeQueue("probe");
    RemoteSessionProbe probe(probeQueue, app->power(), app->processes());
    std::vector<RemoteSessionSnapshot> samples;
    RemoteSessionMonitor monitor(mainQueue, clock, app->assertionNotifications(), app->workspace());
    monitor.start([&]() -> dispatch::Task<std::optional<double>> {
        samples.push_back(co_await probe.sample());
        co_return std::nullopt;
    });
    mainQueue.runUntil([&] { return samples.size() == 1; }, 10);
    EXPECT_TRUE(monitor.notificationsAvailable());

    const char byte = 1;
    ASSERT_EQ(::write(go[1], &byte, 1), 1);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(status, 0);
    mainQueue.runUntil([&] { return samples.size() == 2; }, 10);
    monitor.stop();
    EXPECT_EQ(samples, (std::vector{snapshot({RemoteSoftware::uu}, {}), snapshot({}, {})}));
    ::close(go[0]);
    ::close(go[1]);
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace dorvane
