#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Platform/Accessibility/AXNames.h"
#include "Platform/Dispatch/SimulatedScheduler.h"
#include "Platform/Host/Store/MemoryHostStore.h"
#include "Platform/Host/SimulatedHost.h"

namespace dorvane::host {

// The laptop host in memory and in virtual time, seen by the program (with a main
// queue) and by a person at the machine (the tool), with Accessibility granted.
class WindowHostTest : public ::testing::Test {
protected:
    using AXError = accessibility::AXError;
    using AXElement = accessibility::AXElement;
    using AXValue = accessibility::AXValue;

    void SetUp() override { tool->permissionsAdmin().set(Permission::accessibility, true); }

    WindowsAdmin& admin() { return tool->windowsAdmin(); }
    accessibility::AccessibilityServices& ax() { return app->accessibility(); }

    pid_t launch(const std::string& name, double latency = 0) {
        ApplicationLaunch launch;
        launch.name = name;
        launch.bundleID = "local.test." + name;
        launch.accessibility.latency = latency;
        return admin().launch(launch);
    }

    std::uint32_t open(pid_t pid, geometry::Rect frame, std::string title = "文档") {
        WindowRecord window;
        window.pid = pid;
        window.frame = frame;
        window.title = std::move(title);
        return admin().open(window);
    }

    AXElement windowElement(pid_t pid, std::uint32_t number) {
        return AXElement(accessibility::AXElementIdentity{accessibility::AXElementIdentity::Kind::window, pid, number});
    }

    // An attribute that must read; the test fails otherwise.
    template <typename T>
    T read(const AXElement& element, std::string_view attribute) {
        AXValue value;
        const auto error = ax().copyAttributeValue(element, attribute, value);
        EXPECT_EQ(error, AXError::success) << attribute;
        const auto* typed = std::get_if<T>(&value);
        EXPECT_NE(typed, nullptr) << attribute;
        return typed ? *typed : T{};
    }

    geometry::Rect frame(const AXElement& window) {
        return geometry::Rect(read<geometry::Point>(window, accessibility::attribute::position),
                              read<geometry::Size>(window, accessibility::attribute::size));
    }

    json::Json list(std::uint32_t options, std::uint32_t relativeTo = 0) {
        return app->windowList().copyWindowList(options, relativeTo).value_or(json::Json("no list"));
    }

    // Numbers and layers of a window list, in its order.
    std::vector<std::pair<std::uint32_t, std::int32_t>> layers(const json::Json& entries) {
        std::vector<std::pair<std::uint32_t, std::int32_t>> result;
        for (const auto& entry : entries) result.emplace_back(entry["number"], entry["layer"]);
        return result;
    }

    // Summaries of the log lines with these actions, in order.
    std::vector<std::string> logged(const std::vector<std::string>& actions) {
        std::vector<std::string> lines;
        for (const auto& entry : store->actionLog()) {
            if (std::find(actions.begin(), actions.end(), entry.action) != actions.end()) lines.push_back(entry.summary());
        }
        return lines;
    }

    dispatch::SimulatedScheduler scheduler{100.0};
    std::shared_ptr<MemoryHostStore> store = std::make_shared<MemoryHostStore>(makeFixture(HostFixture::laptop));
    std::unique_ptr<SimulatedHost> app = std::make_unique<SimulatedHost>(store, processes::ProcessRole::application,
                                                                         scheduler, &scheduler.mainQueue());
    std::unique_ptr<SimulatedHost> tool =
        std::make_unique<SimulatedHost>(store, processes::ProcessRole::tool, scheduler);
};

}  // namespace dorvane::host
