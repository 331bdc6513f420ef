// Clicks, hovering and keys reaching the page.
#include <gtest/gtest.h>

#include "web_test_support.hpp"

namespace {

using webtest::PageHarness;
using webtest::rgb;

TEST(WebEvents, ClicksRunTheListenerOfTheElementUnderThePointerAndBubble) {
    PageHarness page;
    page.load(
        "<html><head><style>body{margin:0}"
        ".b{position:absolute;top:0;width:40px;height:20px}#a{left:0} #b{left:50px}"
        "</style></head><body>"
        "<div id='a' class='b'><span id='inner'>A</span></div><div id='b' class='b'></div>"
        "<script>var log = [];"
        "document.getElementById('a').addEventListener('click', function (e) {"
        "  log.push('a:' + e.target.id + ':' + e.clientX + ',' + e.clientY); });"
        "document.addEventListener('click', function () { log.push('doc'); });"
        "</script></body></html>");
    page.click(5, 5);  // on the inner span: a's listener sees it as target
    EXPECT_EQ(page.js("log.join('|')"), "a:inner:5,5|doc");
    // A label rewritten on press is still clicked.
    page.eval(
        "log = []; var inner = document.getElementById('inner'); inner.addEventListener("
        "'mousedown', function () { inner.textContent = 'pressed'; });");
    page.click(5, 5);
    EXPECT_EQ(page.js("log.join('|')"), "a:inner:5,5|doc");
    // Pressed on one element and released on another is no click.
    page.eval("log = []");
    page.view->fireMouseEvent({web::MouseEventType::MouseDown, 5, 5, web::MouseButton::Left});
    page.view->fireMouseEvent({web::MouseEventType::MouseUp, 60, 5, web::MouseButton::Left});
    EXPECT_EQ(page.js("log.length"), "0");
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

// A prevented key-down is the page's alone; typed text arrives whole as "keypress".
TEST(WebEvents, PreventedKeysAreKeptAndTypedTextArrivesAsKeypress) {
    PageHarness page;
    page.load(
        "<html><body><script>var typed = []; var typing = false;"
        "window.addEventListener('keydown', function (e) {"
        "  if (typing && e.keyCode !== 27) e.preventDefault(); });"
        "window.addEventListener('keypress', function (e) {"
        "  typed.push(e.key + ':' + e.charCode); });"
        "</script></body></html>");
    const auto down = [&](int key) {
        return page.view->fireKeyEvent({web::KeyEventType::RawKeyDown, key, 0, false, {}});
    };
    EXPECT_FALSE(down('W')) << "nothing typing: the key goes on to the game";
    page.eval("typing = true");
    EXPECT_TRUE(down('W'));
    EXPECT_FALSE(down(27)) << "Esc leaves the field: not kept";
    EXPECT_FALSE(page.view->fireKeyEvent({web::KeyEventType::KeyUp, 'W', 0, false, {}}));

    for (const char* text : {"a", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x94\x91", ""})
        page.view->fireKeyEvent({web::KeyEventType::Char, 0, 0, false, text});
    // The empty text is no key; charCode is the code point, beyond 16 bits too.
    EXPECT_EQ(page.js("typed.join(' ')"),
              "a:97 \xC3\xA9:233 \xE2\x82\xAC:8364 \xF0\x9F\x94\x91:128273");
}

}  // namespace
