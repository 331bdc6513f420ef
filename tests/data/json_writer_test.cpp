#include "data/json_writer.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

// The page's form and binding metadata's differ only for backspace and form feed.
TEST(JsonWriter, EscapesEachByteClassInBothForms) {
    struct Case {
        std::string in, page, metadata;
    } cases[] = {
        {"plain", "plain", "plain"},
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

TEST(JsonWriter, NumbersUseShortestSixDigitForm) {
    EXPECT_EQ(nj::formatJsonNumber(0.0), "0");
    EXPECT_EQ(nj::formatJsonNumber(12.5), "12.5");
    EXPECT_EQ(nj::formatJsonNumber(-0.25), "-0.25");
    EXPECT_EQ(nj::formatJsonNumber(1280.0 / 3.0), "426.667");
    EXPECT_EQ(nj::formatJsonNumber(1234567.0), "1.23457e+06");
}

TEST(JsonWriter, SeparatesMembersAndElementsAtEveryDepth) {
    nj::JsonWriter json;
    json.beginObject();
    json.key("a").integer(-3).key("b").unsignedInteger(18446744073709551615ull);
    json.key("list").beginArray();
    json.beginObject().key("x").number(0.5).endObject();
    json.beginObject().endObject();
    json.beginArray().endArray();
    json.boolean(true).string("s");
    json.endArray();
    json.key("empty").beginObject().endObject();
    json.key("last").boolean(false);
    json.endObject();
    EXPECT_EQ(json.text(),
              "{\"a\":-3,\"b\":18446744073709551615,\"list\":[{\"x\":0.5},{},[],true,\"s\"],"
              "\"empty\":{},\"last\":false}");
}

}  // namespace
