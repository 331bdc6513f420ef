// The overlay host: page bring-up, the per-frame state sync and paint, and
// input forwarding with the pointer's mapping into page units.
#include "ui/overlay_ui.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>
#include <vector>

#include "core/page_size.hpp"
#include "game/game.hpp"
#include "game/rules_math.hpp"
#include "ui/package_file_system.hpp"
#include "ui/page_commands.hpp"
#include "ui/page_state.hpp"
#include "ui/stock_sources.hpp"
#include "ui/web/renderer.hpp"
#include "ui/web/view.hpp"

namespace nj {
namespace {

double steadySeconds() {
    using Clock = std::chrono::steady_clock;
    static const Clock::time_point start = Clock::now();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Below a tenth of the layout the page would be unreadable anyway; the bitmap
// keeps this size and is stretched over the tiny viewport.
constexpr std::uint32_t kSmallestPixelWidth = 128, kSmallestPixelHeight = 72;

// The nearest whole number, raised to the next even one when odd.
std::uint32_t evenPixels(float size) {
    const long long rounded = std::llround(static_cast<double>(size));
    return static_cast<std::uint32_t>((rounded + 1) & ~1LL);
}

}  // namespace

PagePoint pagePointFromCanvas(float fx, float fy) {
    return {saturatingTruncate<std::uint32_t>(fx * static_cast<float>(kPageWidth)),
            saturatingTruncate<std::uint32_t>(fy * static_cast<float>(kPageHeight))};
}

struct OverlayUI::Impl final : web::LoadListener, web::Logger, GameCommandTarget {
    std::unique_ptr<web::Renderer> renderer;
    std::shared_ptr<web::View> view;
    std::string apiName = "game";
    std::unique_ptr<web::JSApi> api;
    std::unique_ptr<NJ3PackageFileSystem> fileSystem;
    std::unique_ptr<NJ3PackageFontLoader> fontLoader;
    std::uint32_t logicalWidth = kPageWidth, logicalHeight = kPageHeight;
    double deviceScale = 1.0;
    std::uint32_t pixelWidth = kPageWidth, pixelHeight = kPageHeight;
    std::uint32_t mouseX = 0, mouseY = 0;
    bool leftButtonDown = false;
    bool domReady = false;
    bool approachesNamed = false;  // the names go over once, before the first state
    Game* game = nullptr;

    // Our stand-ins for the stock sources behind the package.
    std::unique_ptr<DiskFileSystem> diskFiles;
    std::unique_ptr<SystemFontLoader> systemFonts;
    OverlayCanvas* canvas = nullptr;
    std::function<void()> quit;
    std::function<void(ReplayRequest, double)> replay;
    std::function<void(std::string_view)> editor;

    Impl() : api(std::make_unique<web::JSApi>("game")) {}

    // Load listener: only the main frame's DOM-ready matters.
    void onDOMReady(web::View&, std::uint64_t, bool isMainFrame, const std::string&) override {
        if (isMainFrame) domReady = true;
    }
    // Logger: the page's messages are not shown anywhere.
    void logMessage(web::LogLevel, const std::string&) override {}

    Game* commandGame() override { return game; }
    void quitGame() override {
        if (quit) quit();
    }
    void replayRequest(ReplayRequest request, double argument) override {
        if (replay) replay(request, argument);
    }
    void editorRequest(std::string_view request) override {
        if (editor) editor(request);
    }

    // The page is always laid out 1280 units wide and scaled to the
    // letterboxed viewport, whatever its size, so the picture matches the
    // 1280 x 720 page and mouse positions mapped into 1280 x 720 land on what
    // is drawn. A minimised window (no viewport) leaves the view alone.
    void followViewport() {
        if (!canvas) return;
        float w = 0.0f, h = 0.0f;
        canvas->viewportSize(w, h);
        if (!(w >= 1.0f && h >= 1.0f)) return;
        const std::uint32_t pw = std::max(evenPixels(w), kSmallestPixelWidth);
        const std::uint32_t ph = std::max(evenPixels(h), kSmallestPixelHeight);
        const double scale = static_cast<double>(pw) / static_cast<double>(logicalWidth);
        if (std::fabs(deviceScale - scale) > 1e-9 || pw != pixelWidth || ph != pixelHeight) {
            deviceScale = scale;
            pixelWidth = pw;
            pixelHeight = ph;
            view->resize(pw, ph, scale);
        }
    }

    void handBitmapOver() {
        web::BitmapSurface* surface = view->surface();
        if (!surface || !canvas) return;
        web::Bitmap& bitmap = surface->bitmap();
        if (bitmap.width() == 0 || bitmap.height() == 0) return;
        void* pixels = bitmap.lockPixels();
        if (!pixels) return;
        canvas->drawOverlayBitmap(static_cast<const std::uint8_t*>(pixels),
                                  static_cast<int>(bitmap.width()),
                                  static_cast<int>(bitmap.height()),
                                  static_cast<int>(bitmap.rowBytes()), surface->dirty());
        surface->clearDirty();
        bitmap.unlockPixels();
    }

