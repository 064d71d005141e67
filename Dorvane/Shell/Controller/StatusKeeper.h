#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "Dorvane/Engine/EngineStatus.h"

namespace dorvane::shell {

// The status the menu and the panel show, and the display operation behind it: whether
// one runs (applying), whether the program is quitting, and the generation that tells an
// operation's result whether it is still wanted. The one place these change; the owners
// ask for the changes below and read the rest. Main thread only.
class StatusKeeper {
public:
    explicit StatusKeeper(EngineStatus initial) : status_(std::move(initial)) {}

    const EngineStatus& status() const { return status_; }
    bool applying() const { return applying_; }
    bool terminating() const { return terminating_; }
    // No operation may begin: one runs, or the program quits.
    bool busy() const { return applying_ || terminating_; }
    std::int64_t generation() const { return generation_; }
    // Whether the result of an operation begun at `generation` is still wanted: no newer
    // operation moved the generation on and no quit began since.
    bool current(std::int64_t generation) const { return !terminating_ && generation == generation_; }

    // ---- Display operations ----
    // An operation begins; the program is busy until it finishes or ends.
    void beginOperation();
    // An operation that drops the results of those before it: the generation moves on.
    // Answers the new generation, which the operation keeps to check its result against.
    std::int64_t beginNewerOperation();
    // The operation is done and `result` is the status.
    void finishOperation(EngineStatus result);
    // The operation is done and the status stays as it is.
    void endOperation();

    // ---- Quit ----
    // A quit begins: no operation's result is wanted any more.
    void beginQuit();
    // The quit was refused: the program goes on, no operation running.
    void quitRefused();

    // ---- What the status says ----
    void report(EngineStatus status);
    // A new title; the detail and what is applied stay shown.
    void retitle(std::string title);
    // A new title and detail; what is applied stays shown.
    void retitle(std::string title, std::optional<std::string> detail);

private:
    EngineStatus status_;
    bool applying_ = false;
    bool terminating_ = false;
    std::int64_t generation_ = 0;
};

}  // namespace dorvane::shell
