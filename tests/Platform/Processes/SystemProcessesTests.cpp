#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include <unistd.h>

#include "Platform/Processes/SystemProcesses.h"

namespace dorvane::processes {
namespace {

TEST(SystemProcessesTest, SeesItselfAndNotTheDead) {
    SystemProcesses processes;
    const auto pids = processes.allProcessIDs();
    ASSERT_TRUE(pids.has_value());
    EXPECT_NE(std::find(pids->begin(), pids->end(), ::getpid()), pids->end());
    EXPECT_EQ(processes.executablePath(::getpid()), std::filesystem::read_symlink("/proc/self/exe").string());
    EXPECT_EQ(processes.name(::getpid()), std::filesystem::path(*processes.executablePath(::getpid()))
                                              .filename()
                                              .string()
                                              .substr(0, 15));
    EXPECT_EQ(processes.executablePath(0x7ffffff0), std::nullopt);
    EXPECT_EQ(processes.name(0x7ffffff0), std::nullopt);
    EXPECT_EQ(SystemProcesses("/nonexistent").allProcessIDs(), std::nullopt);
}

}  // namespace
}  // namespace dorvane::processes
