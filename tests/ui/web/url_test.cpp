// Page addresses resolved to file-system paths.
#include "ui/web/url.hpp"

#include <gtest/gtest.h>

namespace {

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
