#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "DorvaneCore/Support/AtomicFile.h"
#include "DorvaneCore/Support/StrictJson.h"
#include "Platform/Accessibility/AXNames.h"
#include "Platform/Dispatch/ManualMainQueue.h"
#include "Platform/Dispatch/SystemClock.h"
#include "Platform/Host/SimulatedHost.h"
#include "tests/Support/CommandRun.h"

namespace dorvane {
namespace {

// `corvelle-host windows …` against a temporary host folder, as a new user would run it.
class WindowsCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "corvelle-windows-cli-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = pattern;
        folder = root / "host";
        ASSERT_EQ(run({"init"}).status, 0);
    }
    void TearDown() override { std::filesystem::remove_all(root); }

    testing::CommandRun run(const std::vector<std::string>& arguments) {
        return testing::runCommand(CORVELLE_HOST_TOOL, arguments, {{"CORVELLE_HOST_DIR", folder}}, root);
    }

    // The one line a command prints, which must succeed.
    std::string printed(const std::vector<std::string>& arguments) {
        const auto result = run(arguments);
        EXPECT_EQ(result.status, 0) << result.err;
        return result.out.substr(0, result.out.find('\n'));
    }

    // The numbers of the layer-0 windows on screen, front to back.
    std::vector<std::uint32_t> normalWindows() {
        const auto result = run({"windows", "list", "--json"});
        EXPECT_EQ(result.status, 0) << result.err;
        std::vector<std::uint32_t> numbers;
        const auto listed = json::parse(result.out);
        for (const auto& window : listed["windows"]) {
            if (window["layer"] == 0) numbers.push_back(window["number"]);
        }
        return numbers;
    }

    std::filesystem::path root;
    std::filesystem::path folder;
};

TEST_F(WindowsCliTest, ANewWindowComesFirstAndMinimisingDropsIt) {
    ASSERT_EQ(run({"windows", "init", "--fixture", "desk"}).status, 0);
    const auto pid = printed({"windows", "add-app", "编辑器2"});
    const auto number = printed({"windows", "add", pid, "--frame", "100,100,800,600", "--title", "新文档"});
    const auto listed = json::parse(run({"windows", "list", "--json"}).out);
    EXPECT_EQ(listed["frontmost"], std::stoi(pid));
    for (const auto& window : listed["windows"]) {
        if (window["layer"] != 0) continue;
        EXPECT_EQ(window["number"], std::stoul(number));
        EXPECT_EQ(window["pid"], std::stoi(pid));
        EXPECT_EQ(window["bounds"], json::parse(R"({"x":100.0,"y":100.0,"width":800.0,"height":600.0})"));
        EXPECT_EQ(window["title"], "新文档");
        break;
    }
    const auto before = normalWindows();
    ASSERT_EQ(run({"windows", "minimise", number}).status, 0);
    auto without = before;
    without.erase(without.begin());
    EXPECT_EQ(normalWindows(), without);
    ASSERT_EQ(run({"windows", "unminimise", number}).status, 0);
    EXPECT_EQ(normalWindows(), before);
}

TEST_F(WindowsCliTest, AWindowKeepsItsSizeLimitsWhenOpenedAndWhenMoved) {
    const auto pid = printed({"windows", "add-app", "编辑器"});
    const auto number =
        printed({"windows", "add", pid, "--frame", "100,100,200,900", "--min", "400,300", "--max", "1000,800"});
    const auto bounds = [&] {
        const auto listed = json::parse(run({"windows", "list", "--json"}).out);
        for (const auto& window : listed["windows"]) {
            if (window["number"] == std::stoul(number)) return window["bounds"].dump();
        }
        return std::string("none");
    };
    EXPECT_EQ(bounds(), R"({"x":100.0,"y":100.0,"width":400.0,"height":800.0})");
    ASSERT_EQ(run({"windows", "move", number, "50", "60", "2000", "100"}).status, 0);
    EXPECT_EQ(bounds(), R"({"x":50.0,"y":60.0,"width":1000.0,"height":300.0})");
}

