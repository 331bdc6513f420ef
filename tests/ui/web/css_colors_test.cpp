// Colour functions in every syntax, in shorthands and longhands, painted as
// Chromium paints them (the colours below were read off its screenshots).
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

const ColorForm kForms[] = {
    {"rgba(212, 175, 55, 0.6)", 0xd4af37, 153},  {"rgba(212,175,55,0.6)", 0xd4af37, 153},
    {"rgb(212 175 55 / 60%)", 0xd4af37, 153},    {"rgba(212, 175, 55, 60%)", 0xd4af37, 153},
    {"rgb(83.1%, 68.6%, 21.6%)", 0xd4af37, 255}, {"hsla(46, 65%, 52%, 0.6)", 0xd4af35, 153},
    {"hsl(46deg 65% 52% / 0.6)", 0xd4af35, 153}, {"HSLA(46, 65%, 52%, .6)", 0xd4af35, 153},
    {"hsl(200, 100%, 25%)", 0x005580, 255},      {"rgba(10, 20, 30, 0.5)", 0x0a141e, 128},
};

// Premultiplied storage costs translucent channels a unit either way.
void expectColor(std::uint32_t pixel, const ColorForm& form, const std::string& where) {
    EXPECT_EQ(pixel >> 24, form.alpha) << form.css << " " << where;
    for (int shift : {16, 8, 0}) {
        const int got = int((pixel >> shift) & 0xFF), want = int((form.rgb >> shift) & 0xFF);
        EXPECT_LE(std::abs(got - want), form.alpha == 255 ? 0 : 1) << form.css << " " << where;
    }
}

// Each form as the colour of a rounded 6 px frame (the border-color
// shorthand litehtml used to split at every blank) and as a background
// through the background shorthand.
TEST(WebColors, EveryFormColoursAllFourSidesAndTheBackground) {
    PageHarness page(60 * int(std::size(kForms)), 130);
    std::string html =
        "<html><head><style>body{margin:0} div{position:absolute;width:40px;"
        "height:40px}</style></head><body>";
    for (std::size_t i = 0; i < std::size(kForms); ++i) {
        const std::string left = std::to_string(60 * i) + "px";
        html += "<div style='left:" + left +
                ";top:0;border:6px solid #fff;border-radius:14px;"
                "border-color:" +
                kForms[i].css + "'></div>";
        html += "<div style='left:" + left + ";top:70px;background:" + kForms[i].css + "'></div>";
    }
    page.load(html + "</body></html>");
    for (std::size_t i = 0; i < std::size(kForms); ++i) {
        const int x = 60 * int(i);
        expectColor(page.pixel(x + 26, 2), kForms[i], "top");
        expectColor(page.pixel(x + 49, 26), kForms[i], "right");
        expectColor(page.pixel(x + 26, 49), kForms[i], "bottom");
        expectColor(page.pixel(x + 2, 26), kForms[i], "left");
        EXPECT_EQ(page.pixel(x, 0), webtest::kTransparent)
            << kForms[i].css << " keeps its rounded corner";
        EXPECT_EQ(page.pixel(x + 26, 26), webtest::kTransparent) << kForms[i].css;
        expectColor(page.pixel(x + 20, 90), kForms[i], "background");
    }
}

// The same rewrite reaches colours in <style> elements (the linked sheet's
// are on the HUD the reference frame holds) and colours a script writes. A
// script writing the same colour every frame must not restyle the page every
// frame: the value it reads back is what it wrote, as far as the no-change
// check goes.
TEST(WebColors, ShorthandsInStyleElementsAndColoursFromScriptsColourEverySide) {
    PageHarness page(200, 60);
    page.load(
        "<html><head><style>body{margin:0}"
        "div{position:absolute;top:0;width:40px;height:40px}"
        ".a{border:4px solid #fff;border-color:rgba(10, 20, 30, 0.5)}</style></head><body>"
        "<div class='a' style='left:0'></div>"
        "<div id='s' style='left:60px;border:4px solid #000'></div></body></html>");
    const std::string write =
        "document.getElementById('s').style.borderColor = 'rgba(10, 20, 30, 0.5)';";
    page.eval(write);
    page.frame();
    for (const int x : {0, 60}) {
        expectColor(page.pixel(x + 24, 1), kForms[9], "top");
        expectColor(page.pixel(x + 46, 24), kForms[9], "right");
        expectColor(page.pixel(x + 24, 46), kForms[9], "bottom");
        expectColor(page.pixel(x + 1, 24), kForms[9], "left");
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
        {"background: rgba(0, 0, 0, 0) url(x.png)", "background: rgba(0,0,0,0) url(x.png)"},
        {"content: 'rgb(1, 2, 3)'", "content: 'rgb(1, 2, 3)'"},  // text, not a colour
        {"color: xrgb(1, 2, 3)", "color: xrgb(1, 2, 3)"},        // another function
        {"color: rgb(1, 2)", "color: rgb(1, 2)"},                // not a colour at all
        {"color: hsl(10, 20, 30)", "color: hsl(10, 20, 30)"},    // hsl needs percentages
        {"color: rgb(300, -5, 12.5)", "color: rgba(255,0,13,1)"},
        {"color: rgba(1, 2, 3, 1.5)", "color: rgba(1,2,3,1)"},
        {"border: 1px solid rgba(1, 2, 3", "border: 1px solid rgba(1, 2, 3"},
    };
    for (const Rewrite& c : cases) {
        const std::string once = web::normaliseColorFunctions(c.css);
        EXPECT_EQ(once, c.expected) << c.css;
        EXPECT_EQ(web::normaliseColorFunctions(once), once) << c.css << " rewritten twice";
    }
}

}  // namespace
