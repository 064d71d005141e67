#pragma once

#include <array>
#include <string_view>
#include <utility>

#include "DorvaneCore/Support/EnumCases.h"

namespace dorvane::processes {

// What a process is for, stated when it opens the host, so that fault rules can pick
// out, say, only the commit worker.
enum class ProcessRole { application, workerSnapshot, workerCommit, workerNormalizeRestore, tool, inputCheck };

}  // namespace dorvane::processes

namespace dorvane {

template <>
struct EnumCases<processes::ProcessRole> {
    static constexpr std::array<std::pair<processes::ProcessRole, std::string_view>, 6> table{{
        {processes::ProcessRole::application, "application"},
        {processes::ProcessRole::workerSnapshot, "worker-snapshot"},
        {processes::ProcessRole::workerCommit, "worker-commit"},
        {processes::ProcessRole::workerNormalizeRestore, "worker-normalize-restore"},
        {processes::ProcessRole::tool, "tool"},
        {processes::ProcessRole::inputCheck, "input-check"},
    }};
};

}  // namespace dorvane