TEST_F(WindowsCliTest, BadArgumentsExitTwoUnknownOnesOneAndNothingIsHalfWritten) {
    const auto pid = printed({"windows", "add-app", "编辑器"});
    const auto number = printed({"windows", "add", pid});
    const auto stored = readFileIfPresent(folder / "windows.json");
    struct Case {
        std::vector<std::string> arguments;
        int status;
    };
    const std::vector<Case> cases = {
        {{"windows", "add", "999"}, 1},
        {{"windows", "focus", "77"}, 1},
        {{"windows", "quit", "999"}, 1},
        {{"windows", "add", pid, "--frame", "1,2,3"}, 2},
        {{"windows", "add", pid, "--frame", "1,2,0,4"}, 2},
        {{"windows", "move", number, "x", "2"}, 2},
        {{"windows", "behave", "window", number, "--zoom", "short"}, 2},
        {{"windows", "behave", "window", number, "--late", "1", "--refuse", "-1"}, 2},
        {{"windows", "behave", "app", pid, "--latency", "1", "--disable", "放大"}, 2},
        {{"windows", "assistive", "voiceover", "maybe"}, 2},
        {{"windows", "fly"}, 2},
        {{"permission", "grant", "camera"}, 2},
    };
    for (const auto& test : cases) {
        const auto result = run(test.arguments);
        EXPECT_EQ(result.status, test.status) << test.arguments.back() << ": " << result.err;
        EXPECT_NE(result.err.find("corvelle-host: "), std::string::npos);
    }
    EXPECT_EQ(readFileIfPresent(folder / "windows.json"), stored);
}

TEST_F(WindowsCliTest, APersonCanClickHideQuitAndWatchTheJournal) {
    ASSERT_EQ(run({"windows", "init", "--fixture", "desk"}).status, 0);
    EXPECT_EQ(printed({"windows", "click", "1300", "850", "--raise", "1"}), "Clicked window 2.");
    auto listed = json::parse(run({"windows", "list", "--json"}).out);
    const pid_t browser = listed["applications"][0]["pid"];
    const pid_t terminal = listed["applications"][1]["pid"];
    EXPECT_EQ(listed["frontmost"], browser);
    EXPECT_EQ(normalWindows(), (std::vector<std::uint32_t>{1, 2, 5, 4}));

    ASSERT_EQ(run({"windows", "hide", std::to_string(browser)}).status, 0);
    EXPECT_EQ(normalWindows(), (std::vector<std::uint32_t>{2, 5, 4}));
    listed = json::parse(run({"windows", "list", "--all", "--json"}).out);
    EXPECT_EQ(listed["windows"].size(), 7u);  // the menu bar, five windows, one desktop picture
    EXPECT_EQ(listed["windows"].back()["title"], "Desktop Picture");
    ASSERT_EQ(run({"windows", "unhide", std::to_string(browser)}).status, 0);
    ASSERT_EQ(run({"windows", "quit", std::to_string(terminal)}).status, 0);
    EXPECT_EQ(normalWindows(), (std::vector<std::uint32_t>{1, 5, 4}));

    ASSERT_EQ(run({"windows", "event", "space-changed"}).status, 0);
    ASSERT_EQ(run({"windows", "assistive", "voiceover", "on"}).status, 0);
    ASSERT_EQ(run({"windows", "behave", "app", std::to_string(browser), "--menu-bar", "none", "--latency", "0.2"})
                  .status,
              0);
    const auto journal = json::parse(run({"windows", "events", "--json"}).out);
    std::vector<std::string> tail;
    for (std::size_t index = journal.size() - 4; index < journal.size(); ++index) {
        tail.push_back(journal[index]["event"].get<std::string>() + " " + journal[index]["name"].get<std::string>());
    }
    // The terminal, frontmost since the browser hid, quits: its focus goes, the browser comes forward.
    EXPECT_EQ(tail, (std::vector<std::string>{"accessibility AXFocusedWindowChanged", "accessibility AXMainWindowChanged",
                                              "activated ", "space-changed "}));
    EXPECT_NE(run({"log"}).out.find("applicationBehave pid=" + std::to_string(browser)), std::string::npos);
}

