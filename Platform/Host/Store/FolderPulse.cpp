#include "Platform/Host/Store/FolderPulse.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <system_error>

#include "Platform/Host/State/HostError.h"
#include "Platform/Host/Store/HostFiles.h"
#include "Platform/Host/Store/HostFolder.h"
#include "Platform/Host/State/HostPulse.h"
#include "Platform/Host/State/HostState.h"

namespace dorvane::host {

namespace {

// Reads the top-level "generation" of a service file and stops there: watchers look at
// every change, and a large file (thousands of windows) must not be parsed whole for it.
class GenerationReader final : public nlohmann::json_sax<nlohmann::json> {
public:
    std::optional<std::uint64_t> generation;

    bool null() override { return value(); }
    bool boolean(bool) override { return value(); }
    bool number_integer(number_integer_t number) override {
        if (depth_ == 1 && wanted_ && number >= 0) generation = static_cast<std::uint64_t>(number);
        return value();
    }
    bool number_unsigned(number_unsigned_t number) override {
        if (depth_ == 1 && wanted_) generation = number;
        return value();
    }
    bool number_float(number_float_t, const string_t&) override { return value(); }
    bool string(string_t&) override { return value(); }
    bool binary(binary_t&) override { return value(); }
    bool start_object(std::size_t) override { return enter(); }
    bool key(string_t& name) override {
        wanted_ = depth_ == 1 && name == "generation";
        return true;
    }
    bool end_object() override { return leave(); }
    bool start_array(std::size_t) override { return depth_ > 0 && enter(); }
    bool end_array() override { return leave(); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override { return false; }

private:
    // False stops the parse: the generation is known, or the file is not a service file.
    bool value() {
        wanted_ = false;
        return !generation;
    }
    bool enter() {
        wanted_ = false;
        return ++depth_ <= json::maxNestingDepth;
    }
    bool leave() {
        --depth_;
        return true;
    }

    std::size_t depth_ = 0;
    bool wanted_ = false;
};

std::optional<std::uint64_t> generationOf(std::string_view text) {
    GenerationReader reader;
    nlohmann::json::sax_parse(text, &reader, nlohmann::json::input_format_t::json, false);
    return reader.generation;
}

}  // namespace

std::optional<HostPulse> pulseOfStateText(std::string_view text) {
    try {
        const auto state = HostState::fromJson(json::parse(text));
        return HostPulse{state.generation, nextDue(state)};
    } catch (const json::DecodeError&) {
        return std::nullopt;
    }
}

HostPulse readFolderPulse(const std::filesystem::path& folder, const HostPulse& previous) {
    auto read = [&folder](const char* file) -> std::optional<std::string> {
        try {
            return readHostFile(folder / file);
        } catch (const HostError&) {
            return std::nullopt;
        }
    };
    auto generationIn = [&read](const char* file, std::uint64_t fallback) {
        const auto text = read(file);
        if (!text) return fallback;
        return generationOf(*text).value_or(fallback);
    };
    HostPulse pulse = previous;
    if (const auto text = read(kDisplaysFile)) {
        if (const auto displays = pulseOfStateText(*text)) {
            pulse.generation = displays->generation;
            pulse.nextDue = displays->nextDue;
        }
    }
    pulse.powerGeneration = generationIn(kPowerFile, previous.powerGeneration);
    pulse.workspaceGeneration = generationIn(kWorkspaceFile, previous.workspaceGeneration);
    pulse.statusBarGeneration = generationIn(kStatusBarFile, previous.statusBarGeneration);
    pulse.windowsGeneration = generationIn(kWindowsFile, previous.windowsGeneration);
    pulse.inputGeneration = generationIn(kInputFile, previous.inputGeneration);
    pulse.permissionsGeneration = generationIn(kPermissionsFile, previous.permissionsGeneration);
    pulse.appearanceGeneration = generationIn(kAppearanceFile, previous.appearanceGeneration);
    pulse.notificationGeneration = generationIn(kNotificationsFile, previous.notificationGeneration);
    return pulse;
}

}  // namespace dorvane::host
