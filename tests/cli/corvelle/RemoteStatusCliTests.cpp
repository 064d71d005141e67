#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/Support/CommandRun.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;

// "corvelle --remote-status" against a fresh home and host folder, with corvelle-host
// playing the remote-desktop applications.
class RemoteStatusCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "corvelle-remote-cli-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = pattern;
        environment = {{"CORVELLE_HOST_DIR", (root / "host").string()}, {"HOME", (root / "home").string()}};
    }
    void TearDown() override { fs::remove_all(root); }

    std::string status() {
        const auto run = testing::runCommand(CORVELLE_EXECUTABLE, {"--remote-status"}, environment, root);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        return run.out;
    }
    void host(const std::vector<std::string>& arguments) {
        const auto run = testing::runCommand(CORVELLE_HOST_TOOL, arguments, environment, root);
        ASSERT_EQ(run.status, 0) << run.err;
    }

    fs::path root;
    std::map<std::string, std::string> environment;
};

TEST_F(RemoteStatusCliTest, FollowsSessionsOfTheSimulatedApplications) {
    EXPECT_EQ(status(), "{\"active\":[],\"unknown\":[]}\n");
    host({"remote", "connect", "uu"});
    EXPECT_EQ(status(), "{\"active\":[\"uu\"],\"unknown\":[]}\n");
    host({"remote", "connect", "todesk"});
    EXPECT_EQ(status(), "{\"active\":[\"uu\",\"toDesk\"],\"unknown\":[]}\n");
    host({"remote", "disconnect", "todesk"});  // the service keeps its assertion
    EXPECT_EQ(status(), "{\"active\":[\"uu\"],\"unknown\":[]}\n");
    host({"remote", "unknown", "uu", "on"});
    EXPECT_EQ(status(), "{\"active\":[],\"unknown\":[\"uu\"]}\n");
    host({"remote", "unknown", "uu", "off"});
    host({"remote", "disconnect", "uu"});
    EXPECT_EQ(status(), "{\"active\":[],\"unknown\":[]}\n");
}

TEST_F(RemoteStatusCliTest, ARealProcessPlaysTheUUServer) {
    const auto helpers = root / "UURemote.app" / "Contents" / "Helpers";
    fs::create_directories(helpers);
    const auto server = helpers / "UURemoteServer";
    fs::copy_file("/bin/sleep", server);

    // The pipe's write end closes on exec, so the read below returns once the copy runs.
    int started[2];
    ASSERT_EQ(::pipe2(started, O_CLOEXEC), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::execl(server.c_str(), server.c_str(), "600", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(started[1]);
    char byte = 0;
    ASSERT_EQ(::read(started[0], &byte, 1), 0);
    ::close(started[0]);

    host({"remote", "assert", "add", "--pid", std::to_string(child)});
    EXPECT_EQ(status(), "{\"active\":[\"uu\"],\"unknown\":[]}\n");
    ::kill(child, SIGKILL);
    int exit = 0;
    ASSERT_EQ(::waitpid(child, &exit, 0), child);
    EXPECT_EQ(status(), "{\"active\":[],\"unknown\":[]}\n");
}

TEST_F(RemoteStatusCliTest, AnOutputThatCannotBeWrittenFails) {
    const auto run = testing::runCommand(
        "/bin/sh", {"-c", std::string("exec '") + CORVELLE_EXECUTABLE + "' --remote-status >/dev/full"}, environment,
        root);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("无法输出远程会话状态"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace dorvane
