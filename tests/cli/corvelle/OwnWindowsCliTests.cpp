#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/cli/corvelle/ApplicationHarness.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;

// The program's own windows driven from outside as a person would: the host's keyboard,
// pointer and wheel reach them, and moving or minimising the settings window is what the
// program then remembers and undoes.
class OwnWindowsCliTest : public ApplicationCliTest {
protected:
    // The host's entry of the program's settings window, shown or not; none while it is
    // not listed.
    std::optional<json::Json> settingsWindow() {
        const auto listed = json::parse(host({"windows", "list", "--json", "--all"}).out);
        for (const auto& window : listed["windows"]) {
            if (window["pid"] == program->pid() && window["title"] == "设置") return window;
        }
        return std::nullopt;
    }
    json::Json waitForSettings() {
        std::optional<json::Json> shown;
        EXPECT_TRUE(testing::eventually([&] { return (shown = settingsWindow()).has_value(); })) << program->err();
        return shown.value_or(json::Json::object());
    }
    bool settingsAt(double x, double y, bool minimised = false) {
        return testing::eventually([&] {
            const auto shown = settingsWindow();
            return shown && (*shown)["bounds"]["x"] == x && (*shown)["bounds"]["y"] == y &&
                   (*shown)["bounds"]["width"] == 900.0 && (*shown)["bounds"]["height"] == 720.0 &&
                   (*shown)["minimised"] == minimised && (*shown)["onScreen"] == !minimised;
        });
    }
    // A click at a point of the settings window's content.
    void clickIn(const json::Json& window, int x, int y) {
        const int left = static_cast<int>(window["bounds"]["x"].get<double>());
        const int top = static_cast<int>(window["bounds"]["y"].get<double>());
        const auto clicked = host({"input", "click", std::to_string(left + x) + "," + std::to_string(top + y)});
        ASSERT_EQ(clicked.status, 0) << clicked.err;
    }
    json::Json preferences() {
        std::ifstream file(support / "preferences.json");
        std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        try {
            return json::parse(text);
        } catch (const std::exception&) {
            return json::Json::object();
        }
    }
    void writePreferences(const json::Json& value) {
        fs::create_directories(support);
        writeFileAtomically(support / "preferences.json", value.dump());
    }
    // Whether one of the program's windows at the pop-up menu level is listed (an open list).
    bool listOpen() {
        const auto listed = json::parse(host({"windows", "list", "--json"}).out);
        for (const auto& window : listed["windows"]) {
            if (window["pid"] == program->pid() && window["layer"] == 101) return true;
        }
        return false;
    }
    void quit() {
        EXPECT_EQ(host({"statusbar", "click", "退出 Corvelle"}).status, 0);
        EXPECT_EQ(program->waitForExit(60), 0);
    }

    // The desk of other applications, with the editor's window "笔记.txt" brought forward.
    void deskWithTheEditorInFront() {
        ASSERT_EQ(host({"windows", "init", "--fixture", "desk"}).status, 0);
        editorInFront();
    }
    void editorInFront() {
        const auto listed = json::parse(host({"windows", "list", "--json"}).out);
        for (const auto& window : listed["windows"]) {
            if (window["owner"] == "编辑器" && window["title"] == "笔记.txt") {
                ASSERT_EQ(host({"windows", "focus", std::to_string(window["number"].get<int>())}).status, 0);
                editor = window["pid"].get<pid_t>();
            }
        }
        ASSERT_NE(editor, 0) << "the desk has the editor's window";
        ASSERT_EQ(frontmost(), editor);
    }
    // The frontmost application's pid; 0 for none.
    pid_t frontmost() {
        const auto listed = json::parse(host({"windows", "list", "--json"}).out);
        return listed["frontmost"].is_number() ? listed["frontmost"].get<pid_t>() : 0;
    }
    // The number of the window in front on the normal level.
    int frontWindow() {
        const auto listed = json::parse(host({"windows", "list", "--json"}).out);
        for (const auto& window : listed["windows"]) {
            if (window["layer"] == 0 && window["onScreen"] == true) return window["number"].get<int>();
        }
        return 0;
    }
    // The settings window shown, in front, and the program frontmost.
    bool settingsInFront(int number) {
        return testing::eventually([&] {
            const auto shown = settingsWindow();
            return frontmost() == program->pid() && frontWindow() == number && shown &&
                   (*shown)["minimised"] == false;
        });
    }
    // The application the last key went to; 0 for none.
    pid_t lastKeyReceiver() {
        const auto delivered = json::parse(host({"input", "delivered", "--json"}).out);
        for (auto event = delivered.rbegin(); event != delivered.rend(); ++event) {
            if ((*event)["event"]["type"] == "keyDown") return (*event).value("to", 0);
        }
        return 0;
    }
    // The notification journal's activations of the program.
    std::size_t programActivations() {
        std::size_t count = 0;
        for (const auto& entry : json::parse(host({"windows", "events", "--json"}).out)) {
            if (entry["event"] == "activated" && entry["pid"] == program->pid()) ++count;
        }
        return count;
    }

