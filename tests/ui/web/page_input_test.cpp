// Page input before it is parsed or read: the nesting bound and page addresses.
#include <gtest/gtest.h>

#include <string>

#include "ui/web/nesting_limit.hpp"
#include "ui/web/url.hpp"
#include "web_test_support.hpp"

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

// Tags and comments end where the tokenizer ends them, or the bound counts
// what the parser never nests, and misses what it does; and what is cut
// leaves no new tag behind.
TEST(WebNestingLimit, TagsAndCommentsEndWhereTheTokenizerEndsThem) {
    const struct {
        const char* what;
        const char* html;
        const char* kept;
    } cases[] = {
        {"an '=' after a quoted value starts a name, not a quoted value",
         "<i a=\"1\"=\"b><i><i>x</i></i></i>", "<i a=\"1\"=\"b><i>x</i></i>"},
        {"a quoted value holds a '>'", "<i a=\"><i>\"><i><i>x</i></i></i>",
         "<i a=\"><i>\"><i>x</i></i>"},
        {"an unquoted value holds '=' and quotes", "<i a=b=\"c><i><i>x</i></i></i>",
         "<i a=b=\"c><i>x</i></i>"},
        {"<!--> is a whole comment", "<!--><i><i><i>x</i></i></i><!-- -->",
         "<!--><i><i>x</i></i><!-- -->"},
        {"so is <!--->", "<!---><i><i><i>x</i></i></i>-->", "<!---><i><i>x</i></i>-->"},
        {"--!> ends a comment", "<!-- a --!><i><i><i>x</i></i></i>-->",
         "<!-- a --!><i><i>x</i></i>-->"},
        {"CDATA outside <svg> ends at its first '>'", "<![CDATA[x><i><i><i>y]]>",
         "<![CDATA[x><i><i>y]]>"},
        {"a cut never joins text into a tag", "<i><i><<i>i>x", "<i><i>&lt;i>x"},
    };
    for (const auto& c : cases) {
        std::string html = c.html;
        EXPECT_TRUE(web::limitNesting(html, 2)) << c.what;
        EXPECT_EQ(html, c.kept) << c.what;
    }
}

// Each level of tables in cells multiplies litehtml's layout time, so a table two deep with a
// bound of one loses every table tag inside it down to its own end, and what follows is kept.
TEST(WebNestingLimit, TablesDeeperThanTheirBoundLoseTheirTableTags) {
    const std::string oneDeep =
        "<table><tr><td>a<table><tr><td>b</td></tr></table></td></tr></table>";
    std::string html = oneDeep;
    EXPECT_FALSE(web::limitNesting(html, 512, 2));
    EXPECT_EQ(html, oneDeep);
    html =
        "<table><tr><td>a<table><tr><td>b<table><tr><td>c</td><th>d</th></tr></table>e"
        "</td></tr></table></td></tr></table><table><tr><td>f</td></tr></table>";
    EXPECT_TRUE(web::limitNesting(html, 512, 1));
    EXPECT_EQ(html, "<table><tr><td>abcde</td></tr></table><table><tr><td>f</td></tr></table>");
    // An end tag closes nothing past a table wall: the </div> inside the cell
    // leaves the table open, so the table after it is the second level.
    html = "<div><table><tr><td></div><table><tr><td>x</td></tr></table></td></tr></table></div>";
    EXPECT_TRUE(web::limitNesting(html, 512, 1));
    EXPECT_EQ(html, "<div><table><tr><td></div>x</td></tr></table></div>");
}

// Where the bound misjudges a page (a <style> inside <math> is no raw text
// there), a page the parser nests past it is shown as its text.
TEST(WebNestingLimit, APageNestingPastTheBoundsOnceParsedIsShownAsText) {
    const auto tables = [](int levels) {
        std::string html;
        for (int i = 0; i < levels; ++i) html += "<table><tr><td>";
        return html + "x";
    };
    webtest::PageHarness page;
    page.load("<html><body><math><style></math>" + tables(12) + "</body></html>");
    EXPECT_EQ(page.js("document.querySelectorAll('table').length"), "0");
    EXPECT_TRUE(page.log.contains("shown as text"));
    webtest::PageHarness bounded;
    bounded.load("<html><body><math><style></math>" + tables(8) + "</body></html>");
    EXPECT_EQ(bounded.js("document.querySelectorAll('table').length"), "8");
    EXPECT_FALSE(bounded.log.contains("shown as text"));
}

// Against the page's folder, and never above the root; only file addresses have paths.
TEST(WebUrl, AddressesResolveToPathsUnderTheRoot) {
    const std::pair<const char*, const char*> resolved[] = {
        {"css/a.css", "ui/css/a.css"},     {"./img/b.png", "ui/img/b.png"},
        {"../fonts/c.ttf", "fonts/c.ttf"}, {"/logo/d.png", "logo/d.png"},
        {"a.png?v=2#top", "ui/a.png"},     {"../../../etc/passwd", "etc/passwd"}};
    for (const auto& [address, path] : resolved) {
        EXPECT_EQ(web::resolveUrl("file:///ui/ui.html", address), std::string("file:///") + path);
        EXPECT_EQ(web::filePathOf(web::resolveUrl("file:///ui/ui.html", address)), path);
    }
    EXPECT_EQ(web::filePathOf("file:///../secret"), "secret");
    EXPECT_EQ(web::filePathOf("https://example.com/x"), "");
}

}  // namespace
