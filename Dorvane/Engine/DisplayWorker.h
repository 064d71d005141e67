#pragma once

#include <exception>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DorvaneCore/Display/CommitRequest.h"
#include "DorvaneCore/Display/DisplayState.h"
#include "DorvaneCore/Support/StrictJson.h"
#include "Platform/Displays/DisplayServices.h"

namespace dorvane {

// The only code that reads and configures displays. It runs in a child process
// of our own executable ("--worker <command>"), one command per process, so no
// display-configuration call ever runs inside the application.
class DisplayWorker {
public:
    explicit DisplayWorker(displays::DisplayServices& services);

    // Where a failed command's account for the developer goes: in the program, an
    // "error_detail" line of the engine log, "<the person's text> cause=<the developer's>".
    using FailureDetail = std::function<void(const std::string& detail)>;

    // Runs one command; the answer goes to `output` and a failure's message to
    // `errors`, both without a trailing newline; nothing else is written to either.
    // 0 on success, 1 on any failure.
    int execute(const std::vector<std::string>& arguments, std::istream& input, std::ostream& output,
                std::ostream& errors, const FailureDetail& detail = {});
    // A failure as a failed command reports it: the person's text (Simplified Chinese) to
    // `errors`, and when the developer's text says more, both to `detail`.
    static void reportFailure(const std::exception& error, std::ostream& errors, const FailureDetail& detail);

    // The online displays that have a current mode, at most 32, in the platform's order.
    std::vector<DisplayState> snapshot();

    // Applies the targets in one transaction; the number of targets that needed a change.
    int commit(const std::vector<DisplayState>& targets);

    // Built-in panels that mirror nothing get their full-height mode where one exists.
    std::vector<DisplayState> normalizeRestoration(const std::vector<DisplayState>& targets);

    // Nothing on success; otherwise FitError "<label>失败（<code>）".
    static void check(displays::DisplayError error, std::string_view label);

    static constexpr std::uint32_t displayCapacity = 32;

private:
    // What commit() does to one target: the mode it gets (none with skipMode), and which
    // of its mode, mirroring and placement differ from the live display.
    struct TargetChange {
        std::optional<displays::DisplayModeInfo> mode;
        bool modeChanges = false;
        bool mirrorChanges = false;
        bool placementChanges = false;
        bool any() const { return modeChanges || mirrorChanges || placementChanges; }
    };

    // The steps of commit(): plan every target (choosing each mode first), then configure
    // the changes in one transaction.
    std::vector<TargetChange> plannedChanges(const std::vector<DisplayState>& targets);
    displays::DisplayModeInfo chosenMode(const DisplayState& target,
                                         const std::optional<displays::DisplayModeInfo>& current);
    static void configure(displays::DisplayConfiguration& configuration, const std::vector<DisplayState>& targets,
                          const std::vector<TargetChange>& changes);

    displays::DisplayServices& services_;
};

}  // namespace dorvane