TEST_F(WindowsCliTest, AnotherProcessGetsTheNotificationsAFocusCauses) {
    ASSERT_EQ(run({"windows", "init", "--fixture", "desk"}).status, 0);
    EXPECT_EQ(printed({"permission", "show", "accessibility"}), "accessibility: not granted");
    EXPECT_EQ(printed({"permission", "grant", "accessibility"}), "accessibility: granted");
    const auto listed = json::parse(run({"windows", "list", "--json"}).out);
    const pid_t editor = listed["frontmost"];

    dispatch::SystemClock clock;
    dispatch::ManualMainQueue mainQueue;
    auto program = host::SimulatedHost::openFolder(folder, processes::ProcessRole::application, clock, &mainQueue);
    std::vector<std::string> got;
    std::unique_ptr<accessibility::AXObserver> observer;
    ASSERT_EQ(program->accessibility().createObserver(
                  editor,
                  [&got](const accessibility::AXElement& element, const std::string& name) {
                      got.push_back(name + " " + std::to_string(element.identity().window));
                  },
                  observer),
              accessibility::AXError::success);
    const auto application = program->accessibility().applicationElement(editor);
    for (const auto name : {accessibility::notification::focusedWindowChanged,
                            accessibility::notification::mainWindowChanged}) {
        ASSERT_EQ(observer->addNotification(application, name), accessibility::AXError::success);
    }
    auto activations = program->applicationWorkspace().observe(
        workspace::WorkspaceNotification::didActivateApplication,
        [&got](const auto& activated) { got.push_back("activated " + activated->name); });

    ASSERT_EQ(run({"windows", "focus", "1"}).status, 0);  // the browser: only an activation
    ASSERT_EQ(run({"windows", "focus", "4"}).status, 0);  // the editor's other document
    const std::vector<std::string> expected = {"activated 浏览器", "AXFocusedWindowChanged 4",
                                               "AXMainWindowChanged 4", "activated 编辑器"};
    EXPECT_TRUE(mainQueue.runUntil([&] { return got.size() >= expected.size(); }, 20));
    mainQueue.runPending();
    EXPECT_EQ(got, expected);
    EXPECT_NE(run({"windows", "events"}).out.find("accessibility pid=" + std::to_string(editor) +
                                                  " window=4 AXFocusedWindowChanged"),
              std::string::npos);
}

TEST_F(WindowsCliTest, FaultsAndBehavioursReachTheProgram) {
    ASSERT_EQ(run({"windows", "init", "--fixture", "desk"}).status, 0);
    ASSERT_EQ(run({"permission", "grant", "accessibility"}).status, 0);
    ASSERT_EQ(run({"windows", "behave", "window", "5", "--zoom", "short:40", "--min", "600,400"}).status, 0);
    ASSERT_EQ(run({"fault", "add", "axSetAttribute", "--fail", "cannotComplete", "--window", "4", "--name", "AXSize"})
                  .status,
              0);
    EXPECT_NE(run({"fault", "list"}).out.find("axSetAttribute window=4 name=AXSize fail -25204"), std::string::npos);

    dispatch::SystemClock clock;
    auto program = host::SimulatedHost::openFolder(folder, processes::ProcessRole::application, clock);
    auto& ax = program->accessibility();
    const pid_t editor = json::parse(run({"windows", "list", "--json"}).out)["frontmost"];
    auto element = [editor](std::uint32_t number) {
        return accessibility::AXElement({accessibility::AXElementIdentity::Kind::window, editor, number});
    };
    const accessibility::AXValue small(geometry::Size{500, 300});
    EXPECT_EQ(ax.setAttributeValue(element(4), accessibility::attribute::size, small),
              accessibility::AXError::cannotComplete);
    ASSERT_EQ(ax.setAttributeValue(element(5), accessibility::attribute::size, small), accessibility::AXError::success);
    accessibility::AXValue size;
    ASSERT_EQ(ax.copyAttributeValue(element(5), accessibility::attribute::size, size), accessibility::AXError::success);
    EXPECT_EQ(std::get<geometry::Size>(size), (geometry::Size{600, 400}));
    EXPECT_NE(run({"log"}).out.find("axSetAttribute pid=" + std::to_string(editor) + " window=5 AXSize 500x300 -> 0"),
              std::string::npos);
}

}  // namespace
}  // namespace dorvane
