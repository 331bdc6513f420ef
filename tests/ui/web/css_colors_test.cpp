// The page's colour functions painted as Chromium paints them (colours read off its screenshots).
#include "ui/web/css_colors.hpp"

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

struct Rewrite {
    const char* css;
    const char* expected;
};

TEST(WebColors, RewritesOnlyColourFunctionsAndOnlyOnce) {
    const Rewrite cases[] = {
        {"border-color: rgba(212, 175, 55, 0.6)", "border-color: rgba(212,175,55,0.60098)"},
        {"color: RGB( 1 , 2 , 3 )", "color: rgba(1,2,3,1)"},
        {"content: 'rgb(1, 2, 3)'", "content: 'rgb(1, 2, 3)'"},  // text, not a colour
        {"color: xrgb(1, 2, 3)", "color: xrgb(1, 2, 3)"},        // another function
        {"color: rgb(1, 2)", "color: rgb(1, 2)"},                // not a colour at all
        {"color: rgb(300, -5, 12.5)", "color: rgba(255,0,13,1)"},
        {"border: 1px solid rgba(1, 2, 3", "border: 1px solid rgba(1, 2, 3"},
    };
    for (const Rewrite& c : cases) {
        const std::string once = web::normaliseColorFunctions(c.css);
        EXPECT_EQ(once, c.expected) << c.css;
        EXPECT_EQ(web::normaliseColorFunctions(once), once) << c.css << " rewritten twice";
    }
}

}  // namespace
