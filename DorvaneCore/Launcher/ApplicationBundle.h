#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace dorvane {

// What an application scan reads of one bundle it could open. The reader fills it
// from the bundle's information file, a localized value preferred, and leaves out
// every value of the wrong type.
struct ApplicationBundle {
    std::string path;                             // platform form, standardized
    std::optional<std::string> bundleIdentifier;  // "CFBundleIdentifier"
    std::optional<std::string> displayName;       // "CFBundleDisplayName"
    std::optional<std::string> bundleName;        // "CFBundleName"
    bool backgroundOnly = false;                  // "LSBackgroundOnly" is the boolean true

    // The bundle identifier, else the path. An empty identifier counts as none: it
    // could not key the recent list or a section.
    std::string applicationIdentifier() const;

    // The display name, else the bundle name, else the bundle's file name without its
    // extension ("/Applications/B.app" is "B"). An empty name is kept as it is.
    std::string name() const;

    friend bool operator==(const ApplicationBundle&, const ApplicationBundle&) = default;
};

// The bundle identifier of this program, which lists and records never show.
inline constexpr std::string_view ownBundleIdentifier = "local.Dorvane";

// The last component of a path without its extension: "/Applications/B.app" is "B".
std::string fileStem(std::string_view path);

// A platform path with "." and ".." resolved and repeated or trailing "/" removed.
std::string standardizedPath(std::string_view path);

}  // namespace dorvane
