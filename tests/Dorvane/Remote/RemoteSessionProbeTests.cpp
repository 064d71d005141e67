#include <gtest/gtest.h>

#include <map>

#include "Dorvane/Remote/RemoteSessionProbe.h"
#include "Platform/Dispatch/SimulatedScheduler.h"

namespace dorvane {
namespace {

const std::string uuServer = "/Applications/UURemote.app/Contents/Helpers/UURemoteServer";
const std::string toDeskService = "/Applications/ToDesk.app/Contents/MacOS/ToDesk_Service";
const std::string toDeskSession =
    "/Applications/ToDesk.app/Contents/Helpers/ToDesk_Session.app/Contents/MacOS/ToDesk_Session";

class FakePower final : public power::PowerAssertionServices {
public:
    std::optional<json::Json> all = json::Json::object();
    std::optional<json::Json> assertionsByProcess() override { return all; }
    void add(pid_t pid, std::string type, std::string name, json::Json level = 255) {
        json::Json assertion = json::Json::object();
        assertion["AssertType"] = std::move(type);
        assertion["AssertName"] = std::move(name);
        assertion["AssertLevel"] = std::move(level);
        (*all)[std::to_string(pid)].push_back(std::move(assertion));
    }
};

class FakeProcesses final : public processes::ProcessServices {
public:
    std::map<pid_t, std::pair<std::string, std::optional<std::string>>> table;  // name, path
    bool listReadable = true;
    int pathLookups = 0;
    int listings = 0;

    std::optional<std::vector<pid_t>> allProcessIDs() override {
        ++listings;
        if (!listReadable) return std::nullopt;
        std::vector<pid_t> pids;
        for (const auto& [pid, _] : table) pids.push_back(pid);
        return pids;
    }
    std::optional<std::string> name(pid_t pid) override {
        auto found = table.find(pid);
        return found == table.end() ? std::nullopt : std::optional(found->second.first);
    }
    std::optional<std::string> executablePath(pid_t pid) override {
        ++pathLookups;
        auto found = table.find(pid);
        return found == table.end() ? std::nullopt : found->second.second;
    }
};

class RemoteSessionProbeTest : public ::testing::Test {
protected:
    dispatch::SimulatedScheduler scheduler;
    FakePower power;
    FakeProcesses processes;
    RemoteSessionProbe probe{scheduler.makeSerialQueue("probe"), power, processes};

    RemoteSessionSnapshot snapshot(std::set<RemoteSoftware> active, std::set<RemoteSoftware> unknown = {}) {
        return {std::move(active), std::move(unknown)};
    }
};

TEST_F(RemoteSessionProbeTest, IdleMachineCostsOneQueryAndFindsNothing) {
    power.add(10, "PreventUserIdleSystemSleep", "Playing audio");
    processes.table[10] = {"Music", "/Applications/Music.app/Contents/MacOS/Music"};
    EXPECT_EQ(probe.sampleNow(), snapshot({}));
    EXPECT_EQ(processes.pathLookups, 0);
    EXPECT_EQ(processes.listings, 0);
}

TEST_F(RemoteSessionProbeTest, FindsBothApplications) {
    power.add(20, "PreventUserIdleDisplaySleep", "idleDisplaySleepDisabled");
    processes.table[20] = {"UURemoteServer", uuServer};
    power.add(30, "NoDisplaySleepAssertion", "Preventing display sleep for app");
    processes.table[30] = {"ToDesk_Service", toDeskService};
    EXPECT_EQ(probe.sampleNow(), snapshot({RemoteSoftware::uu}));  // no session process yet
    processes.table[31] = {"ToDesk_Session", toDeskSession};
    EXPECT_EQ(probe.sampleNow(), snapshot({RemoteSoftware::uu, RemoteSoftware::toDesk}));

    // Through the actor: the same answer, awaited from the main queue.
    std::optional<RemoteSessionSnapshot> awaited;
    auto run = [&]() -> dispatch::Task<> { awaited = co_await probe.sample(); };
    dispatch::spawn(scheduler.mainQueue(), run());
    scheduler.runUntilIdle();
    EXPECT_EQ(awaited, snapshot({RemoteSoftware::uu, RemoteSoftware::toDesk}));
}

TEST_F(RemoteSessionProbeTest, WhatCannotBeReadIsUnknown) {
    power.all = std::nullopt;
    EXPECT_EQ(probe.sampleNow(), snapshot({}, {RemoteSoftware::uu, RemoteSoftware::toDesk}));
    power.all = json::parse(R"({"abc": []})");
    EXPECT_EQ(probe.sampleNow(), snapshot({}, {RemoteSoftware::uu, RemoteSoftware::toDesk}));
    power.all = json::parse(R"({"12": [1]})");
    EXPECT_EQ(probe.sampleNow(), snapshot({}, {RemoteSoftware::uu, RemoteSoftware::toDesk}));

    // Holder's path unresolvable: the application its assertion names is unknown.
    power.all = json::Json::object();
    power.add(40, "PreventUserIdleDisplaySleep", "UURemote Disable Display Sleep");
    EXPECT_EQ(probe.sampleNow(), snapshot({}, {RemoteSoftware::uu}));

    // ToDesk's assertion found, but one session process's path cannot be read.
    power.all = json::Json::object();
    power.add(30, "PreventUserIdleDisplaySleep", "Preventing display sleep for app");
    processes.table[30] = {"ToDesk_Service", toDeskService};
    processes.table[31] = {"ToDesk_Session", toDeskSession};
    processes.table[32] = {"ToDesk_Session", std::nullopt};
    EXPECT_EQ(probe.sampleNow(), snapshot({}, {RemoteSoftware::toDesk}));
    processes.table.erase(32);
    processes.listReadable = false;
    EXPECT_EQ(probe.sampleNow(), snapshot({}, {RemoteSoftware::toDesk}));
}

TEST_F(RemoteSessionProbeTest, MalformedCandidatesAreDroppedNotGuessed) {
    power.add(20, "PreventUserIdleDisplaySleep", "idleDisplaySleepDisabled", "255");  // level not a number
    processes.table[20] = {"UURemoteServer", uuServer};
    EXPECT_EQ(probe.sampleNow(), snapshot({}));
    power.add(20, "PreventUserIdleDisplaySleep", "idleDisplaySleepDisabled", 255);
    EXPECT_EQ(probe.sampleNow(), snapshot({RemoteSoftware::uu}));
}

}  // namespace
}  // namespace dorvane
