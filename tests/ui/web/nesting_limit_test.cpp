// The bound on element nesting: markup within it is left byte for byte alone,
// and only the tags below it are taken out, their text kept. (The 10,000-deep
// page of the hostile run goes through it end to end.)
#include "ui/web/nesting_limit.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(WebNestingLimit, OnlyTagsBelowTheBoundAreTakenOut) {
    const std::string atTheBound = "<div><div><div>x</div></div></div>";
    std::string html = atTheBound;
    EXPECT_FALSE(web::limitNesting(html, 3));
    EXPECT_EQ(html, atTheBound);
    html = "<div><div><div><div>x</div></div></div></div>";
    EXPECT_TRUE(web::limitNesting(html, 3));
    EXPECT_EQ(html, atTheBound);
}

}  // namespace
