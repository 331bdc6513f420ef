// Pages painted into the view's bitmap, checked on their pixels.
#include <gtest/gtest.h>

#include <algorithm>

#include "ui/web/page_document.hpp"
#include "web_test_support.hpp"

namespace {

using webtest::kTransparent;
using webtest::PageHarness;
using webtest::rgb;

const std::string kHead = "<html><head><style>body{margin:0}</style></head><body>";

struct Pixel {
    int x, y;
    std::uint32_t argb;
};

// Boxes painted exactly to their edges at a device scale, and patterned
// sides that keep their own colours and the rounded corners. (Plain boxes,
// borders, radii and rgba fills are on the HUD the reference frame holds.)
TEST(WebRender, BoxesCoverExactlyTheirEdges) {
    const std::uint32_t blue = rgb(0x0000ff), red = rgb(0xff0000), none = kTransparent;
    const struct {
        const char* what;
        double scale;
        std::string box;  // the style of one absolute div at the page's top left
        std::vector<Pixel> pixels;
    } cases[] = {
        {"device scale 2",
         2,
         "left:10px;top:5px;width:20px;height:10px;background-color:#0000ff'>",
         {{20, 10, blue}, {59, 29, blue}, {19, 10, none}, {60, 29, none}}},
        {"patterned sides",
         1,
         "left:0;top:0;width:60px;height:30px;border:4px dashed #f00;border-left:4px solid #00f;"
         "border-radius:12px'>",
         {{1, 19, blue}, {14, 1, red}, {0, 0, none}, {67, 37, none}}},
    };
    for (const auto& c : cases) {
        PageHarness page(200, 100, c.scale);
        page.load(kHead + "<div style='position:absolute;" + c.box + "</div></body></html>");
        for (const Pixel& p : c.pixels)
            EXPECT_EQ(page.pixel(p.x, p.y), p.argb) << c.what << " at " << p.x << "," << p.y;
    }
}

// Counts pixels of one opaque-ish dark colour inside a rectangle.
int inkIn(const PageHarness& page, int x0, int y0, int x1, int y1) {
    int ink = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) ink += (page.pixel(x, y) >> 24) > 0x80 ? 1 : 0;
    }
    return ink;
}

// An unknown family falls back to the loader's fallback; a glyph missing
// from the face asks the loader for a family that has it.
TEST(WebRender, UnknownFamiliesAndMissingGlyphsFallBack) {
    PageHarness page(200, 80);
    page.load(kHead +
              "<div style='font-family:NoSuchFace;font-size:30px;color:#000'>Hi</div>"
              "<div style='font-family:monospace'>\xe6\xbc\xa2</div></body></html>");
    const auto asked = [&](const char* family) {
        return std::count(page.fonts.requested.begin(), page.fonts.requested.end(), family);
    };
    EXPECT_GT(asked("nosuchface"), 0);
    EXPECT_GT(asked("dejavu sans"), 0);
    EXPECT_GT(inkIn(page, 0, 0, 100, 40), 20);
    EXPECT_GT(page.fonts.characterFallbacks, 0);
}

// Hiding and showing by class is what every screen of the page does; what it
// does not do is take a class away by rewriting className, or toggle one
// for long enough to show the matched rules growing.
TEST(WebRender, ARemovedClassStopsApplyingAndTogglesDoNotGrowMatchedRules) {
    PageHarness page;
    page.load(kHead +
              "<style>.box{position:absolute;left:0;top:0;width:20px;height:20px;"
              "background-color:#ff0000}.blue{background-color:#0000ff}</style>"
              "<div id='b' class='box'></div></body></html>");
    const auto after = [&](const std::string& change) {
        page.eval("document.getElementById('b')." + change);
        page.frame();
        return page.pixel(5, 5);
    };
    EXPECT_EQ(after("className = 'box blue'"), rgb(0x0000ff));
    EXPECT_EQ(after("className = 'box'"), rgb(0xff0000));
    const std::size_t rules = page.view->page()->matchedRuleCount();
    for (int i = 0; i < 50; ++i) after("classList.toggle('blue')");
    EXPECT_EQ(page.view->page()->matchedRuleCount(), rules);
}

