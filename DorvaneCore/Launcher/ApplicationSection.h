#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "DorvaneCore/Support/EnumCases.h"

namespace dorvane {

// One block of the launcher: its kind and the application identifiers it lists.
struct ApplicationSection {
    // Raw values are the titles; fromRawValue gives nothing for any other text.
    enum class Kind { recent, running, all };

    Kind kind = Kind::all;
    std::vector<std::string> identifiers;  // in display order

    std::string_view title() const;

    // Sections for the recent, running and all lists, in that order: each identifier
    // is listed once, in the first list that holds it; empty identifiers never; a
    // list left with nothing gives no section.
    static std::vector<ApplicationSection> make(const std::vector<std::string>& recent,
                                                const std::vector<std::string>& running,
                                                const std::vector<std::string>& all);

    friend bool operator==(const ApplicationSection&, const ApplicationSection&) = default;
};

template <>
struct EnumCases<ApplicationSection::Kind> {
    static constexpr std::array<std::pair<ApplicationSection::Kind, std::string_view>, 3> table{{
        {ApplicationSection::Kind::recent, "最近"},
        {ApplicationSection::Kind::running, "运行中"},
        {ApplicationSection::Kind::all, "全部"},
    }};
};

}  // namespace dorvane