    // Shows the toolbar, expanded and at rest, and answers its bounds.
    json::Json showToolbar() {
        EXPECT_EQ(host({"appearance", "reduce-motion", "on"}).status, 0);
        EXPECT_EQ(host({"statusbar", "click", "显示工具条"}).status, 0);
        return toolbarAtRest();
    }
    // The toolbar's bounds once two looks a moment apart agree: it takes a few steps to
    // expand, and a click meant for one button must not land on another.
    json::Json toolbarAtRest() {
        auto bounds = [&] {
            const auto listed = json::parse(host({"windows", "list", "--json"}).out);
            for (const auto& window : listed["windows"]) {
                if (window["title"] == "Corvelle 快捷操作") return window["bounds"];
            }
            return json::Json();
        };
        json::Json toolbar;
        EXPECT_TRUE(testing::eventually([&] {
            const auto first = bounds();
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            toolbar = bounds();
            return toolbar.is_object() && toolbar == first && toolbar["height"].get<double>() > 300;
        })) << program->err();
        return toolbar;
    }
    // A click on the toolbar's button `fromTop` points below its top edge, or (negative)
    // above its bottom edge.
    void clickToolbar(double fromTop) {
        const auto toolbar = toolbarAtRest();
        const double top = toolbar["y"].get<double>();
        const double y = fromTop >= 0 ? top + fromTop : top + toolbar["height"].get<double>() + fromTop;
        const auto x = std::to_string(static_cast<int>(toolbar["x"].get<double>() + toolbar["width"].get<double>() / 2));
        ASSERT_EQ(host({"windows", "click", x, std::to_string(static_cast<int>(y))}).status, 0);
    }
    // The window the host holds as key, which the keys go to; 0 for none.
    int keyWindow() {
        const auto listed = json::parse(host({"windows", "list", "--json"}).out);
        for (const auto& window : listed["windows"]) {
            if (window.value("key", false)) return window["number"].get<int>();
        }
        return 0;
    }
    // Where the last key went: its application (0 for none) and window (0 for none).
    std::pair<pid_t, int> lastKey() {
        const auto delivered = json::parse(host({"input", "delivered", "--json"}).out);
        for (auto event = delivered.rbegin(); event != delivered.rend(); ++event) {
            if ((*event)["event"]["type"] != "keyDown") continue;
            const auto& to = (*event)["to"];
            return {to.is_number() ? to.get<pid_t>() : 0, (*event).value("window", 0)};
        }
        return {0, 0};
    }

    pid_t editor = 0;
};

// The footer's resolution button lies this far above the toolbar's bottom edge, the
// applications button this far below its top.
constexpr double kResolutionButton = -116;
constexpr double kApplicationsButton = 48;

// Moved by the host, the window moves, keeps its size, and is found there after closing,
// "设置…" and a new start.
TEST_F(OwnWindowsCliTest, TheSettingsWindowStaysWhereTheHostMovedIt) {
    start();
    ASSERT_TRUE(ready()) << program->err();
    const auto number = std::to_string(waitForSettings()["number"].get<int>());
    ASSERT_EQ(host({"windows", "move", number, "100", "200", "1000", "800"}).status, 0);
    EXPECT_TRUE(settingsAt(100, 200)) << "moved, and the size it keeps: " << settingsWindow()->dump();
    EXPECT_TRUE(testing::eventually([&] {
        return host({"defaults", "read", "Dorvane.Settings"}).out.find("\"width\":900") != std::string::npos;
    }));

    ASSERT_EQ(host({"windows", "close", number}).status, 0);
    EXPECT_EQ(host({"statusbar", "click", "设置…"}).status, 0);
    EXPECT_TRUE(settingsAt(100, 200));
    quit();

    start();
    ASSERT_TRUE(ready()) << program->err();
    EXPECT_TRUE(settingsAt(100, 200)) << settingsWindow().value_or(json::Json()).dump();
    quit();
}