TEST(WebRender, PngImageIsDecodedAndScaled) {
    PageHarness page;
    // 2x2: red, green / blue, white; drawn 20x20, each source pixel becomes
    // a 10x10 block (sampled at block centres to stay clear of filtering).
    page.files.add("ui/img/quad.png",
                   webtest::makePng(2, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF}));
    page.load(kHead +
              "<img src='img/quad.png' style='position:absolute;left:0;top:0;width:20px;"
              "height:20px'><div style='position:absolute;left:40px;top:0;width:4px;height:4px;"
              "background:url(img/quad.png) no-repeat'></div></body></html>");
    EXPECT_EQ(page.pixel(2, 2), rgb(0xff0000));
    EXPECT_EQ(page.pixel(17, 2), rgb(0x00ff00));
    EXPECT_EQ(page.pixel(2, 17), rgb(0x0000ff));
    EXPECT_EQ(page.pixel(17, 17), rgb(0xffffff));
    EXPECT_EQ(page.pixel(25, 5), kTransparent);
    EXPECT_EQ(page.pixel(40, 0), rgb(0xff0000));  // background image at its natural size
    EXPECT_EQ(page.pixel(41, 1), rgb(0xffffff));
}

// The page itself writes only changed values, so writing the ones already
// shown is left to this test.
TEST(WebRender, WritingTheValuesShownAlreadyLeavesNothingToPaint) {
    PageHarness page;
    page.load(kHead + "<div id='t' class='a' style='color:#000'>same</div></body></html>");
    EXPECT_FALSE(page.view->paint());
    page.eval(
        "var t = document.getElementById('t'); t.textContent = 'same';"
        "t.className = 'a'; t.style.color = '#000'; t.classList.add('a');");
    EXPECT_FALSE(page.view->needsPaint());
    page.eval("document.getElementById('t').textContent = 'other'");
    EXPECT_TRUE(page.view->paint());
    EXPECT_FALSE(page.view->paint());
}

// Runs of ink along one row (or column) of pixels.
int inkRuns(const PageHarness& page, int fixed, int from, int to, bool alongRow) {
    int runs = 0;
    bool inRun = false;
    for (int i = from; i < to; ++i) {
        const std::uint32_t p = alongRow ? page.pixel(i, fixed) : page.pixel(fixed, i);
        const bool ink = (p >> 24) > 0x60;
        runs += ink && !inRun;
        inRun = ink;
    }
    return runs;
}

struct BorderPattern {
    const char* border;  // on a 100 x 40 px box
    int width;           // px
    int dashesAcross;    // on the top side, corners included
    int dashesDown;      // on the left side
};

// Counts from Chromium's screenshots of the same boxes: 2w dashes with w
// gaps from 3 px up (3w and 2w below), w dots with w gaps, stretched so a
// dash sits on each corner.
TEST(WebRender, DashedAndDottedBordersHaveTheBrowsersDashes) {
    const BorderPattern patterns[] = {
        {"4px dashed", 4, 9, 4},  {"2px dashed", 2, 11, 5}, {"1px dashed", 1, 21, 9},
        {"3px dotted", 3, 18, 8}, {"6px dotted", 6, 10, 5},
    };
    for (const BorderPattern& p : patterns) {
        PageHarness page(130, 70);
        page.load(kHead +
                  "<div style='position:absolute;left:0;top:0;width:100px;height:40px;"
                  "border:" +
                  p.border + " #000'></div></body></html>");
        const int outerW = 100 + 2 * p.width, outerH = 40 + 2 * p.width, mid = p.width / 2;
        EXPECT_EQ(inkRuns(page, mid, 0, outerW, true), p.dashesAcross) << p.border << " top";
        EXPECT_EQ(inkRuns(page, mid, 0, outerH, false), p.dashesDown) << p.border << " left";
        EXPECT_EQ(page.pixel(50, 20), kTransparent) << p.border;
    }
}

TEST(WebRender, DoubleBordersAreTwoLinesAThirdOfTheWidthEach) {
    struct Double {
        int width;
        const char* acrossTop;  // '#' ink, '.' clear, from the outer edge in
    };
    const Double doubles[] = {{2, "##"},    {3, "#.#"},    {4, "#..#"},
                              {5, "##.##"}, {6, "##..##"}, {9, "###...###"}};
    for (const Double& d : doubles) {
        PageHarness page(130, 70);
        page.load(kHead +
                  "<div style='position:absolute;left:0;top:0;width:100px;height:40px;"
                  "border:" +
                  std::to_string(d.width) + "px double #00f'></div></body></html>");
        std::string seen;
        for (int y = 0; y < d.width; ++y) seen += (page.pixel(50, y) >> 24) > 0x80 ? '#' : '.';
        EXPECT_EQ(seen, d.acrossTop) << d.width << " px";
        EXPECT_EQ(page.pixel(50, d.width), kTransparent) << d.width << " px";
    }
}

