#include "data/json.hpp"
#include "data/json_writer.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <string>

using nj::JsonType;
using nj::parseJson;

namespace {

// The exact text of whatever parseJson throws, or "" when it succeeds.
std::string errorOf(const std::string& text) {
    try {
        parseJson(text);
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

TEST(JsonObjects, DuplicateKeysKeepTheLastValue) {
    const auto dup = parseJson(R"({"a":1,"a":2})");
    ASSERT_EQ(dup.size(), 1u);
    EXPECT_EQ(dup.at("a").number, 2.0);
}

TEST(JsonContainers, EmptyFormsParseAndTrailingCommaFails) {
    EXPECT_EQ(parseJson(" [\n\t] ").type, JsonType::Array);
    EXPECT_EQ(parseJson("{ }").type, JsonType::Object);
    EXPECT_EQ(errorOf("[1,]"), "Unexpected character in JSON: ']'");
    EXPECT_EQ(errorOf("{\"a\":1,}"), "Expected '\"'");
}

TEST(JsonStrings, EscapesFollowTheLenientRules) {
    EXPECT_EQ(parseJson(R"("\u00e9x")").text, "?x");
    EXPECT_EQ(parseJson(R"("\q")").text, "");
    EXPECT_EQ(parseJson(R"("a\"b\\c\/d\b\f\n\r\t")").text, "a\"b\\c/d\b\f\n\r\t");
    // Fewer than four bytes after \u: nothing appended, reading goes on.
    EXPECT_EQ(parseJson("\"abc\\u12\"").text, "abc12");
    EXPECT_EQ(errorOf("\"abc\\u12"), "Unterminated string");
    // Raw control bytes pass through untouched.
    EXPECT_EQ(parseJson("\"a\x01\nb\"").text, "a\x01\nb");
    // A backslash as the very last byte is kept, then the string is unterminated.
    EXPECT_EQ(errorOf("\"abc\\"), "Unterminated string");
}

TEST(JsonWords, BooleansAndNullAreReadLoosely) {
    EXPECT_TRUE(parseJson("true").boolean);
    for (const char* text : {"txyz", "f", "trueish"}) {
        const auto v = parseJson(text);
        EXPECT_EQ(v.type, JsonType::Bool) << text;
        EXPECT_FALSE(v.boolean) << text;
    }
    for (const char* text : {"nope", "n"}) {
        EXPECT_EQ(parseJson(text).type, JsonType::Null) << text;
    }
    // "nul}" consumes the brace as part of the four skipped bytes.
    EXPECT_EQ(parseJson("[nul}]").size(), 1u);
    // "nul" then end of text: the skip stops at the end and the array is unterminated.
    EXPECT_EQ(errorOf("[nu"), "Expected ',' or ']' in array");
}

TEST(JsonNumbers, LongestPrefixAndConversionErrors) {
    EXPECT_EQ(parseJson("1.5.5").number, 1.5);
    EXPECT_EQ(parseJson("007").number, 7.0);
    EXPECT_EQ(parseJson("-2.5e2").number, -250.0);
    EXPECT_EQ(errorOf("-"), "invalid stod argument");
    EXPECT_EQ(errorOf("1e999"), "stod argument out of range");
    EXPECT_EQ(errorOf("+1"), "Unexpected character in JSON: '+'");
}

TEST(JsonErrors, FixedTextsForEverySyntaxFault) {
    // The NUL byte stands in the message, so as a C string it ends there.
    EXPECT_EQ(errorOf(""), "Unexpected character in JSON: '");
    EXPECT_EQ(errorOf("\xEF\xBB\xBF{}"), "Unexpected character in JSON: '\xEF'");
    EXPECT_EQ(errorOf("{\"a\" 1}"), "Expected ':' after key");
    EXPECT_EQ(errorOf("{\"a\":1 2}"), "Expected ',' or '}' in object");
    EXPECT_EQ(errorOf("[1 2]"), "Expected ',' or ']' in array");
    EXPECT_EQ(errorOf("{1:2}"), "Expected '\"'");
    EXPECT_EQ(errorOf("\"open"), "Unterminated string");
}

TEST(JsonDepth, OrdinaryNestingParsesAndAbsurdNestingFailsCleanly) {
    const std::string ok = std::string(512, '[') + std::string(512, ']');
    EXPECT_EQ(errorOf(ok), "");
    const std::string deep = std::string(513, '[') + std::string(513, ']');
    EXPECT_EQ(errorOf(deep), "JSON nesting too deep");
    std::string objects;
    for (int i = 0; i < 100000; ++i) objects += "{\"a\":";
    EXPECT_EQ(errorOf(objects), "JSON nesting too deep");
}

// A string or an object where the mission builder wants a number, and a
// lookup in what is not an object, fall back to its default (the builder's
// tests); the other getters' fallbacks, the rounding to single precision and
// what a miss returns are here.
TEST(JsonLookups, TypedGettersRoundToFloatAndMissesAreNull) {
    const auto str = parseJson(R"({"x":"7"})");
    EXPECT_EQ(str.getString("x", "d"), "7");
    EXPECT_EQ(str.getBool("x", true), true);
    const auto num = parseJson(R"({"x":7.25,"n":0.1,"big":1e300,"tiny":1e-300})");
    EXPECT_EQ(num.getString("x", "d"), "d");
    EXPECT_EQ(num.getNumber("n", 0.0f), 0.1f);
    EXPECT_EQ(num.getNumber("big", 0), std::numeric_limits<float>::infinity());
    EXPECT_EQ(num.getNumber("tiny", 1), 0.0f);
    const auto arr = parseJson("[1,2]");
    EXPECT_FALSE(arr.has("x"));
    EXPECT_EQ(arr.at(2).type, JsonType::Null);
    EXPECT_EQ(arr.at("x").type, JsonType::Null);
    EXPECT_EQ(parseJson(R"({"a":1})").at(0).type, JsonType::Null);
    EXPECT_EQ(parseJson("3").size(), 0u);
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
        nj::JsonWriter page, metadata(nj::JsonStringForm::Metadata);
        page.string(c.in);
        metadata.string(c.in);
        EXPECT_EQ(page.text(), "\"" + c.page + "\"");
        EXPECT_EQ(metadata.text(), "\"" + c.metadata + "\"");
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

}  // namespace
