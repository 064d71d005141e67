#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <utility>

namespace dorvane {

// Closed enums whose stored and wire form is the case name. Each enum
// specialises EnumCases with its cases in declaration order:
//
//   template <> struct EnumCases<AppTheme> {
//       static constexpr std::array<std::pair<AppTheme, std::string_view>, 3> table{...};
//   };
template <typename E>
struct EnumCases;

template <typename E>
concept RawValueEnum = requires { EnumCases<E>::table; };

template <RawValueEnum E>
constexpr auto allCases() {
    std::array<E, EnumCases<E>::table.size()> cases{};
    for (std::size_t i = 0; i < cases.size(); ++i) cases[i] = EnumCases<E>::table[i].first;
    return cases;
}

template <RawValueEnum E>
constexpr std::string_view rawValue(E value) {
    for (const auto& [candidate, raw] : EnumCases<E>::table) {
        if (candidate == value) return raw;
    }
    return {};
}

// Case-sensitive, as the stored form is exactly the case name.
template <RawValueEnum E>
constexpr std::optional<E> fromRawValue(std::string_view raw) {
    for (const auto& [candidate, name] : EnumCases<E>::table) {
        if (name == raw) return candidate;
    }
    return std::nullopt;
}

// Position of the case in declaration order.
template <RawValueEnum E>
constexpr std::size_t caseIndex(E value) {
    for (std::size_t i = 0; i < EnumCases<E>::table.size(); ++i) {
        if (EnumCases<E>::table[i].first == value) return i;
    }
    return 0;
}

}  // namespace dorvane
