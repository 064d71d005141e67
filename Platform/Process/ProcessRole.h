#pragma once

#include <array>
#include <string_view>
#include <utility>

#include "DorvaneCore/Core/EnumCases.h"

namespace dorvane::process {

// What a process is for, stated when it opens the host, so that fault rules can pick
// out, say, only the commit worker.
enum class ProcessRole { application, workerSnapshot, workerCommit, workerNormalizeRestore, tool };

}  // namespace dorvane::process

namespace dorvane {

template <>
struct EnumCases<process::ProcessRole> {
    static constexpr std::array<std::pair<process::ProcessRole, std::string_view>, 5> table{{
        {process::ProcessRole::application, "application"},
        {process::ProcessRole::workerSnapshot, "worker-snapshot"},
        {process::ProcessRole::workerCommit, "worker-commit"},
        {process::ProcessRole::workerNormalizeRestore, "worker-normalize-restore"},
        {process::ProcessRole::tool, "tool"},
    }};
};

}  // namespace dorvane
