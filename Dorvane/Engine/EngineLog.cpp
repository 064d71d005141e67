#include "Dorvane/Engine/EngineLog.h"

#include "DorvaneCore/Support/LogFile.h"
#include "DorvaneCore/Support/SingleLine.h"
#include "DorvaneCore/Support/Timestamp.h"

namespace dorvane {

namespace fs = std::filesystem;

EngineLog::EngineLog(fs::path root, dispatch::Clock& clock, SkippedNotice skipped)
    : root_(std::move(root)), clock_(clock) {
    if (skipped == SkippedNotice::none) skippedSaid_->store(true);
}

void EngineLog::write(std::string_view event, std::string_view detail) {
    const std::string line =
        iso8601UTC(clock_.wallTime()) + " " + singleLine(event) + " " + singleLine(detail) + "\n";
    noteSkippedLog(appendLogLine(path(), root_ / previousFileName, rotationLimit, line), path(), *skippedSaid_);
}

std::string layoutText(const std::vector<DisplayState>& displays) {
    std::string text;
    for (const auto& d : displays) {
        if (!text.empty()) text += " ";
        text += std::to_string(d.id) + (d.main ? "*" : "") + ":" + std::to_string(d.mode.pixelWidth) + "x" +
                std::to_string(d.mode.pixelHeight) + "/" + std::to_string(d.mode.width) + "x" +
                std::to_string(d.mode.height) + "@" + std::to_string(d.x) + "," + std::to_string(d.y) + "m" +
                std::to_string(d.mirror);
    }
    return text;
}

}  // namespace dorvane
