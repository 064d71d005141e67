#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "Platform/Host/State/ActionEntry.h"
#include "Platform/Host/State/AppearanceState.h"
#include "Platform/Host/Store/DeliveredEventLog.h"
#include "Platform/Host/State/FaultRule.h"
#include "Platform/Host/State/HostState.h"
#include "Platform/Host/State/InputState.h"
#include "Platform/Host/State/LaunchBehaviours.h"
#include "Platform/Host/State/NotificationJournal.h"
#include "Platform/Host/State/PermissionsState.h"
#include "Platform/Host/State/PowerState.h"
#include "Platform/Host/State/ProcessTable.h"
#include "Platform/Host/State/StatusBarState.h"

namespace dorvane::host {
namespace {

// The click states the previous release knew.
enum class PreviousClickState { pending, done, refused };

}  // namespace
}  // namespace dorvane::host

template <>
struct dorvane::EnumCases<dorvane::host::PreviousClickState> {
    static constexpr std::array<std::pair<dorvane::host::PreviousClickState, std::string_view>, 3> table{{
        {dorvane::host::PreviousClickState::pending, "pending"},
        {dorvane::host::PreviousClickState::done, "done"},
        {dorvane::host::PreviousClickState::refused, "refused"},
    }};
};

namespace dorvane::host {
namespace {

// What a value reads back as from its own file text; the text written again must not change.
template <typename T>
T readBackFile(const T& value) {
    const std::string text = json::serialize(value.toJson());
    T read = T::fromJson(json::parse(text));
    EXPECT_EQ(json::serialize(read.toJson()), text);
    return read;
}

const processes::ProcessIdentity kFileOwner{4194400, 12345};

HostMode hostMode(std::int32_t id) {
    displays::DisplayModeInfo info;
    info.modeID = id;
    info.width = 1280;
    info.height = 800;
    info.pixelWidth = 2560;
    info.pixelHeight = 1600;
    info.refresh = 59.5;
    info.ioFlags = 0x2000003;
    return HostMode{info, id % 2 == 0};
}

TEST(HostFileCodingTest, TheDisplayFileReadsBackWithEveryOptionalPresentOrAbsent) {
    DisplayRecord builtIn;
    builtIn.name = "built-in";
    builtIn.id = 1;
    builtIn.vendor = 1552;
    builtIn.builtIn = true;
    builtIn.uuid = "0F1E";
    builtIn.modes = {hostMode(3), hostMode(4)};
    builtIn.currentModeID = 4;
    builtIn.main = true;
    DisplayRecord external = builtIn;
    external.name = "external";
    external.id = 2;
    external.builtIn = false;
    external.uuid.reset();
    external.x = -1280;

    VirtualDisplayRecord record{kFileOwner, 3000, 2000, true, true, 1.5, 2.0, 3.0, 0.5, true, true};
    DisplayRecord virtualDisplay;
    virtualDisplay.kind = DisplayKind::virtualDisplay;
    virtualDisplay.name = "virtual";
    virtualDisplay.id = 3;
    virtualDisplay.modes = {hostMode(7)};
    virtualDisplay.currentModeID = 7;
    virtualDisplay.mirror = 1;
    virtualDisplay.virtualDisplay = record;
    DisplayRecord released = virtualDisplay;
    released.id = 4;
    released.virtualDisplay->onlineAt.reset();
    released.virtualDisplay->releasedAt.reset();

    HostState state;
    state.generation = 9;
    state.nextDisplayID = 5;
    state.asleep = true;
    state.displays = {builtIn, external, virtualDisplay, released};
    state.behaviours.virtualDisplay = VirtualDisplayBehaviour{1.5, true, 2, true};
    state.behaviours.modeSwitchesAfterCommit = {ModeSwitchAfterCommit{"main", 0.5, 8, 2},
                                                ModeSwitchAfterCommit{"virtual", 0, std::nullopt, std::nullopt}};
    state.behaviours.originOverrides = {OriginOverride{"external", -5, 6, 3}, OriginOverride{"main", 0, 0, std::nullopt}};
    state.scheduledPlugs = {ScheduledPlug{3.5, PlugAction::unplug, "external"}};
    state.pendingModeSwitches = {PendingModeSwitch{4, 2, 9}, PendingModeSwitch{5, 3, std::nullopt}};
    state.assertions = {HeldAssertion{4, "PreventUserIdleDisplaySleep", kFileOwner}};
    state.counters = HostCounters{1, 2, 3};
    EXPECT_EQ(readBackFile(state), state);
}

TEST(HostFileCodingTest, TheInputAndNotificationFilesReadBack) {
    InjectedEvent raised;
    raised.offset = 0.25;
    raised.event.location = {10, 20};
    raised.raiseBefore = 5;
    InjectedEvent plain;
    plain.offset = 1;
    InputState input;
    input.owner = kFileOwner;
    input.doubleClickInterval = 0.3;
    input.nextInjection = 3;
    input.injections = {Injection{1, Injection::State::handled, {raised, plain}, TapDisabling::userInput},
                        Injection{2, Injection::State::pending, {}, std::nullopt}};
    EXPECT_EQ(readBackFile(input), input);
    InputState unowned;
    EXPECT_EQ(readBackFile(unowned), unowned);

    NotificationJournal journal;
    journal.generation = 2;
    journal.nextReader = 3;
    journal.readers = {NotificationReader{2, kFileOwner, 1}};
    journal.entries = {NotificationJournalEntry{1, {"com.example.changed", "object", json::Json{{"a", 1}}}},
                       NotificationJournalEntry{2, {"com.example.bare", std::nullopt, std::nullopt}}};
    EXPECT_EQ(readBackFile(journal), journal);

    DeliveredEvent delivered;
    delivered.at = 2.5;
    delivered.receiver = 77;
    delivered.window = 3;
    delivered.entry = EntryPath::sessionTap;
    EXPECT_EQ(readBackFile(delivered), delivered);
    delivered.receiver.reset();
    EXPECT_EQ(readBackFile(delivered), delivered);
}

TEST(HostFileCodingTest, TheSystemFilesReadBack) {
    PermissionsState permissions;
    permissions.generation = 3;
    permissions.accessibility = true;
    permissions.postEvents = false;
    EXPECT_EQ(readBackFile(permissions), permissions);

    AppearanceState appearance;
    appearance.generation = 4;
    appearance.settings = {system::InterfaceStyle::dark, true};
    EXPECT_EQ(readBackFile(appearance), appearance);

    PowerState power;
    power.nextAssertionID = 4;
    power.listingMalformed = true;
    power.assertions = {PowerAssertionRecord{3, kFileOwner, "PreventUserIdleDisplaySleep", "会话", 255}};
    EXPECT_EQ(readBackFile(power), power);

    ProcessTable table;
    table.nextPID = 4194310;
    table.processes = {SimulatedProcess{4194305, "ToDesk", "/opt/todesk/bin/ToDesk", false}};
    EXPECT_EQ(readBackFile(table), table);

    LaunchBehaviour slow{1.5, true, std::string("打不开")};
    EXPECT_EQ(readBackFile(slow), slow);
    EXPECT_EQ(readBackFile(LaunchBehaviour{}), LaunchBehaviour{});

    ActionEntry entry;
    entry.seq = 9;
    entry.uptime = 1.25;
    entry.pid = 44;
    entry.actor = "application";
    entry.action = "configureOrigin";
    entry.details = json::Json{{"display", 2}, {"x", -1280}};
    entry.result = 1001;
    const ActionEntry read = readBackFile(entry);
    EXPECT_EQ(read.pid, entry.pid);
    EXPECT_EQ(read.details, entry.details);
    EXPECT_EQ(read.result, entry.result);
}

// "statusbar.json" as the previous release read it: the item, and each click's keys strictly
// (a state it did not know failed the whole file, which then started afresh), other keys
// passed over.
struct PreviousStatusBar {
    statusbar::StatusItem item;
    processes::ProcessIdentity owner;
    std::vector<std::tuple<std::uint64_t, std::string, PreviousClickState>> clicks;
};

PreviousStatusBar readAsThePreviousRelease(const json::Json& file) {
    PreviousStatusBar read;
    const auto& shown = json::requireKey(file, "item");
    read.item = statusbar::StatusItem::fromJson(shown);
    read.owner = {json::get<std::int32_t>(shown, "pid"), json::get<std::uint64_t>(shown, "startTime")};
    for (const auto& entry : json::requireArray(json::requireKey(file, "clicks"))) {
        read.clicks.emplace_back(json::get<std::uint64_t>(entry, "id"), json::get<std::string>(entry, "title"),
                                 json::get<PreviousClickState>(entry, "state"));
    }
    return read;
}

// A click the program took is still one waiting to the previous release, which keeps the
// item and the clicks rather than starting the status bar afresh; read again here, it is taken.
TEST(HostFileCodingTest, TheStatusBarFileWithATakenClickReadsInThePreviousRelease) {
    StatusBarState bar;
    bar.generation = 6;
    bar.item = statusbar::StatusItem{"MenuBarTemplate", "", "Corvelle · 就绪", {statusbar::MenuEntry{"显示工具条"}}};
    bar.owner = kFileOwner;
    bar.clicks = {StatusBarClick{1, "显示工具条", StatusBarClick::State::done},
                  StatusBarClick{2, "显示工具条", StatusBarClick::State::taken},
                  StatusBarClick{3, "显示工具条", StatusBarClick::State::pending}};
    bar.nextClick = 4;
    const json::Json file = json::parse(json::serialize(bar.toJson()));

    const auto previous = readAsThePreviousRelease(file);
    EXPECT_EQ(previous.item, *bar.item);
    EXPECT_EQ(previous.owner, kFileOwner);
    EXPECT_THAT(previous.clicks, ::testing::ElementsAre(std::tuple(1u, "显示工具条", PreviousClickState::done),
                                                        std::tuple(2u, "显示工具条", PreviousClickState::pending),
                                                        std::tuple(3u, "显示工具条", PreviousClickState::pending)));
    EXPECT_EQ(readBackFile(bar), bar);
}

TEST(HostFileCodingTest, TheFaultFileReadsBackWithAndWithoutSelectors) {
    FaultRule delay;
    delay.id = 1;
    delay.display = "external";
    delay.role = processes::ProcessRole::workerCommit;
    delay.action = FaultAction::delay;
    delay.seconds = 2;
    delay.ignoreTerminate = true;
    delay.skip = 1;
    delay.times = 4;
    FaultRule failure;
    failure.id = 2;
    failure.code = displays::DisplayError::illegalArgument;
    FaultRules rules;
    rules.nextID = 3;
    rules.rules = {delay, failure};
    EXPECT_EQ(readBackFile(rules), rules);
}

}  // namespace
}  // namespace dorvane::host
