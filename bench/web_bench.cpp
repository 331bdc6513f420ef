// Per-frame costs of the overlay's HTML engine on a HUD-like page of about
// 150 elements: an idle frame, a text change, a class toggle, and the first
// paint at the two common window sizes.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>

#include "ui/web/platform.hpp"
#include "ui/web/renderer.hpp"

namespace {

class PageFiles : public web::FileSystem {
  public:
    explicit PageFiles(std::string html) : html_(std::move(html)) {}
    bool fileExists(const std::string& path) override { return path == "ui/hud.html"; }
    std::string mimeType(const std::string&) override { return "text/html"; }
    std::string charset(const std::string&) override { return "utf-8"; }
    web::BufferPtr openFile(const std::string& path) override {
        return path == "ui/hud.html" ? web::makeBuffer(html_.data(), html_.size()) : nullptr;
    }

  private:
    std::string html_;
};

class DejaVuFonts : public web::FontLoader {
  public:
    std::string fallbackFont() override { return "DejaVu Sans"; }
    std::string fallbackFontForCharacters(const std::string&, int, bool) override {
        return "DejaVu Sans";
    }
    web::BufferPtr load(const std::string&, int weight, bool) override {
        const std::string file = weight >= 600 ? "DejaVuSans-Bold.ttf" : "DejaVuSans.ttf";
        std::ifstream in("/usr/share/fonts/truetype/dejavu/" + file, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        return bytes.empty() ? nullptr : web::makeBuffer(bytes.data(), bytes.size());
    }
};

// A HUD in the game's spirit: a top bar, objective list, stealth meter with
// segments, a mission grid and a tumbler row; 150 elements in all.
std::string hudPage() {
    std::string html =
        "<html><head><style>"
        "body{margin:0;font-family:'DejaVu Sans';color:#dfefff;font-size:14px}"
        ".bar{position:absolute;left:0;top:0;width:100%;height:48px;background-color:rgba(8,16,30,"
        "0.8)}"
        ".item{display:inline-block;margin:12px 10px;padding:2px 8px;border:1px solid #2aa8d8;"
        "border-radius:6px}"
        ".seg{display:inline-block;width:14px;height:10px;margin-right:2px;background-color:#234}"
        ".seg.on{background-color:#3cf}.hidden{display:none}.alert{color:#f44;border-color:#f44}"
        ".card{display:inline-block;width:110px;height:60px;margin:6px;padding:6px;"
        "border:2px solid #345;border-radius:8px;background-color:rgba(20,30,50,0.7)}"
        ".card.sel{border-color:#fc3}"
        "</style></head><body><div class='bar'>";
    for (int i = 0; i < 8; ++i)
        html += "<span class='item' id='item" + std::to_string(i) + "'>ITEM " + std::to_string(i) +
                "</span>";
    html += "</div><div style='position:absolute;left:20px;top:70px;width:320px'>";
    for (int i = 0; i < 20; ++i) {
        html += "<div class='obj' id='obj" + std::to_string(i) +
                "'><b>&bull;</b> <span>Objective line " + std::to_string(i) + "</span></div>";
    }
    html += "</div><div id='meter' style='position:absolute;left:20px;bottom:20px'>";
    for (int i = 0; i < 30; ++i) html += "<div class='seg on'></div>";
    html += "</div><div style='position:absolute;right:20px;top:70px;width:400px'>";
    for (int i = 0; i < 16; ++i) {
        html += "<div class='card' id='card" + std::to_string(i) + "'><div>MISSION " +
                std::to_string(i) + "</div><div class='sub'>Glass Harbor</div></div>";
    }
    html +=
        "</div><div id='clock' style='position:absolute;left:600px;top:14px'>00:00</div>"
        "<script>var clock = document.getElementById('clock');"
        "window.syncGameState = function (s) { clock.textContent = s.clock;"
        "document.getElementById('meter').className = s.tier > 1 ? 'alert' : ''; };</script>"
        "</body></html>";
    return html;
}

struct Engine {
    Engine(std::uint32_t width, std::uint32_t height, double scale) : files(hudPage()) {
        web::Platform& platform = web::Platform::instance();
        platform.setFileSystem(&files);
        platform.setFontLoader(&fonts);
        renderer = web::Renderer::create();
        web::ViewConfig config;
        config.initialDeviceScale = scale;
        view = renderer->createView(width, height, config);
    }
    ~Engine() {
        view.reset();
        renderer.reset();
        web::Platform::instance().setFileSystem(nullptr);
        web::Platform::instance().setFontLoader(nullptr);
    }
    void load() {
        view->loadURL("file:///ui/hud.html");
        frame();
    }
    void frame() {
        renderer->update();
        renderer->refreshDisplay(0);
        renderer->render();
    }
    PageFiles files;
    DejaVuFonts fonts;
    std::unique_ptr<web::Renderer> renderer;
    std::shared_ptr<web::View> view;
};

void BM_IdleFrame(benchmark::State& state) {
    Engine engine(1280, 720, 1.0);
    engine.load();
    for (auto _ : state) engine.frame();
}
BENCHMARK(BM_IdleFrame)->Unit(benchmark::kMicrosecond);

// The game evaluates its state script every frame; unchanged values must not
// restyle or repaint.
void BM_IdleFrameWithStateSync(benchmark::State& state) {
    Engine engine(1280, 720, 1.0);
    engine.load();
    for (auto _ : state) {
        engine.view->evaluateScript(
            "window.syncGameState && window.syncGameState({\"clock\":\"00:07\",\"tier\":0});");
        engine.frame();
    }
}
BENCHMARK(BM_IdleFrameWithStateSync)->Unit(benchmark::kMicrosecond);

void BM_TextChange(benchmark::State& state) {
    Engine engine(1280, 720, 1.0);
    engine.load();
    int tick = 0;
    for (auto _ : state) {
        const int t = ++tick % 6000;
        engine.view->evaluateScript("clock.textContent = '" + std::to_string(t / 60) + ":" +
                                    std::to_string(t % 60) + "';");
        engine.frame();
    }
}
BENCHMARK(BM_TextChange)->Unit(benchmark::kMicrosecond);

void BM_ClassToggle(benchmark::State& state) {
    Engine engine(1280, 720, 1.0);
    engine.load();
    for (auto _ : state) {
        engine.view->evaluateScript("document.getElementById('card3').classList.toggle('sel');");
        engine.frame();
    }
}
BENCHMARK(BM_ClassToggle)->Unit(benchmark::kMicrosecond);

void BM_FirstPaint(benchmark::State& state) {
    const auto width = static_cast<std::uint32_t>(state.range(0));
    const auto height = static_cast<std::uint32_t>(state.range(1));
    for (auto _ : state) {
        Engine engine(width, height, width / 1280.0);
        engine.load();
        benchmark::DoNotOptimize(engine.view->surface()->bitmap().data());
    }
}
BENCHMARK(BM_FirstPaint)->Args({1280, 720})->Args({1920, 1080})->Unit(benchmark::kMillisecond);

}  // namespace