// Minimised by the host, the window is minimised in the program too, and showing it ("设置…",
// or opening the program again) brings it back.
TEST_F(OwnWindowsCliTest, AMinimisedSettingsWindowComesBackWhenShown) {
    start();
    ASSERT_TRUE(ready()) << program->err();
    const auto shown = waitForSettings();
    const double x = shown["bounds"]["x"];
    const double y = shown["bounds"]["y"];
    const auto number = std::to_string(shown["number"].get<int>());
    ASSERT_EQ(host({"windows", "minimise", number}).status, 0);
    EXPECT_TRUE(settingsAt(x, y, true));
    EXPECT_EQ(host({"statusbar", "click", "设置…"}).status, 0);
    EXPECT_TRUE(settingsAt(x, y)) << settingsWindow()->dump();

    ASSERT_EQ(host({"windows", "minimise", number}).status, 0);
    EXPECT_TRUE(settingsAt(x, y, true));
    const auto second = corvelle({});
    EXPECT_EQ(second.status, 0);
    EXPECT_TRUE(settingsAt(x, y)) << settingsWindow()->dump();
    quit();
}

// The connection page's dropdown by keyboard: Down and Return choose the next entry, which
// is saved; Escape closes the list and keeps the choice.
TEST_F(OwnWindowsCliTest, ADropdownListIsChosenByKeysAndCancelledWithEscape) {
    writePreferences({{"autoResolutionEnabled", true}});
    start();
    ASSERT_TRUE(ready()) << program->err();
    const auto window = waitForSettings();
    clickIn(window, 80, 235);   // the sidebar's "连接自动化"
    clickIn(window, 768, 171);  // the dropdown under "连接时切换"
    ASSERT_TRUE(testing::eventually([&] { return listOpen(); })) << program->err();
    EXPECT_EQ(host({"input", "key", "down"}).status, 0);
    EXPECT_EQ(host({"input", "key", "return"}).status, 0);
    EXPECT_TRUE(testing::eventually([&] { return !listOpen(); }));
    EXPECT_TRUE(testing::eventually([&] {
        return preferences().value("autoResolutionPresetID", "") == "factory:portraitRecommended";
    })) << preferences().dump();

    clickIn(window, 768, 171);
    ASSERT_TRUE(testing::eventually([&] { return listOpen(); }));
    EXPECT_EQ(host({"input", "key", "down"}).status, 0);
    EXPECT_EQ(host({"input", "key", "escape"}).status, 0);
    EXPECT_TRUE(testing::eventually([&] { return !listOpen(); }));
    EXPECT_EQ(preferences().value("autoResolutionPresetID", ""), "factory:portraitRecommended");
    quit();
}

// With another application in front, showing the settings window ("设置…", a second start,
// also after it was minimised) brings it forward with the program: by the time the menu
// choice is answered, the window has the keyboard, not only once Qt gets round to it.
TEST_F(OwnWindowsCliTest, TheSettingsWindowComesForwardOverAnotherApplication) {
    start();
    ASSERT_TRUE(ready()) << program->err();
    const int number = waitForSettings()["number"].get<int>();
    deskWithTheEditorInFront();
    EXPECT_EQ(host({"statusbar", "click", "设置…"}).status, 0);
    EXPECT_EQ(frontmost(), program->pid());
    EXPECT_EQ(keyWindow(), number);
    EXPECT_TRUE(settingsInFront(number)) << host({"windows", "list"}).out;

    editorInFront();
    EXPECT_EQ(corvelle({}).status, 0);
    EXPECT_TRUE(settingsInFront(number)) << host({"windows", "list"}).out;

    ASSERT_EQ(host({"windows", "minimise", std::to_string(number)}).status, 0);
    editorInFront();
    EXPECT_EQ(host({"statusbar", "click", "设置…"}).status, 0);
    EXPECT_TRUE(settingsInFront(number)) << host({"windows", "list", "--all"}).out;
    quit();
}

// An open list closes when another application comes forward, and the keys then go there.
TEST_F(OwnWindowsCliTest, AnOpenListClosesWhenAnotherApplicationComesForward) {
    writePreferences({{"autoResolutionEnabled", true}});
    start();
    ASSERT_TRUE(ready()) << program->err();
    const auto window = waitForSettings();
    ASSERT_EQ(host({"windows", "init", "--fixture", "desk"}).status, 0);
    ASSERT_EQ(host({"windows", "focus", std::to_string(window["number"].get<int>())}).status, 0);
    clickIn(window, 80, 235);   // the sidebar's "连接自动化"
    clickIn(window, 768, 171);  // the dropdown under "连接时切换"
    ASSERT_TRUE(testing::eventually([&] { return listOpen(); })) << program->err();
    editorInFront();
    EXPECT_TRUE(testing::eventually([&] { return !listOpen(); }));
    EXPECT_EQ(host({"input", "key", "escape"}).status, 0);
    EXPECT_EQ(lastKeyReceiver(), editor);
    EXPECT_EQ(frontmost(), editor);
    quit();
}