// Tops of the lower boxes in Chromium. litehtml collapsed a pair only when
// the upper box had no bottom border or padding, and added both margins
// otherwise.
TEST(WebRender, AdjoiningMarginsOfBlockSiblingsCollapseIntoTheLarger) {
    PageHarness page(700, 120);
    page.load(
        kHead +
        "<style>.c{position:absolute;top:0;width:80px}.c div{height:10px;"
        "background-color:#000}</style>"
        "<div class='c' style='left:0'><div style='margin:12px 0;border:1px solid red'></div>"
        "<div id='a' style='margin:12px 0;border:1px solid red'></div></div>"
        "<div class='c' style='left:100px'><div style='margin:20px 0;border:1px solid red'>"
        "</div><div id='b' style='margin:8px 0'></div></div>"
        "<div class='c' style='left:200px'><div style='margin:8px 0;padding-bottom:2px'></div>"
        "<div id='c' style='margin:20px 0;border:2px solid red'></div></div>"
        "<div class='c' style='left:300px'><div style='margin:12px 0'></div>"
        "<div id='d' style='margin:12px 0'></div></div>"
        "<div class='c' style='left:400px'><div style='margin:12px 0;border:1px solid red'>"
        "</div> text <div id='e' style='margin:12px 0;border:1px solid red'></div></div>"
        "<div class='c' style='left:500px'><div style='margin:1em 0;font-size:20px;"
        "border:1px solid red'></div><div id='f' style='margin:0.5em 0;border:1px solid red'>"
        "</div></div></body></html>");
    const std::pair<const char*, int> tops[] = {{"a", 36}, {"b", 52}, {"c", 40},
                                                {"d", 34}, {"e", 67}, {"f", 52}};
    for (const auto& [id, top] : tops) {
        EXPECT_EQ(page.js(std::string("document.getElementById('") + id +
                          "').getBoundingClientRect().top"),
                  std::to_string(top))
            << id;
    }
}

// Partial repaints must leave exactly the bitmap a full repaint of the final
// DOM gives, whatever the edits touched: siblings through "+" and "~" (or
// descendants only, when no rule relates siblings), inherited colours, text
// that reflows its neighbours, hidden elements, positioned children outside
// their parent's box.
void expectPartialRepaintsMatchAFullRepaint(const std::string& relationCss) {
    PageHarness page(240, 120);
    page.load(kHead +
              "<style>.c{display:inline-block;width:30px;height:20px;margin:2px;"
              "background-color:#444;border:2px solid #888;border-radius:4px}"
              ".c.sel{border-color:rgba(255, 204, 51, 0.8);border-style:dashed}" +
              relationCss +
              ".off{display:none}.box{color:#0ff;letter-spacing:1.5px}"
              ".pin{position:absolute;left:150px;top:80px;width:30px;height:30px;"
              "font-family:'DejaVu Sans';font-size:24px;font-weight:bold}</style>"
              "<div id='row'><span class='c' id='c0'>a</span><span class='c' id='c1'>b"
              "<div class='pin'>X</div></span>"
              "<span class='c' id='c2'>c</span><span class='c' id='c3'>d</span></div>"
              "<div id='text' class='box' style='font-family:\"DejaVu Sans\";font-size:14px'>"
              "Clock <b id='clock'>00:00</b> after</div>"
              "<div id='gone' style='width:50px;height:10px;background-color:#f0f'></div>"
              "</body></html>");
    const char* edits[] = {
        "document.getElementById('row').style.marginLeft = '17px'",
        "document.getElementById('clock').textContent = '12:34:56'",
        "document.getElementById('gone').classList.add('off')",
        "document.getElementById('gone').classList.remove('off')",
        "document.getElementById('clock').textContent = '1'",
        "document.getElementById('c1').classList.add('sel')",
        "document.getElementById('text').className = ''",
        "document.getElementById('c1').classList.remove('sel'); "
        "document.getElementById('c2').classList.add('sel')",
        "document.getElementById('row').hidden = true",
        "document.getElementById('row').hidden = false",
        "document.getElementById('c0').classList.add('sel')",
    };
    for (const char* edit : edits) {
        page.eval(edit);
        page.frame();
    }
    EXPECT_TRUE(page.matchesAFullRepaint());
}

TEST(WebRender, PartialRepaintsMatchAFullRepaint) {
    for (const char* relations :
         {".c.sel+.c{background-color:#0a0}.c.sel~.c{color:#f00}", "#row .sel{color:#f00}"}) {
        SCOPED_TRACE(relations);
        expectPartialRepaintsMatchAFullRepaint(relations);
    }
}

// Viewport units are layout units: the view's pixels over its device scale.
TEST(WebRender, ViewportUnitsFollowAResizeAndItsScale) {
    PageHarness page(200, 50);
    page.load(kHead +
              "<div style='width:50vw;height:10px;background-color:#00ff00'></div></body></html>");
    page.view->resize(240, 50, 2.0);  // 120 units wide: 50vw is 60 units, 120 pixels
    page.frame();
    EXPECT_EQ(page.pixel(119, 5), rgb(0x00ff00));
    EXPECT_EQ(page.pixel(120, 5), kTransparent);
}

}  // namespace
