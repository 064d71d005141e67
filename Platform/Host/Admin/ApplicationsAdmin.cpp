#include "Platform/Host/Admin/ApplicationsAdmin.h"

#include <algorithm>
#include <charconv>

#include "DorvaneCore/Support/AtomicFile.h"
#include "Platform/Host/Services/ApplicationLocation.h"
#include "Platform/Host/Machines/BundleLaunch.h"
#include "Platform/Host/State/HostError.h"
#include "Platform/Host/Machines/RemoteApplications.h"
#include "Platform/Host/Machines/WindowMachine.h"

namespace dorvane::host {

namespace fs = std::filesystem;

namespace {

bool isPlainName(std::string_view name) {
    return !name.empty() && name.find('/') == std::string_view::npos && !name.starts_with('.');
}

std::string placeFolder(const ApplicationFolders& folders, InstallPlace place) {
    switch (place) {
        case InstallPlace::home:
            if (folders.home.empty()) throw HostError("there is no home folder to install in");
            return folders.homeApplications();
        case InstallPlace::applications: return std::string(kSystemApplications);
        case InstallPlace::system: return std::string(kSystemOwnApplications);
    }
    return {};
}

// "Utilities" or "Tools/Audio": plain names only, none of them a bundle.
void checkSubFolder(std::string_view folder) {
    std::size_t start = 0;
    while (start <= folder.size()) {
        const auto slash = folder.find('/', start);
        const auto part = folder.substr(start, slash == std::string_view::npos ? std::string_view::npos : slash - start);
        if (!isPlainName(part) || isBundleName(part)) {
            throw HostError("a sub-folder is a relative path of plain names, not \"" + std::string(folder) + "\"");
        }
        if (slash == std::string_view::npos) break;
        start = slash + 1;
    }
}

json::Json details(std::string_view key, const std::string& value) {
    json::Json object = json::Json::object();
    object[std::string(key)] = value;
    return object;
}

std::optional<pid_t> processNumber(const std::string& text) {
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), pid);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return pid;
}

}  // namespace

std::string ApplicationsAdmin::install(const BundleInstall& bundle) {
    if (!isPlainName(bundle.name)) throw HostError("an application's name is a plain file name, not \"" + bundle.name + "\"");
    if (bundle.identifier && bundle.identifier->empty()) throw HostError("a bundle identifier must not be empty");
    std::string path = placeFolder(folders_, bundle.place);
    if (!bundle.folder.empty()) {
        checkSubFolder(bundle.folder);
        path += "/" + bundle.folder;
    }
    path += "/" + bundle.name + ".app";
    const auto disk = folders_.onDisk(path);
    if (!disk) throw HostError("this host has no folder for " + path);
    std::error_code error;
    if (fs::exists(*disk, error)) throw HostError(path + " is already installed");

    json::Json info = json::Json::object();
    if (bundle.identifier) info[bundle_key::identifier] = *bundle.identifier;
    info[bundle_key::name] = bundle.name;
    info[bundle_key::executable] = bundle.name;
    if (bundle.backgroundOnly) info[bundle_key::backgroundOnly] = true;
    if (bundle.agent) info[bundle_key::agent] = true;
    try {
        fs::create_directories(*disk / "Contents" / "MacOS");
        writeFileAtomically(*disk / kBundleInfoFile, json::serializePretty(info) + "\n");
        if (bundle.displayName) {
            json::Json localized = json::Json::object();
            localized[bundle_key::displayName] = *bundle.displayName;
            const auto file = *disk / kBundleLocalizedInfoFile;
            fs::create_directories(file.parent_path());
            writeFileAtomically(file, json::serializePretty(localized) + "\n");
        }
    } catch (const std::exception& failure) {
        throw HostError("cannot install " + path + ": " + failure.what());
    }
    session_->access([&](HostData& data) { data.record(session_->actor(), "applicationInstall", details("path", path)); });
    return path;
}