// The resolution panel takes the keyboard without bringing the program forward: the
// user's application stays in front while it is open and once it has closed.
TEST_F(OwnWindowsCliTest, TheResolutionPanelLeavesTheUsersApplicationInFront) {
    start();
    ASSERT_TRUE(ready()) << program->err();
    showToolbar();
    deskWithTheEditorInFront();
    const std::size_t activations = programActivations();
    clickToolbar(kResolutionButton);
    EXPECT_TRUE(testing::eventually([&] { return ownWindow("Corvelle 分辨率").has_value(); })) << program->err();
    EXPECT_EQ(frontmost(), editor);

    clickToolbar(kResolutionButton);  // the button again closes it
    EXPECT_TRUE(testing::eventually([&] { return !ownWindow("Corvelle 分辨率"); }));
    EXPECT_EQ(frontmost(), editor);
    EXPECT_EQ(programActivations(), activations);
    EXPECT_EQ(host({"input", "key", "a"}).status, 0);
    EXPECT_EQ(lastKeyReceiver(), editor);
    quit();
}

// Opened from the toolbar over the user's application, the resolution panel and the
// launcher have the keyboard while that application stays in front: Escape closes them,
// and the next key goes to the application again.
TEST_F(OwnWindowsCliTest, EscapeClosesThePanelsOpenedOverAnotherApplication) {
    start();
    ASSERT_TRUE(ready()) << program->err();
    showToolbar();
    deskWithTheEditorInFront();
    for (const auto& [title, button] : {std::pair<std::string, double>{"Corvelle 分辨率", kResolutionButton},
                                        std::pair<std::string, double>{"Corvelle 应用", kApplicationsButton}}) {
        SCOPED_TRACE(title);
        clickToolbar(button);
        std::optional<int> panel;
        ASSERT_TRUE(testing::eventually([&] { return (panel = ownWindow(title)).has_value(); })) << program->err();
        ASSERT_TRUE(testing::eventually([&] { return keyWindow() == *panel; })) << "the panel has the keyboard";
        EXPECT_EQ(frontmost(), editor);
        EXPECT_EQ(host({"input", "key", "escape"}).status, 0);
        EXPECT_EQ(lastKey(), std::pair(program->pid(), *panel));
        EXPECT_TRUE(testing::eventually([&] { return !ownWindow(title); })) << program->err();
        EXPECT_EQ(frontmost(), editor);
        EXPECT_EQ(host({"input", "key", "a"}).status, 0);
        EXPECT_EQ(lastKey().first, editor);
    }
    quit();
}

// Typed one right after the other, with no pause: the tap opens the panel, Escape closes it,
// and the key after it goes to the application in front, as each command returns once the
// program has had its input.
TEST_F(OwnWindowsCliTest, TheKeyRightAfterEscapeClosedAPanelGoesToTheApplicationInFront) {
    start();
    ASSERT_TRUE(ready()) << program->err();
    showToolbar();
    deskWithTheEditorInFront();
    // Who the last two keys went to: application and window.
    auto lastTwoKeys = [&] {
        std::vector<std::pair<pid_t, int>> keys;
        const auto delivered = json::parse(host({"input", "delivered", "--json"}).out);
        for (auto event = delivered.rbegin(); event != delivered.rend() && keys.size() < 2; ++event) {
            if ((*event)["event"]["type"] != "keyDown") continue;
            const auto& to = (*event)["to"];
            keys.emplace(keys.begin(), to.is_number() ? to.get<pid_t>() : 0, (*event).value("window", 0));
        }
        return keys;
    };
    for (const auto& [title, button] : {std::pair<std::string, double>{"Corvelle 分辨率", kResolutionButton},
                                        std::pair<std::string, double>{"Corvelle 应用", kApplicationsButton}}) {
        SCOPED_TRACE(title);
        for (int round = 0; round < 3; ++round) {
            clickToolbar(button);
            EXPECT_EQ(host({"input", "key", "escape"}).status, 0);
            EXPECT_EQ(host({"input", "key", "a"}).status, 0);
            const auto keys = lastTwoKeys();
            ASSERT_EQ(keys.size(), 2u);
            EXPECT_EQ(keys[0].first, program->pid()) << "Escape reached the panel";
            EXPECT_NE(keys[0].second, 0);
            EXPECT_EQ(keys[1].first, editor);
            EXPECT_FALSE(ownWindow(title));
        }
    }
    EXPECT_EQ(frontmost(), editor);
    quit();
}

