#include <filesystem>
#include <functional>

#include <unistd.h>

#include "DorvaneCore/Support/AtomicFile.h"
#include "Platform/Dispatch/SystemClock.h"
#include "Platform/Host/Store/FolderHostStore.h"
#include "Platform/Host/State/HostError.h"
#include "Platform/Host/Store/HostFolder.h"
#include "tests/Platform/Host/WindowHostSupport.h"

namespace dorvane::host {
namespace {

WindowsState sampleWindows() {
    WindowsState state;
    WindowApplication application;
    application.pid = 4194304;
    application.enhancedUserInterface = false;
    application.latency = 0.25;
    application.focusedWindow = 1;
    state.applications.push_back(application);
    WindowRecord window;
    window.number = 1;
    window.pid = 4194304;
    window.title = "笔记";
    window.frame = {10, 20, 300, 200};
    window.minSize = geometry::Size{100, 80};
    window.behaviours.zoom = ZoomMode::shortBy;
    window.behaviours.zoomShortBy = 40;
    window.changes.push_back(TimedChange{12.5, TimedChange::Kind::size, {0, 0, 500, 400}, false, true});
    state.windows.push_back(window);
    state.nextNumber = 2;
    state.journal.push_back(JournalEntry{1, 12.0, JournalEvent::mouseDown, 4194304, 1, "", {15, 25}, 4194400, 7});
    state.nextSeq = 2;
    return state;
}

TEST(WindowsStateTest, TheFileReadsBackAndRefusesWhatCannotBe) {
    const auto state = sampleWindows();
    EXPECT_EQ(WindowsState::fromJson(json::parse(json::serialize(state.toJson()))), state);

    struct Broken {
        const char* what;
        std::function<void(json::Json&)> change;
    };
    const std::vector<Broken> cases = {
        {"a window numbered beyond nextNumber", [](auto& j) { j["nextNumber"] = 1; }},
        {"two windows of one number", [](auto& j) { j["windows"].push_back(j["windows"][0]); j["nextNumber"] = 5; }},
        {"two entries for one process", [](auto& j) { j["applications"].push_back(j["applications"][0]); }},
        {"a journal entry beyond nextSeq", [](auto& j) { j["nextSeq"] = 1; }},
        {"a negative latency", [](auto& j) { j["applications"][0]["latency"] = -1; }},
        {"an unknown zoom mode", [](auto& j) { j["windows"][0]["behaviours"]["zoom"] = "spin"; }},
        {"a frame that is not a number", [](auto& j) { j["windows"][0]["frame"]["x"] = "left"; }},
        {"another format", [](auto& j) { j["format"] = 2; }},
    };
    for (const auto& test : cases) {
        auto document = state.toJson();
        test.change(document);
        EXPECT_THROW(WindowsState::fromJson(document), json::DecodeError) << test.what;
    }
}

TEST(WindowsStateTest, FilesWrittenBeforeTheWindowsReadWithTheirDefaults) {
    const auto workspace = WorkspaceState::fromJson(json::parse(
        R"({"format":1,"generation":3,"wakes":0,"applications":[{"pid":7,"bundleID":"a","name":"A","bundlePath":null}]})"));
    ASSERT_EQ(workspace.applications.size(), 1u);
    EXPECT_EQ(workspace.applications[0].activationPolicy, workspace::ActivationPolicy::regular);
    EXPECT_FALSE(workspace.applications[0].hidden);
    EXPECT_EQ(workspace.frontmostPID, std::nullopt);

    FaultRule display;
    display.call = HostCall::configureOrigin;
    auto document = display.toJson();
    for (const auto* key : {"pid", "window", "name", "axCode", "value"}) document.erase(key);
    EXPECT_EQ(FaultRule::fromJson(document), display);
}

TEST(AccessibilityFaultRuleTest, RulesValidateAndDescribeThemselves) {
    FaultRule rule;
    rule.id = 1;
    rule.call = HostCall::axSetAttribute;
    rule.pid = 7;
    rule.window = 4;
    rule.name = "AXSize";
    rule.axCode = accessibility::AXError::cannotComplete;
    EXPECT_EQ(rule.describe(), "#1 axSetAttribute pid=7 window=4 name=AXSize fail -25204 (matched 0, applied 0)");
    EXPECT_EQ(FaultRule::fromJson(rule.toJson()), rule);

    struct Refused {
        const char* what;
        std::function<void(FaultRule&)> change;
    };
    const std::vector<Refused> cases = {
        {"a failure with success", [](auto& r) { r.axCode = accessibility::AXError::success; }},
        {"a value for a write", [](auto& r) { r.action = FaultAction::value; }},
        {"an empty name", [](auto& r) { r.name = ""; }},
        {"a display failure code on a call that answers none", [](auto& r) { r.call = HostCall::windowList; }},
    };
    for (const auto& test : cases) {
        auto refused = rule;
        test.change(refused);
        EXPECT_THROW(refused.validate(), HostError) << test.what;
    }
    rule.call = HostCall::windowList;
    rule.action = FaultAction::value;
    rule.valueKind = FaultValue::nan;
    EXPECT_NO_THROW(rule.validate());
    EXPECT_EQ(rule.describe(), "#1 windowList pid=7 window=4 name=AXSize value nan (matched 0, applied 0)");
}

// Reading through a host folder must leave every file as it was: no timed change, no
// journal, no counter is written back by a read that succeeds.
TEST(FolderWindowsTest, ReadsLeaveTheFilesUntouched) {
    std::string pattern = (std::filesystem::temp_directory_path() / "corvelle-windows-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const std::filesystem::path folder = pattern;
    dispatch::SystemClock clock;
    {
        auto tool = SimulatedHost::openFolder(folder, processes::ProcessRole::tool, clock);
        tool->permissionsAdmin().set(Permission::accessibility, true);
        tool->windowsAdmin().reset(WindowsFixture::desk);
        tool->windowsAdmin().behaveWindow(5, [](auto& w) { w.behaviours.lateBy = 30; });

        auto program = SimulatedHost::openFolder(folder, processes::ProcessRole::application, clock);
        const auto editor = program->applicationWorkspace().frontmostApplication()->pid;
        const accessibility::AXElement window({accessibility::AXElementIdentity::Kind::window, editor, 5});
        ASSERT_EQ(program->accessibility().setAttributeValue(window, accessibility::attribute::size,
                                                             accessibility::AXValue(geometry::Size{500, 400})),
                  accessibility::AXError::success);
        std::vector<std::optional<FileStamp>> before;
        for (const auto* file : {kWindowsFile, kFaultsFile, kWorkspaceFile, kDisplaysFile, kPermissionsFile}) {
            before.push_back(fileStamp(folder / file));
        }
        for (int round = 0; round < 20; ++round) {
            accessibility::AXValue value;
            EXPECT_EQ(program->accessibility().copyAttributeValue(window, accessibility::attribute::title, value),
                      accessibility::AXError::success);
            program->accessibility().copyAttributeValue(window, accessibility::attribute::size, value);
            EXPECT_EQ(std::get<geometry::Size>(value), (geometry::Size{900, 700}));  // still on its way
            EXPECT_TRUE(program->windowList().copyWindowList(accessibility::windowlist::onScreenOnly, 0));
            program->applicationWorkspace().frontmostApplication();
        }
        std::vector<std::optional<FileStamp>> after;
        for (const auto* file : {kWindowsFile, kFaultsFile, kWorkspaceFile, kDisplaysFile, kPermissionsFile}) {
            after.push_back(fileStamp(folder / file));
        }
        EXPECT_EQ(after, before);
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace dorvane::host
