#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Dorvane/Input/InputServices.h"

namespace dorvane::testing {

// The operations-log lines the program under test writes, kept in memory.
class OperationLines {
public:
    OperationLog logTo() {
        return [this](std::string_view line) { log.emplace_back(line); };
    }
    // The lines that start with `prefix`, in order.
    std::vector<std::string> logged(std::string_view prefix) const {
        std::vector<std::string> lines;
        for (const auto& line : log) {
            if (line.starts_with(prefix)) lines.push_back(line);
        }
        return lines;
    }

    std::vector<std::string> log;
};

}  // namespace dorvane::testing
