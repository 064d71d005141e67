#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace dorvane::system {

enum class LoginItemStatus { notRegistered, enabled };

// The program's own start-at-login registration.
class LoginItems {
public:
    virtual ~LoginItems() = default;
    virtual LoginItemStatus status() = 0;
    // Both throw FitError with the reason when the registration cannot be changed.
    virtual void registerItem() = 0;
    virtual void unregisterItem() = 0;
};

// The XDG autostart entry "corvelle.desktop" in ${XDG_CONFIG_HOME:-$HOME/.config}/autostart.
// Registering writes an entry that starts `executable` with the login marker set;
// unregistering removes it. Only an entry that would start this very executable at login
// counts as enabled: one left by an older build elsewhere, hidden or switched off is not,
// so turning the switch on rewrites it.
class XdgAutostartLoginItems final : public LoginItems {
public:
    static constexpr const char* fileName = "corvelle.desktop";
    // The variable that the entry's Exec line sets, so a start at login can be told.
    static constexpr const char* launchedVariable = "CORVELLE_LAUNCHED_AS_LOGIN_ITEM";

    XdgAutostartLoginItems(std::filesystem::path autostartFolder, std::filesystem::path executable)
        : folder_(std::move(autostartFolder)), executable_(std::move(executable)) {}

    // The autostart folder for these variables (absent = unset). An empty or relative
    // XDG_CONFIG_HOME is ignored, as the base-directory rules ask.
    static std::filesystem::path autostartFolder(const std::optional<std::string>& xdgConfigHome,
                                                 const std::optional<std::string>& home);
    static XdgAutostartLoginItems fromEnvironment(std::filesystem::path executable);

    std::filesystem::path entryPath() const { return folder_ / fileName; }
    // The whole entry written for `executable`.
    static std::string entryText(const std::filesystem::path& executable);
    // One argument of an Exec line, quoted and escaped for the entry file.
    static std::string quotedExecArgument(const std::string& argument);
    // The arguments of an Exec value as the entry file holds it; none when it is malformed.
    static std::optional<std::vector<std::string>> execArguments(const std::string& value);

    LoginItemStatus status() override;
    void registerItem() override;
    void unregisterItem() override;

private:
    bool startsThisExecutable(const std::string& execValue) const;

    std::filesystem::path folder_;
    std::filesystem::path executable_;
};

}  // namespace dorvane::system
