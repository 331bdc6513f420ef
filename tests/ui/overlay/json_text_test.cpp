#include "ui/json_text.hpp"

#include <gtest/gtest.h>

#include "ui/native_binding.hpp"

namespace {

TEST(JsonText, MetadataAndStateFormsDifferOnlyWhereTheyShould) {
    const std::string control("\x01\x08\x0c\x1f", 4);
    EXPECT_EQ(nj::quoteJsonString(control), "\"\\u0001\\u0008\\u000c\\u001f\"");
    EXPECT_EQ(nj::escapeJsonText(control), "\\u0001\\b\\f\\u001f");
    for (auto* escape : {nj::quoteJsonString, nj::escapeJsonText}) {
        const std::string out = escape("a\"b\\c\td\ne\rf");
        EXPECT_NE(out.find("a\\\"b\\\\c\\td\\ne\\rf"), std::string::npos) << out;
    }
    // DEL and UTF-8 pass through untouched (the bullet of the directive).
    EXPECT_EQ(nj::escapeJsonText("\x7f\xE2\x80\xA2 x"), "\x7f\xE2\x80\xA2 x");
    EXPECT_EQ(nj::quoteJsonString(""), "\"\"");
}

TEST(BindingMetadata, DescribesParametersReturnAndDoc) {
    nj::ParamSpec none{};
    EXPECT_EQ(nj::bindingMetadata(none), "{\"params\":[],\"returns\":\"void\"}");
    nj::ParamSpec approach{};
    approach.names[0] = "approachIdx";
    approach.count = 1;
    EXPECT_EQ(nj::bindingMetadata(approach),
              "{\"params\":[{\"name\":\"approachIdx\",\"type\":\"number\"}],\"returns\":\"void\"}");
    nj::ParamSpec unnamed{};
    unnamed.count = 1;
    unnamed.doc = "Line\none";
    EXPECT_EQ(nj::bindingMetadata(unnamed),
              "{\"params\":[{\"type\":\"number\"}],\"returns\":\"void\",\"doc\":\"Line\\none\"}");
}

}  // namespace
