#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "DorvaneCore/Support/AtomicFile.h"
#include "DorvaneCore/Support/StrictJson.h"
#include "tests/Support/BackgroundProcess.h"
#include "tests/Support/CommandRun.h"

namespace dorvane {

// The status-bar application as a new user runs it: a fresh home and host, no display,
// driven through corvelle-host, in real time.
class ApplicationCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvelle-app-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = pattern;
        support = root / "home" / "Library" / "Application Support" / "Dorvane";
        std::filesystem::create_directories(root / "runtime");
        std::filesystem::permissions(root / "runtime", std::filesystem::perms::owner_all);
        environment = {{"CORVELLE_HOST_DIR", (root / "host").string()},
                       {"HOME", (root / "home").string()},
                       {"XDG_CONFIG_HOME", (root / "config").string()},
                       {"XDG_RUNTIME_DIR", (root / "runtime").string()},
                       {"DISPLAY", std::nullopt},
                       {"WAYLAND_DISPLAY", std::nullopt},
                       {"QT_QPA_PLATFORM", std::nullopt}};
        ASSERT_EQ(host({"init", "--fixture", "laptop"}).status, 0);
    }
    void TearDown() override {
        program.reset();
        std::filesystem::remove_all(root);
    }

    std::map<std::string, std::string> setVariables() const {
        std::map<std::string, std::string> set;
        for (const auto& [name, value] : environment) {
            if (value) set[name] = *value;
        }
        return set;
    }
    testing::CommandRun host(const std::vector<std::string>& arguments) {
        return testing::runCommand(CORVELLE_HOST_TOOL, arguments, setVariables(), root);
    }
    testing::CommandRun corvelle(const std::vector<std::string>& arguments) {
        return testing::runCommand(CORVELLE_EXECUTABLE, arguments, setVariables(), root);
    }
    void start(const std::vector<std::string>& arguments = {}) {
        program = std::make_unique<testing::BackgroundProcess>(CORVELLE_EXECUTABLE, arguments, environment, root,
                                                               "corvelle");
    }
    // The pids of the host's running applications named "Corvelle".
    std::vector<pid_t> corvelleApplications() {
        std::vector<pid_t> pids;
        const auto listed = json::parse(host({"windows", "list", "--json"}).out);
        for (const auto& application : listed["applications"]) {
            if (application["name"] == "Corvelle") pids.push_back(application["pid"]);
        }
        return pids;
    }
    // With no program running, `statusbar show` says so in one line and fails (plain and JSON).
    void expectNoStatusItem() {
        for (const auto& arguments : {std::vector<std::string>{"statusbar", "show"},
                                      std::vector<std::string>{"statusbar", "show", "--json"}}) {
            const auto shown = host(arguments);
            EXPECT_EQ(shown.status, 1) << arguments.size();
            EXPECT_EQ(shown.out, "") << arguments.size();
            EXPECT_EQ(shown.err, "corvelle-host: no status item: Corvelle is not running\n") << arguments.size();
        }
    }
    json::Json item() {
        const auto shown = host({"statusbar", "show", "--json"});
        return shown.status == 0 ? json::parse(shown.out) : json::Json();
    }
    // The number of the program's window of that title, when the host lists one.
    std::optional<int> ownWindow(const std::string& title) {
        const auto listed = json::parse(host({"windows", "list", "--json"}).out);
        for (const auto& window : listed["windows"]) {
            if (window["pid"] == program->pid() && window["title"] == title) return window["number"].get<int>();
        }
        return std::nullopt;
    }
    bool ready() {
        return testing::eventually([&] {
            const auto shown = item();
            return shown.is_object() && shown["tooltip"] == "Corvelle · 就绪";
        });
    }

    std::filesystem::path root;
    std::filesystem::path support;
    std::map<std::string, std::optional<std::string>> environment;
    std::unique_ptr<testing::BackgroundProcess> program;
};

}  // namespace dorvane
