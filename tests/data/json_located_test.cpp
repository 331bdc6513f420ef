#include "data/json_located.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// The mission fuzzer compares the two readings' refusals on any bytes; here
// the values of what both accept are compared too.
TEST(LocatedJson, AcceptsAndRefusesExactlyWhatTheGameDoesWithItsTexts) {
    std::vector<std::string> inputs = {"",
                                       "[1,]",
                                       "{\"a\" 1}",
                                       "1e999",
                                       "\"abc\\",
                                       "[tru]",
                                       "[\"a\\u12\"]",
                                       "{\"a\":[1,{\"b\":null}],\"a\":false}",
                                       "[01, 2., -0.5e+3, .5]",
                                       "{\"k\":\"\t\"} trailing",
                                       "{\"\":\"\\q\"}"};
    for (int depth : {512, 513})
        inputs.push_back(std::string(depth, '[') + std::string(depth, ']'));
    for (const std::string& text : inputs) {
        const std::string expected = gameError(text);
        EXPECT_EQ(locatedError(text), expected) << text.substr(0, 40);
        if (expected.empty()) expectSameValue(parseJson(text), parseLocatedJson(text).root);
    }
}

TEST(LocatedJson, SyntaxErrorsSayWhereTheGameStopped) {
    struct Case {
        std::string text;
        std::size_t line, column;
    };
    const Case cases[] = {
        {"{\n  \"a\": 1\n  \"b\": 2\n}", 3, 3},  // the missing comma, before "b"
        {"[1,\n 2,\n ]", 3, 2},                  // the stray ']'
        {"{\"a\": \"open\n", 1, 7},              // the string's opening quote
        {"[1, 1e999]", 1, 5},                    // the number's first character
        {"{\"é\": @}", 1, 7},                    // columns count characters, not bytes
    };
    for (const Case& c : cases) {
        nj::JsonPosition at;
        EXPECT_FALSE(locatedError(c.text, &at).empty()) << c.text;
        EXPECT_EQ(at.line, c.line) << c.text;
        EXPECT_EQ(at.column, c.column) << c.text;
    }
}

TEST(LocatedJson, WarnsWhereOnlyTheGamesLenientReaderAccepts) {
    struct Case {
        std::string text;
        std::string message;
        std::size_t column;
    };
    const Case cases[] = {
        {"{} x", "text after the mission; the game ignores it", 4},
        {"[01]", "the number '01' is not strict JSON", 2},
        {"[2.]", "the number '2.' is not strict JSON", 2},
        {"[-.5]", "the number '-.5' is not strict JSON", 2},
        {"[1.2.3]", "the number '1.2.3' is not strict JSON", 2},
        {"[\"\\u00zz\"]", "'\\u00zz' is not four hex digits; the game does not check", 3},
        {"[\"\\u00e9\"]", "the game shows '\\u00e9' as '?'", 3},
        {"[\"a\\qb\"]", "unknown escape '\\q'; the game drops it", 4},
        {"[\"a\tb\"]", "a raw control character in a string; write it as an escape", 4},
        {"[tru]", "'tru' is read as false", 2},
        {"[nope]", "'nope' is read as null", 2},
        {"{\"a\":1,\"a\":2}", "\"a\" is written twice; the game keeps the last", 8},
    };
    for (const Case& c : cases) {
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
