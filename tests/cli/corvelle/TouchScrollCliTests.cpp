#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>

#include "DorvaneCore/Input/ScrollGesture.h"
#include "DorvaneCore/Support/StrictJson.h"
#include "tests/cli/corvelle/ApplicationHarness.h"

namespace dorvane {
namespace {

// Touch scrolling as a new user tries it: UU Remote's finger, simulated or a real
// process, drags while a session runs.
class TouchScrollCliTest : public ApplicationCliTest {
protected:
    bool operationLogged(const std::string& line) {
        return testing::eventually([&] {
            return readFileIfPresent(support / "Operations.log").value_or("").find(line) != std::string::npos;
        });
    }
    // What was delivered as lines: a scroll event as "phase dy at x,y", a momentum event as
    // "momentum N"; anything else as its type and poster.
    std::vector<std::string> deliveredLines() {
        std::vector<std::string> lines;
        for (const auto& record : json::parse(host({"input", "delivered", "--json"}).out)) {
            const auto& event = record["event"];
            const auto fields = event["fields"];
            const auto field = [&](const char* key) { return std::to_string(fields.value(key, 0)); };
            if (event["type"] != "scrollWheel") {
                lines.push_back(event["type"].get<std::string>() + " from " + field("41"));
            } else if (fields.contains("123")) {
                lines.push_back("momentum " + field("123"));
            } else {
                lines.push_back(field("99") + " " + field("11") + " at " + event["location"].dump());
            }
        }
        return lines;
    }
    static bool contains(const std::vector<std::string>& lines, const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    // What was delivered once a drag's scroll ended; momentum may still follow.
    std::vector<std::string> deliveredOnceTheScrollEnded() {
        std::vector<std::string> lines;
        testing::eventually([&] {
            lines = deliveredLines();
            const auto ended = [](const std::string& line) { return line.starts_with("4 "); };
            return std::any_of(lines.begin(), lines.end(), ended);
        });
        return lines;
    }
    // Whether the program saw the release too late after the last drags for a flick, by its
    // own times, which its scroll events carry: it takes the finger's speed over the drags of
    // the last 0.1 s before the release, and without two of them the scroll stops dead.
    bool releasedLate() {
        std::vector<double> drags;
        std::optional<double> release;
        for (const auto& record : json::parse(host({"input", "delivered", "--json"}).out)) {
            const auto& event = record["event"];
            const auto& fields = event["fields"];
            if (event["type"] != "scrollWheel" || fields.contains("123")) continue;
            if (fields.value("99", 0) == 2) drags.push_back(event["timestamp"].get<double>());
            if (fields.value("99", 0) == 4) release = event["timestamp"].get<double>();
        }
        if (!release) return false;
        const auto recent = std::count_if(drags.begin(), drags.end(), [&](double drag) {
            return *release - drag <= ScrollGesture::velocityWindow;
        });
        return recent < 2;
    }
    struct Drag {
        std::vector<std::string> lines;  // what was delivered once its scroll and any coasting ended
        bool releasedLate = false;
    };
    Drag dragAndWait(pid_t from) {
        EXPECT_EQ(host({"input", "delivered", "--clear"}).status, 0);
        const auto dragged = host({"input", "drag", "150,500", "150,300", "--duration", "0.1", "--steps", "10",
                                   "--from-pid", std::to_string(from)});
        EXPECT_EQ(dragged.out, "The program handled 12 events.\n") << dragged.err;
        Drag drag{deliveredOnceTheScrollEnded()};
        drag.releasedLate = releasedLate();
        if (!drag.releasedLate) {
            testing::eventually([&] { return drag.lines = deliveredLines(), contains(drag.lines, "momentum 3"); });
        }
        return drag;
    }
    // A drag that coasts. A loaded machine (sanitizers, two cores) can stall the program's
    // event-tap thread between the last drags and the release; only a drag the program saw
    // released late is made again, a few times at most. One released in time must coast.
    std::vector<std::string> dragThatCoasts(pid_t from) {
        auto drag = dragAndWait(from);
        for (int attempt = 1; attempt < 5 && drag.releasedLate; ++attempt) drag = dragAndWait(from);
        EXPECT_FALSE(drag.releasedLate) << "every drag was released late";
        EXPECT_TRUE(contains(drag.lines, "momentum 1")) << "a drag released in time did not coast";
        return drag.lines;
    }
    // The program with touch scrolling switched on and Accessibility granted.
    void startWithTouchScrolling() {
        std::filesystem::create_directories(support);
        writeFileAtomically(support / "preferences.json", R"({"uuTouchScrollEnabled":true})");
        ASSERT_EQ(host({"permission", "grant", "accessibility"}).status, 0);
        start();
    }
};

TEST_F(TouchScrollCliTest, TheViewersDragScrollsAtThePressWithMomentumWhileASessionRuns) {
    startWithTouchScrolling();
    ASSERT_TRUE(ready()) << program->err();
    // The settings window every launch shows takes presses on it as they come: the user closes it.
    ASSERT_TRUE(testing::eventually([&] { return host({"windows", "close", "1"}).status == 0; }));
    ASSERT_EQ(host({"remote", "connect", "uu"}).status, 0);
    ASSERT_TRUE(operationLogged("uu-touch-scroll-on")) << program->err();

    auto lines = dragThatCoasts(std::stoi(host({"remote", "pid", "uu"}).out));
    const std::string press = R"({"x":150.0,"y":500.0})";
    std::vector<std::string> expected{"1 0 at " + press};
    expected.insert(expected.end(), 10, "2 -20 at " + press);
    expected.insert(expected.end(), {"4 0 at " + press, "momentum 1"});
    ASSERT_GT(lines.size(), expected.size());
    EXPECT_EQ(std::vector(lines.begin(), lines.begin() + 13), expected);  // nothing of the viewer's own
    EXPECT_EQ(lines.back(), "momentum 3");

    // A real process whose executable lies in UU Remote's bundle is the viewer too.
    const auto copy = root / "UURemote.app" / "Contents" / "MacOS" / "UURemote";
    std::filesystem::create_directories(copy.parent_path());
    std::filesystem::copy_file("/bin/sleep", copy);
    testing::BackgroundProcess real(copy.string(), {"60"}, {}, root, "uuremote");
    lines = dragThatCoasts(real.pid());
    ASSERT_GT(lines.size(), expected.size());
    EXPECT_EQ(std::vector(lines.begin(), lines.begin() + 13), expected);

    ASSERT_EQ(host({"remote", "disconnect", "uu"}).status, 0);
    EXPECT_TRUE(operationLogged("uu-touch-scroll-off")) << program->err();
    EXPECT_EQ(host({"statusbar", "click", "退出 Corvelle"}).status, 0);
    EXPECT_EQ(program->waitForExit(60), 0);
}

TEST_F(TouchScrollCliTest, ADragOverTheSettingsWindowBehindAnEditorScrollsTheEditor) {
    startWithTouchScrolling();
    ASSERT_TRUE(ready()) << program->err();
    json::Json settings;
    ASSERT_TRUE(testing::eventually([&] {
        const auto listed = json::parse(host({"windows", "list", "--json"}).out);
        for (const auto& window : listed["windows"]) {
            if (window["pid"] == program->pid()) settings = window["bounds"];
        }
        return settings.is_object();
    }));
    // The user works in an editor that covers the whole screen, the settings window behind it.
    const auto editor = host({"windows", "add-app", "编辑器"}).out;
    const auto window = host({"windows", "add", editor.substr(0, editor.find('\n')), "--frame", "0,38,1512,944"}).out;
    ASSERT_EQ(host({"windows", "focus", window.substr(0, window.find('\n'))}).status, 0);
    ASSERT_EQ(host({"remote", "connect", "uu"}).status, 0);
    ASSERT_TRUE(operationLogged("uu-touch-scroll-on")) << program->err();

    const int x = static_cast<int>(settings["x"].get<double>()) + 100;
    const int y = static_cast<int>(settings["y"].get<double>()) + 400;
    const auto point = [](int px, int py) { return std::to_string(px) + "," + std::to_string(py); };
    const auto dragged = host({"input", "drag", point(x, y), point(x, y - 200), "--duration", "0.1", "--steps", "10",
                               "--from-pid", std::to_string(std::stoi(host({"remote", "pid", "uu"}).out))});
    EXPECT_EQ(dragged.out, "The program handled 12 events.\n") << dragged.err;
    const auto lines = deliveredOnceTheScrollEnded();
    const json::Json press{{"x", double(x)}, {"y", double(y)}};
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "1 0 at " + press.dump());
    for (const auto& record : json::parse(host({"input", "delivered", "--json"}).out)) {
        EXPECT_EQ(record["to"], std::stoi(editor)) << record.dump();
    }
    EXPECT_EQ(host({"statusbar", "click", "退出 Corvelle"}).status, 0);
    EXPECT_EQ(program->waitForExit(60), 0);
}

}  // namespace
}  // namespace dorvane
