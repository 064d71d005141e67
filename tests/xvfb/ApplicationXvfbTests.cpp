#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "DorvaneCore/Support/AtomicFile.h"
#include "DorvaneCore/Support/StrictJson.h"
#include "tests/Support/BackgroundProcess.h"
#include "tests/Support/CommandRun.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;

// The application under a real X server, in a fresh home and host, driven through corvelle-host.
class ApplicationUnderXvfb : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "corvelle-xvfb-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = pattern;
        fs::create_directories(root / "runtime");
        fs::permissions(root / "runtime", fs::perms::owner_all);
        set = {{"CORVELLE_HOST_DIR", (root / "host").string()},
               {"HOME", (root / "home").string()},
               {"XDG_CONFIG_HOME", (root / "config").string()},
               {"XDG_RUNTIME_DIR", (root / "runtime").string()}};
        environment = std::map<std::string, std::optional<std::string>>(set.begin(), set.end());
        environment["DISPLAY"] = std::nullopt;
        environment["QT_QPA_PLATFORM"] = std::nullopt;
        prepareHome();
        program = std::make_unique<testing::BackgroundProcess>(
            XVFB_RUN, std::vector<std::string>{"-a", "-s", "-screen 0 1440x900x24", CORVELLE_EXECUTABLE}, environment,
            root, "xvfb");
    }
    void TearDown() override {
        program.reset();
        fs::remove_all(root);
    }
    testing::CommandRun host(const std::vector<std::string>& arguments) {
        return testing::runCommand(CORVELLE_HOST_TOOL, arguments, set, root);
    }
    void quit() {
        EXPECT_EQ(host({"statusbar", "click", "退出 Corvelle"}).status, 0);
        EXPECT_EQ(program->waitForExit(60), 0) << program->err();
    }
    // What the home holds before the program starts.
    virtual void prepareHome() {}

    fs::path root;
    std::map<std::string, std::string> set;
    std::map<std::string, std::optional<std::string>> environment;
    std::unique_ptr<testing::BackgroundProcess> program;
};

// It takes the xcb platform (its panels must be placed), shows its item and quits in order.
TEST_F(ApplicationUnderXvfb, RunsOnTheDisplayAndQuitsFromTheMenu) {
    ASSERT_TRUE(testing::eventually([&] {
        const auto shown = host({"statusbar", "show", "--json"});
        return shown.status == 0 && shown.out.find("Corvelle · 就绪") != std::string::npos;
    })) << program->err();
    quit();
    // With a display the runner leaves the platform to xcb and says nothing about it.
    EXPECT_EQ(program->err().find("offscreen"), std::string::npos) << program->err();
}

// Under a real X server too, the host's moves and minimising reach the settings window,
// which keeps its size and comes back from the Dock through "设置…".
TEST_F(ApplicationUnderXvfb, TheHostMovesAndMinimisesTheSettingsWindow) {
    auto settings = [&]() -> std::optional<json::Json> {
        const auto listed = json::parse(host({"windows", "list", "--json", "--all"}).out);
        for (const auto& window : listed["windows"]) {
            if (window["owner"] == "Corvelle" && window["title"] == "设置") return window;
        }
        return std::nullopt;
    };
    auto settingsAt = [&](double x, double y, bool minimised) {
        return testing::eventually([&] {
            const auto shown = settings();
            return shown && (*shown)["bounds"] == json::Json{{"x", x}, {"y", y}, {"width", 900.0}, {"height", 720.0}} &&
                   (*shown)["minimised"] == minimised;
        });
    };
    std::optional<json::Json> shown;
    ASSERT_TRUE(testing::eventually([&] { return (shown = settings()).has_value(); })) << program->err();
    const auto number = std::to_string((*shown)["number"].get<int>());
    ASSERT_EQ(host({"windows", "move", number, "100", "120", "1000", "800"}).status, 0);
    EXPECT_TRUE(settingsAt(100, 120, false)) << settings().value_or(json::Json()).dump();
    ASSERT_EQ(host({"windows", "minimise", number}).status, 0);
    EXPECT_TRUE(settingsAt(100, 120, true)) << settings().value_or(json::Json()).dump();
    EXPECT_EQ(host({"statusbar", "click", "设置…"}).status, 0);
    EXPECT_TRUE(settingsAt(100, 120, false)) << settings().value_or(json::Json()).dump();
    quit();
}

