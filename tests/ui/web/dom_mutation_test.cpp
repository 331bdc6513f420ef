// Elements a page script builds, moves and takes out: styled by the page's
// rules once inside, laid out and repainted like parsed ones, refused where a
// browser refuses; and the dossier's operation rows built from the state.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "web_test_support.hpp"

namespace {

using webtest::kTransparent;
using webtest::PageHarness;
using webtest::rgb;

const std::string kPage =
    "<html><head><style>body{margin:0}"
    ".box{position:absolute;left:10px;top:20px;width:30px;height:10px;background-color:#00ff00}"
    ".box.low{top:60px} #host > .box:last-child{background-color:#0000ff}"
    "td{width:20px;height:10px;padding:0;background-color:#ff0000}"
    "#other::before{content:''}"
    "</style></head><body><div id='host'></div><div id='other'></div></body></html>";

// Page-side helpers: a border box as "left top width height", the ids of an
// element's children, and the name of what a call throws ("none").
const char* const kHelpers =
    "var host = document.getElementById('host'), other = document.getElementById('other');"
    "function r(e) { var b = e.getBoundingClientRect(); return [b.left, b.top, b.width, "
    "b.height].join(' '); }"
    "function ids(e) { return e.children.map(function (c) { return c.id; }).join(); }"
    "function refusal(f) { try { f(); return 'none'; } catch (e) { return e.name; } }"
    "function chain(n) { var top = document.createElement('div'), e = top;"
    "  for (var i = 1; i < n; i++) e = e.appendChild(document.createElement('div'));"
    "  return top; }";

struct Step {
    const char* script;
    const char* expression;
    const char* expected;
    int x, y;  // a pixel that must then be `color`
    std::uint32_t color;
};

TEST(WebDomMutation, BuiltElementsAreStyledLaidOutMovedAndTakenOut) {
    const std::uint32_t green = rgb(0x00FF00), blue = rgb(0x0000FF);
    const std::vector<Step> steps = {
        // Outside the page: no box, not found, not painted, heard by no document listener.
        {"var a = document.createElement('DIV'); a.id = 'a'; a.className = 'box';"
         "a.textContent = 'x'; var heard = 0;"
         "document.addEventListener('click', function () { heard++; }); a.click()",
         "[a.tagName, a.parentNode, document.getElementById('a'), r(a), heard].join()",
         "DIV,,,0 0 0 0,0", 15, 25, kTransparent},
        {"host.appendChild(a).click()",
         "[document.getElementById('a') === a, a.textContent, r(a), heard].join()",
         "true,x,10 20 30 10,1", 15, 25, blue},
        // A second child takes :last-child from the first.
        {"var b = document.createElement('div'); b.id = 'b'; b.className = 'box low';"
         "host.appendChild(b)",
         "ids(host) + ' ' + r(b)", "a,b 10 60 30 10", 15, 25, green},
        {"host.insertBefore(b, a)", "ids(host)", "b,a", 15, 25, blue},
        {"host.insertBefore(a, a)", "ids(host)", "b,a", 15, 25, blue},
        // Moved, to a parent whose ::before is no child.
        {"other.appendChild(a)", "ids(host) + '|' + ids(other)", "b|a", 15, 25, green},
        {"var gone = host.removeChild(b)",
         "[gone === b, b.parentElement, document.querySelectorAll('.low').length, r(b)].join()",
         "true,,0,0 0 0 0", 15, 65, kTransparent},
        {"host.appendChild(b)", "r(b)", "10 60 30 10", 15, 65, blue},
        // textContent takes a child out whole; put back, it keeps its text.
        {"other.textContent = ''; host.appendChild(a)", "ids(host) + ' ' + a.textContent", "b,a x",
         15, 25, blue},
        // A table built row by row is laid out as a parsed one.
        {"var t = document.createElement('table'), row = document.createElement('tr');"
         "other.appendChild(t).appendChild(row).appendChild(document.createElement('td'))",
         "r(row.children[0]).split(' ').slice(2).join(' ')", "20 10", 10, 6, rgb(0xFF0000)},
    };
    PageHarness page;
    page.load(kPage);
    for (const Step& step : steps) {
        page.eval(kHelpers);
        page.eval(step.script);
        page.frame();
        EXPECT_EQ(page.js(step.expression), step.expected) << step.script;
        EXPECT_EQ(page.pixel(step.x, step.y), step.color) << step.script;
        EXPECT_TRUE(page.matchesAFullRepaint()) << step.script;
    }
    EXPECT_FALSE(page.log.contains("Uncaught"));
}

TEST(WebDomMutation, RefusesCyclesStrangersAndTreesTooDeepAndChangesNothing) {
    struct Case {
        const char* call;
        const char* thrown;
    };
    const std::vector<Case> cases = {
        {"host.appendChild(host)", "HierarchyRequestError"},
        {"inner.appendChild(host)", "HierarchyRequestError"},  // an ancestor into its descendant
        {"document.createElement('i').appendChild(document.documentElement)",
         "HierarchyRequestError"},
        {"host.removeChild(document.body)", "NotFoundError"},
        {"host.insertBefore(document.createElement('i'), document.body)", "NotFoundError"},
        {"var i = document.createElement('i'); host.insertBefore(i, i)", "NotFoundError"},
        {"host.appendChild({})", "TypeError"},
        {"host.insertBefore(inner, 'first')", "TypeError"},
        {"document.createElement('a b')", "InvalidCharacterError"},
        // html is 1 deep and body 2; elements nest at most 512 deep.
        {"var t = chain(512), e = t; while (e.children.length) e = e.children[0];"
         "e.appendChild(document.createElement('i'))",
         "HierarchyRequestError"},
        {"document.body.appendChild(chain(511))", "HierarchyRequestError"},
        {"document.body.appendChild(chain(510))", "none"},
    };
    PageHarness page;
    page.load(kPage);
    page.eval(kHelpers);
    page.eval("var inner = host.appendChild(document.createElement('p'))");
    for (const Case& c : cases) {
        const std::string before = page.js("document.querySelectorAll('*').length");
        EXPECT_EQ(page.js(std::string("refusal(function () { ") + c.call + "; })"), c.thrown)
            << c.call;
        if (std::string(c.thrown) != "none") {
            EXPECT_EQ(page.js("document.querySelectorAll('*').length"), before) << c.call;
        }
        EXPECT_EQ(page.js("inner.parentElement === host && host.parentElement === document.body"),
                  "true")
            << c.call;
    }
    page.frame();
    EXPECT_TRUE(page.matchesAFullRepaint());
}

std::string readAsset(const std::string& name) {
    std::ifstream in(std::string(NJ_UI_ASSETS_DIR) + "/" + name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The shipped page builds a row per mission the state names, 94 px apart
// from 44 px inside the panel's 1 px border, and only when the count
// changes; rows built again show the state, not what the old ones did.
TEST(WebDomMutation, TheDossierBuildsItsOperationRowsFromTheState) {
    PageHarness page(1280, 720);
    page.files.add("ui/ui.css", readAsset("ui.css"));
    page.files.add("ui/ui.js", readAsset("ui.js"));
    page.load(readAsset("ui.html"), "ui/ui.html");
    page.eval(
        "function $(id) { return document.getElementById(id); }"
        "window.picked = -1; window.game = { selectMission: function (i) { window.picked = i; } };"
        "function rows() { var top = document.getElementById('ops').getBoundingClientRect().top;"
        "  return document.querySelectorAll('#ops .op').map(function (row, i) {"
        "    return row.id + '@' + (row.getBoundingClientRect().top - top) + ' ' +"
        "      row.querySelector('.op-num').textContent + '/' +"
        "      document.getElementById('opname' + i).textContent + '/' +"
        "      document.getElementById('opstatus' + i).textContent; }).join(' | '); }");
    EXPECT_EQ(page.js("rows()"), "");
    const std::string two = "'ALPHA', 'BRAVO'", four = two + ", 'CHARLIE', 'DELTA'";
    const std::string twoRows = "op0@45 OP 01/ALPHA/READY | op1@139 OP 02/BRAVO/LOCKED";
    const std::string fourRows =
        twoRows + " | op2@233 OP 03/CHARLIE/LOCKED | op3@327 OP 04/DELTA/LOCKED";
    for (const auto& [names, shown] : std::vector<std::pair<std::string, std::string>>{
             {two, twoRows}, {four, fourRows}, {two, twoRows}, {four, fourRows}}) {
        page.eval("var names = [" + names +
                  "]; syncGameState({ missionCount: names.length, missionNames: names,"
                  " highestUnlocked: 0 }); window.first = window.first || $('op0');");
        page.frame();
        EXPECT_EQ(page.js("rows()"), shown);
        EXPECT_EQ(page.js("window.first === $('op0')"), "true") << "op0 was built again";
        EXPECT_TRUE(page.matchesAFullRepaint()) << names;
    }
    page.eval("document.getElementById('op3').click()");
    EXPECT_EQ(page.js("picked"), "3");
    EXPECT_FALSE(page.log.contains("Uncaught"));
}

}  // namespace
