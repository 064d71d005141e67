#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "DorvaneCore/Support/JsonLocation.h"
#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane::json {
namespace {

// The line a document's decode error points at, through the decoder as the stores use it.
std::optional<std::size_t> lineOfFailure(const std::string& document, const std::function<void(const Json&)>& read) {
    try {
        read(parse(document));
    } catch (const DecodeError& error) {
        return errorLine(document, error);
    }
    ADD_FAILURE() << "decoded: " << document;
    return std::nullopt;
}

const std::string kDocument =
    "{\n"
    "  \"name\": \"a [b] {c}\",\n"
    "  \"items\": [\n"
    "    {\"id\": \"x]}\", \"size\": {\"width\": 1}},\n"
    "    {\"id\": \"y\",\n"
    "     \"size\": {\"width\": \"wide\"}}\n"
    "  ],\n"
    "  \"escaped\": \"a \\\" b\"\n"
    "}\n";

TEST(JsonLocation, APathLeadsToWhereItsValueBeginsOrToTheDeepestPartThatIsThere) {
    const auto lineAt = [](std::string_view document, std::size_t offset) {
        return 1 + std::count(document.begin(), document.begin() + static_cast<std::ptrdiff_t>(offset), '\n');
    };
    EXPECT_EQ(kDocument.substr(offsetOf(kDocument, "items[1].size.width"), 6), "\"wide\"");
    EXPECT_EQ(lineAt(kDocument, offsetOf(kDocument, "items[1].size.width")), 6);
    EXPECT_EQ(kDocument.substr(offsetOf(kDocument, "items[0].size"), 12), "{\"width\": 1}");
    EXPECT_EQ(kDocument.substr(offsetOf(kDocument, "escaped"), 4), "\"a \\");
    // Brackets inside a string are text, not structure.
    EXPECT_EQ(lineAt(kDocument, offsetOf(kDocument, "items")), 3);
    EXPECT_EQ(lineAt(kDocument, offsetOf(kDocument, "items[1]")), 5);
    // A missing key: the object that lacks it; an element past the end: the array.
    EXPECT_EQ(kDocument.substr(offsetOf(kDocument, "items[1].label"), 10), "{\"id\": \"y\"");
    EXPECT_EQ(kDocument.substr(offsetOf(kDocument, "items[5].id"), 1), "[");
    EXPECT_EQ(offsetOf(kDocument, ""), 0u);
    // A document that is a list, as session.json is.
    const std::string list = "[\n {\"mode\": {\"width\": 1}},\n {\"mode\": {\"width\": -1}}\n]";
    EXPECT_EQ(lineAt(list, offsetOf(list, "[1].mode.width")), 3);
}

TEST(JsonLocation, AnErrorsLineIsWhereItsSyntaxFailsOrWhereItsValueStands) {
    const auto noRead = [](const Json&) {};
    EXPECT_EQ(lineOfFailure("{\n\"a\": 1,\n\"b\": ,\n}", noRead), 3u);
    EXPECT_EQ(lineOfFailure("{\n\"a\": [1,\n2", noRead), 3u) << "cut short: the last line";
    EXPECT_EQ(lineOfFailure(std::string("{}\n\n", 4) + std::string(1, '\0') + "x", noRead), 3u) << "a NUL byte";
    EXPECT_EQ(lineOfFailure("\n\n" + std::string(80, '[') + std::string(80, ']'), noRead), 3u) << "too deep";

    const auto checkWidth = [](const Json& value) {
        std::size_t index = 0;
        for (const auto& item : value.at("items")) {
            try {
                (void)get<std::int64_t>(item.at("size"), "width");
            } catch (const DecodeError& error) {
                throw error.within("size").within("[" + std::to_string(index) + "]").within("items");
            }
            ++index;
        }
    };
    EXPECT_EQ(lineOfFailure(kDocument, checkWidth), 6u);
    // An error that names no place has no line.
    EXPECT_EQ(errorLine(kDocument, DecodeError("out of range")), std::nullopt);
}

}  // namespace
}  // namespace dorvane::json
