// Page input before it is parsed or read: the nesting bound and page addresses.
#include <gtest/gtest.h>

#include <string>

#include "ui/web/nesting_limit.hpp"
#include "ui/web/url.hpp"
#include "web_test_support.hpp"

namespace {

// Only what nests past a bound goes. Tags and comments end where the tokenizer ends them, or the
// bound counts what the parser never nests and misses what it does; a cut leaves no new tag. Each
// level of tables in cells multiplies litehtml's layout time: a table past its bound loses every
// table tag inside it down to its own end, and what follows is kept.
TEST(WebNestingLimit, TagsAndCommentsEndWhereTheTokenizerEndsThem) {
    const struct {
        const char* what;
        const char* html;
        int elements, tables;
        const char* kept;  // nullptr: left as it was
    } cases[] = {
        {"at the bound", "<div><div><div>x</div></div></div>", 3, 8, nullptr},
        {"past it", "<div><div><div><div>x</div></div></div></div>", 3, 8,
         "<div><div><div>x</div></div></div>"},
        {"an '=' after a quoted value starts a name, not a quoted value",
         "<i a=\"1\"=\"b><i><i>x</i></i></i>", 2, 8, "<i a=\"1\"=\"b><i>x</i></i>"},
        {"a quoted value holds a '>'", "<i a=\"><i>\"><i><i>x</i></i></i>", 2, 8,
         "<i a=\"><i>\"><i>x</i></i>"},
        {"an unquoted value holds '=' and quotes", "<i a=b=\"c><i><i>x</i></i></i>", 2, 8,
         "<i a=b=\"c><i>x</i></i>"},
        {"<!--> is a whole comment", "<!--><i><i><i>x</i></i></i><!-- -->", 2, 8,
         "<!--><i><i>x</i></i><!-- -->"},
        {"so is <!--->", "<!---><i><i><i>x</i></i></i>-->", 2, 8, "<!---><i><i>x</i></i>-->"},
        {"--!> ends a comment", "<!-- a --!><i><i><i>x</i></i></i>-->", 2, 8,
         "<!-- a --!><i><i>x</i></i>-->"},
        {"CDATA outside <svg> ends at its first '>'", "<![CDATA[x><i><i><i>y]]>", 2, 8,
         "<![CDATA[x><i><i>y]]>"},
        {"a cut never joins text into a tag", "<i><i><<i>i>x", 2, 8, "<i><i>&lt;i>x"},
        {"tables at their bound",
         "<table><tr><td>a<table><tr><td>b</td></tr></table></td></tr></table>", 512, 2, nullptr},
        {"tables past it",
         "<table><tr><td>a<table><tr><td>b<table><tr><td>c</td><th>d</th></tr></table>e"
         "</td></tr></table></td></tr></table><table><tr><td>f</td></tr></table>",
         512, 1, "<table><tr><td>abcde</td></tr></table><table><tr><td>f</td></tr></table>"},
        {"an end tag closes nothing past a table wall: the next table is the second level",
         "<div><table><tr><td></div><table><tr><td>x</td></tr></table></td></tr></table></div>",
         512, 1, "<div><table><tr><td></div>x</td></tr></table></div>"},
    };
    for (const auto& c : cases) {
        std::string html = c.html;
        EXPECT_EQ(web::limitNesting(html, c.elements, c.tables), c.kept != nullptr) << c.what;
        EXPECT_EQ(html, c.kept ? c.kept : c.html) << c.what;
    }
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
