#pragma once
// A page harness: pages from memory, a clock that stands still and a recording logger.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/web/platform.hpp"
#include "ui/web/renderer.hpp"
#include "ui/web/view.hpp"

namespace webtest {

class MemoryFileSystem : public web::FileSystem {
  public:
    void add(const std::string& path, const std::string& bytes) { files_[path] = bytes; }
    bool fileExists(const std::string& path) override { return files_.count(path) > 0; }
    // The engine asks for neither.
    std::string mimeType(const std::string&) override { return ""; }
    std::string charset(const std::string&) override { return ""; }
    web::BufferPtr openFile(const std::string& path) override;

  private:
    std::map<std::string, std::string> files_;
};

// "DejaVu Sans" (also "sans-serif"), and the page's own "Lato", "Montserrat" and "Roboto Mono" from
// the npm packages the game ships them from; bold from weight 600. Everything else is unknown.
class TestFontLoader : public web::FontLoader {
  public:
    std::string fallbackFont() override { return "DejaVu Sans"; }
    std::string fallbackFontForCharacters(const std::string&, int, bool) override {
        return "DejaVu Sans";
    }
    web::BufferPtr load(const std::string& family, int weight, bool italic) override;
};

class RecordingLogger : public web::Logger {
  public:
    void logMessage(web::LogLevel level, const std::string& message) override {
        lines.push_back({level, message});
    }
    bool contains(const std::string& part) const;
    struct Line {
        web::LogLevel level;
        std::string text;
    };
    std::vector<Line> lines;
};

class PageHarness : public web::LoadListener {
  public:
    explicit PageHarness(std::uint32_t width = 200, std::uint32_t height = 100, double scale = 1.0);
    ~PageHarness() override;

    void load(const std::string& html, const std::string& path = "ui/page.html");
    void frame();  // update, refresh display 0, render
    void eval(const std::string& script) { view->evaluateScript(script); }
    // Runs `expression` in the page and returns String(result) through the logger.
    std::string js(const std::string& expression);

    // Unpremultiplied 0xAARRGGBB of one device pixel; every pixel as stored, row by row.
    std::uint32_t pixel(int x, int y) const;
    std::vector<std::uint32_t> pixels() const;
    // Whether partial repaints left exactly what a whole repaint gives (which it then does).
    bool matchesAFullRepaint();
    void click(int x, int y);

    MemoryFileSystem files;
    TestFontLoader fonts;
    RecordingLogger log;
    std::unique_ptr<web::Renderer> renderer;
    std::shared_ptr<web::View> view;
    int domReadyCount = 0;

    void onDOMReady(web::View&, std::uint64_t, bool isMainFrame, const std::string&) override {
        if (isMainFrame) ++domReadyCount;
    }
};

// A whole file's bytes; empty when it cannot be read.
std::string readText(const std::string& path);

constexpr std::uint32_t kTransparent = 0x00000000;
constexpr std::uint32_t rgb(std::uint32_t value) {  // 0xRRGGBB -> opaque 0xFFRRGGBB
    return 0xFF000000u | value;
}

}  // namespace webtest
