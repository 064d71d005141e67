#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Dorvane/Input/InputServices.h"
#include "Platform/Host/EventJson.h"
#include "Platform/Host/HostEvents.h"
#include "Platform/Host/WindowFixtures.h"
#include "tests/Platform/Host/WindowHostSupport.h"

namespace dorvane::testing {

// The desk of the simulated host in memory and in virtual time: the program (its event
// stream on its main queue) and a person at the machine (the tool), Accessibility granted,
// and the operations log the program writes.
class InputHarness : public host::WindowHostTest {
protected:
    void SetUp() override {
        WindowHostTest::SetUp();
        tool->windowsAdmin().reset(host::WindowsFixture::desk);
        for (const auto& application : tool->windowsAdmin().view().applications) pids[application.name] = application.pid;
    }

    OperationLog logTo() {
        return [this](std::string_view line) { log.emplace_back(line); };
    }

    std::vector<std::string> logged(std::string_view prefix) const {
        std::vector<std::string> lines;
        for (const auto& line : log) {
            if (line.starts_with(prefix)) lines.push_back(line);
        }
        return lines;
    }

    // The keyboard events delivered to `pid`, as "keyDown(40, 0x12000a)"; modifier changes
    // end in ↓ or ↑.
    std::vector<std::string> keysTo(pid_t pid) const {
        std::vector<std::string> keys;
        for (const auto& record : app->hostEvents().delivered()) {
            const auto& event = record.event;
            if (record.receiver != pid || !events::isKeyboardType(event.type)) continue;
            std::string text = std::string(rawValue(event.type)) + "(" + std::to_string(event.keyCode()) + ", " +
                               host::flagsText(event.flags) + ")";
            if (event.type == events::EventType::flagsChanged) text += events::isModifierPress(event) ? "↓" : "↑";
            keys.push_back(text);
        }
        return keys;
    }

    std::size_t beeps() const {
        std::size_t count = 0;
        for (const auto& entry : store->actionLog()) count += entry.action == "beep" ? 1 : 0;
        return count;
    }

    std::map<std::string, pid_t> pids;
    std::vector<std::string> log;
};

}  // namespace dorvane::testing
