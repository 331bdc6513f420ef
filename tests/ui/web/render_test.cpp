#include <gtest/gtest.h>

#include "ui/web/page_document.hpp"
#include "web_test_support.hpp"

namespace {

using webtest::PageHarness;
using webtest::rgb;

const std::string kHead = "<html><head><style>body{margin:0}</style></head><body>";

// Every screen hides and shows by class for as long as the game runs.
TEST(WebRender, ARemovedClassStopsApplyingAndTogglesDoNotGrowMatchedRules) {
    PageHarness page;
    page.load(kHead +
              "<style>.box{position:absolute;left:0;top:0;width:20px;height:20px;"
              "background-color:#ff0000}.blue{background-color:#0000ff}</style>"
              "<div id='b' class='box'></div></body></html>");
    const std::size_t rules = page.view->page()->matchedRuleCount();
    for (int i = 1; i <= 50; ++i) {
        page.eval("document.getElementById('b').classList.toggle('blue')");
        page.frame();
        EXPECT_EQ(page.pixel(5, 5), i % 2 ? rgb(0x0000ff) : rgb(0xff0000)) << i;
    }
    EXPECT_EQ(page.view->page()->matchedRuleCount(), rules);
}

// Tops as in Chromium; litehtml added both margins below a border or padding.
TEST(WebRender, AdjoiningMarginsOfBlockSiblingsCollapseIntoTheLarger) {
    PageHarness page(500, 120);
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
        "<div class='c' style='left:400px'><div style='margin:12px 0;border:1px solid red'>"
        "</div> text <div id='e' style='margin:12px 0;border:1px solid red'></div></div>"
        "</body></html>");
    const std::pair<const char*, int> tops[] = {{"a", 36}, {"b", 52}, {"c", 40}, {"e", 67}};
    for (const auto& [id, top] : tops) {
        EXPECT_EQ(page.js(std::string("document.getElementById('") + id +
                          "').getBoundingClientRect().top"),
                  std::to_string(top))
            << id;
    }
}

// Changed classes' descendants, inherited colours, reflowed text, hidden and outlying children;
// then the pause screen's START badge turning into P when the pad is put down.
TEST(WebRender, PartialRepaintsMatchAFullRepaint) {
    PageHarness page(240, 120);
    page.load(kHead +
              "<style>.c{display:inline-block;width:30px;height:20px;margin:2px;"
              "background-color:#444;border:2px solid #888;border-radius:4px}"
              ".c.sel{border-color:rgba(255, 204, 51, 0.8)}#row .sel{color:#f00}"
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
        "document.getElementById('c0').classList.add('sel')",
    };
    for (const char* edit : edits) {
        page.eval(edit);
        page.frame();
    }
    EXPECT_TRUE(page.matchesAFullRepaint());
    for (const std::string display : {"inline-block", "inline"}) {
        for (const double scale : {1.0, 0.78125}) {
            PageHarness badge(240, 60, scale);
            badge.load(kHead +
                       "<style>.row{width:300px;text-align:center;font-family:'DejaVu Sans';"
                       "font-size:14px;color:#fff}.key{display:" +
                       display +
                       ";font-size:11px;color:#000;background-color:#d4af37;"
                       "border-radius:3px;padding:1px 5px;margin-left:6px}</style>"
                       "<div class='row'>RESUME <span id='k' class='key'>START</span></div>"
                       "</body></html>");
            badge.eval("document.getElementById('k').textContent = 'P'");
            badge.frame();
            EXPECT_TRUE(badge.matchesAFullRepaint()) << display << " at " << scale;
        }
    }
}

// As Chromium breaks it with the same fonts: with "hall" the second line would be 741.4 px,
// words rounded one by one fit it in. (Text widths and baselines the reference frame pins.)
TEST(WebText, ParagraphsBreakWhereABrowserBreaksThem) {
    PageHarness page(800, 100);
    page.load(kHead +
              "<div id='brief' style='width:740px;font-family:Lato;font-size:16px;line-height:22px;"
              "color:#000'>The Crimson Syndicate launders its take through the Glass Harbor "
              "casino. Lift the 24K cipher card from the cashier hall, crack the vault terminal in "
              "the armoured garage, and intercept the courier circling the vault hall before he "
              "reaches the buyers.</div></body></html>");
    int inkAfterVault = 0;
    for (int y = 22; y < 44; ++y) {
        for (int x = 718; x < 740; ++x) inkAfterVault += (page.pixel(x, y) >> 24) > 0x80;
    }
    EXPECT_EQ(inkAfterVault, 0) << "the second line ends at 'vault' (713 px)";
    EXPECT_EQ(std::stoi(page.js("document.getElementById('brief').getBoundingClientRect().height")),
              66);
}

}  // namespace
