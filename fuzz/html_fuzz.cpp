// Feeds arbitrary bytes to the page engine as HTML with inline CSS: bound the
// nesting, parse, style, lay out, paint, restyle after a class change,
// hit-test and hover.
// Scripts are not run: JavaScriptCore is far too slow per input under ASan,
// and its garbage collector's conservative stack scan trips the sanitizer.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "ui/web/bitmap.hpp"
#include "ui/web/nesting_limit.hpp"
#include "ui/web/page_document.hpp"
#include "ui/web/platform.hpp"

namespace {

// An image and a style sheet a page may link, so those paths run too.
class FuzzFiles : public web::FileSystem {
  public:
    bool fileExists(const std::string& path) override { return openFile(path) != nullptr; }
    std::string mimeType(const std::string&) override { return "application/octet-stream"; }
    std::string charset(const std::string&) override { return "utf-8"; }
    web::BufferPtr openFile(const std::string& path) override {
        static const std::string css = ".a{color:red;border:1px solid blue}.b{display:none}";
        if (path == "ui/a.css") return web::makeBuffer(css.data(), css.size());
        return nullptr;
    }
};

class FuzzFonts : public web::FontLoader {
  public:
    std::string fallbackFont() override { return "DejaVu Sans"; }
    std::string fallbackFontForCharacters(const std::string&, int, bool) override {
        return "DejaVu Sans";
    }
    web::BufferPtr load(const std::string&, int, bool) override {
        static const web::BufferPtr bytes = [] {
            std::ifstream in("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", std::ios::binary);
            const std::string data((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
            return web::makeBuffer(data.data(), data.size());
        }();
        return bytes->empty() ? nullptr : bytes;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FuzzFiles files;
    static FuzzFonts fonts;
    std::string html(reinterpret_cast<const char*>(data), size);
    // As a view loads a page: nesting bounded before anything parses it.
    web::limitNesting(html, web::kMaxElementDepth);
    web::PageDocument page(html, "file:///ui/page.html", &files, &fonts, 16, 160, 90);
    web::Bitmap bitmap(160, 90);
    page.paint(bitmap, 1.0);
    if (auto root = page.root()) {
        if (auto target = page.elementAt(20, 20)) {
            page.setAttribute(target, "class", "a b");
            page.setText(target, "changed text");
            page.paint(bitmap, 1.0);
            page.removeAttribute(target, "class");
        }
        page.hover(40, 30);
        page.paint(bitmap, 1.0);
    }
    return 0;
}