    void releasePage() {
        view.reset();
        renderer.reset();
    }
};

OverlayUI::OverlayUI(OverlayCanvas* canvas, std::function<void()> quit)
    : impl_(std::make_unique<Impl>()) {
    impl_->canvas = canvas;
    impl_->quit = std::move(quit);
}

OverlayUI::~OverlayUI() {
    if (!impl_) return;
    impl_->releasePage();
    // The engine's platform keeps these pointers; clear them before the
    // objects go, so nothing can reach freed sources.
    web::Platform& platform = web::Platform::instance();
    if (platform.fileSystem() == impl_->fileSystem.get()) platform.setFileSystem(nullptr);
    if (platform.fontLoader() == impl_->fontLoader.get()) platform.setFontLoader(nullptr);
    if (platform.logger() == static_cast<web::Logger*>(impl_.get())) platform.setLogger(nullptr);
    impl_->fontLoader.reset();
    impl_->fileSystem.reset();
    impl_->api.reset();
}

bool OverlayUI::initialize(int width, int height) {
    Impl& impl = *impl_;
    impl.logicalWidth = static_cast<std::uint32_t>(std::max(width, 1));
    impl.logicalHeight = static_cast<std::uint32_t>(std::max(height, 1));

    web::Platform& platform = web::Platform::instance();
    web::Config config;
    config.clock = steadySeconds;
    platform.setConfig(config);
    impl.diskFiles = std::make_unique<DiskFileSystem>("./assets/");
    impl.systemFonts = std::make_unique<SystemFontLoader>();
    impl.fileSystem = std::make_unique<NJ3PackageFileSystem>(impl.diskFiles.get());
    impl.fontLoader = std::make_unique<NJ3PackageFontLoader>(impl.systemFonts.get());
    platform.setFontLoader(impl.fontLoader.get());
    platform.setFileSystem(impl.fileSystem.get());
    platform.setLogger(&impl);

    impl.renderer = web::Renderer::create();
    if (!impl.renderer) return false;
    web::ViewConfig viewConfig;
    viewConfig.accelerated = false;
    viewConfig.initialDeviceScale = 1.0;
    viewConfig.initialFocus = true;
    impl.view = impl.renderer->createView(impl.logicalWidth, impl.logicalHeight, viewConfig);
    if (!impl.view) return false;
    impl.pixelWidth = impl.logicalWidth;
    impl.pixelHeight = impl.logicalHeight;
    impl.view->setLoadListener(&impl);

    bindPageCommands(ApiContext{impl.apiName, impl.api.get()}, impl);
    if (!impl.api || !impl.view->attachJSApi(impl.api.get())) return false;
    impl.view->loadURL("file:///ui/ui.html");
    return true;
}

void OverlayUI::teardown() {
    if (impl_) impl_->releasePage();
}

void OverlayUI::onReplayRequest(std::function<void(ReplayRequest, double)> handler) {
    if (impl_) impl_->replay = std::move(handler);
}

void OverlayUI::onEditorRequest(std::function<void(std::string_view)> handler) {
    if (impl_) impl_->editor = std::move(handler);
}

void OverlayUI::renderFrame(Game& game, const ReplayPageState* replay, std::string_view editor) {
    if (!impl_ || !impl_->renderer || !impl_->view) return;
    Impl& impl = *impl_;
    // A click must never steer the run being watched.
    impl.game = replay && replay->watching ? nullptr : &game;
    impl.followViewport();
    if (impl.domReady) {
        if (!impl.approachesNamed) {
            impl.view->evaluateScript(approachNamesScript());
            impl.approachesNamed = true;
        }
        const PageLayout layout{impl.logicalWidth, impl.logicalHeight};
        impl.view->evaluateScript(buildStateScript(game, layout, replay, editor));
    }
    impl.renderer->update();
    impl.renderer->refreshDisplay(0);
    impl.renderer->render();
    impl.handBitmapOver();
}

bool OverlayUI::forwardKeyDown(std::uint32_t key) {
    if (!impl_ || !impl_->view) return false;
    web::KeyEvent event;
    event.type = web::KeyEventType::RawKeyDown;
    event.virtualKeyCode = static_cast<int>(key);
    return impl_->view->fireKeyEvent(event);
}

void OverlayUI::forwardText(const std::string& text) {
    if (!impl_ || !impl_->view) return;
    web::KeyEvent event;
    event.type = web::KeyEventType::Char;
    event.text = text;
    impl_->view->fireKeyEvent(event);
}

void OverlayUI::forwardKeyUp(std::uint32_t key) {
    if (!impl_ || !impl_->view) return;
    web::KeyEvent event;
    event.type = web::KeyEventType::KeyUp;
    event.virtualKeyCode = static_cast<int>(key);
    impl_->view->fireKeyEvent(event);
}

void OverlayUI::forwardMouseMove(std::uint32_t x, std::uint32_t y) {
    if (!impl_ || !impl_->view) return;
    impl_->mouseX = x;
    impl_->mouseY = y;
    web::MouseEvent event;
    event.type = web::MouseEventType::MouseMoved;
    event.x = static_cast<int>(x);
    event.y = static_cast<int>(y);
    event.button = impl_->leftButtonDown ? web::MouseButton::Left : web::MouseButton::None;
    impl_->view->fireMouseEvent(event);
}

void OverlayUI::forwardMouseButton(bool down) {
    if (!impl_ || !impl_->view) return;
    impl_->leftButtonDown = down;
    web::MouseEvent event;
    event.type = down ? web::MouseEventType::MouseDown : web::MouseEventType::MouseUp;
    event.x = static_cast<int>(impl_->mouseX);
    event.y = static_cast<int>(impl_->mouseY);
    event.button = web::MouseButton::Left;
    impl_->view->fireMouseEvent(event);
}

bool OverlayUI::domReady() const {
    return impl_ && impl_->domReady;
}
web::View* OverlayUI::view() const {
    return impl_ ? impl_->view.get() : nullptr;
}
std::uint32_t OverlayUI::pixelWidth() const {
    return impl_ ? impl_->pixelWidth : 0;
}
std::uint32_t OverlayUI::pixelHeight() const {
    return impl_ ? impl_->pixelHeight : 0;
}
double OverlayUI::deviceScale() const {
    return impl_ ? impl_->deviceScale : 0.0;
}

}  // namespace nj
