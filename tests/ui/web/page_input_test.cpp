// Page input before it is parsed or read: the bound on element nesting (markup
// within it is left byte for byte alone; only tags below it go, their text
// kept; the hostile run's 10,000-deep page goes through it end to end), and
// page addresses resolved to paths that never leave the package's root.
#include <gtest/gtest.h>

#include <string>

#include "ui/web/nesting_limit.hpp"
#include "ui/web/url.hpp"

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

TEST(WebUrl, RelativeAddressesResolveAgainstThePagesFolder) {
    EXPECT_EQ(web::resolveUrl("file:///ui/ui.html", "css/a.css"), "file:///ui/css/a.css");
    EXPECT_EQ(web::resolveUrl("file:///ui/ui.html", "./img/b.png"), "file:///ui/img/b.png");
    EXPECT_EQ(web::resolveUrl("file:///ui/ui.html", "../fonts/c.ttf"), "file:///fonts/c.ttf");
    EXPECT_EQ(web::resolveUrl("file:///ui/ui.html", "/logo/d.png"), "file:///logo/d.png");
    EXPECT_EQ(web::resolveUrl("file:///ui/ui.html", "a.png?v=2#top"), "file:///ui/a.png");
}

TEST(WebUrl, DotDotNeverClimbsAboveTheRoot) {
    EXPECT_EQ(web::resolveUrl("file:///ui/ui.html", "../../../etc/passwd"), "file:///etc/passwd");
    EXPECT_EQ(web::filePathOf("file:///../secret"), "secret");
}

TEST(WebUrl, OnlyFileAddressesHavePaths) {
    EXPECT_EQ(web::filePathOf("file:///ui/ui.html"), "ui/ui.html");
    EXPECT_EQ(web::filePathOf("https://example.com/x"), "");
}

}  // namespace
