#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "DorvaneCore/Core/AppTheme.h"
#include "DorvaneCore/Support/JsonFields.h"

namespace dorvane::json {
namespace {

struct TableItem {
    std::uint32_t id = 0;
    friend bool operator==(const TableItem&, const TableItem&) = default;
    Json toJson() const;
    static TableItem fromJson(const Json& value);
};

constexpr auto tableItemFields = [](auto& f, auto& inner) { f.required("id", inner.id); };

Json TableItem::toJson() const { return writeFields(*this, tableItemFields); }
TableItem TableItem::fromJson(const Json& value) { return readFields<TableItem>(value, tableItemFields); }

std::int32_t evenNumberFromJson(const Json& value) {
    const auto number = decode<std::int32_t>(value);
    if (number % 2 != 0) throw DecodeError("must be even");
    return number;
}

// Members declared in another order than the keys, so the table alone decides the written order.
struct TableRecord {
    std::vector<TableItem> items;
    std::optional<std::string> note;
    std::optional<std::int32_t> owner;
    std::optional<std::int32_t> slot;
    AppTheme theme = AppTheme::light;
    std::int32_t even = 0;
    std::string name;
    friend bool operator==(const TableRecord&, const TableRecord&) = default;
};

constexpr std::int32_t kRecordFormat = 3;

constexpr auto tableRecordFields = [](auto& f, auto& record) {
    f.format(kRecordFormat);
    f.required("name", record.name);
    f.optional("note", record.note);
    f.nullable("owner", record.owner);
    f.requiredOrNull("slot", record.slot);
    f.defaulted("theme", record.theme, AppTheme::dark);
    f.required("even", record.even, {.decode = evenNumberFromJson});
    f.required("items", record.items);
};

Json writeRecord(const TableRecord& record) { return writeFields(record, tableRecordFields); }
TableRecord readRecord(std::string_view text) { return readFields<TableRecord>(parse(text), tableRecordFields); }

// The error a document gives, as "path: reason".
std::string readFailure(std::string_view text) {
    try {
        readRecord(text);
    } catch (const DecodeError& error) {
        return error.what();
    }
    return "accepted";
}

constexpr std::string_view kMinimalRecord = R"({"format":3,"name":"n","slot":null,"even":2,"items":[]})";

TEST(JsonFieldsWriting, KeysFollowTheTableAndEachRuleDecidesWhenItIsWritten) {
    TableRecord record;
    record.name = "甲";
    record.even = 4;
    record.items = {TableItem{7}};
    EXPECT_EQ(serialize(writeRecord(record)),
              R"({"format":3,"name":"甲","owner":null,"slot":null,"theme":"light","even":4,"items":[{"id":7}]})");

    record.note = "n";
    record.owner = 5;
    record.slot = 6;
    EXPECT_EQ(serialize(writeRecord(record)),
              R"({"format":3,"name":"甲","note":"n","owner":5,"slot":6,"theme":"light","even":4,"items":[{"id":7}]})");
}

TEST(JsonFieldsReading, RoundTripsAndIgnoresKeyOrderAndUnknownKeys) {
    TableRecord record;
    record.name = "x";
    record.note = "n";
    record.owner = -1;
    record.slot = 0;
    record.theme = AppTheme::system;
    record.even = -8;
    record.items = {TableItem{1}, TableItem{2}};
    EXPECT_EQ(readFields<TableRecord>(writeRecord(record), tableRecordFields), record);

    const TableRecord shuffled =
        readRecord(R"({"items":[],"even":0,"extra":{"a":1},"slot":4,"theme":"system","name":"y","format":3})");
    EXPECT_EQ(shuffled.name, "y");
    EXPECT_EQ(shuffled.slot, 4);
    EXPECT_EQ(shuffled.theme, AppTheme::system);
}

TEST(JsonFieldsReading, MissingAndNullKeysFollowEachRule) {
    const TableRecord minimal = readRecord(kMinimalRecord);
    EXPECT_EQ(minimal.note, std::nullopt);
    EXPECT_EQ(minimal.owner, std::nullopt);
    EXPECT_EQ(minimal.slot, std::nullopt);
    EXPECT_EQ(minimal.theme, AppTheme::dark);  // the fallback, not the member's initial value

    // Null reads as absent wherever absence is allowed.
    const TableRecord nulls = readRecord(R"({"format":3,"name":"n","note":null,"owner":null,"slot":null,"theme":null,)"
                                 R"("even":2,"items":[]})");
    EXPECT_EQ(nulls, minimal);

    EXPECT_EQ(readFailure(R"({"format":3,"slot":null,"even":2,"items":[]})"), "name: missing key");
    EXPECT_EQ(readFailure(R"({"format":3,"name":null,"slot":null,"even":2,"items":[]})"),
              "name: expected string, found null null");
    // Present-or-null: null is allowed, leaving the key out is not.
    EXPECT_EQ(readFailure(R"({"format":3,"name":"n","even":2,"items":[]})"), "slot: missing key");
}

TEST(JsonFieldsReading, AWrongTypeOrARefusedValueIsNamedByItsPath) {
    EXPECT_EQ(readFailure(R"({"format":3,"name":"n","note":5,"slot":null,"even":2,"items":[]})"),
              "note: expected string, found integer 5");
    EXPECT_EQ(readFailure(R"({"format":3,"name":"n","slot":"s","even":2,"items":[]})"),
              "slot: expected int32, found string \"s\"");
    EXPECT_EQ(readFailure(R"({"format":3,"name":"n","slot":null,"theme":"Dark","even":2,"items":[]})"),
              "theme: unknown value \"Dark\"");
    EXPECT_EQ(readFailure(R"({"format":3,"name":"n","slot":null,"even":2,"items":[{"id":1},{"id":-1}]})"),
              "items[1].id: value -1 is out of range for uint32");
    // A codec's own refusal is placed under its key.
    EXPECT_EQ(readFailure(R"({"format":3,"name":"n","slot":null,"even":3,"items":[]})"), "even: must be even");
    // With several faults, the first in table order is the one named.
    EXPECT_EQ(readFailure(R"({"format":3,"name":1,"slot":"s","even":3})"), "name: expected string, found integer 1");
    EXPECT_EQ(readFailure("[]"), "expected object, found array []");
}

TEST(JsonFieldsFormat, IsWrittenFirstAndAnyOtherVersionIsRefused) {
    EXPECT_EQ(writeRecord(TableRecord{}).begin().key(), "format");
    EXPECT_EQ(readFailure(R"({"format":2,"name":"n","slot":null,"even":2,"items":[]})"), "format: unsupported format 2");
    EXPECT_EQ(readFailure(R"({"name":"n","slot":null,"even":2,"items":[]})"), "format: missing key");
    EXPECT_EQ(readFailure(R"({"format":"3","name":"n","slot":null,"even":2,"items":[]})"),
              "format: expected int32, found string \"3\"");
}

}  // namespace
}  // namespace dorvane::json
