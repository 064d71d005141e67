#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "Platform/Dispatch/Clock.h"

namespace dorvane {

// Runs one child process to completion with its standard streams on plain
// files in a private folder (no pipes to drain, nothing read while it runs).
//
// The child starts with default signal dispositions, an empty signal mask and
// no descriptor of ours beyond its three streams. A child killed by a signal
// reports the status 128 + signal number, as a shell would.
class ProcessRunner {
public:
    ProcessRunner() = delete;

    static constexpr double pollInterval = 0.02;
    static constexpr double terminateGrace = 0.2;

    // Standard output of a child that exited with status 0. Throws FitError on
    // a timeout ("操作超时：<file name>") or a non-zero status (the first 700
    // characters of its standard error, or "操作失败（<status>）" when that is
    // blank; standard output is only ever the answer, and a failing child's is
    // not read); std::system_error when the folder, a file or the launch fails.
    // The private folder is removed on every path.
    static std::string run(const std::string& executable, const std::vector<std::string>& arguments,
                           const std::optional<std::string>& input, double timeout, dispatch::Clock& clock);

    // The same, with the private folder created inside `temporaryRoot`.
    static std::string run(const std::string& executable, const std::vector<std::string>& arguments,
                           const std::optional<std::string>& input, double timeout, dispatch::Clock& clock,
                           const std::filesystem::path& temporaryRoot);

    static constexpr std::size_t errorTextLimit = 700;

    // The FitError of a child that ended with `status` (not 0), having written `errors`
    // on its standard error (see run()). A child that says it was held out (kBusyText)
    // fails as a BusyFailure too.
    [[noreturn]] static void throwChildFailure(int status, const std::string& errors);

    // A run's folder is older than this when nothing holds it only because its process
    // was killed before it could remove it.
    static constexpr double abandonedAge = 60;

    // Removes the private folders ("Dorvane-<UUID>") in `temporaryRoot` that runs of this
    // user left behind when their process was killed: a run holds its folder's lock until
    // it has removed it, so a folder of this user's whose lock is free and that was last
    // changed more than `minimumAge` seconds before `now` belongs to no run. Never follows
    // a link. Answers how many went; never throws.
    static std::size_t removeAbandonedFolders(const std::filesystem::path& temporaryRoot,
                                              std::chrono::system_clock::time_point now,
                                              double minimumAge = abandonedAge);
};

}  // namespace dorvane
