// Fakes and the page harness shared by the HTML engine tests.
#include "web_test_support.hpp"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "ui/web/page_document.hpp"

namespace webtest {

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

web::BufferPtr MemoryFileSystem::openFile(const std::string& path) {
    auto found = files_.find(path);
    if (found == files_.end()) return nullptr;
    return web::makeBuffer(found->second.data(), found->second.size());
}

web::BufferPtr TestFontLoader::load(const std::string& family, int weight, bool) {
    const bool bold = weight >= 600;
    const std::string dejavu =
        std::string("/usr/share/fonts/truetype/dejavu/DejaVuSans") + (bold ? "-Bold.ttf" : ".ttf");
    const auto page = [bold](const std::string& folder, const std::string& name) {
        const std::string style = bold ? "700Bold" : "400Regular";
        return NJ_PAGE_FONT_DIR "/" + folder + "/" + style + "/" + name + "_" + style + ".ttf";
    };
    const std::map<std::string, std::string> files = {
        {"dejavu sans", dejavu},
        {"sans-serif", dejavu},
        {"lato", page("lato", "Lato")},
        {"montserrat", page("montserrat", "Montserrat")},
        {"roboto mono", page("roboto-mono", "RobotoMono")}};
    std::string key = family;
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const auto found = files.find(key);
    const std::string bytes = found == files.end() ? "" : readText(found->second);
    return bytes.empty() ? nullptr : web::makeBuffer(bytes.data(), bytes.size());
}

bool RecordingLogger::contains(const std::string& part) const {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const Line& line) { return line.text.find(part) != std::string::npos; });
}

PageHarness::PageHarness(std::uint32_t width, std::uint32_t height, double scale) {
    web::Config config;
    config.clock = [] { return 1000.0; };
    web::Platform& platform = web::Platform::instance();
    platform.setConfig(config);
    platform.setFileSystem(&files);
    platform.setFontLoader(&fonts);
    platform.setLogger(&log);
    renderer = web::Renderer::create();
    web::ViewConfig viewConfig;
    viewConfig.initialDeviceScale = scale;
    view = renderer->createView(width, height, viewConfig);
    view->setLoadListener(this);
}

PageHarness::~PageHarness() {
    view.reset();
    renderer.reset();
    web::Platform& platform = web::Platform::instance();
    platform.setFileSystem(nullptr);
    platform.setFontLoader(nullptr);
    platform.setLogger(nullptr);
    platform.setConfig(web::Config{});
}

void PageHarness::load(const std::string& html, const std::string& path) {
    files.add(path, html);
    view->loadURL("file:///" + path);
    frame();
}

void PageHarness::frame() {
    renderer->update();
    renderer->refreshDisplay(0);
    renderer->render();
}

std::string PageHarness::js(const std::string& expression) {
    const std::size_t before = log.lines.size();
    view->evaluateScript("console.log('@@' + String(" + expression + "));");
    for (std::size_t i = before; i < log.lines.size(); ++i) {
        const std::string& text = log.lines[i].text;
        if (text.rfind("@@", 0) == 0) return text.substr(2);
    }
    return "<no result>";
}

std::uint32_t PageHarness::pixel(int x, int y) const {
    const web::Bitmap& bitmap = view->surface()->bitmap();
    const std::uint32_t p = bitmap.pixel(std::uint32_t(x), std::uint32_t(y));
    const std::uint32_t a = p >> 24;
    if (a == 0) return 0;
    const auto channel = [&](int shift) {
        const std::uint32_t c = (p >> shift) & 0xFF;
        return std::min<std::uint32_t>(255, (c * 255 + a / 2) / a);
    };
    return (a << 24) | (channel(16) << 16) | (channel(8) << 8) | channel(0);
}

std::vector<std::uint32_t> PageHarness::pixels() const {
    std::vector<std::uint32_t> all;
    const web::Bitmap& bitmap = view->surface()->bitmap();
    for (std::uint32_t y = 0; y < bitmap.height(); ++y) {
        for (std::uint32_t x = 0; x < bitmap.width(); ++x) all.push_back(bitmap.pixel(x, y));
    }
    return all;
}

bool PageHarness::matchesAFullRepaint() {
    const std::vector<std::uint32_t> partial = pixels();
    view->page()->markPaintNeeded();
    frame();
    return pixels() == partial;
}

void PageHarness::click(int x, int y) {
    view->fireMouseEvent({web::MouseEventType::MouseMoved, x, y, web::MouseButton::None});
    view->fireMouseEvent({web::MouseEventType::MouseDown, x, y, web::MouseButton::Left});
    view->fireMouseEvent({web::MouseEventType::MouseUp, x, y, web::MouseButton::Left});
}

}  // namespace webtest
