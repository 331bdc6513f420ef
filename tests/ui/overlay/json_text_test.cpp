#include <gtest/gtest.h>

#include "ui/native_binding.hpp"

namespace {

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

TEST(BindingErrors, ExtraArgumentsMessageCountsInTheRightNumber) {
    const nj::CallError none = nj::extraArgumentsError("game.startOrAdvance()", 0, 2);
    EXPECT_EQ(none.message,
              "game.startOrAdvance(): expected at most 0 arguments, got 2 (extra arguments are "
              "refused under Strict diagnostics)");
    EXPECT_EQ(none.code, "ULJS_EXTRA_ARGS");
    EXPECT_EQ(none.type, 1);
    EXPECT_EQ(nj::extraArgumentsError("game.setApproach(approachIdx: number)", 1, 2).message,
              "game.setApproach(approachIdx: number): expected at most 1 argument, got 2 (extra "
              "arguments are refused under Strict diagnostics)");
}

}  // namespace
