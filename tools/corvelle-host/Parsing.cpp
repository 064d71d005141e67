#include "tools/corvelle-host/Parsing.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "tools/corvelle-host/CommandLine.h"

namespace dorvane::hosttool {

std::vector<double> parseFigures(std::string_view text, std::size_t count, std::string_view what) {
    std::vector<double> figures;
    std::size_t start = 0;
    for (;;) {
        const auto comma = text.find(',', start);
        const auto piece = text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        const double figure = parseNumber<double>(piece, what);
        if (!std::isfinite(figure)) throw UsageError("not a valid " + std::string(what) + ": \"" + std::string(text) + "\"");
        figures.push_back(figure);
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (figures.size() != count) {
        throw UsageError(std::string(what) + " needs " + std::to_string(count) + " numbers separated by commas, not \"" +
                         std::string(text) + "\"");
    }
    return figures;
}

geometry::Point parsePoint(std::string_view text) {
    const auto figures = parseFigures(text, 2, "point X,Y");
    return {figures[0], figures[1]};
}

double parseFigure(std::string_view text, std::string_view what) {
    const double figure = parseNumber<double>(text, what);
    if (!std::isfinite(figure)) throw UsageError("not a valid " + std::string(what) + ": \"" + std::string(text) + "\"");
    return figure;
}

double parseSeconds(std::string_view text) {
    const double seconds = parseFigure(text, "number of seconds");
    if (seconds < 0) throw UsageError("seconds must be zero or more");
    return seconds;
}

pid_t parsePID(std::string_view text) {
    const auto pid = parseNumber<std::int32_t>(text, "process id");
    if (pid < 1) throw UsageError("a process id is 1 or more");
    return pid;
}

}  // namespace dorvane::hosttool
