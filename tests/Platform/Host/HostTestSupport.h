#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Platform/Host/State/HostError.h"
#include "Platform/Host/Store/MemoryHostStore.h"
#include "Platform/Host/SimulatedHost.h"
#include "Platform/Dispatch/SimulatedScheduler.h"

namespace dorvane::host {

// An in-memory host in virtual time, seen by the application and by a commit worker.
class MemoryHostTest : public ::testing::Test {
protected:
    void open(HostFixture fixture) {
        store = std::make_shared<MemoryHostStore>(makeFixture(fixture));
        app = std::make_unique<SimulatedHost>(store, processes::ProcessRole::application, scheduler, &scheduler.mainQueue());
        worker = std::make_unique<SimulatedHost>(store, processes::ProcessRole::workerCommit, scheduler);
    }

    void SetUp() override { open(HostFixture::laptopExternal); }

    HostState state() { return app->admin().state(); }

    const DisplayRecord& named(const HostState& state, const std::string& name) {
        for (const auto& display : state.displays) {
            if (display.name == name) return display;
        }
        throw std::runtime_error("no display " + name);
    }

    // Summaries of the log entries with these actions, in order.
    std::vector<std::string> logged(const std::vector<std::string>& actions) {
        std::vector<std::string> lines;
        for (const auto& entry : store->actionLog()) {
            if (std::find(actions.begin(), actions.end(), entry.action) != actions.end()) {
                lines.push_back(entry.summary());
            }
        }
        return lines;
    }

    displays::VirtualDisplayDescriptor descriptor(std::uint32_t width, std::uint32_t height) {
        displays::VirtualDisplayDescriptor result;
        result.name = "Corvelle Virtual Display";
        result.maxPixelsWide = width * 2;
        result.maxPixelsHigh = height * 2;
        result.sizeInMillimeters = {width * 25.4 / 110, height * 25.4 / 110};
        result.whitePoint = {0.3127, 0.329};
        result.vendorID = 17494;
        result.productID = 1;
        result.serialNum = 77;
        result.serialNumber = 77;
        return result;
    }

    // A HiDPI virtual display of the application, online unless the host delays it.
    std::unique_ptr<displays::VirtualDisplay> createVirtual(std::uint32_t width, std::uint32_t height) {
        auto display = app->virtualDisplays().create(descriptor(width, height));
        if (display == nullptr) return nullptr;
        if (!display->applySettings({1, {{width, height, 60.0}}})) return nullptr;
        return display;
    }

    dispatch::SimulatedScheduler scheduler{100.0};
    std::shared_ptr<MemoryHostStore> store;
    std::unique_ptr<SimulatedHost> app;
    std::unique_ptr<SimulatedHost> worker;
};

}  // namespace dorvane::host
