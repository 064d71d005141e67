#include <gtest/gtest.h>

#include "DorvaneCore/Core/AppTheme.h"
#include "DorvaneCore/Support/StrictJson.h"

namespace dorvane::json {
namespace {

Json object(std::string_view text) { return parse(text); }

TEST(StrictJsonIntegers, RejectValuesThatWouldWrapOrTruncate) {
    EXPECT_THROW(get<std::int32_t>(object(R"({"x": 2147483648})"), "x"), DecodeError);
    EXPECT_THROW(get<std::int32_t>(object(R"({"x": -2147483649})"), "x"), DecodeError);
    EXPECT_THROW(get<std::uint32_t>(object(R"({"id": -1})"), "id"), DecodeError);
    EXPECT_THROW(get<std::uint32_t>(object(R"({"id": 4294967296})"), "id"), DecodeError);
    EXPECT_THROW(get<std::uint32_t>(object(R"({"id": 1.5})"), "id"), DecodeError);
    EXPECT_THROW(get<std::uint16_t>(object(R"({"k": 65536})"), "k"), DecodeError);
    EXPECT_THROW(get<std::int64_t>(object(R"({"k": 9223372036854775808})"), "k"), DecodeError);
    EXPECT_THROW(get<std::uint64_t>(object(R"({"k": -1})"), "k"), DecodeError);
    EXPECT_THROW(get<std::uint64_t>(object(R"({"k": 1e20})"), "k"), DecodeError);
    EXPECT_THROW(get<std::int64_t>(object(R"({"k": "5"})"), "k"), DecodeError);
    EXPECT_THROW(get<std::int64_t>(object(R"({"k": true})"), "k"), DecodeError);
}

TEST(StrictJsonIntegers, AcceptEveryValueInsideTheRange) {
    EXPECT_EQ(get<std::int32_t>(object(R"({"x": 2147483647})"), "x"), 2147483647);
    EXPECT_EQ(get<std::int32_t>(object(R"({"x": -2147483648})"), "x"), INT32_MIN);
    EXPECT_EQ(get<std::uint32_t>(object(R"({"id": 4294967295})"), "id"), 4294967295u);
    EXPECT_EQ(get<std::uint16_t>(object(R"({"k": 65535})"), "k"), 65535);
    EXPECT_EQ(get<std::uint64_t>(object(R"({"k": 18446744073709551615})"), "k"), UINT64_MAX);
    EXPECT_EQ(get<std::int64_t>(object(R"({"k": -9223372036854775808})"), "k"), INT64_MIN);
    // An integer written with a zero fraction is still that integer.
    EXPECT_EQ(get<std::int32_t>(object(R"({"x": 2.0})"), "x"), 2);
}

TEST(StrictJsonIntegers, FloatsAreBoundedExactlyAtThePowersOfTwo) {
    // Written as floats, the first value out of range is exactly the bound itself.
    EXPECT_THROW(get<std::int32_t>(object(R"({"x": 2147483648.0})"), "x"), DecodeError);
    EXPECT_EQ(get<std::int32_t>(object(R"({"x": 2147483647.0})"), "x"), 2147483647);
    EXPECT_EQ(get<std::int32_t>(object(R"({"x": -2147483648.0})"), "x"), INT32_MIN);
    EXPECT_THROW(get<std::int32_t>(object(R"({"x": -2147483649.0})"), "x"), DecodeError);
    EXPECT_THROW(get<std::uint32_t>(object(R"({"x": 4294967296.0})"), "x"), DecodeError);
    EXPECT_EQ(get<std::uint32_t>(object(R"({"x": 4294967295.0})"), "x"), 4294967295u);
    EXPECT_THROW(get<std::uint32_t>(object(R"({"x": -1.0})"), "x"), DecodeError);
    EXPECT_THROW(get<std::int64_t>(object(R"({"x": 9223372036854775808.0})"), "x"), DecodeError);
    EXPECT_EQ(get<std::int64_t>(object(R"({"x": -9223372036854775808.0})"), "x"), INT64_MIN);
}

TEST(StrictJsonKeys, RequiredOptionalAndNull) {
    const Json document = object(R"({"a": null, "b": "text", "n": 3})");
    EXPECT_THROW(get<std::string>(document, "missing"), DecodeError);
    EXPECT_THROW(get<std::string>(document, "a"), DecodeError);  // null is not a string
    EXPECT_EQ(getOptional<std::string>(document, "a"), std::nullopt);
    EXPECT_EQ(getOptional<std::string>(document, "missing"), std::nullopt);
    EXPECT_EQ(getOptional<std::string>(document, "b"), "text");
    EXPECT_THROW(getOptional<std::string>(document, "n"), DecodeError);  // present but wrong type
    EXPECT_EQ(getOr<std::int64_t>(document, "missing", 7), 7);
    EXPECT_THROW(get<std::string>(parse("[1]"), "b"), DecodeError);      // not an object
    EXPECT_DOUBLE_EQ(get<double>(document, "n"), 3.0);                   // integers are numbers
}

TEST(StrictJsonErrors, NameThePathOfTheBadValue) {
    const Json document = object(R"({"list": [{"id": 1}, {"id": -1}]})");
    struct Item {
        std::uint32_t id;
        static Item fromJson(const Json& value) { return Item{get<std::uint32_t>(value, "id")}; }
    };
    try {
        get<std::vector<Item>>(document, "list");
        FAIL() << "a bad element must reject the whole array";
    } catch (const DecodeError& error) {
        EXPECT_EQ(error.path(), "list[1].id");
        EXPECT_NE(std::string(error.what()).find("uint32"), std::string::npos) << error.what();
    }
}

TEST(StrictJsonEnums, DecodeOnlyExactCaseNames) {
    EXPECT_EQ(get<AppTheme>(object(R"({"t": "dark"})"), "t"), AppTheme::dark);
    EXPECT_THROW(get<AppTheme>(object(R"({"t": "Dark"})"), "t"), DecodeError);
    EXPECT_THROW(get<AppTheme>(object(R"({"t": 1})"), "t"), DecodeError);
    EXPECT_EQ(encode(AppTheme::light), Json("light"));
}

TEST(StrictJsonText, ParseFailuresAndUnsafeStringsAreHandled) {
    EXPECT_THROW(parse("{\"a\": "), DecodeError);
    EXPECT_THROW(parse(""), DecodeError);
    Json value = Json::object();
    value["name"] = std::string("bad \xff\xfe utf8");
    std::string text;
    EXPECT_NO_THROW(text = serialize(value));
    EXPECT_NE(text.find("\xEF\xBF\xBD"), std::string::npos);  // replaced, not dropped silently
    // Keys stay in insertion order.
    Json ordered = Json::object();
    ordered["z"] = 1;
    ordered["a"] = 2;
    EXPECT_EQ(serialize(ordered), R"({"z":1,"a":2})");
}

TEST(StrictJsonText, EveryLibraryFailureAndTrailingContentIsADecodeError) {
    const std::string nul("{\"targets\":[]}\0garbage", 23);
    const std::vector<std::string> refused{
        nul,
        std::string("[1]\0", 4),
        R"({"modes": [1e400]})",  // a number no double holds
        R"({"a": 1} trailing)",
        std::string(100000, '[') + std::string(100000, ']'),
        std::string(100000, '[') + "\"deep\"" + std::string(100000, ']'),
        std::string(100000, '{'),
    };
    for (const auto& text : refused) {
        EXPECT_THROW(parse(text), DecodeError) << text.substr(0, 40);
    }
    // Brackets inside strings are not nesting; nesting within the limit is fine.
    EXPECT_NO_THROW(parse("[\"" + std::string(1000, '[') + "\"]"));
    EXPECT_NO_THROW(parse(std::string(maxNestingDepth, '[') + std::string(maxNestingDepth, ']')));
    EXPECT_THROW(parse(std::string(maxNestingDepth + 1, '[') + std::string(maxNestingDepth + 1, ']')), DecodeError);
}

TEST(StrictJsonErrors, QuoteTheTypeAndABoundedPrefixOfTheValue) {
    auto wrongType = [](const Json& value) -> std::string {
        try {
            decode<std::string>(value);
        } catch (const DecodeError& error) {
            return error.what();
        }
        return "(accepted)";
    };
    EXPECT_EQ(wrongType(Json(5)), "expected string, found integer 5");
    EXPECT_EQ(wrongType(parse(R"({"a":[1,{"b":null}],"c":true})")),
              R"(expected string, found object {"a":[1,{"b":null}],"c":true})");
    // Built in memory far deeper than any document may be: quoted without recursing.
    Json deep = Json::array();
    for (int level = 0; level < 200000; ++level) {
        Json outer = Json::array();
        outer.push_back(std::move(deep));
        deep = std::move(outer);
    }
    EXPECT_EQ(wrongType(deep), "expected string, found array " + std::string(40, '[') + "…");
    const Json longText = Json::array({std::string(1 << 20, 'x'), 2});
    EXPECT_EQ(wrongType(longText), "expected string, found array [\"" + std::string(38, 'x') + "…");
    EXPECT_EQ(wrongType(Json::array({"中中中中中中中中中中中中中"})),
              "expected string, found array [\"中中中中中中中中中中中中…");
}

}  // namespace
}  // namespace dorvane::json
