// The bound on element nesting: markup within it is left byte for byte alone,
// and only the tags below it are taken out, their text kept.
#include "ui/web/nesting_limit.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int kDepth = 3;

TEST(WebNestingLimit, MarkupWithinTheBoundIsLeftAlone) {
    const char* const pages[] = {
        "<div><div><div>x</div></div></div>",
        // Elements the parser closes without an end tag never pile up.
        "<p>a<p>b<p>c<p>d<p>e",
        "<div><p>a<div>b</div><p>c<div>d</div><p>e<div>f</div></div>",
        "<ul><li>a<li>b<li><p>c<li>d</ul>",
        "<dl><dt>a<dd>b<dt>c<dd>d<dt>e</dl>",
        "<h1>a<h2>b<h3>c<h4>d<h5>e",
        "<select><option>a<option>b<optgroup><option>c<optgroup><option>d</select>",
        "<table><tr><td>a<td>b<tr><th>c<td>d</table>",
        "<table><thead><tr><tbody><tr><tfoot><tr></table>",
        // Void elements hold nothing; "/>" closes only inside svg and math.
        "<div><div><br><img src=x><input><hr><wbr></div></div>",
        "<svg><g><circle/><circle/><rect/><path/></g></svg>",
        // Nothing inside raw text, comments, quoted attributes or
        // declarations is a tag.
        "<div><div><script>var s = '<div><div><div><div>';</script></div></div>",
        "<div><style>a > b { color: red } /* <div><div><div> */</style></div>",
        "<div><textarea><div><div><div><div></textarea></div>",
        "<div title='a>b<div><div><div>' data-x=\"<div><div>\">x</div>",
        "<div><!-- <div><div><div><div> --></div>",
        "<!DOCTYPE html><div><![CDATA[<div><div><div>]]></div>",
        // A '<' that starts no tag, stray end tags, an unclosed tag at the end.
        "a < b <3 </> text </span></b> <div><div",
        "<DIV><Div><div>x</DIV></div></div>",
    };
    for (const std::string page : pages) {
        std::string html = page;
        EXPECT_FALSE(web::limitNesting(html, kDepth)) << page;
        EXPECT_EQ(html, page);
    }
}

TEST(WebNestingLimit, TagsBelowTheBoundAreTakenOutAndTheirTextKept) {
    const struct {
        const char* page;
        const char* kept;
    } cases[] = {
        {"<div><div><div><div>x</div></div></div></div>", "<div><div><div>x</div></div></div>"},
        {"<b><i><u><s class='a>b'>x</s></u></i></b>", "<b><i><u>x</u></i></b>"},
        {"<div><div><div><div><div>x</div>y</div>z</div></div></div>",
         "<div><div><div>xyz</div></div></div>"},
        // In HTML "/>" does not close a div.
        {"<div/><div/><div/><div/>x", "<div/><div/><div/>x"},
        // Void and raw-text elements that deep go, the latter with their text.
        {"<div><div><div><br>x<script>go()</script>y<style>p{}</style></div></div></div>",
         "<div><div><div>xy</div></div></div>"},
        {"<div><div><div><p>a</p><p>b</div></div></div>", "<div><div><div>ab</div></div></div>"},
        // Unclosed elements at the end; one end tag closing many.
        {"<div><div><div><div><div>x", "<div><div><div>x"},
        {"<div><span><b><i><u>x</div>y", "<div><span><b>x</div>y"},
        {"<div><div><div><plaintext><div>x", "<div><div><div>"},
    };
    for (const auto& c : cases) {
        std::string html = c.page;
        EXPECT_TRUE(web::limitNesting(html, kDepth)) << c.page;
        EXPECT_EQ(html, c.kept) << c.page;
    }
}

}  // namespace
