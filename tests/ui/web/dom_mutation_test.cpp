// Elements a page script builds, moves and takes out, and the shipped page's scripts.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "ui/web/bitmap.hpp"
#include "ui/web/page_document.hpp"
#include "ui/web/page_scripts.hpp"
#include "web_test_support.hpp"

namespace {

using webtest::kTransparent;
using webtest::PageHarness;
using webtest::rgb;

const std::string kPage =
    "<html><head><style>body{margin:0}"
    ".box{position:absolute;left:10px;top:20px;width:30px;height:10px;background-color:#00ff00}"
    ".box.low{top:60px} #other::before{content:''}</style></head>"
    "<body><div id='host'></div><div id='other'></div></body></html>";

// A border box as "left top width height", a child list, the name of what a call throws.
const char* const kHelpers = R"JS(
var host = document.getElementById('host'), other = document.getElementById('other');
function r(e) { var b = e.getBoundingClientRect(); return [b.left, b.top, b.width, b.height].join(' '); }
function ids(e) { return e.children.map(function (c) { return c.id; }).join(); }
function refusal(f) { try { f(); return 'none'; } catch (e) { return e.name; } }
function chain(n) { var top = document.createElement('div'), e = top;
  for (var i = 1; i < n; i++) e = e.appendChild(document.createElement('div'));
  return top; }
function tables(n) { var top = document.createElement('table'), e = top;
  for (var i = 1; i < n; i++)
    e = e.appendChild(document.createElement('td')).appendChild(document.createElement('table'));
  return top; }
)JS";

TEST(WebDomMutation, BuiltElementsAreStyledLaidOutMovedAndTakenOut) {
    const std::uint32_t green = rgb(0x00FF00);
    const struct {
        const char* script;
        const char* expression;
        const char* expected;
        int x, y;  // a pixel that must then be `color`
        std::uint32_t color;
    } steps[] = {
        // Outside the page: no box, not found, not painted, heard by no document listener.
        {"var a = document.createElement('DIV'); a.id = 'a'; a.className = 'box'; var heard = 0;"
         "document.addEventListener('click', function () { heard++; }); a.click()",
         "[a.tagName, a.parentNode, document.getElementById('a'), r(a), heard].join()",
         "DIV,,,0 0 0 0,0", 15, 25, kTransparent},
        {"host.appendChild(a).click()", "[document.getElementById('a') === a, r(a), heard].join()",
         "true,10 20 30 10,1", 15, 25, green},
        {"var b = document.createElement('div'); b.id = 'b'; b.className = 'box low';"
         "host.appendChild(b)",
         "ids(host) + ' ' + r(b)", "a,b 10 60 30 10", 15, 65, green},
        {"host.insertBefore(b, a)", "ids(host)", "b,a", 15, 25, green},
        // Moved, to a parent whose ::before is no child.
        {"other.appendChild(a)", "ids(host) + '|' + ids(other)", "b|a", 15, 25, green},
        {"var gone = host.removeChild(b)",
         "[gone === b, b.parentElement, document.querySelectorAll('.low').length, r(b)].join()",
         "true,,0,0 0 0 0", 15, 65, kTransparent},
    };
    PageHarness page;
    page.load(kPage);
    page.eval(kHelpers);
    for (const auto& step : steps) {
        page.eval(step.script);
        page.frame();
        EXPECT_EQ(page.js(step.expression), step.expected) << step.script;
        EXPECT_EQ(page.pixel(step.x, step.y), step.color) << step.script;
    }
    EXPECT_TRUE(page.matchesAFullRepaint());
    EXPECT_FALSE(page.log.contains("Uncaught"));
}

