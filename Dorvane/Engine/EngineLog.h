#pragma once

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "DorvaneCore/Display/DisplayState.h"
#include "Platform/Dispatch/Clock.h"

namespace dorvane {

// "Dorvane.log": one line per event, "<ISO 8601 UTC> <event> <detail>", moved to
// "Dorvane.previous.log" once it has grown past 1,000,000 bytes. Writing never
// fails: a line that cannot be written is lost (and a log that is not a regular file is
// said once on standard error, unless the log is told not to).
class EngineLog {
public:
    static constexpr const char* fileName = "Dorvane.log";
    static constexpr const char* previousFileName = "Dorvane.previous.log";
    static constexpr std::uintmax_t rotationLimit = 1'000'000;

    // A display worker's standard error is the person's text of its failure: nothing else
    // may go there.
    enum class SkippedNotice { onStandardError, none };

    EngineLog(std::filesystem::path root, dispatch::Clock& clock,
              SkippedNotice skipped = SkippedNotice::onStandardError);

    // Line breaks inside the event or detail (multi-line worker errors) are
    // written as "\n" so each event stays on one line.
    void write(std::string_view event, std::string_view detail);

    std::filesystem::path path() const { return root_ / fileName; }

private:
    std::filesystem::path root_;
    dispatch::Clock& clock_;
    std::shared_ptr<std::atomic<bool>> skippedSaid_ = std::make_shared<std::atomic<bool>>(false);
};

// One token per display, e.g. "1*:2940x1912/1470x956@0,0m0", joined by blanks.
std::string layoutText(const std::vector<DisplayState>& displays);

}  // namespace dorvane