// A tile of the launcher that the keyboard focused is launched by Space, with the user's
// application in front as the launcher opened.
TEST_F(OwnWindowsCliTest, SpaceOnAFocusedLauncherTileLaunchesIt) {
    start();
    ASSERT_TRUE(ready()) << program->err();
    showToolbar();
    deskWithTheEditorInFront();
    clickToolbar(kApplicationsButton);
    std::optional<int> launcher;
    ASSERT_TRUE(testing::eventually([&] { return (launcher = ownWindow("Corvelle 应用")).has_value(); }))
        << program->err();
    ASSERT_TRUE(testing::eventually([&] { return keyWindow() == *launcher; }));
    EXPECT_EQ(host({"input", "key", "tab"}).status, 0);
    EXPECT_EQ(host({"input", "key", "space"}).status, 0);
    // A launch from the launcher is counted once it succeeded.
    EXPECT_TRUE(testing::eventually([&] { return fs::exists(support / "app-usage.json"); })) << program->err();
    EXPECT_TRUE(testing::eventually([&] { return !ownWindow("Corvelle 应用"); }));
    quit();
}

// A minimised window never has the keyboard: the program in front with its settings window
// minimised gets the keys for no window.
TEST_F(OwnWindowsCliTest, NoKeyReachesAMinimisedWindow) {
    start();
    ASSERT_TRUE(ready()) << program->err();
    const int number = waitForSettings()["number"].get<int>();
    EXPECT_EQ(host({"statusbar", "click", "设置…"}).status, 0);
    ASSERT_TRUE(settingsInFront(number));
    EXPECT_EQ(host({"input", "key", "a"}).status, 0);
    EXPECT_EQ(lastKey(), std::pair(program->pid(), number));
    ASSERT_EQ(host({"windows", "minimise", std::to_string(number)}).status, 0);
    EXPECT_EQ(host({"input", "key", "a"}).status, 0);
    EXPECT_EQ(lastKey(), std::pair(program->pid(), 0));
    quit();
}

// The wheel over the quick-actions page scrolls it: a point that switched the first card off
// meets a card further down once the page has turned.
TEST_F(OwnWindowsCliTest, InputScrollScrollsASettingsPage) {
    json::Json shortcuts = json::Json::array();
    for (int index = 0; index < 16; ++index) {
        const std::string id = (index < 10 ? "s0" : "s") + std::to_string(index);
        shortcuts.push_back({{"id", id},
                             {"name", "快捷键" + std::to_string(index)},
                             {"key", {{"code", index}, {"modifiers", 1048576}, {"label", "⌘" + std::to_string(index)}}}});
    }
    writePreferences({{"namedShortcuts", shortcuts}});
    start();
    ASSERT_TRUE(ready()) << program->err();
    auto switchedOff = [&] {
        std::set<std::string> off;
        for (const auto& shortcut : preferences().value("namedShortcuts", json::Json::array())) {
            if (!shortcut.value("enabled", true)) off.insert(shortcut["id"].get<std::string>());
        }
        return off;
    };
    const auto window = waitForSettings();
    clickIn(window, 80, 193);   // the sidebar's "快捷操作"
    clickIn(window, 476, 189);  // the first card's switch
    ASSERT_TRUE(testing::eventually([&] { return switchedOff() == std::set<std::string>{"s00"}; }))
        << preferences().dump();

    const int left = static_cast<int>(window["bounds"]["x"].get<double>());
    const int top = static_cast<int>(window["bounds"]["y"].get<double>());
    const auto turned = host({"input", "scroll", std::to_string(left + 476) + "," + std::to_string(top + 189), "--dy", "-3"});
    ASSERT_EQ(turned.status, 0) << turned.err;
    // Within one card's height under the same point lies the switch of a card further down.
    std::set<std::string> now = switchedOff();
    for (int below = 0; below < 56 && now.size() == 1; below += 8) {
        clickIn(window, 476, 189 + below);
        testing::eventually([&] { return switchedOff().size() != 1; }, 1.5);
        now = switchedOff();
    }
    ASSERT_EQ(now.size(), 2u) << preferences().dump();
    EXPECT_TRUE(now.contains("s00"));
    EXPECT_FALSE(now.contains("s01")) << "a card of the left column";
    quit();
}

}  // namespace
}  // namespace dorvane
