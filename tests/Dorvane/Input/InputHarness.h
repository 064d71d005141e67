#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Dorvane/Input/InputServices.h"
#include "Dorvane/Input/PermissionGuidePanel.h"
#include "DorvaneCore/Input/KeyCombination.h"
#include "DorvaneCore/Shortcuts/ShortcutEventPlan.h"
#include "Platform/Host/State/EventJson.h"
#include "Platform/Host/Services/HostEvents.h"
#include "Platform/Host/Machines/WindowFixtures.h"
#include "tests/Platform/Host/WindowHostSupport.h"
#include "tests/Support/OperationLines.h"

namespace dorvane::testing {

// The keys of a combination pressed and released at the keyboard, into the host's whole stream.
inline void pressAtKeyboard(events::EventServices& stream, std::string_view combination) {
    const auto strokes = ShortcutEventPlan::strokes(parseKeyCombination(combination));
    for (const auto* list : {&strokes.press, &strokes.release}) {
        for (const auto& stroke : *list) {
            auto event = *stream.createKeyboardEvent(nullptr, stroke.code, stroke.down);
            if (stroke.modifier) event.type = events::EventType::flagsChanged;
            event.flags |= stroke.flags;
            stream.post(events::TapLocation::hid, event);
        }
    }
}

// A guide whose panel goes nowhere; it counts the panels it was asked for.
class CountingGuideUI final : public PermissionGuideUI {
public:
    class Panel final : public PermissionGuidePanel {
    public:
        void setFrame(const geometry::Rect&) override {}
        void orderFrontRegardless() override {}
        void orderOut() override {}
        bool ignoresMouseEvents() const override { return false; }
    };
    std::unique_ptr<PermissionGuidePanel> makePanel(std::function<void()>, std::function<void()>) override {
        ++panels;
        return std::make_unique<Panel>();
    }
    void activateProgram() override {}
    int panels = 0;
};

// The desk of the simulated host in memory and in virtual time: the program (its event
// stream on its main queue) and a person at the machine (the tool), Accessibility granted,
// and the operations log the program writes.
class InputHarness : public host::WindowHostTest, public OperationLines {
protected:
    using OperationLines::logged;
    using WindowHostTest::logged;

    void SetUp() override {
        WindowHostTest::SetUp();
        tool->windowsAdmin().reset(host::WindowsFixture::desk);
        for (const auto& application : tool->windowsAdmin().view().applications) pids[application.name] = application.pid;
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

    // The host refuses the next tap asked for.
    void refuseNextTap() {
        host::FaultRule rule;
        rule.call = host::HostCall::tapCreate;
        rule.action = host::FaultAction::nothing;
        rule.times = 1;
        tool->admin().addFault(rule);
    }

    std::size_t beeps() const {
        std::size_t count = 0;
        for (const auto& entry : store->actionLog()) count += entry.action == "beep" ? 1 : 0;
        return count;
    }

    std::map<std::string, pid_t> pids;
};

}  // namespace dorvane::testing
