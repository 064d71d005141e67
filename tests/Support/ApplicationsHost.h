#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "DorvaneCore/Support/AtomicFile.h"
#include "Platform/Dispatch/SimulatedScheduler.h"
#include "Platform/Host/Store/MemoryHostStore.h"
#include "Platform/Host/SimulatedHost.h"
#include "tests/Support/TemporaryFolder.h"

namespace dorvane::testing {

// A machine in memory and in virtual time whose application folders are a temporary
// folder ("~" is <folder>/home, the host folder <folder>/host), seen by the program and
// by a person at the machine.
struct ApplicationsHost {
    TemporaryFolder folder{"corvelle-apps"};
    dispatch::SimulatedScheduler scheduler;
    dispatch::Executor& launchQueue = scheduler.makeSerialQueue("launch");
    std::shared_ptr<host::MemoryHostStore> store = std::make_shared<host::MemoryHostStore>();
    host::ApplicationFolders folders{folder.path() / "home", folder.path() / "host"};
    host::SimulatedHost app{store, processes::ProcessRole::application, scheduler, &scheduler.mainQueue(), nullptr,
                            host::ApplicationsSetup{folders, &launchQueue}};
    host::SimulatedHost tool{store, processes::ProcessRole::tool, scheduler, nullptr, nullptr,
                             host::ApplicationsSetup{folders}};

    host::ApplicationsAdmin& admin() { return tool.applicationsAdmin(); }

    std::string install(const std::string& name, std::optional<std::string> identifier = std::nullopt,
                        host::InstallPlace place = host::InstallPlace::applications, const std::string& subFolder = "") {
        host::BundleInstall bundle;
        bundle.name = name;
        bundle.identifier = std::move(identifier);
        bundle.place = place;
        bundle.folder = subFolder;
        return admin().install(bundle);
    }

    // Writes a file of a bundle by hand (`path` in platform form).
    void write(const std::string& path, std::string_view relative, const std::string& text) {
        const auto file = *folders.onDisk(path) / relative;
        std::filesystem::create_directories(file.parent_path());
        writeFileAtomically(file, text);
    }
};

}  // namespace dorvane::testing
