#include "data/json_writer.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

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