// The connection page's list open under a real X server: another application coming
// forward closes it and takes the keys; "设置…" then brings the window and the program
// forward again, and the keys come back to it.
class ActivationUnderXvfb : public ApplicationUnderXvfb {
protected:
    void prepareHome() override {
        const auto support = root / "home" / "Library" / "Application Support" / "Dorvane";
        fs::create_directories(support);
        writeFileAtomically(support / "preferences.json", json::Json{{"autoResolutionEnabled", true}}.dump());
    }
    json::Json listed() { return json::parse(host({"windows", "list", "--json"}).out); }
    std::optional<json::Json> window(const std::string& owner, const std::string& title) {
        const auto now = listed();
        for (const auto& shown : now["windows"]) {
            if (shown["owner"] == owner && shown["title"] == title) return shown;
        }
        return std::nullopt;
    }
    bool listOpen() {
        const auto now = listed();
        for (const auto& shown : now["windows"]) {
            if (shown["owner"] == "Corvelle" && shown["layer"] == 101) return true;
        }
        return false;
    }
    void clickIn(const json::Json& shown, int x, int y) {
        const int left = static_cast<int>(shown["bounds"]["x"].get<double>()) + x;
        const int top = static_cast<int>(shown["bounds"]["y"].get<double>()) + y;
        ASSERT_EQ(host({"input", "click", std::to_string(left) + "," + std::to_string(top)}).status, 0);
    }
    std::string lastKeyReceiver() {
        const auto delivered = json::parse(host({"input", "delivered", "--json"}).out);
        for (auto event = delivered.rbegin(); event != delivered.rend(); ++event) {
            if ((*event)["event"]["type"] == "keyDown") return (*event)["to"].dump();
        }
        return "none";
    }
};

TEST_F(ActivationUnderXvfb, AnotherApplicationClosesTheListAndTheSettingsWindowComesBack) {
    std::optional<json::Json> settings;
    ASSERT_TRUE(testing::eventually([&] { return (settings = window("Corvelle", "设置")).has_value(); }))
        << program->err();
    ASSERT_EQ(host({"windows", "init", "--fixture", "desk"}).status, 0);
    const auto editor = window("编辑器", "笔记.txt");
    ASSERT_TRUE(editor.has_value());
    // The desk opened in front of it.
    ASSERT_EQ(host({"windows", "focus", std::to_string((*settings)["number"].get<int>())}).status, 0);
    clickIn(*settings, 80, 235);   // the sidebar's "连接自动化"
    clickIn(*settings, 768, 171);  // the dropdown under "连接时切换"
    ASSERT_TRUE(testing::eventually([&] { return listOpen(); })) << program->err();

    ASSERT_EQ(host({"windows", "focus", std::to_string((*editor)["number"].get<int>())}).status, 0);
    EXPECT_TRUE(testing::eventually([&] { return !listOpen(); }));
    EXPECT_EQ(host({"input", "key", "escape"}).status, 0);
    EXPECT_EQ(lastKeyReceiver(), (*editor)["pid"].dump());

    EXPECT_EQ(host({"statusbar", "click", "设置…"}).status, 0);
    const auto program = (*settings)["pid"].dump();
    EXPECT_TRUE(testing::eventually([&] {
        const auto now = listed();
        for (const auto& shown : now["windows"]) {
            // The first window on the normal level is the one in front.
            if (shown["layer"] == 0) return now["frontmost"].dump() == program && shown["title"] == "设置";
        }
        return false;
    })) << host({"windows", "list"}).out;
    // The keys are the program's again: the list opens and Down and Return choose.
    clickIn(*settings, 768, 171);
    ASSERT_TRUE(testing::eventually([&] { return listOpen(); }));
    EXPECT_EQ(host({"input", "key", "down"}).status, 0);
    EXPECT_EQ(host({"input", "key", "return"}).status, 0);
    EXPECT_TRUE(testing::eventually([&] { return !listOpen(); }));
    EXPECT_EQ(lastKeyReceiver(), program);
    quit();
}

}  // namespace
}  // namespace dorvane
