// The DOM bridge as a page script sees it.
#include <gtest/gtest.h>

#include "web_test_support.hpp"

namespace {

using webtest::PageHarness;

const std::string kPage =
    "<html><head><style>body{margin:0}</style></head><body>"
    "<div id='hud' class='panel wide' data-slot-index='3'>"
    "<span class='label'>Alpha</span><span class='label'>Beta</span>"
    "<p id='para'>Hello <b>bold</b> world</p></div>"
    "<button id='go' title='Start'>GO</button></body></html>";

class WebDom : public ::testing::Test {
  protected:
    void SetUp() override { page.load(kPage); }
    PageHarness page;
};

TEST_F(WebDom, FindsElementsByIdAndSelector) {
    EXPECT_EQ(page.js("document.getElementById('hud').tagName"), "DIV");
    EXPECT_EQ(page.js("document.getElementById('nope')"), "null");
    EXPECT_EQ(page.js("document.querySelectorAll('.label').length"), "2");
    EXPECT_EQ(page.js("document.querySelector('.label').textContent"), "Alpha");
    EXPECT_EQ(page.js("document.querySelector('#hud > p b').textContent"), "bold");
    EXPECT_EQ(page.js("document.getElementById('hud').querySelectorAll('span')[1].textContent"),
              "Beta");
    EXPECT_EQ(page.js("document.querySelector('html') === document.documentElement"), "true");
    EXPECT_EQ(page.js("document.body.tagName"), "BODY");
    // One wrapper per element, so identity comparisons work.
    EXPECT_EQ(page.js("document.getElementById('go') === document.querySelector('button')"),
              "true");
    EXPECT_EQ(page.js("document.querySelector('.label').parentElement.id"), "hud");
    // Each match once, in document order; an element's query skips itself.
    EXPECT_EQ(page.js("document.querySelectorAll('html').length"), "1");
    EXPECT_EQ(page.js("document.querySelectorAll('div, span, p').length"), "4");
    EXPECT_EQ(page.js("document.getElementById('hud').querySelector('div')"), "null");
    EXPECT_EQ(page.js("document.querySelectorAll('*')[0].tagName"), "HTML");
}

TEST_F(WebDom, BadSelectorsFindNothingInsteadOfThrowing) {
    EXPECT_EQ(page.js("document.querySelector('')"), "null");
    EXPECT_EQ(page.js("document.querySelectorAll('').length"), "0");
    EXPECT_EQ(page.js("document.querySelectorAll('span,').length"), "0");
    EXPECT_EQ(page.js("document.querySelectorAll('[title=\"a,b\"], b').length"), "1");
}

TEST_F(WebDom, TextContentReadsDescendantsAndReplacesChildren) {
    EXPECT_EQ(page.js("document.getElementById('para').textContent"), "Hello bold world");
    page.eval("document.getElementById('para').textContent = 'Fresh  words here'");
    EXPECT_EQ(page.js("document.getElementById('para').textContent"), "Fresh  words here");
    EXPECT_EQ(page.js("document.querySelectorAll('#para b').length"), "0");
    page.eval("document.getElementById('para').textContent = 42");
    EXPECT_EQ(page.js("document.getElementById('para').textContent"), "42");
}

TEST_F(WebDom, ClassNameAndClassListAgree) {
    EXPECT_EQ(page.js("document.getElementById('hud').className"), "panel wide");
    page.eval(
        "var c = document.getElementById('hud').classList; c.add('alert', 'panel');"
        "c.remove('wide');");
    EXPECT_EQ(page.js("document.getElementById('hud').className"), "panel alert");
    EXPECT_EQ(page.js("document.getElementById('hud').classList.contains('alert')"), "true");
    EXPECT_EQ(page.js("document.getElementById('hud').classList.toggle('alert')"), "false");
    EXPECT_EQ(page.js("document.getElementById('hud').classList.toggle('x', true)"), "true");
    EXPECT_EQ(page.js("document.getElementById('hud').classList.length"), "2");
    // Selectors see the new classes at once.
    EXPECT_EQ(page.js("document.querySelectorAll('.x').length"), "1");
    EXPECT_EQ(page.js("document.querySelectorAll('.wide').length"), "0");
}

TEST_F(WebDom, AttributesHiddenAndDataset) {
    EXPECT_EQ(page.js("document.getElementById('go').getAttribute('title')"), "Start");
    EXPECT_EQ(page.js("document.getElementById('go').getAttribute('missing')"), "null");
    page.eval("document.getElementById('go').setAttribute('title', 'Stop')");
    EXPECT_EQ(page.js("document.getElementById('go').getAttribute('title')"), "Stop");
    EXPECT_EQ(page.js("document.getElementById('go').hidden"), "false");
    page.eval("document.getElementById('go').hidden = true");
    EXPECT_EQ(page.js("document.getElementById('go').hasAttribute('hidden')"), "true");
    page.eval("document.getElementById('go').hidden = false");
    EXPECT_EQ(page.js("document.getElementById('go').hasAttribute('hidden')"), "false");
    EXPECT_EQ(page.js("document.getElementById('hud').dataset.slotIndex"), "3");
    page.eval("document.getElementById('hud').dataset.slotIndex = 7");
    EXPECT_EQ(page.js("document.getElementById('hud').getAttribute('data-slot-index')"), "7");
}

TEST_F(WebDom, StylePropertiesWriteTheStyleAttribute) {
    page.eval(
        "var s = document.getElementById('go').style; s.backgroundColor = 'red';"
        "s.marginLeft = '4px'; s.setProperty('z-index', 3);");
    EXPECT_EQ(page.js("document.getElementById('go').style.backgroundColor"), "red");
    EXPECT_EQ(page.js("document.getElementById('go').style.getPropertyValue('margin-left')"),
              "4px");
    EXPECT_EQ(page.js("document.getElementById('go').getAttribute('style')"),
              "background-color: red; margin-left: 4px; z-index: 3");
    page.eval("document.getElementById('go').style.marginLeft = ''");
    EXPECT_EQ(page.js("document.getElementById('go').style.cssText"),
              "background-color: red; z-index: 3");
}

TEST_F(WebDom, GeometryFollowsLayout) {
    page.eval(
        "document.getElementById('go').style.cssText = "
        "'position:absolute;left:12px;top:34px;width:56px;height:20px;padding:0;border:0'");
    EXPECT_EQ(page.js("JSON.stringify(document.getElementById('go').getBoundingClientRect())"),
              "{\"x\":12,\"y\":34,\"left\":12,\"top\":34,\"width\":56,\"height\":20,"
              "\"right\":68,\"bottom\":54}");
}

TEST_F(WebDom, ConsoleGoesToTheLogger) {
    page.eval("console.log('hud', 3, {a: 1}); console.warn('careful'); console.error('bad')");
    ASSERT_GE(page.log.lines.size(), 3u);
    const auto& lines = page.log.lines;
    const auto find = [&](const std::string& text) {
        for (const auto& line : lines) {
            if (line.text == text) return static_cast<int>(line.level);
        }
        return -1;
    };
    EXPECT_EQ(find("hud 3 {\"a\":1}"), static_cast<int>(web::LogLevel::Info));
    EXPECT_EQ(find("careful"), static_cast<int>(web::LogLevel::Warning));
    EXPECT_EQ(find("bad"), static_cast<int>(web::LogLevel::Error));
}

}  // namespace
