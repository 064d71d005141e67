#pragma once

#include <exception>
#include <optional>
#include <string>
#include <string_view>

namespace dorvane {

// What a failure that came of waiting too long for something another program held (a
// BusyFailure) says to the person.
inline constexpr const char* kBusyText = "系统正忙：另一个程序占用系统过久，请稍后再试。";

// What a failure says to the person, in Simplified Chinese: a FitError's own message; for a
// file that could not be read, written or moved aside, which file and why; for a wait
// that ran out, that the system is busy (kBusyText); for anything else, what kind of
// failure it was (the system's, the data's, or one the system could not carry out). Never
// the developer's English.
std::string shownText(const std::exception& error);

// What a failure says to a developer (for the engine log): its own text, then the text of
// each failure nested in it, outermost first, joined by " <- ".
std::string technicalText(const std::exception& error);

// Inside a catch block: throws the caught failure again as a FitError that names `file`
// (its name as the person knows it): it could not be read, or it does not decode, with
// the line of `document` where it fails. The caught failure is nested in it for the log.
// A FitError, whose text is already the person's, goes on unchanged.
[[noreturn]] void rethrowNamingFile(std::string_view file, std::optional<std::string_view> document = std::nullopt);

}  // namespace dorvane
