#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DorvaneCore/Launcher/ApplicationBundle.h"
#include "Platform/Host/Machines/ApplicationFolders.h"

namespace dorvane::host {

// The files of a bundle, relative to its folder.
inline constexpr std::string_view kBundleInfoFile = "Contents/Info.json";
inline constexpr std::string_view kBundleLocalizedInfoFile = "Contents/Resources/zh-Hans.lproj/InfoPlist.json";
inline constexpr std::string_view kBundleIconFile = "Contents/Resources/AppIcon.png";

// The keys of the information file that the machine reads.
namespace bundle_key {
inline constexpr const char* identifier = "CFBundleIdentifier";
inline constexpr const char* name = "CFBundleName";
inline constexpr const char* displayName = "CFBundleDisplayName";
inline constexpr const char* executable = "CFBundleExecutable";
inline constexpr const char* backgroundOnly = "LSBackgroundOnly";
inline constexpr const char* agent = "LSUIElement";
}  // namespace bundle_key

// One bundle as the machine reads it: what every reader sees, and what launching needs.
struct BundleContents {
    ApplicationBundle bundle;
    std::optional<std::string> executable;  // "CFBundleExecutable" when it is text
    bool agent = false;                     // "LSUIElement" is the boolean true

    // Where a launch starts the program: "Contents/MacOS/" and the executable, else the bundle's name.
    std::string executablePath() const;
};

// The bundle at a platform path, none only when that is not a directory. A missing or
// malformed information file reads as an empty one; a value in the localized file wins
// over the same key in the information file; a value of the wrong type is left out.
std::optional<BundleContents> readBundleContents(const ApplicationFolders& folders, std::string_view path);

// The ".app" items (any case) of `folder` and its sub-folders in platform form, depth
// first in name order; dot names skipped, never looking inside an ".app", never following
// a link to a folder. Empty when the folder cannot be read.
std::vector<std::string> bundlesInFolder(const ApplicationFolders& folders, const std::string& folder);

// Whether a file name ends in ".app", in any case.
bool isBundleName(std::string_view name);

}  // namespace dorvane::host
