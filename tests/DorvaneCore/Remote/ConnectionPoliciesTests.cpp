#include <gtest/gtest.h>

#include "DorvaneCore/Remote/ConnectionPolicies.h"
#include "DorvaneCore/Remote/RemoteSessionStability.h"

namespace dorvane {
namespace {

using Transition = RemoteSessionStability::Transition;
const RemoteSessionSnapshot uuActive{{RemoteSoftware::uu}, {}};
const RemoteSessionSnapshot nothing{};
const RemoteSessionSnapshot uuUnknown{{}, {RemoteSoftware::uu}};
const RemoteSessionSnapshot toDeskUnknown{{}, {RemoteSoftware::toDesk}};

TEST(RemoteSessionStabilityTest, ConnectsAfterTwoSecondsOfEvidence) {
    RemoteSessionStability stability;
    EXPECT_EQ(stability.confirmationDelay(0), std::nullopt);
    EXPECT_EQ(stability.observe(uuActive, 0), std::nullopt);
    EXPECT_DOUBLE_EQ(*stability.confirmationDelay(0), 2.0);
    EXPECT_EQ(stability.observe(uuActive, 1), std::nullopt);
    EXPECT_EQ(stability.observe(nothing, 1.5), std::nullopt);  // restarts the clock
    EXPECT_EQ(stability.observe(uuActive, 2.0), std::nullopt);
    EXPECT_EQ(stability.observe(uuActive, 3.9), std::nullopt);
    EXPECT_EQ(stability.observe(uuActive, 4.0), Transition::connected);
    EXPECT_TRUE(stability.isConnected);
    EXPECT_EQ(stability.observe(uuActive, 5.0), std::nullopt);
    EXPECT_EQ(stability.confirmationDelay(5.0), std::nullopt);
}

TEST(RemoteSessionStabilityTest, DisconnectsAfterFourSecondsUnlessARelevantAppIsUnknown) {
    RemoteSessionStability stability;
    stability.observe(uuActive, 0);
    ASSERT_EQ(stability.observe(uuActive, 2), Transition::connected);
    EXPECT_EQ(stability.observe(nothing, 10), std::nullopt);
    EXPECT_DOUBLE_EQ(*stability.confirmationDelay(11), 3.0);
    EXPECT_EQ(stability.observe(uuUnknown, 12), std::nullopt);  // holds, loss clock cleared
    EXPECT_EQ(stability.observe(nothing, 14), std::nullopt);    // clock restarts here
    EXPECT_EQ(stability.observe(nothing, 17.9), std::nullopt);
    EXPECT_EQ(stability.observe(nothing, 18), Transition::disconnected);
    EXPECT_TRUE(stability.relevantProviders.empty());

    // An unknown application that was never part of this connection does not hold it.
    stability.observe(uuActive, 20);
    ASSERT_EQ(stability.observe(uuActive, 22), Transition::connected);
    EXPECT_EQ(stability.observe(toDeskUnknown, 23), std::nullopt);
    EXPECT_EQ(stability.observe(toDeskUnknown, 27), Transition::disconnected);
}

TEST(RemoteSessionStabilityTest, ARestartKeepsAConnectionThePoliciesStillActOn) {
    RemoteSessionStability stability;
    stability.observe(uuActive, 0);
    ASSERT_EQ(stability.observe(uuActive, 2), Transition::connected);
    EXPECT_EQ(stability.observe(nothing, 10), std::nullopt);  // the loss clock runs

    auto continued = stability.restarted(true);
    EXPECT_TRUE(continued.isConnected);
    EXPECT_EQ(continued.relevantProviders, stability.relevantProviders);
    EXPECT_EQ(continued.observe(uuUnknown, 11), std::nullopt);  // uu still holds it
    EXPECT_EQ(continued.observe(nothing, 12), std::nullopt);
    EXPECT_EQ(continued.observe(nothing, 16), Transition::disconnected);

    // With the loss clock carried over, the end comes 4 s after it began.
    EXPECT_EQ(stability.restarted(true).observe(nothing, 14), Transition::disconnected);
    // Nothing acting on a connection: a fresh filter, even mid-candidate.
    EXPECT_EQ(stability.restarted(false), RemoteSessionStability{});
    // Policies that believe connected make even an idle filter report the end.
    auto idle = RemoteSessionStability{}.restarted(true);
    EXPECT_EQ(idle.observe(nothing, 0), std::nullopt);
    EXPECT_EQ(idle.observe(nothing, 4), Transition::disconnected);
}

TEST(RemoteSessionStabilityTest, SignalDetailsListTheActiveApplicationsSorted) {
    EXPECT_EQ(remoteSignalDetail(Transition::connected, {RemoteSoftware::uu, RemoteSoftware::toDesk}, 5123.25),
              "connected providers=toDesk,uu uptime=5123.25");
    EXPECT_EQ(remoteSignalDetail(Transition::disconnected, {}, 60), "disconnected providers= uptime=60.0");
}

TEST(AutomaticResolutionPolicyTest, AppliesOnConnectAndRestoresOnDisconnect) {
    AutomaticResolutionPolicy policy;
    policy.connectionChanged(true);
    EXPECT_EQ(policy.nextAction(false), std::nullopt);  // disabled
    policy.setEnabled(true);
    EXPECT_EQ(policy.nextAction(true), std::nullopt);   // busy keeps it pending
    EXPECT_TRUE(policy.pendingApply);
    EXPECT_EQ(policy.nextAction(false), AutomaticResolutionPolicy::Action::apply);
    EXPECT_EQ(policy.nextAction(false), std::nullopt);
    policy.applied(true);
    EXPECT_TRUE(policy.ownsResolution);

    policy.restoreOnDisconnect = false;
    policy.connectionChanged(false);
    EXPECT_EQ(policy.nextAction(false), std::nullopt);
    policy.restoreOnDisconnect = true;
    policy.connectionChanged(true);
    policy.connectionChanged(false);
    EXPECT_EQ(policy.nextAction(false), AutomaticResolutionPolicy::Action::restore);
    EXPECT_EQ(policy.nextAction(false), std::nullopt);
    policy.restored(true);
    EXPECT_FALSE(policy.ownsResolution);

    // An apply that finishes after the connection ended gets its restore.
    policy.applied(true);
    EXPECT_TRUE(policy.pendingRestore);
    policy.manualOverride();
    EXPECT_FALSE(policy.pendingRestore || policy.pendingApply || policy.ownsResolution);

    policy.setEnabled(false);
    policy.connectionChanged(true);
    policy.setEnabled(true);
    policy.manualAdjustment();
    EXPECT_EQ(policy.nextAction(false), std::nullopt);
}

TEST(ConnectionOncePolicies, ToolbarAndDockFireOncePerConnection) {
    ConnectionToolbarPolicy toolbar;
    toolbar.setEnabled(true);
    toolbar.connectionChanged(true);
    EXPECT_FALSE(toolbar.takeAction(true));
    EXPECT_TRUE(toolbar.takeAction(false));
    EXPECT_FALSE(toolbar.takeAction(false));
    toolbar.setEnabled(false);
    toolbar.setEnabled(true);  // re-enabling during a connection expands again
    EXPECT_TRUE(toolbar.takeAction(false));

    ConnectionDockPolicy dock;
    dock.setEnabled(true);
    dock.connectionChanged(true);
    EXPECT_FALSE(dock.takeAction(true));
    EXPECT_TRUE(dock.takeAction(false));
    EXPECT_FALSE(dock.takeAction(false));
    dock.setEnabled(false);
    dock.setEnabled(true);  // handled for this connection
    EXPECT_FALSE(dock.takeAction(false));
    dock.connectionChanged(false);
    dock.connectionChanged(true);
    EXPECT_TRUE(dock.takeAction(false));
}

TEST(ToolbarPresenceTest, FiveSecondGraceAfterADisconnection) {
    using Context = ToolbarPresence::Context;
    ToolbarPresence presence;
    EXPECT_EQ(presence.remoteChanged(true, 90), Context::connected);
    EXPECT_EQ(presence.remoteChanged(true, 91), std::nullopt);
    EXPECT_EQ(presence.remoteChanged(false, 100), std::nullopt);
    EXPECT_DOUBLE_EQ(*presence.delayUntilTick(101), 4.0);
    EXPECT_EQ(presence.remoteChanged(false, 102), std::nullopt);  // deadline not pushed back
    EXPECT_EQ(presence.remoteChanged(true, 103), std::nullopt);   // never left connected
    EXPECT_EQ(presence.tick(105), std::nullopt);
    EXPECT_EQ(presence.context, Context::connected);

    presence.remoteChanged(false, 200);
    EXPECT_EQ(presence.tick(204.9), std::nullopt);
    EXPECT_EQ(presence.tick(205), Context::disconnected);
    EXPECT_EQ(presence.delayUntilTick(205), std::nullopt);
    EXPECT_TRUE(ToolbarPresence::shows(Context::connected, true, false));
    EXPECT_FALSE(ToolbarPresence::shows(Context::disconnected, true, false));
}

}  // namespace
}  // namespace dorvane
