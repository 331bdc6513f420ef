// The page's tree edits as a script makes them (create, append, insert, remove, class and text
// changes), in any order on any node of a page whose rules react to structure: each input is a
// program of edits, paints and hovers over a small pool of nodes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "page_fuzz_sources.hpp"
#include "ui/web/bitmap.hpp"
#include "ui/web/nesting_limit.hpp"
#include "ui/web/page_document.hpp"
#include "ui/web/tree_edits.hpp"

namespace {

// Sibling, child and :hover rules, a table, a list and hidden parts: an edit restyles, regrids
// and re-lays out beyond the node it touches.
constexpr const char* kPage = R"html(<html><head><style>
body { margin: 2px; font-family: sans-serif; font-size: 9px; }
.a { color: #c00; border: 1px solid #00c; padding: 1px; }
.b { display: none; } .c { position: absolute; left: 30px; top: 10px; width: 40px; background: #0c0; }
.a + .c, li ~ li { margin-left: 4px; } div > span:hover { background: #ccc; } .t td { border: 1px solid #444; }
</style></head><body>
<div id="one" class="a">alpha <span id="two">beta</span></div>
<p id="three">gamma</p><ul id="four"><li>x</li><li class="c">y</li></ul>
<table id="five" class="t"><tr><td id="six">1</td><td>2</td></tr></table>
</body></html>)html";

constexpr std::array kTags = {"div", "span", "p",  "li",  "ul",    "table",  "tr",
                              "td",  "b",    "br", "img", "style", "script", "section"};
constexpr std::array kClasses = {"", "a", "b", "c", "a c", "t", "a b c"};
constexpr std::array kWords = {"", "word", "two words", "a longer line of words to wrap"};
constexpr std::array kIds = {"one", "two", "three", "four", "five", "six"};
constexpr std::size_t kMaxNodes = 24;
constexpr std::size_t kMaxSteps = 96;

// Reads the program one byte at a time; past the end every read is 0.
struct Program {
    const std::uint8_t* data;
    std::size_t size, at = 0;
    bool done() const { return at >= size; }
    std::uint8_t next() { return at < size ? data[at++] : 0; }
    template <typename List>
    auto pick(const List& list) {
        return list[next() % list.size()];
    }
};

struct Nodes {
    std::vector<litehtml::element::ptr> held;
    void hold(const litehtml::element::ptr& node) {
        if (node && held.size() < kMaxNodes) held.push_back(node);
    }
    // A held node, or null (as a page passes null for "at the end").
    litehtml::element::ptr pick(Program& program) const {
        const std::size_t index = program.next() % (held.size() + 1);
        return index < held.size() ? held[index] : nullptr;
    }
};

void step(web::PageDocument& page, web::Bitmap& bitmap, Nodes& nodes, Program& program) {
    switch (program.next() % 10) {
        case 0:
            nodes.hold(page.createElement(program.pick(kTags)));
            break;
        case 1: {  // appendChild
            const auto parent = nodes.pick(program);
            page.insertChild(parent, nodes.pick(program), nullptr);
            break;
        }
        case 2: {  // insertBefore
            const auto parent = nodes.pick(program), child = nodes.pick(program);
            page.insertChild(parent, child, nodes.pick(program));
            break;
        }
        case 3: {
            const auto parent = nodes.pick(program);
            page.removeChild(parent, nodes.pick(program));
            break;
        }
        case 4:
            if (const auto node = nodes.pick(program))
                page.setAttribute(node, "class", program.pick(kClasses));
            break;
        case 5:
            if (const auto node = nodes.pick(program)) page.setText(node, program.pick(kWords));
            break;
        case 6:
            if (const auto node = nodes.pick(program)) page.removeAttribute(node, "class");
            break;
        case 7:
            page.paint(bitmap, 1.0);
            break;
        case 8: {
            const int x = program.next() % 128, y = program.next() % 72;
            page.hover(x, y);
            break;
        }
        default: {
            const int x = program.next() % 128, y = program.next() % 72;
            nodes.hold(page.elementAt(x, y));
            break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzzpage::Files files;
    static fuzzpage::Fonts fonts;
    web::PageDocument page(kPage, "file:///ui/page.html", &files, &fonts, 16, 128, 72);
    // Every page's first paint clears all of it, so one serves every input.
    static web::Bitmap bitmap(128, 72);
    page.paint(bitmap, 1.0);
    Nodes nodes;
    nodes.hold(page.root());
    for (const char* id : kIds) nodes.hold(page.elementById(id));
    Program program{data, size};
    for (std::size_t steps = 0; steps < kMaxSteps && !program.done(); ++steps) {
        step(page, bitmap, nodes, program);
    }
    page.paint(bitmap, 1.0);
    // No edit may nest past the bounds the parser keeps.
    if (web::subtreeHeight(page.root()) > web::kMaxElementDepth ||
        web::subtreeTableHeight(page.root()) > web::kMaxTableDepth)
        __builtin_trap();
    return 0;
}
