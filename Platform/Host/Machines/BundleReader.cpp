#include "Platform/Host/Machines/BundleReader.h"

#include <algorithm>
#include <filesystem>

#include "DorvaneCore/Support/AtomicFile.h"
#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane::host {

namespace fs = std::filesystem;

namespace {

// A dictionary file; anything that is not a readable JSON object is an empty one.
json::Json readDictionary(const fs::path& file) {
    try {
        const auto text = readFileIfPresent(file);
        if (!text) return json::Json::object();
        auto value = json::parse(*text);
        if (value.is_object()) return value;
    } catch (const std::exception&) {
    }
    return json::Json::object();
}

std::optional<std::string> textAt(const json::Json& dictionary, const char* key) {
    const auto found = dictionary.find(key);
    if (found == dictionary.end() || !found->is_string()) return std::nullopt;
    return found->get<std::string>();
}

bool isTrue(const json::Json& dictionary, const char* key) {
    const auto found = dictionary.find(key);
    return found != dictionary.end() && found->is_boolean() && found->get<bool>();
}

// A key's value as the bundle presents it: the localized one when the localized file
// has the key, whatever its type, else the information file's.
std::optional<std::string> presentedText(const json::Json& info, const json::Json& localized, const char* key) {
    return localized.contains(key) ? textAt(localized, key) : textAt(info, key);
}

void walk(const fs::path& disk, const std::string& folder, std::vector<std::string>& found) {
    std::error_code error;
    std::vector<std::pair<std::string, bool>> children;  // name, a folder to walk into
    for (fs::directory_iterator entry(disk, error), end; !error && entry != end; entry.increment(error)) {
        std::error_code statusError;
        const auto status = entry->symlink_status(statusError);
        children.emplace_back(entry->path().filename().string(), !statusError && fs::is_directory(status));
    }
    if (error) return;
    std::sort(children.begin(), children.end());
    for (const auto& [name, isFolder] : children) {
        if (name.starts_with('.')) continue;
        const std::string path = folder + "/" + name;
        if (isBundleName(name)) {
            found.push_back(path);
        } else if (isFolder) {
            walk(disk / name, path, found);
        }
    }
}

}  // namespace

std::string BundleContents::executablePath() const {
    return bundle.path + "/Contents/MacOS/" + executable.value_or(fileStem(bundle.path));
}

bool isBundleName(std::string_view name) {
    if (name.size() < 4) return false;
    const auto extension = name.substr(name.size() - 4);
    constexpr std::string_view suffix = ".app";
    return std::equal(extension.begin(), extension.end(), suffix.begin(), suffix.end(),
                      [](char a, char b) { return (a >= 'A' && a <= 'Z' ? char(a - 'A' + 'a') : a) == b; });
}

std::optional<BundleContents> readBundleContents(const ApplicationFolders& folders, std::string_view path) {
    const auto disk = folders.onDisk(path);
    std::error_code error;
    if (!disk || !fs::is_directory(*disk, error)) return std::nullopt;
    const auto info = readDictionary(*disk / kBundleInfoFile);
    const auto localized = readDictionary(*disk / kBundleLocalizedInfoFile);
    BundleContents contents;
    contents.bundle.path = standardizedPath(path);
    contents.bundle.bundleIdentifier = textAt(info, bundle_key::identifier);
    contents.bundle.displayName = presentedText(info, localized, bundle_key::displayName);
    contents.bundle.bundleName = presentedText(info, localized, bundle_key::name);
    contents.bundle.backgroundOnly = isTrue(info, bundle_key::backgroundOnly);
    contents.executable = textAt(info, bundle_key::executable);
    contents.agent = isTrue(info, bundle_key::agent);
    return contents;
}

std::vector<std::string> bundlesInFolder(const ApplicationFolders& folders, const std::string& folder) {
    std::vector<std::string> found;
    if (const auto disk = folders.onDisk(folder)) walk(*disk, standardizedPath(folder), found);
    return found;
}

}  // namespace dorvane::host
