#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace dorvane::system {

enum class LoginItemStatus { notRegistered, enabled };

// The program's own start-at-login registration.
class LoginItems {
public:
    virtual ~LoginItems() = default;
    virtual LoginItemStatus status() = 0;
};

// The XDG autostart entry "corvelle.desktop" in ${XDG_CONFIG_HOME:-$HOME/.config}/autostart:
// enabled while it exists and is not marked hidden.
class XdgAutostartLoginItems final : public LoginItems {
public:
    static constexpr const char* fileName = "corvelle.desktop";
    // The variable that the entry's Exec line sets, so a start at login can be told.
    static constexpr const char* launchedVariable = "CORVELLE_LAUNCHED_AS_LOGIN_ITEM";

    explicit XdgAutostartLoginItems(std::filesystem::path entry) : entry_(std::move(entry)) {}

    // The entry's path for these variables (absent = unset; empty counts as unset).
    static std::filesystem::path entryPath(const std::optional<std::string>& xdgConfigHome,
                                           const std::optional<std::string>& home);
    static XdgAutostartLoginItems fromEnvironment();

    LoginItemStatus status() override;

private:
    std::filesystem::path entry_;
};

}  // namespace dorvane::system
