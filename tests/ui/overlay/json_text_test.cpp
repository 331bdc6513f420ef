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

}  // namespace