TEST(WebDomMutation, RefusesCyclesStrangersAndTreesTooDeepAndChangesNothing) {
    const std::pair<const char*, const char*> cases[] = {
        {"inner.appendChild(host)", "HierarchyRequestError"},  // an ancestor into its descendant
        {"host.removeChild(document.body)", "NotFoundError"},
        {"host.insertBefore(document.createElement('i'), document.body)", "NotFoundError"},
        {"host.appendChild({})", "TypeError"},
        {"document.createElement('a b')", "InvalidCharacterError"},
        // html is 1 deep and body 2; elements nest at most 512 deep.
        {"var t = chain(512), e = t; while (e.children.length) e = e.children[0];"
         "e.appendChild(document.createElement('i'))",
         "HierarchyRequestError"},
        {"document.body.appendChild(chain(511))", "HierarchyRequestError"},
        {"document.body.appendChild(chain(510))", "none"},
        // Tables nest at most 8 deep, however they are put together.
        {"document.body.appendChild(tables(9))", "HierarchyRequestError"},
        {"var d = document.createElement('div'); d.appendChild(tables(2));"
         "tables(8).getElementsByTagName('td')[6].appendChild(d)",  // in the seventh table
         "HierarchyRequestError"},
        {"tables(4).getElementsByTagName('td')[2].appendChild(tables(6))", "HierarchyRequestError"},
        {"tables(4).getElementsByTagName('td')[2].appendChild(tables(5))", "none"},
        {"document.body.appendChild(tables(8))", "none"},
    };
    PageHarness page;
    page.load(kPage);
    page.eval(kHelpers);
    page.eval("var inner = host.appendChild(document.createElement('p'))");
    const std::string intact =
        "document.querySelectorAll('*').length + ' ' + (inner.parentElement === host && "
        "host.parentElement === document.body)";
    for (const auto& [call, thrown] : cases) {
        const std::string before = page.js(intact);
        EXPECT_EQ(page.js(std::string("refusal(function () { ") + call + "; })"), thrown) << call;
        if (std::string(thrown) != "none") {
            EXPECT_EQ(page.js(intact), before) << call;
        }
    }
}

// A laid-out element keeps its cells and positioned descendants: none may keep the page alive.
TEST(WebDomMutation, AnElementPutInsideWhatItOnceLaidOutIsFreedWithThePage) {
    const struct {
        const char* why;
        const char* holderId;
        const char* formerDescendantId;
    } cases[] = {
        {"a table inside one of its own cells", "table", "cell"},
        {"a positioned element's container inside it", "holder", "pinned"},
    };
    const std::string html =
        "<html><body><table id='table'><tr><td id='cell'>1</td></tr></table>"
        "<div id='holder' style='position:relative'><p>"
        "<span id='pinned' style='position:absolute;left:4px'>x</span></p></div></body></html>";
    for (const auto& c : cases) {
        webtest::MemoryFileSystem files;
        webtest::TestFontLoader fonts;
        std::weak_ptr<litehtml::element> holderLeft;
        {
            web::PageDocument page(html, "file:///ui/page.html", &files, &fonts, 16, 200, 100);
            web::Bitmap bitmap(200, 100);
            page.paint(bitmap, 1.0);
            const auto holder = page.elementById(c.holderId);
            const auto descendant = page.elementById(c.formerDescendantId);
            ASSERT_TRUE(holder && descendant) << c.why;
            page.setText(descendant->parent(), "");  // out of the holder's tree
            ASSERT_EQ(page.insertChild(descendant, holder, nullptr), web::TreeEditError::None)
                << c.why;
            holderLeft = holder;
        }
        EXPECT_TRUE(holderLeft.expired()) << c.why;
    }
}

std::string readAsset(const std::string& name) {
    return webtest::readText(std::string(NJ_UI_ASSETS_DIR) + "/" + name);
}

// One script file per screen: each named once and there, and none in the folder unused.
TEST(WebDomMutation, ThePageNamesEveryScriptFileOnce) {
    std::set<std::string> named;
    for (const web::PageScript& script : web::scanPageScripts(readAsset("ui.html")).scripts) {
        EXPECT_FALSE(script.src.empty()) << "the page's script at line " << script.line
                                         << " is inline: it belongs in a file of its own";
        EXPECT_TRUE(named.insert(script.src).second) << script.src << " is named twice";
        EXPECT_FALSE(readAsset(script.src).empty()) << script.src << " is missing or empty";
    }
    std::set<std::string> inFolder;
    for (const auto& entry : std::filesystem::directory_iterator(NJ_UI_ASSETS_DIR)) {
        if (entry.path().extension() == ".js") inFolder.insert(entry.path().filename().string());
    }
    EXPECT_EQ(named, inFolder);
}

}  // namespace
