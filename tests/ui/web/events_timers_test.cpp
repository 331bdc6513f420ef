// Input events reaching page listeners, and timers and animation frames
// driven by the renderer.
#include <gtest/gtest.h>

#include <vector>

#include "web_test_support.hpp"

namespace {

using webtest::PageHarness;
using webtest::rgb;

const std::string kButtons =
    "<html><head><style>body{margin:0}"
    ".b{position:absolute;top:0;width:40px;height:20px;background-color:#808080}"
    "#a{left:0} #b{left:50px} #b:hover{background-color:#ffff00}</style></head><body>"
    "<div id='a' class='b'><span id='inner'>A</span></div><div id='b' class='b'></div>"
    "<script>var log = [];"
    "document.getElementById('a').addEventListener('click', function (e) {"
    "  log.push('a:' + e.target.id + ':' + e.clientX + ',' + e.clientY); });"
    "document.getElementById('b').addEventListener('click', function () { log.push('b'); });"
    "document.addEventListener('click', function () { log.push('doc'); });"
    "window.addEventListener('keydown', function (e) { log.push('down:' + e.keyCode + ':' + "
    "e.key); });"
    "window.addEventListener('keyup', function (e) { log.push('up:' + e.keyCode + ':' + e.key); });"
    "</script></body></html>";

// Each click on an emptied log, after a script that may change the page.
TEST(WebEvents, ClicksRunTheListenerOfTheElementUnderThePointerAndBubble) {
    PageHarness page;
    page.load(kButtons);
    const struct {
        const char* before;
        int x, y;
        const char* log;
    } clicks[] = {
        {"", 5, 5, "a:inner:5,5|doc"},  // on the inner span: a's listener sees it as target
        {"", 45, 5, "doc"},             // the gap between the buttons
        // A label rewritten on press is still clicked.
        {"var inner = document.getElementById('inner'); inner.addEventListener('mousedown', "
         "function () { inner.textContent = 'pressed'; });",
         5, 5, "a:inner:5,5|doc"},
        {"document.getElementById('b').addEventListener('click', function (e) {"
         "  e.stopPropagation(); });",
         60, 10, "b"},
    };
    for (const auto& c : clicks) {
        page.eval(std::string("log = []; ") + c.before);
        page.click(c.x, c.y);
        EXPECT_EQ(page.js("log.join('|')"), c.log) << c.before << " " << c.x << "," << c.y;
    }
    // Pressed on one element and released on another is no click.
    page.eval("log = []");
    page.view->fireMouseEvent({web::MouseEventType::MouseDown, 5, 5, web::MouseButton::Left});
    page.view->fireMouseEvent({web::MouseEventType::MouseUp, 60, 5, web::MouseButton::Left});
    EXPECT_EQ(page.js("log.length"), "0");
}

TEST(WebEvents, KeysReachWindowListenersWithCodeAndName) {
    PageHarness page;
    page.load(kButtons);
    page.view->fireKeyEvent({web::KeyEventType::RawKeyDown, 0x0D, 0, false});
    page.view->fireKeyEvent({web::KeyEventType::KeyUp, 0x0D, 0, false});
    page.view->fireKeyEvent({web::KeyEventType::RawKeyDown, 'P', 0, false});
    page.view->fireKeyEvent({web::KeyEventType::RawKeyDown, 0x25, 0, false});
    page.view->fireKeyEvent({web::KeyEventType::Char, 'p', 0, false});  // not delivered
    EXPECT_EQ(page.js("log.join('|')"), "down:13:Enter|up:13:Enter|down:80:p|down:37:ArrowLeft");
}

TEST(WebEvents, HoverRepaintsMatchAFullRepaint) {
    PageHarness page;
    page.load(
        "<html><head><style>body{margin:0}.b{position:absolute;top:0;width:40px;"
        "height:20px;background-color:#808080}#a{left:0}#b{left:50px}"
        "#a:hover{background-color:#00ff00}#b:hover{width:60px;background-color:#ffff00}"
        "#b:hover .tip{color:#f00}.tip{position:absolute;left:0;top:40px;"
        "font-family:'DejaVu Sans';letter-spacing:3px}</style></head><body>"
        "<div id='a' class='b'></div><div id='b' class='b'><div class='tip'>tip</div></div>"
        "</body></html>");
    const std::string tipWidth = "document.querySelector('.tip').getBoundingClientRect().width";
    const std::string spacedWidth = page.js(tipWidth);
    const int path[][2] = {{5, 5}, {60, 5}, {105, 5}, {150, 80}, {60, 5}};
    for (const auto& point : path) {
        page.view->fireMouseEvent(
            {web::MouseEventType::MouseMoved, point[0], point[1], web::MouseButton::None});
        page.frame();
    }
    EXPECT_EQ(page.pixel(105, 5), rgb(0xffff00));  // the hovered box grew to 60 px
    // litehtml restyles a hovered subtree itself; the spacing must survive it.
    EXPECT_EQ(page.js(tipWidth), spacedWidth);
    EXPECT_TRUE(page.matchesAFullRepaint());
}

// The last timeout also repaints what it changed.
TEST(WebTimers, TimeoutsFireOnceInDueOrderUnlessCleared) {
    PageHarness page;
    page.load(
        "<html><head><style>body{margin:0}</style></head><body>"
        "<div id='d' style='width:10px;height:10px;background-color:#ff0000'></div>"
        "<script>var seq = [];"
        "setTimeout(function (n) { seq.push(n);"
        "  document.getElementById('d').style.backgroundColor = '#0000ff'; }, 100, 'hundred');"
        "var t = setTimeout(function () { seq.push('cleared'); }, 10);"
        "setTimeout(function () { seq.push('late'); }, 30);"
        "setTimeout(function () { seq.push('early'); }, 20);"
        "clearTimeout(t);</script></body></html>");
    page.advance(0.099);
    EXPECT_EQ(page.js("seq.join(',')"), "early,late");
    EXPECT_EQ(page.pixel(5, 5), rgb(0xff0000));
    page.advance(0.002);
    page.advance(1.0);
    EXPECT_EQ(page.js("seq.join(',')"), "early,late,hundred");
    EXPECT_EQ(page.pixel(5, 5), rgb(0x0000ff));
}

TEST(WebTimers, IntervalRepeatsUntilCleared) {
    PageHarness page;
    page.load(
        "<html><body><script>var ticks = 0;"
        "var id = setInterval(function () { ticks++; }, 50);</script></body></html>");
    for (int i = 0; i < 4; ++i) page.advance(0.05);
    EXPECT_EQ(page.js("ticks"), "4");
    page.eval("clearInterval(id)");
    page.advance(0.5);
    EXPECT_EQ(page.js("ticks"), "4");
    // A stall runs a late interval once, not once per missed period.
    page.eval("setInterval(function () { ticks++; }, 10)");
    page.advance(1.0);
    EXPECT_EQ(page.js("ticks"), "5");
}

TEST(WebTimers, AnimationFramesRunOncePerDisplayRefreshWithPageTime) {
    PageHarness page;
    page.load(
        "<html><body><script>var stamps = [];"
        "function step(t) { stamps.push(Math.round(t)); if (stamps.length < 3) "
        "requestAnimationFrame(step); } requestAnimationFrame(step);</script></body></html>");
    // Page time counts from the load: frames at +16 ms, +32 ms, +48 ms.
    for (int i = 0; i < 4; ++i) page.advance(0.016);
    EXPECT_EQ(page.js("stamps.join(',')"), "0,16,32");
}

}  // namespace
