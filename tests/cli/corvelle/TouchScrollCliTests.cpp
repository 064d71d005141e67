#include <gtest/gtest.h>

#include <filesystem>

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
    json::Json delivered() { return json::parse(host({"input", "delivered", "--json"}).out); }
    static std::int64_t field(const json::Json& record, const char* number) {
        return record["event"]["fields"].value(number, std::int64_t{0});
    }
    // The scroll events delivered so far, once the last one has stopped coasting.
    std::vector<json::Json> scrolls(std::size_t coasts) {
        std::vector<json::Json> found;
        testing::eventually([&] {
            found.clear();
            std::size_t ended = 0;
            for (const auto& record : delivered()) {
                if (record["event"]["type"] != "scrollWheel") continue;
                found.push_back(record);
                ended += field(record, "123") == 3 ? 1 : 0;
            }
            return ended == coasts;
        });
        return found;
    }
    void drag(pid_t from) {
        const auto dragged = host({"input", "drag", "150,500", "150,300", "--duration", "0.1", "--steps", "10",
                                   "--from-pid", std::to_string(from)});
        EXPECT_EQ(dragged.out, "The program handled 12 events.\n") << dragged.err;
    }
};

TEST_F(TouchScrollCliTest, TheViewersDragScrollsAtThePressWithMomentumWhileASessionRuns) {
    std::filesystem::create_directories(support);
    writeFileAtomically(support / "preferences.json", R"({"uuTouchScrollEnabled":true})");
    ASSERT_EQ(host({"permission", "grant", "accessibility"}).status, 0);
    start();
    ASSERT_TRUE(ready()) << program->err();
    // The settings window every launch shows takes presses on it as they come: the user closes it.
    std::optional<std::uint32_t> settings;
    ASSERT_TRUE(testing::eventually([&] {
        const auto listed = json::parse(host({"windows", "list", "--json"}).out);
        for (const auto& window : listed["windows"]) {
            if (window["title"] == "设置") settings = window["number"].get<std::uint32_t>();
        }
        return settings.has_value();
    }));
    ASSERT_EQ(host({"windows", "close", std::to_string(*settings)}).status, 0);
    ASSERT_EQ(host({"remote", "connect", "uu"}).status, 0);
    ASSERT_TRUE(operationLogged("uu-touch-scroll-on")) << program->err();

    const pid_t viewer = std::stoi(host({"remote", "pid", "uu"}).out);
    drag(viewer);
    auto found = scrolls(1);
    ASSERT_GE(found.size(), 13u);
    for (const auto& record : found) {
        EXPECT_EQ(field(record, "42"), 0x44565343);
        EXPECT_EQ(field(record, "88"), 1);
    }
    EXPECT_EQ(field(found[0], "99"), 1);
    EXPECT_EQ(field(found[0], "11"), 0);
    for (std::size_t i = 0; i <= 10; ++i) {
        EXPECT_EQ(found[i]["event"]["location"], json::parse(R"({"x":150.0,"y":500.0})")) << i;
        if (i == 0) continue;
        EXPECT_EQ(field(found[i], "99"), 2) << i;
        EXPECT_EQ(field(found[i], "11"), -20) << i;
    }
    EXPECT_EQ(field(found[11], "99"), 4);
    EXPECT_EQ(field(found[12], "123"), 1);
    EXPECT_EQ(field(found.back(), "123"), 3);

    // A real process whose executable lies in UU Remote's bundle is the viewer too.
    const auto copy = root / "UURemote.app" / "Contents" / "MacOS" / "UURemote";
    std::filesystem::create_directories(copy.parent_path());
    std::filesystem::copy_file("/bin/sleep", copy);
    testing::BackgroundProcess real(copy.string(), {"60"}, {}, root, "uuremote");
    drag(real.pid());
    found = scrolls(2);
    EXPECT_EQ(std::count_if(found.begin(), found.end(), [](const json::Json& record) { return field(record, "99") == 1; }),
              2);
    for (const auto& record : delivered()) {
        EXPECT_NE(field(record, "41"), viewer);
        EXPECT_NE(field(record, "41"), real.pid());
    }

    ASSERT_EQ(host({"remote", "disconnect", "uu"}).status, 0);
    EXPECT_TRUE(operationLogged("uu-touch-scroll-off")) << program->err();
}

}  // namespace
}  // namespace dorvane
