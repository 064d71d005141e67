#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DorvaneCore/Support/EnumCases.h"
#include "Platform/Host/Machines/ApplicationFolders.h"
#include "Platform/Host/Machines/BundleReader.h"
#include "Platform/Host/Session/HostSession.h"
#include "Platform/Host/State/LaunchBehaviours.h"
#include "Platform/Workspace/InstalledApplications.h"

namespace dorvane::host {

// The application folders a bundle can be installed in.
enum class InstallPlace { home, applications, system };

// A bundle to install.
struct BundleInstall {
    std::string name;                        // the folder is "<name>.app"; also its name and executable
    std::optional<std::string> identifier;   // none: a bundle without one
    std::optional<std::string> displayName;  // in the localized information file
    bool backgroundOnly = false;
    bool agent = false;
    InstallPlace place = InstallPlace::applications;
    std::string folder;                      // a sub-folder of the place ("Utilities"), or none
};

// One installed bundle as "app list" shows it.
struct InstalledBundle {
    BundleContents contents;
    std::vector<pid_t> running;  // the applications of this bundle that run
    LaunchBehaviour behaviour;
};

// Installs, removes, opens and quits the simulated machine's applications from outside
// the program, as a person at the machine would; for the host tool and tests. Every
// change is logged under the session's role. Throws HostError for what cannot be done.
class ApplicationsAdmin {
public:
    ApplicationsAdmin(std::shared_ptr<HostSession> session, ApplicationFolders folders)
        : session_(std::move(session)), folders_(std::move(folders)) {}

    // Writes the bundle; answers its path.
    std::string install(const BundleInstall& bundle);
    // Deletes an ".app" folder that lies in one of the application folders.
    void remove(const std::string& path);
    // Every bundle of the application folders, in scan order.
    std::vector<InstalledBundle> list();

    // The bundle a path or a bundle identifier names: a path as it is; an identifier, the
    // first bundle of the folders that has it, else the bundle of a running application.
    std::string resolve(const std::string& pathOrIdentifier);
    // Opens the bundle at once, as the user does from the file manager.
    workspace::OpenApplicationResult open(const std::string& path);
    // Quits the running applications a process id or a bundle identifier names; answers their pids.
    std::vector<pid_t> quit(const std::string& pidOrIdentifier);
    // Changes how opening the bundle behaves.
    void behave(const std::string& path, const std::function<void(LaunchBehaviour&)>& change);

    // The host's own application folders start over, holding only the two
    // remote-desktop applications; the user's home folder is left alone.
    void reset();

private:
    std::shared_ptr<HostSession> session_;
    ApplicationFolders folders_;
};

}  // namespace dorvane::host

namespace dorvane {

template <>
struct EnumCases<host::InstallPlace> {
    static constexpr std::array<std::pair<host::InstallPlace, std::string_view>, 3> table{{
        {host::InstallPlace::home, "home"},
        {host::InstallPlace::applications, "applications"},
        {host::InstallPlace::system, "system"},
    }};
};

}  // namespace dorvane
