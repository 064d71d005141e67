#include <gtest/gtest.h>

#include <filesystem>

#include "DorvaneCore/Support/AtomicFile.h"
#include "DorvaneCore/Support/StrictJson.h"
#include "tests/Support/BackgroundProcess.h"
#include "tests/Support/CommandRun.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;

// The status-bar application as a new user runs it: a fresh home and host, no display,
// driven through corvelle-host, in real time.
class ApplicationCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "corvelle-app-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = pattern;
        support = root / "home" / "Library" / "Application Support" / "Dorvane";
        fs::create_directories(root / "runtime");
        fs::permissions(root / "runtime", fs::perms::owner_all);
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
        fs::remove_all(root);
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
    json::Json item() {
        const auto shown = host({"statusbar", "show", "--json"});
        return shown.status == 0 ? json::parse(shown.out) : json::Json();
    }
    bool ready() {
        return testing::eventually([&] {
            const auto shown = item();
            return shown.is_object() && shown["tooltip"] == "Corvelle · 就绪";
        });
    }

    fs::path root;
    fs::path support;
    std::map<std::string, std::optional<std::string>> environment;
    std::unique_ptr<testing::BackgroundProcess> program;
};

TEST_F(ApplicationCliTest, StatusItemMenuSecondInstanceAndQuit) {
    start({"-x"});  // an argument that names no mode starts the application too
    ASSERT_TRUE(ready()) << program->err();
    auto shown = item();
    EXPECT_EQ(shown["image"], "MenuBarTemplate");
    EXPECT_EQ(shown["pid"], program->pid());
    std::vector<std::string> titles;
    for (const auto& entry : shown["menu"]) titles.push_back(entry.value("separator", false) ? "-" : entry["title"].get<std::string>());
    EXPECT_EQ(titles, (std::vector<std::string>{"显示工具条", "还原本机分辨率", "-", "设置…", "检查更新…", "-",
                                                "退出 Corvelle"}));
    EXPECT_EQ(shown["menu"][0]["checked"], false);

    EXPECT_EQ(host({"statusbar", "click", "显示工具条"}).status, 0);
    EXPECT_EQ(item()["menu"][0]["checked"], true);
    EXPECT_EQ(host({"statusbar", "click", "显示工具条"}).status, 0);
    EXPECT_EQ(item()["menu"][0]["checked"], false);
    EXPECT_FALSE(fs::exists(support / "preferences.json"));
    // Without an installed feed the updater's entry does nothing, and says so to nobody.
    EXPECT_EQ(host({"statusbar", "click", "检查更新…"}).status, 0);
    const auto missing = host({"statusbar", "click", "Quit"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("no entry"), std::string::npos);

    const auto second = corvelle({});
    EXPECT_EQ(second.status, 0);
    EXPECT_EQ(second.out, "");
    EXPECT_EQ(second.err, "");
    const auto restore = corvelle({"--restore"});
    EXPECT_EQ(restore.status, 1);
    EXPECT_EQ(restore.err, "Corvelle 已在运行中，请在顶部菜单栏查看对应图标。\n");
    // The running program is one of the host's applications; the second instance never was.
    EXPECT_TRUE(testing::eventually([&] { return corvelleApplications() == std::vector<pid_t>{program->pid()}; }));

    EXPECT_EQ(host({"statusbar", "click", "退出 Corvelle"}).status, 0);
    EXPECT_EQ(program->waitForExit(60), 0);
    EXPECT_EQ(host({"statusbar", "show"}).out, "No status item.\n");
    EXPECT_EQ(corvelleApplications(), std::vector<pid_t>{});
    // The one line that says the program runs without a screen.
    EXPECT_NE(program->err().find("offscreen"), std::string::npos);
}

TEST_F(ApplicationCliTest, TerminateSignalQuitsInOrderAndALeftoverSessionIsRestoredAtStart) {
    // An earlier run died while fitted: its session is on disk, the mode changed.
    fs::create_directories(support);
    writeFileAtomically(support / "session.json", corvelle({"--worker", "snapshot"}).out);
    const auto before = json::parse(host({"show", "--json"}).out)["displays"][0]["mode"];
    ASSERT_EQ(host({"display", "set-mode", "builtin", "2"}).status, 0);
    ASSERT_NE(json::parse(host({"show", "--json"}).out)["displays"][0]["mode"], before);

    start();
    ASSERT_TRUE(ready()) << program->err();
    EXPECT_FALSE(fs::exists(support / "session.json"));
    EXPECT_TRUE(fs::exists(support / "session.last.json"));
    EXPECT_EQ(json::parse(host({"show", "--json"}).out)["displays"][0]["mode"], before);

    program->signal(SIGTERM);
    EXPECT_EQ(program->waitForExit(60), 0);
    EXPECT_EQ(host({"statusbar", "show"}).out, "No status item.\n");
}

TEST_F(ApplicationCliTest, ASupportFolderThatCannotBeMadeIsAnError) {
    fs::create_directories(root / "home" / "Library");
    writeFileAtomically(root / "home" / "Library" / "Application Support", "not a folder");
    const auto run = corvelle({});
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(run.err.empty());
    EXPECT_EQ(host({"statusbar", "show"}).out, "No status item.\n");
}

}  // namespace
}  // namespace dorvane
