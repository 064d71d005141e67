#include "Platform/System/LoginItems.h"

#include <cstdlib>
#include <map>
#include <sstream>
#include <system_error>

#include "DorvaneCore/Core/FitError.h"
#include "DorvaneCore/Support/AtomicFile.h"

namespace dorvane::system {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kGroup = "[Desktop Entry]";

std::optional<std::string> variable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

// The escapes every string value of an entry file may hold.
std::string escapedString(const std::string& value) {
    std::string escaped;
    for (const char c : value) {
        switch (c) {
            case '\\': escaped += "\\\\"; break;
            case '\n': escaped += "\\n"; break;
            case '\t': escaped += "\\t"; break;
            case '\r': escaped += "\\r"; break;
            default: escaped += c;
        }
    }
    return escaped;
}

std::string unescapedString(std::string_view value) {
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        switch (value[++i]) {
            case 's': text += ' '; break;
            case 'n': text += '\n'; break;
            case 't': text += '\t'; break;
            case 'r': text += '\r'; break;
            case '\\': text += '\\'; break;
            default:
                text += '\\';
                text += value[i];
        }
    }
    return text;
}

// The keys of the main group, unescaped; later duplicates are ignored.
std::map<std::string, std::string> mainGroup(const std::string& text) {
    std::map<std::string, std::string> keys;
    std::istringstream lines(text);
    bool inMainGroup = false;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string entry = trimmed(line);
        if (entry.empty() || entry.front() == '#') continue;
        if (entry.front() == '[') {
            inMainGroup = entry == kGroup;
            continue;
        }
        const auto equals = entry.find('=');
        if (!inMainGroup || equals == std::string::npos) continue;
        keys.emplace(trimmed(std::string_view(entry).substr(0, equals)),
                     unescapedString(trimmed(std::string_view(entry).substr(equals + 1))));
    }
    return keys;
}

std::string replacedPercents(const std::string& argument) {
    std::string text;
    for (std::size_t i = 0; i < argument.size(); ++i) {
        text += argument[i];
        if (argument[i] == '%' && i + 1 < argument.size() && argument[i + 1] == '%') ++i;
    }
    return text;
}

bool isAssignment(const std::string& argument) {
    const auto equals = argument.find('=');
    return equals != std::string::npos && equals > 0 && argument.front() != '-';
}

}  // namespace

fs::path XdgAutostartLoginItems::autostartFolder(const std::optional<std::string>& xdgConfigHome,
                                                 const std::optional<std::string>& home) {
    fs::path config;
    if (xdgConfigHome && fs::path(*xdgConfigHome).is_absolute()) {
        config = *xdgConfigHome;
    } else {
        config = fs::path(home && !home->empty() ? *home : "/") / ".config";
    }
    return config / "autostart";
}

XdgAutostartLoginItems XdgAutostartLoginItems::fromEnvironment(fs::path executable) {
    return XdgAutostartLoginItems(autostartFolder(variable("XDG_CONFIG_HOME"), variable("HOME")),
                                  std::move(executable));
}

std::string XdgAutostartLoginItems::quotedExecArgument(const std::string& argument) {
    std::string quoted = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
        if (c == '%') quoted += '%';
    }
    return quoted + "\"";
}

std::optional<std::vector<std::string>> XdgAutostartLoginItems::execArguments(const std::string& value) {
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (quoted) {
            if (c == '"') {
                quoted = false;
            } else if (c == '\\' && i + 1 < value.size()) {
                current += value[++i];
            } else {
                current += c;
            }
        } else if (c == ' ' || c == '\t' || c == '\n') {
            if (inArgument) arguments.push_back(replacedPercents(current));
            current.clear();
            inArgument = false;
        } else {
            inArgument = true;
            if (c == '"') {
                quoted = true;
            } else {
                current += c;
            }
        }
    }
    if (quoted) return std::nullopt;
    if (inArgument) arguments.push_back(replacedPercents(current));
    return arguments;
}

std::string XdgAutostartLoginItems::entryText(const fs::path& executable) {
    const std::string exec =
        std::string("env ") + launchedVariable + "=1 " + quotedExecArgument(executable.string());
    return std::string(kGroup) +
           "\n"
           "Type=Application\n"
           "Name=Corvelle\n"
           "Exec=" +
           escapedString(exec) +
           "\n"
           "X-GNOME-Autostart-enabled=true\n";
}

bool XdgAutostartLoginItems::startsThisExecutable(const std::string& execValue) const {
    const auto arguments = execArguments(execValue);
    if (!arguments || arguments->empty()) return false;
    std::size_t program = 0;
    if ((*arguments)[0] == "env") {
        program = 1;
        while (program < arguments->size() && isAssignment((*arguments)[program])) ++program;
    }
    if (program >= arguments->size()) return false;
    const fs::path started = (*arguments)[program];
    if (started.lexically_normal() == executable_.lexically_normal()) return true;
    std::error_code error;
    return started.is_absolute() && fs::equivalent(started, executable_, error) && !error;
}

LoginItemStatus XdgAutostartLoginItems::status() {
    std::optional<std::string> text;
    try {
        text = readFileIfPresent(entryPath());
    } catch (const std::exception&) {
        return LoginItemStatus::notRegistered;
    }
    if (!text) return LoginItemStatus::notRegistered;
    const auto keys = mainGroup(*text);
    auto value = [&keys](const char* key) {
        const auto found = keys.find(key);
        return found == keys.end() ? std::optional<std::string>() : std::optional(found->second);
    };
    if (value("Type") != "Application" || value("Hidden") == "true" ||
        value("X-GNOME-Autostart-enabled") == "false") {
        return LoginItemStatus::notRegistered;
    }
    const auto exec = value("Exec");
    return exec && startsThisExecutable(*exec) ? LoginItemStatus::enabled : LoginItemStatus::notRegistered;
}

void XdgAutostartLoginItems::registerItem() {
    try {
        fs::create_directories(folder_);
        writeFileAtomically(entryPath(), entryText(executable_));
    } catch (const std::exception& error) {
        throw FitError("无法登记开机启动：" + std::string(error.what()));
    }
}

void XdgAutostartLoginItems::unregisterItem() {
    std::error_code error;
    fs::remove(entryPath(), error);
    // Where the folder cannot exist, neither can the entry.
    if (error && error != std::errc::not_a_directory) {
        throw FitError("无法取消开机启动：" + error.message());
    }
}

}  // namespace dorvane::system
