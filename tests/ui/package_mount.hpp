#pragma once
// The page, fonts and campaign from a package, mounted with its log kept quiet.

#include <gtest/gtest.h>

#include <sstream>
#include <string_view>

#include "data/package.hpp"

namespace nj::test {

template <class Mount>
bool mountQuietly(Mount mount) {
    std::ostringstream quiet;
    NJ3Package& package = NJ3Package::instance();
    package.setLogStreams(&quiet, &quiet);
    const bool mounted = mount(package);
    package.setLogStreams(nullptr, nullptr);
    return mounted;
}

inline bool mountPackageBytes(std::string_view bytes) {
    return mountQuietly([&](NJ3Package& p) { return p.mountBytes("test.nj3p", bytes); });
}

#ifdef NJ_PACKAGE_PATH
// Suites over the package the build makes, mounted once for the suite.
class BuiltPackageTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(mountQuietly([](NJ3Package& p) { return p.mount(NJ_PACKAGE_PATH); }));
    }
};
#endif

}  // namespace nj::test
