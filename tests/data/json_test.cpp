#include "data/json.hpp"
#include "data/json_located.hpp"
#include "data/json_writer.hpp"

#include <gtest/gtest.h>

#include <string>

using nj::JsonType;
using nj::LocatedJson;
using nj::parseJson;
using nj::parseLocatedJson;

namespace {

TEST(JsonValues, FollowTheLenientRulesAndLookupsFallBack) {
    EXPECT_EQ(parseJson(" [\n\t] ").type, JsonType::Array);
    EXPECT_EQ(parseJson("{ }").type, JsonType::Object);
    EXPECT_EQ(parseJson(R"("\u00e9x")").text, "?x");
    EXPECT_EQ(parseJson(R"("\q")").text, "");
    EXPECT_EQ(parseJson(R"("a\"b\\c\/d\b\f\n\r\t")").text, "a\"b\\c/d\b\f\n\r\t");
    // Fewer than four bytes after \u: nothing appended, reading goes on.
    EXPECT_EQ(parseJson("\"abc\\u12\"").text, "abc12");
    EXPECT_EQ(parseJson("\"a\x01\nb\"").text, "a\x01\nb");  // raw control bytes pass
    EXPECT_TRUE(parseJson("true").boolean);
    for (const char* text : {"txyz", "f", "trueish"}) {
        const auto v = parseJson(text);
        EXPECT_TRUE(v.type == JsonType::Bool && !v.boolean) << text;
    }
    EXPECT_EQ(parseJson("nope").type, JsonType::Null);
    EXPECT_EQ(parseJson("n").type, JsonType::Null);
    EXPECT_EQ(parseJson("[nul}]").size(), 1u) << "the brace is one of the four skipped bytes";
    EXPECT_EQ(parseJson("1.5.5").number, 1.5);
    EXPECT_EQ(parseJson("007").number, 7.0);
    EXPECT_EQ(parseJson("-2.5e2").number, -250.0);
    EXPECT_EQ(parseJson(R"({"a":1,"a":2})").at("a").number, 2.0) << "the last duplicate key wins";
    // A getter of another type falls back and a missed index or key reads as
    // null (what the mission builder does with them is its own tests').
    const auto v = parseJson(R"({"x":"7","n":0.1})");
    EXPECT_EQ(v.getString("x", "d"), "7");
    EXPECT_EQ(v.getString("n", "d"), "d");
    EXPECT_EQ(v.getNumber("n", 0.0f), 0.1f);
    const auto arr = parseJson("[1,2]");
    EXPECT_EQ(arr.at(2).type, JsonType::Null);
    EXPECT_EQ(arr.at("x").type, JsonType::Null);
    EXPECT_EQ(parseJson(R"({"a":1})").at(0).type, JsonType::Null);
}

// The page's form and binding metadata's differ only for backspace and form
// feed. Quotes and line breaks in the page state are the page state tests'.
TEST(JsonWriter, EscapesEachByteClassInBothForms) {
    struct Case {
        std::string in, page, metadata;
    } cases[] = {
        {"a\"b\\c", "a\\\"b\\\\c", "a\\\"b\\\\c"},
        {"\t\n\r", "\\t\\n\\r", "\\t\\n\\r"},
        {"\b\f", "\\b\\f", "\\u0008\\u000c"},
        {std::string("\x00\x01\x1f", 3), "\\u0000\\u0001\\u001f", "\\u0000\\u0001\\u001f"},
        // DEL and UTF-8 pass through untouched (the bullet of the directive).
        {"\x7f\xE2\x80\xA2 x", "\x7f\xE2\x80\xA2 x", "\x7f\xE2\x80\xA2 x"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(nj::escapeJsonText(c.in), c.page);
        EXPECT_EQ(nj::quoteJsonString(c.in), "\"" + c.metadata + "\"");
        EXPECT_EQ(nj::JsonWriter().string(c.in).text(), "\"" + c.page + "\"");
        EXPECT_EQ(nj::JsonWriter(nj::JsonStringForm::Metadata).string(c.in).text(),
                  "\"" + c.metadata + "\"");
    }
    EXPECT_EQ(nj::quoteJsonString(""), "\"\"");
}

// Separators and ordinary numbers are pinned by the page state the simulator
// prints; the six-digit rounding and the exponent form are not.
TEST(JsonWriter, NumbersUseShortestSixDigitForm) {
    EXPECT_EQ(nj::formatJsonNumber(-0.25), "-0.25");
    EXPECT_EQ(nj::formatJsonNumber(1280.0 / 3.0), "426.667");
    EXPECT_EQ(nj::formatJsonNumber(1234567.0), "1.23457e+06");
}

std::string gameError(const std::string& text) {
    try {
        parseJson(text);
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

std::string locatedError(const std::string& text, nj::JsonPosition& at) {
    try {
        parseLocatedJson(text);
    } catch (const nj::JsonSyntaxError& e) {
        at = e.at;
        return e.what();
    }
    return "";
}

// The located reading as the game's value: of members with one key, the last.
nj::JsonValue valueOf(const LocatedJson& located) {
    nj::JsonValue value{located.type, located.boolean, located.number, located.text, {}, {}};
    for (const LocatedJson& item : located.items) {
        if (located.type == JsonType::Array) value.items.push_back(valueOf(item));
        if (located.type == JsonType::Object) value.members[item.key] = valueOf(item);
    }
    return value;
}

// Both readings refuse with the same fixed text (the mission fuzzer compares them on
// any bytes) and agree on what they accept; where one stopped is in checker messages.
TEST(LocatedJson, BothReadingsRefuseWithTheSameTextsAndAgreeOnValues) {
    const struct {
        std::string text, error;  // "": accepted
        const char* at = "";      // line:column, where it is checked
    } cases[] = {
        // The NUL byte stands in the message, so as a C string it ends there.
        {"", "Unexpected character in JSON: '"},
        {"\xEF\xBB\xBF{}", "Unexpected character in JSON: '\xEF'"},
        {"+1", "Unexpected character in JSON: '+'"},
        {"[1,]", "Unexpected character in JSON: ']'"},
        {"{\"a\":1,}", "Expected '\"'"},
        {"{1:2}", "Expected '\"'"},
        {"{\"a\" 1}", "Expected ':' after key"},
        {"{\"a\":1 2}", "Expected ',' or '}' in object"},
        {"[1 2]", "Expected ',' or ']' in array"},
        // "nul" then the end: the skip stops there and the array is unterminated.
        {"[nu", "Expected ',' or ']' in array"},
        {"\"open", "Unterminated string"},
        {"\"abc\\u12", "Unterminated string"},
        {"\"abc\\", "Unterminated string"},  // the last backslash kept, then the end
        {"-", "invalid stod argument"},
        {"1e999", "stod argument out of range"},
        {std::string(512, '[') + std::string(512, ']'), ""},
        {std::string(513, '[') + std::string(513, ']'), "JSON nesting too deep"},
        {[] {
             std::string objects;
             for (int i = 0; i < 100000; ++i) objects += "{\"a\":";
             return objects;
         }(),
         "JSON nesting too deep"},
        {"[tru]", ""},
        {"[\"a\\u12\"]", "Unterminated string"},  // the \u takes the quote and bracket
        {"{\"a\":[1,{\"b\":null}],\"a\":false}", ""},
        {"[01, 2., -0.5e+3, -.5]", ""},
        {"[.5]", "Unexpected character in JSON: '.'"},
        {"{\"k\":\"\t\"} trailing", ""},
        {"{\"\":\"\\q\"}", ""},
        {"[1,\n 2,\n ]", "Unexpected character in JSON: ']'", "3:2"},  // the stray ']'
        {"{\"a\": \"open\n", "Unterminated string", "1:7"},            // the string's opening quote
        {"[1, 1e999]", "stod argument out of range", "1:5"},         // the number's first character
        {"{\"é\": @}", "Unexpected character in JSON: '@'", "1:7"},  // characters, not bytes
    };
    for (const auto& c : cases) {
        EXPECT_EQ(gameError(c.text), c.error) << c.text.substr(0, 20);
        nj::JsonPosition at;
        EXPECT_EQ(locatedError(c.text, at), c.error) << c.text.substr(0, 20);
        if (*c.at) {
            EXPECT_EQ(std::to_string(at.line) + ":" + std::to_string(at.column), c.at) << c.text;
        }
        if (c.error.empty()) {
            EXPECT_TRUE(parseJson(c.text) == valueOf(parseLocatedJson(c.text).root)) << c.text;
        }
    }
}

TEST(LocatedJson, WarnsWhereOnlyTheGamesLenientReaderAccepts) {
    const struct {
        std::string text, message;
        std::size_t column;
    } cases[] = {
        {"{} x", "text after the mission; the game ignores it", 4},
        {"[01]", "the number '01' is not strict JSON", 2},
        {"[-.5]", "the number '-.5' is not strict JSON", 2},
        {"[\"\\u00zz\"]", "'\\u00zz' is not four hex digits; the game does not check", 3},
        {"[\"\\u00e9\"]", "the game shows '\\u00e9' as '?'", 3},
        {"[\"a\\qb\"]", "unknown escape '\\q'; the game drops it", 4},
        {"[\"a\tb\"]", "a raw control character in a string; write it as an escape", 4},
        {"[tru]", "'tru' is read as false", 2},
        {"[nope]", "'nope' is read as null", 2},
        {"{\"a\":1,\"a\":2}", "\"a\" is written twice; the game keeps the last", 8},
    };
    for (const auto& c : cases) {
        const nj::LocatedDocument doc = parseLocatedJson(c.text);
        ASSERT_EQ(doc.leniencies.size(), 1u) << c.text;
        EXPECT_EQ(doc.leniencies[0].message, c.message);
        EXPECT_EQ(doc.leniencies[0].at.line, 1u);
        EXPECT_EQ(doc.leniencies[0].at.column, c.column) << c.text;
    }
    // Strict JSON of every kind draws nothing but the \u escape's note.
    EXPECT_EQ(parseLocatedJson("{\"a\": [0, -1.5e-3, true, false, null, \"\\u00e9x\\n\"]}\n")
                  .leniencies.size(),
              1u);
}

// Where a checker message points: the value, or the deepest ancestor written.
TEST(LocatedJson, PathsResolveToTheirValueOrTheDeepestWrittenAncestor) {
    const std::string text = "{\n  \"guards\": [\n    {\"x\": 1},\n    {\"y\": 2}\n  ]\n}";
    const LocatedJson root = parseLocatedJson(text).root;
    const auto at = [&](const std::string& path) {
        const nj::JsonPosition p = nj::locateJsonPath(root, path);
        return std::to_string(p.line) + ":" + std::to_string(p.column);
    };
    EXPECT_EQ(at(""), "1:1");
    EXPECT_EQ(at("guards"), "2:13");
    EXPECT_EQ(at("guards[1].y"), "4:11");
    EXPECT_EQ(at("guards[1].x"), "4:5");  // no x: the guard itself
    EXPECT_EQ(at("guards[7]"), "2:13");
    EXPECT_EQ(at("card"), "1:1");
}

}  // namespace
