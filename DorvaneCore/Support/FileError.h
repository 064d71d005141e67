#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace dorvane {

// A file that could not be read, written or moved aside: the system's error code, the
// file and what was being done to it, so that a person can be told which of their files
// failed and why in their own words. what() stays the developer's text
// ("open /…/preferences.json: Permission denied").
class FileError : public std::system_error {
public:
    enum class Action { read, write, moveAside };

    FileError(std::error_code code, Action action, std::filesystem::path path, const std::string& what)
        : std::system_error(code, what), action_(action), path_(std::move(path)) {}
    FileError(int errnoCode, Action action, std::filesystem::path path, const std::string& what)
        : FileError(std::error_code(errnoCode, std::generic_category()), action, std::move(path), what) {}

    Action action() const { return action_; }
    const std::filesystem::path& path() const { return path_; }

private:
    Action action_;
    std::filesystem::path path_;
};

}  // namespace dorvane
