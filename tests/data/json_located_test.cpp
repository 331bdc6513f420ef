#include "data/json_located.hpp"

#include <gtest/gtest.h>

#include <string>

using nj::JsonType;
using nj::LocatedJson;
using nj::parseJson;
using nj::parseLocatedJson;

namespace {

std::string gameError(const std::string& text) {
    try {
        parseJson(text);
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

std::string locatedError(const std::string& text, nj::JsonPosition* at = nullptr) {
    try {
        parseLocatedJson(text);
    } catch (const nj::JsonSyntaxError& e) {
        if (at != nullptr) *at = e.at;
        return e.what();
    }
    return "";
}

// The located reading must hold the same values the game reads.
void expectSameValue(const nj::JsonValue& game, const LocatedJson& located) {
    ASSERT_EQ(game.type, located.type);
    EXPECT_EQ(game.boolean, located.boolean);
    EXPECT_EQ(game.number, located.number);
    EXPECT_EQ(game.text, located.text);
    if (game.type == JsonType::Array) {
        ASSERT_EQ(game.items.size(), located.items.size());
        for (std::size_t i = 0; i < game.items.size(); ++i)
            expectSameValue(game.items[i], located.items[i]);
    } else if (game.type == JsonType::Object) {
        for (const auto& [key, value] : game.members) {
            const LocatedJson* member = located.member(key);
            ASSERT_NE(member, nullptr) << key;
            expectSameValue(value, *member);
        }
    }
}

// Both readings refuse with the same fixed text (the mission fuzzer compares
// them on any bytes) and what both accept holds the same values; where the
// located one stopped is in the mission checker's messages.
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
        EXPECT_EQ(locatedError(c.text, &at), c.error) << c.text.substr(0, 20);
        if (*c.at) {
            EXPECT_EQ(std::to_string(at.line) + ":" + std::to_string(at.column), c.at) << c.text;
        }
        if (c.error.empty()) expectSameValue(parseJson(c.text), parseLocatedJson(c.text).root);
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
