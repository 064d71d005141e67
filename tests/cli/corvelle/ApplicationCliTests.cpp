#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>

#include "tests/Support/MappedFiles.h"
#include "tests/cli/corvelle/ApplicationHarness.h"

namespace dorvane {
namespace {

namespace fs = std::filesystem;

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
    expectNoStatusItem();
    EXPECT_EQ(corvelleApplications(), std::vector<pid_t>{});
    // The one line that says the program runs without a screen.
    EXPECT_NE(program->err().find("offscreen"), std::string::npos);
}

// Closed from outside, the settings window comes back when the user opens the program
// again, whose second start still ends at once and says nothing, and through "设置…".
TEST_F(ApplicationCliTest, TheSettingsWindowComesBackAfterTheHostClosedIt) {
    start();
    ASSERT_TRUE(ready()) << program->err();
    auto settingsWindow = [&]() -> std::optional<int> {
        const auto listed = json::parse(host({"windows", "list", "--json"}).out);
        for (const auto& window : listed["windows"]) {
            if (window["pid"] == program->pid() && window["title"] == "设置") return window["number"].get<int>();
        }
        return std::nullopt;
    };
    auto closeIt = [&] {
        std::optional<int> shown;
        if (!testing::eventually([&] { return (shown = settingsWindow()).has_value(); })) return false;
        return host({"windows", "close", std::to_string(*shown)}).status == 0 && !settingsWindow();
    };

    ASSERT_TRUE(closeIt()) << program->err();
    const auto second = corvelle({});
    EXPECT_EQ(second.status, 0);
    EXPECT_EQ(second.out, "");
    EXPECT_EQ(second.err, "");
    EXPECT_TRUE(testing::eventually([&] { return settingsWindow().has_value(); })) << program->err();

    ASSERT_TRUE(closeIt());
    EXPECT_EQ(host({"statusbar", "click", "设置…"}).status, 0);
    EXPECT_TRUE(testing::eventually([&] { return settingsWindow().has_value(); })) << program->err();

    EXPECT_EQ(host({"statusbar", "click", "退出 Corvelle"}).status, 0);
    EXPECT_EQ(program->waitForExit(60), 0);
}

// A second start finds the running instance's lock before it loads the application library
// and Qt: it needs neither, and says nothing where Qt would warn (no XDG_RUNTIME_DIR, as for
// root over ssh or in a container). Its request still brings the settings window back.
TEST_F(ApplicationCliTest, ASecondStartEndsBeforeItLoadsTheApplicationLibrary) {
    start();
    ASSERT_TRUE(ready()) << program->err();
    auto closeSettings = [&] {
        std::optional<int> shown;
        if (!testing::eventually([&] { return (shown = ownWindow("设置")).has_value(); })) return false;
        return host({"windows", "close", std::to_string(*shown)}).status == 0 && !ownWindow("设置");
    };
    auto secondStart = [&](const std::string& executable, std::map<std::string, std::optional<std::string>> changed) {
        auto variables = environment;
        for (auto& [name, value] : changed) variables[name] = std::move(value);
        testing::BackgroundProcess second(executable, {}, variables, root, "second");
        const auto status = second.waitForExit(60);
        EXPECT_EQ(status, std::optional(0)) << second.err();
        EXPECT_EQ(second.out(), "");
        EXPECT_EQ(second.err(), "");
    };

    ASSERT_TRUE(closeSettings()) << program->err();
    secondStart(CORVELLE_EXECUTABLE, {{"XDG_RUNTIME_DIR", std::nullopt}});
    EXPECT_TRUE(testing::eventually([&] { return ownWindow("设置").has_value(); })) << program->err();

    // The executable alone, without the library beside it, as a second start.
    ASSERT_TRUE(closeSettings());
    const fs::path lone = root / "bin" / "corvelle";
    fs::create_directories(lone.parent_path());
    fs::copy_file(CORVELLE_EXECUTABLE, lone);
    secondStart(lone.string(), {});
    EXPECT_TRUE(testing::eventually([&] { return ownWindow("设置").has_value(); })) << program->err();
    EXPECT_EQ(corvelleApplications(), std::vector<pid_t>{program->pid()});

    EXPECT_EQ(host({"statusbar", "click", "退出 Corvelle"}).status, 0);
    EXPECT_EQ(program->waitForExit(60), 0);
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
    expectNoStatusItem();
}

// A kill -9 leaves a worker's folder in the temporary folder and a settings save's temporary
// file: the next start removes them, and nothing that is not plainly its own leftover.
TEST_F(ApplicationCliTest, AStartRemovesWhatAKilledRunLeftBehind) {
    const fs::path temporary = root / "tmp";
    fs::create_directories(temporary);
    environment["TMPDIR"] = temporary.string();
    const fs::path abandoned = temporary / "Dorvane-0F1E2D3C-4B5A-4978-8695-A4B3C2D1E0F9";
    fs::create_directory(abandoned);
    writeFileAtomically(abandoned / "stdout", "partial");
    const timespec hourAgo{::time(nullptr) - 3600, 0};
    const timespec times[2] = {hourAgo, hourAgo};
    ASSERT_EQ(::utimensat(AT_FDCWD, abandoned.c_str(), times, 0), 0);
    // Made moments ago: it may be a run of another process that has only just begun.
    const fs::path recent = temporary / "Dorvane-11111111-2222-4333-8444-555555555555";
    fs::create_directory(recent);
    fs::create_directories(support);
    writeFileAtomically(support / ".preferences.json.tmp-Ab12Cd", "{\"theme\":");

    start();
    ASSERT_TRUE(ready()) << program->err();
    EXPECT_TRUE(testing::eventually([&] { return !fs::exists(abandoned); }));
    EXPECT_FALSE(fs::exists(support / ".preferences.json.tmp-Ab12Cd"));
    EXPECT_TRUE(fs::exists(recent));
    const auto log = readFileIfPresent(support / "Dorvane.log").value_or("");
    EXPECT_NE(log.find(" leftovers_removed settings_files=1 worker_folders=1\n"), std::string::npos) << log;
    program->signal(SIGTERM);
    EXPECT_EQ(program->waitForExit(60), 0);
}

TEST_F(ApplicationCliTest, QtComesWithTheApplicationLibraryBesideTheExecutable) {
    start();
    ASSERT_TRUE(ready()) << program->err();
    const auto files = testing::mappedFiles(program->pid());
    EXPECT_TRUE(files.contains(fs::canonical(CORVELLE_APPLICATION_LIBRARY).string()));
    const auto qt = testing::qtLibraries(files);
    EXPECT_TRUE(std::any_of(qt.begin(), qt.end(),
                            [](const std::string& file) { return file.find("libQt6Widgets") != std::string::npos; }));
    program->signal(SIGTERM);
    EXPECT_EQ(program->waitForExit(60), 0);
}

TEST_F(ApplicationCliTest, WithoutItsLibraryTheApplicationSaysSoInOneLine) {
    // The executable alone, as a broken installation would leave it.
    const fs::path folder = root / "bin";
    const fs::path copy = folder / "corvelle";
    const fs::path library = folder / fs::path(CORVELLE_APPLICATION_LIBRARY).filename();
    fs::create_directories(folder);
    fs::copy_file(CORVELLE_EXECUTABLE, copy);
    const auto run = [&](const std::vector<std::string>& arguments) {
        return testing::runCommand(copy.string(), arguments, setVariables(), root);
    };
    const auto expectOneLine = [&](const testing::CommandRun& refused) {
        EXPECT_EQ(refused.status, 1);
        EXPECT_EQ(refused.out, "");
        EXPECT_TRUE(refused.err.starts_with("无法加载 Corvelle 应用程序库：" + library.string())) << refused.err;
        EXPECT_EQ(std::count(refused.err.begin(), refused.err.end(), '\n'), 1) << refused.err;
        EXPECT_TRUE(refused.err.ends_with("\n")) << refused.err;
    };

    expectOneLine(run({}));
    // The modes never need it.
    const auto snapshot = run({"--worker", "snapshot"});
    EXPECT_EQ(snapshot.status, 0) << snapshot.err;
    EXPECT_TRUE(snapshot.out.starts_with("[{")) << snapshot.out;

    writeFileAtomically(library, "not a library\n");
    expectOneLine(run({}));
    expectNoStatusItem();
}

TEST_F(ApplicationCliTest, ASupportFolderThatCannotBeMadeIsAnError) {
    fs::create_directories(root / "home" / "Library");
    writeFileAtomically(root / "home" / "Library" / "Application Support", "not a folder");
    const auto run = corvelle({});
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(run.err.empty());
    expectNoStatusItem();
}

TEST_F(ApplicationCliTest, ApplicationsBroughtForwardAreTheLaunchersRecentOnes) {
    start();
    ASSERT_TRUE(ready()) << program->err();
    ASSERT_EQ(host({"app", "install", "Foo", "--id", "com.example.foo"}).status, 0);
    ASSERT_EQ(host({"app", "launch", "com.example.foo"}).status, 0);
    const auto recent = support / "app-recent.json";
    auto first = [&] {
        const auto text = readFileIfPresent(recent);
        const auto list = text ? json::parse(*text) : json::Json::array();
        return list.empty() ? json::Json() : list.front();
    };
    EXPECT_TRUE(testing::eventually([&] { return first() == "com.example.foo"; })) << program->err();
    // An application without an identifier is known by its bundle's path, written as the file always has it.
    ASSERT_EQ(host({"app", "install", "B"}).status, 0);
    ASSERT_EQ(host({"app", "launch", "/Applications/B.app"}).status, 0);
    EXPECT_TRUE(testing::eventually([&] { return first() == "/Applications/B.app"; }));
    EXPECT_EQ(readFileIfPresent(recent), R"(["\/Applications\/B.app","com.example.foo"])");
}

}  // namespace
}  // namespace dorvane
