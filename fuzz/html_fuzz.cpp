// Arbitrary bytes as HTML with inline CSS: nesting bounded, parsed, styled, laid out, painted,
// restyled, hit-tested and hovered (tree edits have their own fuzzer). No scripts: JavaScriptCore
// is far too slow under ASan, and its collector's conservative stack scan trips the sanitizer.
#include <cstddef>
#include <cstdint>
#include <string>

#include "page_fuzz_sources.hpp"
#include "ui/web/bitmap.hpp"
#include "ui/web/nesting_limit.hpp"
#include "ui/web/page_document.hpp"
#include "ui/web/tree_edits.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzzpage::Files files;
    static fuzzpage::Fonts fonts;
    std::string html(reinterpret_cast<const char*>(data), size);
    // As a view loads a page: nesting bounded before anything parses it.
    web::limitNesting(html, web::kMaxElementDepth);
    web::PageDocument page(html, "file:///ui/page.html", &files, &fonts, 16, 160, 90);
    if (!page.root()) return 0;
    // The bounds hold in the tree the parser built, the page's own bound
    // markup or, where that still nests past them, its text (the parser adds
    // html, body and a tbody in each table): checked before the first layout,
    // which a page past them would stall.
    if (web::subtreeHeight(page.root()) > web::kMaxElementDepth + 2 + web::kMaxTableDepth ||
        web::subtreeTableHeight(page.root()) > web::kMaxTableDepth)
        __builtin_trap();
    // Every page's first paint clears all of it, so one serves every input.
    static web::Bitmap bitmap(160, 90);
    page.paint(bitmap, 1.0);
    // One partial repaint covers the restyle, the new words and the hover.
    if (auto target = page.elementAt(20, 20)) {
        page.setAttribute(target, "class", "a b");
        page.setText(target, "changed text");
    }
    page.hover(40, 30);
    page.paint(bitmap, 1.0);
    return 0;
}
