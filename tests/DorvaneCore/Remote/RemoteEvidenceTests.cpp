#include <gtest/gtest.h>

#include "DorvaneCore/Remote/RemoteSessionEvidence.h"
#include "DorvaneCore/Remote/RemoteSoftware.h"

namespace dorvane {
namespace {

const std::string uuServer = "/Applications/UURemote.app/Contents/Helpers/UURemoteServer";
const std::string toDeskService = "/Applications/ToDesk.app/Contents/MacOS/ToDesk_Service";
const std::string toDeskSession =
    "/Applications/ToDesk.app/Contents/Helpers/ToDesk_Session.app/Contents/MacOS/ToDesk_Session";

RemotePowerAssertion uu(std::string name = "idleDisplaySleepDisabled", std::int64_t level = 255,
                        std::string type = "PreventUserIdleDisplaySleep", std::string executable = uuServer) {
    return {std::move(executable), std::move(type), std::move(name), level};
}

RemotePowerAssertion toDesk(std::string type = "NoDisplaySleepAssertion",
                            std::string name = "Preventing display sleep for app", std::int64_t level = 255) {
    return {toDeskService, std::move(type), std::move(name), level};
}

TEST(RemoteEvidenceUU, AllFourConditionsOnOneAssertion) {
    EXPECT_FALSE(RemoteSessionEvidence::uuConnected({}));
    EXPECT_TRUE(RemoteSessionEvidence::uuConnected({uu()}));
    EXPECT_TRUE(RemoteSessionEvidence::uuConnected({uu("UURemote Disable Display Sleep")}));
    EXPECT_FALSE(RemoteSessionEvidence::uuConnected({uu("idleDisplaySleepDisabled", 0)}));
    EXPECT_FALSE(RemoteSessionEvidence::uuConnected({uu("idleDisplaySleepDisabled", 255, "NoDisplaySleepAssertion")}));
    EXPECT_FALSE(RemoteSessionEvidence::uuConnected({uu("uuremote disable display sleep")}));
    // Right executable on one assertion and right name on another do not combine.
    EXPECT_FALSE(RemoteSessionEvidence::uuConnected(
        {uu("other"), uu("idleDisplaySleepDisabled", 255, "PreventUserIdleDisplaySleep", "/usr/bin/caffeinate")}));
    // Any install folder works; a path that only contains the suffix does not.
    EXPECT_TRUE(RemoteSessionEvidence::uuConnected(
        {uu("idleDisplaySleepDisabled", 255, "PreventUserIdleDisplaySleep", "/Users/me/Apps" + uuServer)}));
    EXPECT_FALSE(RemoteSessionEvidence::uuConnected(
        {uu("idleDisplaySleepDisabled", 255, "PreventUserIdleDisplaySleep", uuServer + ".bak")}));
}

TEST(RemoteEvidenceToDesk, NeedsTheSessionProcessAndTheServiceAssertion) {
    EXPECT_TRUE(RemoteSessionEvidence::toDeskHasConnectionAssertion({toDesk()}));
    EXPECT_TRUE(RemoteSessionEvidence::toDeskHasConnectionAssertion({toDesk("PreventUserIdleDisplaySleep")}));
    EXPECT_FALSE(
        RemoteSessionEvidence::toDeskHasConnectionAssertion({toDesk("NoDisplaySleepAssertion", "preventing display sleep for app")}));
    EXPECT_FALSE(RemoteSessionEvidence::toDeskHasConnectionAssertion({toDesk("NoIdleSleepAssertion")}));
    EXPECT_TRUE(RemoteSessionEvidence::toDeskConnected({toDeskSession}, {toDesk()}));
    EXPECT_FALSE(RemoteSessionEvidence::toDeskConnected({toDeskSession}, {uu()}));
    EXPECT_FALSE(RemoteSessionEvidence::toDeskConnected({}, {toDesk()}));
    EXPECT_FALSE(RemoteSessionEvidence::toDeskConnected({"/tmp/ToDesk_Session"}, {toDesk()}));
}

TEST(RemoteSoftwareTest, RawValuesTitlesAndSnapshotJson) {
    EXPECT_EQ(fromRawValue<RemoteSoftware>("UU"), std::nullopt);
    EXPECT_EQ(title(RemoteSoftware::uu), "UU 远程");
    RemoteSessionSnapshot snapshot{{RemoteSoftware::toDesk, RemoteSoftware::uu}, {RemoteSoftware::toDesk}};
    EXPECT_EQ(json::serialize(snapshot.toJson()), R"({"active":["uu","toDesk"],"unknown":["toDesk"]})");
    EXPECT_EQ(json::serialize(RemoteSessionSnapshot{}.toJson()), R"({"active":[],"unknown":[]})");
}

}  // namespace
}  // namespace dorvane
