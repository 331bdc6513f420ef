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

struct Step {
    const char* script;  // run first, may be empty
    const char* expression;
    const char* expected;
};

// Each step runs after the ones before it, on the same page.
void expectSteps(const std::vector<Step>& steps) {
    PageHarness page;
    page.load(kPage);
    for (const Step& step : steps) {
        page.eval(
            "var hud = document.getElementById('hud'), go = document.getElementById('go'),"
            " para = document.getElementById('para');");
        page.eval(step.script);
        EXPECT_EQ(page.js(step.expression), step.expected) << step.script << " " << step.expression;
    }
}

// What the shipped page leans on (ids, class selectors, text, classList,
// bounding boxes) its own tests hold; the rest of the bridge is here.
TEST(WebDom, FindsElementsByIdAndSelectorOnceEachInDocumentOrder) {
    expectSteps({
        {"", "document.getElementById('nope')", "null"},
        {"", "document.querySelector('#hud > p b').textContent", "bold"},
        {"", "hud.querySelectorAll('span')[1].textContent", "Beta"},
        {"", "document.querySelector('html') === document.documentElement", "true"},
        // One wrapper per element, so identity comparisons work.
        {"", "go === document.querySelector('button')", "true"},
        {"", "document.querySelector('.label').parentElement.id", "hud"},
        {"", "document.querySelectorAll('div, span, p').length", "4"},
        {"", "hud.querySelector('div')", "null"},  // an element's query skips itself
        {"", "document.querySelectorAll('*')[0].tagName", "HTML"},
        // Bad selectors find nothing instead of throwing.
        {"", "document.querySelector('')", "null"},
        {"", "document.querySelectorAll('').length", "0"},
        {"", "document.querySelectorAll('span,').length", "0"},
        {"", "document.querySelectorAll('[title=\"a,b\"], b').length", "1"},
    });
}

TEST(WebDom, TextClassesAttributesAndStylesReadBackWhatWasWritten) {
    expectSteps({
        {"para.textContent = 42",
         "para.textContent + ',' + document.querySelectorAll('#para b').length", "42,0"},
        {"hud.classList.add('alert', 'panel'); hud.classList.remove('wide')", "hud.className",
         "panel alert"},
        {"",
         "[hud.classList.toggle('alert'), hud.classList.toggle('x', true), hud.classList.length]",
         "false,true,2"},
        // Selectors see the new classes at once.
        {"",
         "document.querySelectorAll('.x').length + ',' + "
         "document.querySelectorAll('.wide').length",
         "1,0"},
        {"go.setAttribute('title', 'Stop')",
         "go.getAttribute('title') + ',' + go.getAttribute('missing')", "Stop,null"},
        {"go.hidden = true; var was = go.hasAttribute('hidden'); go.hidden = false",
         "[was, go.hasAttribute('hidden'), go.hidden]", "true,false,false"},
        {"var slot = hud.dataset.slotIndex; hud.dataset.slotIndex = 7",
         "slot + ',' + hud.getAttribute('data-slot-index')", "3,7"},
        {"go.style.backgroundColor = 'red'; go.style.marginLeft = '4px';"
         "go.style.setProperty('z-index', 3)",
         "go.getAttribute('style')", "background-color: red; margin-left: 4px; z-index: 3"},
        {"", "go.style.backgroundColor + ',' + go.style.getPropertyValue('margin-left')",
         "red,4px"},
        {"go.style.marginLeft = ''", "go.style.cssText", "background-color: red; z-index: 3"},
        {"go.style.cssText = "
         "'position:absolute;left:12px;top:34px;width:56px;height:20px;padding:0;border:0'",
         "JSON.stringify(go.getBoundingClientRect())",
         "{\"x\":12,\"y\":34,\"left\":12,\"top\":34,\"width\":56,\"height\":20,\"right\":68,"
         "\"bottom\":54}"},
    });
}

TEST(WebDom, ConsoleGoesToTheLoggerAtItsLevel) {
    PageHarness page;
    page.load(kPage);
    page.eval("console.log('hud', 3, {a: 1}); console.warn('careful'); console.error('bad')");
    const auto level = [&](const std::string& text) {
        for (const auto& line : page.log.lines) {
            if (line.text == text) return static_cast<int>(line.level);
        }
        return -1;
    };
    EXPECT_EQ(level("hud 3 {\"a\":1}"), static_cast<int>(web::LogLevel::Info));
    EXPECT_EQ(level("careful"), static_cast<int>(web::LogLevel::Warning));
    EXPECT_EQ(level("bad"), static_cast<int>(web::LogLevel::Error));
}

}  // namespace
