#include "data/json.hpp"
#include "data/json_writer.hpp"

#include <gtest/gtest.h>

#include <string>

using nj::JsonType;
using nj::parseJson;

namespace {

TEST(JsonValues, EmptyFormsEscapesWordsAndNumbersFollowTheLenientRules) {
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
}

// A getter of another type falls back and a missed index or key reads as null
// (what the mission builder does with them is its own tests').
TEST(JsonLookups, WrongTypesFallBackAndMissesAreNull) {
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
