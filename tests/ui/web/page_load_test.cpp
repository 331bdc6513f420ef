// Page loading: linked sheets and scripts, reloads, and broken pages, which
// may fail but never crash the engine or the host.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/deadline.hpp"
#include "ui/web/nesting_limit.hpp"
#include "web_test_support.hpp"

namespace {

using webtest::PageHarness;
using webtest::rgb;

// A script that does not parse, and scripts, sheets and pictures that are
// not there, are logged or skipped; the scripts after them still run. A
// listener or timer that throws does not stop the others.
TEST(WebBadPages, BrokenAndMissingPartsAreSkippedAndLaterScriptsStillRun) {
    PageHarness page;
    page.load(
        "<html><head><link rel='stylesheet' href='nope.css'></head><body>"
        "<script>var a = ;</script><script src='nope.js'></script><img src='nope.png'>"
        "<script>var ran = 0;"
        "window.addEventListener('keydown', function () { throw new Error('listener'); });"
        "window.addEventListener('keydown', function () { ran++; });"
        "setTimeout(function () { null.x; }, 1);</script></body></html>");
    EXPECT_TRUE(page.log.contains("SyntaxError"));
    EXPECT_TRUE(page.log.contains("cannot load script file:///ui/nope.js"));
    EXPECT_EQ(page.domReadyCount, 1);
    page.view->fireKeyEvent({web::KeyEventType::RawKeyDown, 'A', 0, false});
    page.advance(0.01);
    EXPECT_EQ(page.js("ran"), "1");
    EXPECT_TRUE(page.log.contains("Uncaught Error: listener"));
    EXPECT_TRUE(page.log.contains("TypeError"));
}

TEST(WebBadPages, MissingPageFailsTheLoadAndPaintsNothing) {
    PageHarness page;
    page.view->loadURL("file:///ui/absent.html");
    page.frame();
    EXPECT_EQ(page.failCount, 1);
    EXPECT_EQ(page.domReadyCount, 0);
    EXPECT_EQ(page.pixel(0, 0), webtest::kTransparent);
    page.view->evaluateScript("x = 1");  // no page: ignored
    page.view->fireMouseEvent({web::MouseEventType::MouseDown, 1, 1, web::MouseButton::Left});
    page.view->fireKeyEvent({web::KeyEventType::RawKeyDown, 13, 0, false});
    page.frame();
}

TEST(WebPageStyles, ImportedSheetsMediaQueriesAndVariablesApply) {
    PageHarness page(200, 50);
    page.files.add("ui/base.css",
                   ".x{position:absolute;left:0;top:0;width:10px;height:10px;"
                   "background-color:#ff0000}");
    page.load(
        "<html><head><style>@import url(base.css);"
        "@media (max-width: 150px) { .x { background-color: #0000ff } }"
        ".y{position:absolute;left:20px;top:0;width:10px;height:10px;"
        "--accent:#00ff00;background-color:var(--accent)}</style></head><body>"
        "<div class='x'></div><div class='y'></div></body></html>");
    EXPECT_EQ(page.pixel(5, 5), rgb(0xff0000));
    page.view->resize(120, 50, 1.0);
    page.frame();
    EXPECT_EQ(page.pixel(5, 5), rgb(0x0000ff));
    EXPECT_EQ(page.pixel(25, 5), rgb(0x00ff00));  // custom property through var()
}

TEST(WebPageScripts, ScriptsRunInOrderThenTheDomIsReadyThenLoaded) {
    PageHarness page;
    page.files.add("ui/js/app.js", "order.push('file');");
    page.load(
        "<html><body><script>var order = ['inline'];"
        "document.addEventListener('DOMContentLoaded', function () { order.push('ready'); });"
        "window.addEventListener('load', function () { order.push('load'); });</script>"
        "<script src='js/app.js'></script><script>order.push('last');</script></body></html>");
    EXPECT_EQ(page.domReadyCount, 1);
    EXPECT_EQ(page.js("order.join(',')"), "inline,file,last,ready,load");
    EXPECT_EQ(page.js("document.readyState"), "complete");
    // Another page replaces this one's scripts with its own.
    page.load("<html><body><script>var second = 2;</script></body></html>", "ui/other.html");
    EXPECT_EQ(page.js("typeof order + second"), "undefined2");
}

// A host font loader that fails by throwing.
class ThrowingFonts : public web::FontLoader {
  public:
    std::string fallbackFont() override { throw std::runtime_error("no fallback"); }
    std::string fallbackFontForCharacters(const std::string&, int, bool) override {
        throw std::runtime_error("no fallback");
    }
    web::BufferPtr load(const std::string&, int, bool) override {
        throw std::runtime_error("font store offline");
    }
};

TEST(WebBadPages, HostCallbackExceptionsStayInsideTheEngine) {
    PageHarness page;
    ThrowingFonts fonts;
    web::Platform::instance().setFontLoader(&fonts);
    EXPECT_NO_THROW(page.load("<html><body><p>text</p></body></html>"));
    EXPECT_EQ(page.failCount, 1);
    EXPECT_TRUE(page.log.contains("font store offline"));
    EXPECT_NO_THROW(
        page.view->fireMouseEvent({web::MouseEventType::MouseMoved, 3, 3, web::MouseButton::None}));
    web::Platform::instance().setFontLoader(&page.fonts);
    page.load("<html><body><p>text</p><script>var ok = 1;</script></body></html>", "ui/b.html");
    EXPECT_EQ(page.js("ok"), "1");
}

// Every entry into the page (a script, an event, a timer) runs under a time
// limit: one that never ends is stopped, reported once however often it runs
// away again, and the page goes on painting and running its other scripts,
// on a shorter limit from its first overrun on.
TEST(WebBadPages, ScriptsThatNeverEndAreStoppedAndReportedOnce) {
    const nj::test::Deadline deadline(60);
    PageHarness page;
    page.load(
        "<html><head><style>body{margin:0}</style></head><body>"
        "<div style='width:20px;height:20px;background-color:#00ff00'></div>"
        "<script>var before = 1; for (;;) {}</script>"
        "<script>var after = 2, ticks = 0, keys = 0;"
        "setInterval(function () { ticks++; for (;;) {} }, 5);"
        "window.addEventListener('keydown', function () { keys++; while (true) {} });"
        "function syncGameState() { for (;;) {} }</script></body></html>");
    EXPECT_EQ(page.domReadyCount, 1);
    EXPECT_EQ(page.js("before + after"), "3");
    for (int i = 0; i < 2; ++i) {
        page.eval("syncGameState({})");
        page.eval("throw {toString: function () { for (;;) {} }}");
        page.view->fireKeyEvent({web::KeyEventType::RawKeyDown, 'A', 0, false});
        page.advance(0.01);
    }
    EXPECT_EQ(page.js("ticks + ',' + keys"), "2,2");
    EXPECT_EQ(page.pixel(10, 10), rgb(0x00FF00));
    std::vector<std::string> stops;
    for (const auto& line : page.log.lines) {
        if (line.text.find("ms and was stopped") != std::string::npos) stops.push_back(line.text);
    }
    EXPECT_EQ(stops, (std::vector<std::string>{
                         "web: the script file:///ui/page.html ran longer than 250 ms and was "
                         "stopped",
                         "web: the keydown event ran longer than 5 ms and was stopped",
                         "web: a timer ran longer than 5 ms and was stopped"}));
    EXPECT_FALSE(page.log.contains("Uncaught")) << "a stopped script is not an error of its own";
}

// A page nested ten thousand deep keeps its first 512 levels, with its
// innermost text, says so, and paints.
TEST(WebBadPages, AVeryDeepPageIsCutToTheBoundAndStillPaints) {
    PageHarness page;
    std::string deep;
    for (int i = 0; i < 10000; ++i) deep += "<div>";
    deep += "deepest";
    for (int i = 0; i < 10000; ++i) deep += "</div>";
    page.load(
        "<html><head><style>body{margin:0}</style></head><body><div style='width:20px;"
        "height:20px;background-color:#00ff00;color:rgba(0,0,0,0)'>" +
        deep + "</div></body></html>");
    EXPECT_EQ(page.domReadyCount, 1);
    EXPECT_EQ(page.js("(function () { var depth = 1, e = document.documentElement;"
                      "  while (e.children.length) { e = e.children[e.children.length - 1]; "
                      "depth++; } return depth; })()"),
              std::to_string(web::kMaxElementDepth));
    EXPECT_NE(page.js("document.body.textContent.indexOf('deepest')"), "-1");
    EXPECT_EQ(page.pixel(10, 10), rgb(0x00FF00));
    EXPECT_TRUE(page.log.contains("file:///ui/page.html nests elements deeper than 512"));
}

}  // namespace
