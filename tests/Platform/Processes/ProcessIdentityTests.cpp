#include <csignal>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "Platform/Processes/ProcessIdentity.h"

namespace dorvane::processes {
namespace {

TEST(ProcessIdentityTest, ParsesStatWhateverTheCommandName) {
    const auto status = parseProcessStat(
        "4242 (we(ir)d) name) Z 1 4242 4242 0 -1 4194560 100 0 0 0 1 2 0 0 20 0 1 0 987654 1000 10 18446744073709551615");
    ASSERT_TRUE(status);
    EXPECT_EQ(status->state, 'Z');
    EXPECT_EQ(status->startTime, 987654u);
    EXPECT_FALSE(parseProcessStat("4242 (short) S 1 2 3"));
    EXPECT_FALSE(parseProcessStat("no parentheses at all"));
}

TEST(ProcessIdentityTest, LivingExitedZombieAndReusedProcesses) {
    const auto self = currentProcessIdentity();
    EXPECT_TRUE(isProcessAlive(self));
    EXPECT_FALSE(isProcessAlive(ProcessIdentity{self.pid, self.startTime + 1}));  // pid reused

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) ::_exit(0);
    const auto status = readProcessStatus(child);
    // Until it is reaped the child is a zombie (or still running an instant longer).
    ASSERT_TRUE(status);
    const ProcessIdentity identity{child, status->startTime};
    siginfo_t info{};
    ASSERT_EQ(::waitid(P_PID, child, &info, WEXITED | WNOWAIT), 0);
    EXPECT_FALSE(isProcessAlive(identity));  // zombie
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    EXPECT_FALSE(isProcessAlive(identity));  // gone
}

}  // namespace
}  // namespace dorvane::processes
