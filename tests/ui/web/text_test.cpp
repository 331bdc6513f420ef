// Text as Chromium lays it out with the same TTF files (widths of white-space: pre spans).
#include <gtest/gtest.h>

#include <string>

#include "web_test_support.hpp"

namespace {

using webtest::PageHarness;

const std::string kHead = "<html><head><style>body{margin:0}</style></head><body>";

double spanWidth(PageHarness& page, const std::string& id) {
    return std::stod(
        page.js("document.getElementById('" + id + "').getBoundingClientRect().width"));
}

struct BrowserWidth {
    const char* font;  // CSS font and letter-spacing declarations
    const char* text;
    double chromium;  // px
};

// Kerning, long lines, bold, letter-spacing (ligatures then off), monospace, fi/ffi.
const BrowserWidth kBrowserWidths[] = {
    {"font-family:Lato;font-size:16px", "AV To Wa", 67.219},
    {"font-family:Lato;font-size:16px",
     "The Crimson Syndicate launders its take through the Glass Harbor casino. Lift", 536.406},
    {"font-family:Lato;font-size:15px",
     "cashier hall, crack the vault terminal in the armoured garage, and intercept the", 507.078},
    {"font-family:Montserrat;font-size:14px;font-weight:bold", "BEGIN OPERATION", 138.984},
    {"font-family:Montserrat;font-size:14px;font-weight:bold;letter-spacing:2px", "BEGIN OPERATION",
     168.984},
    {"font-family:\"Roboto Mono\";font-size:12px", "OPERATION FILE 01", 122.422},
    {"font-family:Lato;font-size:16px", "fi ffi", 26.734},
};

TEST(WebText, LinesTakeTheWidthsABrowserGivesThem) {
    PageHarness page(900, 300);
    std::string html = kHead;
    int index = 0;
    for (const BrowserWidth& row : kBrowserWidths) {
        html += "<span id='s" + std::to_string(index++) + "' style='white-space:pre;" + row.font +
                "'>" + row.text + "</span><br>";
    }
    page.load(html + "</body></html>");
    index = 0;
    for (const BrowserWidth& row : kBrowserWidths) {
        EXPECT_NEAR(spanWidth(page, "s" + std::to_string(index++)), row.chromium, 1.0)
            << row.font << " \"" << row.text << "\"";
    }
}

// With "hall" the second line would be 741.4 px: words rounded one by one fit it in.
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
