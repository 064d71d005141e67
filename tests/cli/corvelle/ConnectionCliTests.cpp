#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "tests/cli/corvelle/ApplicationHarness.h"

namespace dorvane {
namespace {

// The remote-session road as a user meets it: a session of UU Remote starts and ends on
// the host while the program runs.
class ConnectionCliTest : public ApplicationCliTest {
protected:
    void automaticResolution() {
        std::filesystem::create_directories(support);
        writeFileAtomically(support / "preferences.json",
                            R"({"autoResolutionEnabled":true,"autoResolutionPresetID":"factory:phoneRecommended"})");
    }
    // "<event> <detail>" of each engine-log line (or operations-log line), without its time.
    static std::vector<std::string> lines(const std::filesystem::path& file) {
        std::vector<std::string> found;
        std::istringstream text(readFileIfPresent(file).value_or(""));
        for (std::string line; std::getline(text, line);) found.push_back(line.substr(line.find(' ') + 1));
        return found;
    }
    std::vector<std::string> engineLog() { return lines(support / "Dorvane.log"); }
    // Whether the engine log has lines starting with `prefixes`, in this order.
    bool logged(const std::vector<std::string>& prefixes) {
        return testing::eventually([&] {
            const auto log = engineLog();
            auto at = log.begin();
            for (const auto& prefix : prefixes) {
                at = std::find_if(at, log.end(), [&](const std::string& line) { return line.starts_with(prefix); });
                if (at == log.end()) return false;
                ++at;
            }
            return true;
        });
    }
    bool tooltipBecomes(const std::string& tooltip) {
        return testing::eventually([&] { return item().value("tooltip", "") == tooltip; });
    }
    bool toolbarChecked(bool checked) {
        return testing::eventually([&] {
            const auto shown = item();
            return shown.is_object() && shown["menu"][0]["checked"] == checked;
        });
    }
    json::Json displays() { return json::parse(host({"show", "--json"}).out)["displays"]; }
    std::string layout() { return displays().dump(); }
};

TEST_F(ConnectionCliTest, ASessionFitsTheDisplayAndItsEndPutsTheLayoutBack) {
    automaticResolution();
    const auto before = layout();
    start();
    ASSERT_TRUE(ready()) << program->err();

    ASSERT_EQ(host({"remote", "connect", "uu"}).status, 0);
    ASSERT_TRUE(logged({"remote_signal connected providers=uu uptime=", "automatic_apply_start 1294×720",
                        "automatic_apply_result success"}))
        << program->err();
    const auto shown = displays();
    const auto virtualDisplay = std::find_if(shown.begin(), shown.end(),
                                             [](const json::Json& display) { return display["kind"] == "virtual"; });
    ASSERT_NE(virtualDisplay, shown.end()) << shown.dump();
    EXPECT_TRUE((*virtualDisplay)["main"].get<bool>());
    EXPECT_EQ((*virtualDisplay)["x"], 0);
    EXPECT_EQ((*virtualDisplay)["y"], 0);
    EXPECT_EQ((*virtualDisplay)["mode"]["width"], 1294);
    EXPECT_EQ((*virtualDisplay)["mode"]["height"], 720);
    EXPECT_EQ((*virtualDisplay)["mode"]["pixelWidth"], 2588);
    EXPECT_EQ((*virtualDisplay)["mode"]["pixelHeight"], 1440);
    const auto panel = std::find_if(shown.begin(), shown.end(),
                                    [](const json::Json& display) { return display["name"] == "builtin"; });
    ASSERT_NE(panel, shown.end());
    EXPECT_EQ((*panel)["mirror"], (*virtualDisplay)["id"]);

    ASSERT_TRUE(tooltipBecomes("Corvelle · 已应用 · 1294×720"));
    EXPECT_EQ(item()["image"], "MenuBarTemplateActive");
    ASSERT_TRUE(toolbarChecked(true));
    const auto operations = lines(support / "Operations.log");
    EXPECT_NE(std::find(operations.begin(), operations.end(), "toolbar-auto-expand resolutionReady=true"),
              operations.end());

    ASSERT_EQ(host({"remote", "disconnect", "uu"}).status, 0);
    ASSERT_TRUE(logged({"remote_signal disconnected providers= uptime=", "automatic_restore_start physical_displays",
                        "automatic_restore_complete physical_displays"}));
    EXPECT_TRUE(tooltipBecomes("Corvelle · 已还原屏幕"));
    EXPECT_EQ(layout(), before);
    EXPECT_TRUE(std::filesystem::exists(support / "session.last.json"));
    // The toolbar follows the disconnected setting once its grace is over.
    EXPECT_TRUE(toolbarChecked(false));

    EXPECT_EQ(host({"statusbar", "click", "退出 Corvelle"}).status, 0);
    EXPECT_EQ(program->waitForExit(60), 0);
}

TEST_F(ConnectionCliTest, WithDefaultSettingsASessionShowsTheToolbarAndItsEndStillRestores) {
    start();
    ASSERT_TRUE(ready()) << program->err();
    ASSERT_EQ(host({"remote", "connect", "uu"}).status, 0);
    ASSERT_TRUE(toolbarChecked(true)) << program->err();
    ASSERT_EQ(host({"remote", "disconnect", "uu"}).status, 0);
    EXPECT_TRUE(logged({"remote_signal connected", "remote_signal disconnected", "automatic_restore_complete"}));
    const auto log = engineLog();
    EXPECT_TRUE(std::none_of(log.begin(), log.end(),
                             [](const std::string& line) { return line.starts_with("automatic_apply_start"); }));
}

TEST_F(ConnectionCliTest, RestoringByHandAndQuittingWhileFittedPutTheLayoutBack) {
    automaticResolution();
    const auto before = layout();
    start();
    ASSERT_TRUE(ready()) << program->err();
    ASSERT_EQ(host({"remote", "connect", "uu"}).status, 0);
    ASSERT_TRUE(tooltipBecomes("Corvelle · 已应用 · 1294×720")) << program->err();

    EXPECT_EQ(host({"statusbar", "click", "还原本机分辨率"}).status, 0);
    EXPECT_TRUE(logged({"manual_restore_start", "restored"}));
    EXPECT_TRUE(tooltipBecomes("Corvelle · 已还原屏幕"));
    EXPECT_EQ(layout(), before);

    // The session goes on; the next one is fitted again, and a quit puts it all back.
    ASSERT_EQ(host({"remote", "disconnect", "uu"}).status, 0);
    ASSERT_TRUE(logged({"remote_signal disconnected"}));
    ASSERT_EQ(host({"remote", "connect", "uu"}).status, 0);
    ASSERT_TRUE(tooltipBecomes("Corvelle · 已应用 · 1294×720"));
    program->signal(SIGTERM);
    EXPECT_EQ(program->waitForExit(60), 0);
    EXPECT_EQ(layout(), before);
}

TEST_F(ConnectionCliTest, TheWindowDebugHookListensOnlyWhenTheDefaultIsSet) {
    ASSERT_EQ(host({"defaults", "write", "CVDebugHooks", "true"}).status, 0);
    start();
    ASSERT_TRUE(ready()) << program->err();
    ASSERT_EQ(host({"notify", "com.corvelle.debug.window", "--object", "snap:left"}).status, 0);
    EXPECT_TRUE(testing::eventually([&] {
        const auto operations = lines(support / "Operations.log");
        return std::any_of(operations.begin(), operations.end(), [](const std::string& line) {
            return line.starts_with("debug-hook command=snap:left trusted=") && line.find(" target=") != std::string::npos;
        });
    })) << program->err();
}

// The window commands' own automatic work, as a user meets it on the desk of windows.
class WindowControllersCliTest : public ConnectionCliTest {
protected:
    void SetUp() override {
        ConnectionCliTest::SetUp();
        ASSERT_EQ(host({"windows", "init", "--fixture", "desk"}).status, 0);
        ASSERT_EQ(host({"permission", "grant", "accessibility"}).status, 0);
    }
    bool operationLogged(const std::string& line) {
        return testing::eventually([&] {
            const auto operations = lines(support / "Operations.log");
            return std::find(operations.begin(), operations.end(), line) != operations.end();
        });
    }
    // Ready, with the settings window it shows at launch in front: only then does the user's own
    // choice of a front window stay in front.
    bool settled() {
        return ready() && testing::eventually([&] {
            return json::parse(host({"windows", "list", "--json"}).out)["frontmost"] == program->pid();
        });
    }
    // What the program did, for a failure's message.
    std::string operationsLog() {
        std::string text;
        for (const auto& line : lines(support / "Operations.log")) text += line + "\n";
        return text + program->err();
    }
    // "X,Y WxH" of a window, as the host lists it.
    std::string frameOf(int number) {
        const auto listed = json::parse(host({"windows", "list", "--json"}).out);
        for (const auto& window : listed["windows"]) {
            if (window["number"] == number) {
                const auto& bounds = window["bounds"];
                return bounds["x"].dump() + "," + bounds["y"].dump() + " " + bounds["width"].dump() + "x" +
                       bounds["height"].dump();
            }
        }
        return "";
    }
    static constexpr const char* editor = "4194306";
};

TEST_F(WindowControllersCliTest, ASessionFillsTheFrontWindowWhenAutoFillIsOn) {
    std::filesystem::create_directories(support);
    writeFileAtomically(support / "preferences.json", R"({"autoFillWindowsOnRemote":true})");
    start();
    ASSERT_TRUE(settled()) << operationsLog();
    ASSERT_EQ(host({"windows", "focus", "5"}).status, 0);  // the user works in the editor
    ASSERT_EQ(host({"remote", "connect", "uu"}).status, 0);
    ASSERT_TRUE(operationLogged(std::string("auto-fill pid=") + editor + " window=5")) << operationsLog();
    // The session expands the toolbar on the right: the window fills the room beside it.
    EXPECT_EQ(frameOf(5), "0.0,38.0 1440.0x944.0");
}

TEST_F(WindowControllersCliTest, ALayoutTakesTheWindowsTheUserClicks) {
    ASSERT_EQ(host({"defaults", "write", "CVDebugHooks", "true"}).status, 0);
    start();
    ASSERT_TRUE(settled()) << operationsLog();
    ASSERT_EQ(host({"windows", "focus", "4"}).status, 0);
    ASSERT_EQ(host({"notify", "com.corvelle.debug.window", "--object", "arrange:halves"}).status, 0);
    ASSERT_TRUE(operationLogged("window-pick-begin needed=2 prepicked=4")) << operationsLog();
    ASSERT_EQ(host({"windows", "click", "1300", "700"}).status, 0);  // the terminal
    ASSERT_TRUE(operationLogged("window-pick-result window=2 slot=1 outcome=complete")) << operationsLog();
    // The terminal keeps a height of its own.
    EXPECT_TRUE(testing::eventually([&] { return frameOf(2) == "756.0,38.0 756.0x938.0"; })) << frameOf(2);
    EXPECT_EQ(frameOf(4), "0.0,38.0 756.0x944.0");
}

TEST_F(WindowControllersCliTest, ALayoutTakesTheWindowPressedThoughTheClickRaisedAnother) {
    ASSERT_EQ(host({"defaults", "write", "CVDebugHooks", "true"}).status, 0);
    start();
    ASSERT_TRUE(settled()) << operationsLog();
    ASSERT_EQ(host({"windows", "focus", "2"}).status, 0);  // the terminal over the browser
    ASSERT_EQ(host({"windows", "focus", "4"}).status, 0);
    ASSERT_EQ(host({"notify", "com.corvelle.debug.window", "--object", "arrange:halves"}).status, 0);
    ASSERT_TRUE(operationLogged("window-pick-begin needed=2 prepicked=4")) << operationsLog();
    // The press lands on the terminal; the browser comes forward before the release.
    ASSERT_EQ(host({"windows", "click", "1100", "600", "--raise", "1"}).out, "Clicked window 2.\n");
    ASSERT_TRUE(operationLogged("window-pick-result window=2 slot=1 outcome=complete")) << operationsLog();
    EXPECT_TRUE(testing::eventually([&] { return frameOf(2) == "756.0,38.0 756.0x938.0"; })) << frameOf(2);
}

}  // namespace
}  // namespace dorvane
