// The page's CSS as litehtml is given it: colour functions painted as Chromium paints them
// (colours read off its screenshots), and comments that no longer freeze the page.
#include "ui/web/css_colors.hpp"
#include "ui/web/litehtml_text.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "web_test_support.hpp"

namespace {

using webtest::PageHarness;

struct ColorForm {
    const char* css;
    std::uint32_t rgb;  // 0xRRGGBB
    std::uint32_t alpha;
};

// Premultiplied storage costs translucent channels a unit either way.
void expectColor(std::uint32_t pixel, const ColorForm& form, const std::string& where) {
    EXPECT_EQ(pixel >> 24, form.alpha) << form.css << " " << where;
    for (int shift : {16, 8, 0}) {
        const int got = int((pixel >> shift) & 0xFF), want = int((form.rgb >> shift) & 0xFF);
        EXPECT_LE(std::abs(got - want), form.alpha == 255 ? 0 : 1) << form.css << " " << where;
    }
}

// The border-color shorthand litehtml split at every blank; the same colour written again
// must not restyle the page (the banner's script writes it every frame).
TEST(WebColors, ShorthandsInStyleElementsAndColoursFromScriptsColourEverySide) {
    const ColorForm sheet = {"rgba(10, 20, 30, 0.5)", 0x0a141e, 128},
                    script = {"rgb(212,175,55)", 0xd4af37, 255};
    PageHarness page(200, 60);
    page.load(
        "<html><head><style>body{margin:0}"
        "div{position:absolute;top:0;width:40px;height:40px}"
        ".a{border:4px solid #fff;border-color:rgba(10, 20, 30, 0.5)}</style></head><body>"
        "<div class='a' style='left:0'></div>"
        "<div id='s' style='left:60px;border:4px solid #000'></div></body></html>");
    const std::string write =
        "document.getElementById('s').style.borderColor = '" + std::string(script.css) + "';";
    page.eval(write);
    page.frame();
    for (const auto& [x, form] : {std::pair{0, sheet}, std::pair{60, script}}) {
        expectColor(page.pixel(x + 24, 1), form, "top");
        expectColor(page.pixel(x + 46, 24), form, "right");
        expectColor(page.pixel(x + 24, 46), form, "bottom");
        expectColor(page.pixel(x + 1, 24), form, "left");
    }
    page.eval(write);
    EXPECT_FALSE(page.view->needsPaint());
}

TEST(WebColors, RewritesOnlyColourFunctionsAndOnlyOnce) {
    const std::pair<const char*, const char*> cases[] = {
        {"border-color: rgba(212, 175, 55, 0.6)", "border-color: rgba(212,175,55,0.60098)"},
        {"color: RGB( 1 , 2 , 3 )", "color: rgba(1,2,3,1)"},
        {"content: 'rgb(1, 2, 3)'", "content: 'rgb(1, 2, 3)'"},  // text, not a colour
        {"color: xrgb(1, 2, 3)", "color: xrgb(1, 2, 3)"},        // another function
        {"color: rgb(1, 2)", "color: rgb(1, 2)"},                // not a colour at all
        {"color: rgb(300, -5, 12.5)", "color: rgba(255,0,13,1)"},
        {"border: 1px solid rgba(1, 2, 3", "border: 1px solid rgba(1, 2, 3"},
    };
    for (const auto& [css, expected] : cases) {
        const std::string once = web::normaliseColorFunctions(css);
        EXPECT_EQ(once, expected) << css;
        EXPECT_EQ(web::normaliseColorFunctions(once), once) << css << " rewritten twice";
    }
}

constexpr std::size_t kNone = std::string::npos;

// litehtml erases each closed comment and searches again, so erasing can join a '/' and a '*'.
TEST(WebComments, FindsWhereTheCommentLitehtmlWouldLeaveOpenBegins) {
    const std::pair<const char*, std::size_t> sheets[] = {
        {"", kNone},
        {"a{color:red}", kNone},
        {"/* note */ a{color:red} /**/", kNone},
        {" /* note", 1},
        {"/**/ /*", 5},           // at the second byte once the first comment goes
        {"/*/", 0},               // an opening's '*' does not end it
        {"a//*x*/*b", 1},         // "a/" and "*b" meet once the comment goes
        {"a//*x*/ *b", kNone},    // a blank keeps them apart
        {"//*x*//*y*/*", 0},      // two comments go before the first '/' meets the last '*'
        {"a{content:'/*'}", 11},  // litehtml does not look inside quotes
        {"*/ a{} /* b */", kNone},
    };
    for (const auto& [css, openAt] : sheets) {
        EXPECT_EQ(web::openCommentAt(css), openAt) << css;
        const std::string cut = web::cutOpenComment(css);
        EXPECT_EQ(cut, std::string(css).substr(0, openAt)) << css;
        EXPECT_EQ(web::openCommentAt(cut), kNone) << cut;
    }
}

// An open comment once froze the page, and a NUL ended a page or sheet for litehtml. Open in a
// <style>, a linked sheet, past a NUL, and in a last "</style" the page ends inside: what stands
// before the comment applies, what it swallows does not, what follows a NUL is drawn.
TEST(WebComments, APageWhoseSheetsLeaveACommentOpenLoadsAndDrawsWhatPrecedesIt) {
    using namespace std::string_literals;
    PageHarness page(90, 20);
    page.files.add("ui/open.css", "\n/* .b{background:#f00}");
    page.files.add("ui/cut.css", "\n/* cut \0 */ .c{background:#fff}"s);
    page.load(
        "<html><head><style> /* never closed</style>"
        "<link rel='stylesheet' href='open.css'><link rel='stylesheet' href='cut.css'>"
        "<style>body{margin:0}div{position:absolute;top:0;width:20px;height:20px}"
        ".a{background:#00f}.b{background:#0f0} /* .a{background:#f00}</style></head>"
        "<body><div class='a' style='left:0'></div>\0<div class='b' style='left:30px'></div>"
        "<div class='c' style='left:60px'></div></body></html><style> /* last</style"s);
    page.frame();
    EXPECT_EQ(page.pixel(10, 10), webtest::rgb(0x0000ff));
    EXPECT_EQ(page.pixel(40, 10), webtest::rgb(0x00ff00));
    EXPECT_EQ(page.pixel(70, 10), webtest::rgb(0xffffff));
}

}  // namespace