void ApplicationsAdmin::remove(const std::string& given) {
    const std::string path = standardizedPath(given);
    const auto inFolder = [&](const std::string& folder) { return path.starts_with(folder + "/"); };
    const auto folders = folders_.searchFolders();
    const auto disk = folders_.onDisk(path);
    std::error_code error;
    if (!isBundleName(path) || std::none_of(folders.begin(), folders.end(), inFolder) || !disk ||
        !fs::is_directory(*disk, error)) {
        throw HostError("no application bundle " + path + " in the application folders "
                        "(\"corvelle-host app list\" shows them)");
    }
    fs::remove_all(*disk, error);
    if (error) throw HostError("cannot remove " + path + ": " + error.message());
    session_->access([&](HostData& data) { data.record(session_->actor(), "applicationRemove", details("path", path)); });
}

std::vector<InstalledBundle> ApplicationsAdmin::list() {
    std::vector<InstalledBundle> bundles;
    for (const auto& folder : folders_.searchFolders()) {
        for (const auto& path : bundlesInFolder(folders_, folder)) {
            if (auto contents = readBundleContents(folders_, path)) bundles.push_back({std::move(*contents), {}, {}});
        }
    }
    session_->access([&](HostData& data) {
        for (auto& bundle : bundles) {
            bundle.behaviour = data.launching().of(bundle.contents.bundle.path);
            for (const auto& application : data.workspace().applications) {
                if (application.bundlePath && standardizedPath(*application.bundlePath) == bundle.contents.bundle.path) {
                    bundle.running.push_back(application.pid);
                }
            }
        }
    });
    return bundles;
}

std::string ApplicationsAdmin::resolve(const std::string& pathOrIdentifier) {
    if (pathOrIdentifier.starts_with('/')) return standardizedPath(pathOrIdentifier);
    if (auto location = applicationLocation(*session_, folders_, pathOrIdentifier)) return std::move(*location);
    throw HostError("no installed or running application has the identifier \"" + pathOrIdentifier +
                    "\" (\"corvelle-host app list\" shows them)");
}

workspace::OpenApplicationResult ApplicationsAdmin::open(const std::string& path) {
    workspace::OpenApplicationResult result;
    session_->access([&](HostData& data) { result = openBundle(data, session_->actor(), folders_, path, true); });
    return result;
}

std::vector<pid_t> ApplicationsAdmin::quit(const std::string& pidOrIdentifier) {
    const auto number = processNumber(pidOrIdentifier);
    std::vector<pid_t> quit;
    session_->access([&](HostData& data) {
        for (const auto& application : data.workspace().applications) {
            if (number ? application.pid == *number : application.bundleID == pidOrIdentifier) {
                quit.push_back(application.pid);
            }
        }
        for (const auto pid : quit) quitApplication(data, session_->actor(), pid);
    });
    if (quit.empty()) {
        throw HostError("no running application " + std::string(number ? "with process " : "with the identifier ") +
                        pidOrIdentifier);
    }
    return quit;
}

void ApplicationsAdmin::behave(const std::string& path, const std::function<void(LaunchBehaviour&)>& change) {
    const std::string bundle = standardizedPath(path);
    session_->access([&](HostData& data) {
        auto behaviour = data.launching().of(bundle);
        change(behaviour);
        if (behaviour == LaunchBehaviour{}) {
            data.launching().bundles.erase(bundle);
        } else {
            data.launching().bundles[bundle] = behaviour;
        }
        json::Json entry = behaviour.toJson();
        entry["path"] = bundle;
        data.record(session_->actor(), "applicationBehave", entry);
    });
}

void ApplicationsAdmin::reset() {
    if (folders_.hostFolder.empty()) return;
    std::error_code error;
    for (const auto* folder : {"Applications", "System"}) {
        fs::remove_all(folders_.hostFolder / folder, error);
        if (error) throw HostError("cannot clear " + (folders_.hostFolder / folder).string() + ": " + error.message());
    }
    for (const auto software : allCases<RemoteSoftware>()) {
        const auto& remote = remoteBundle(software);
        BundleInstall bundle;
        bundle.name = fileStem(remote.bundlePath);
        bundle.identifier = remote.bundleID;
        bundle.displayName = std::string(title(software));
        install(bundle);
    }
}

}  // namespace dorvane::host
