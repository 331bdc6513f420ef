// Loading, input, script evaluation and painting of one view.
#include "ui/web/view.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>

#include "ui/web/js_api_state.hpp"
#include "ui/web/nesting_limit.hpp"
#include "ui/web/page_document.hpp"
#include "ui/web/page_scripts.hpp"
#include "ui/web/platform.hpp"
#include "ui/web/script_host.hpp"
#include "ui/web/url.hpp"

namespace web {

namespace {

// Host callbacks (file system, font loader, logger) may throw; such an
// exception must not unwind through the host's frame or leave it mid-call.
template <typename Step>
auto guarded(const char* what, const Step& step) -> decltype(step()) {
    try {
        return step();
    } catch (const std::exception& e) {
        Platform::instance().log(LogLevel::Error, std::string("web: ") + what + ": " + e.what());
    } catch (...) {
        Platform::instance().log(LogLevel::Error,
                                 std::string("web: ") + what + ": unknown exception");
    }
    return decltype(step())();
}

double sanitizedScale(double scale) {
    return std::isfinite(scale) && scale >= 0.1 && scale <= 16.0 ? scale : 1.0;
}

}  // namespace

View::View(std::uint32_t width, std::uint32_t height, const ViewConfig& config)
    : deviceScale_(sanitizedScale(config.initialDeviceScale)) {
    surface_.resize(width, height);
}

View::~View() {
    script_.reset();
    page_.reset();
}

bool View::attachJSApi(const JSApi* api) {
    if (!api) return false;
    apis_.push_back(api->state());
    return true;
}

void View::loadURL(const std::string& url) {
    pendingUrl_ = url;
    loadPending_ = true;
}

int View::cssPixels(std::uint32_t devicePixels) const {
    return std::max(1, static_cast<int>(std::lround(devicePixels / deviceScale_)));
}

void View::applyLayoutSize() {
    if (!page_) return;
    page_->setViewport(cssPixels(width()), cssPixels(height()));
    page_->markPaintNeeded();
}

void View::resize(std::uint32_t width, std::uint32_t height, double deviceScale) {
    deviceScale = sanitizedScale(deviceScale);
    if (width == this->width() && height == this->height() && deviceScale == deviceScale_) return;
    deviceScale_ = deviceScale;
    surface_.resize(width, height);
    blankNeedsPaint_ = true;
    applyLayoutSize();
}

void View::load(const std::string& url, double nowSeconds) {
    Platform& platform = Platform::instance();
    script_.reset();
    page_.reset();
    pressed_.reset();
    domReady_ = false;
    blankNeedsPaint_ = true;
    url_ = url;
    if (listener_) listener_->onBeginLoading(*this, 0, true, url);
    FileSystem* files = platform.fileSystem();
    const std::string path = filePathOf(url);
    BufferPtr bytes = files && !path.empty() ? files->openFile(path) : nullptr;
    if (!bytes) {
        platform.log(LogLevel::Error, "web: cannot load " + url);
        if (listener_) listener_->onFailLoading(*this, 0, true, url, "file not found");
        return;
    }
    std::string html(bytes->begin(), bytes->end());
    if (limitNesting(html, kMaxElementDepth)) {
        platform.log(LogLevel::Error, "web: " + url + " nests elements deeper than " +
                                          std::to_string(kMaxElementDepth) +
                                          " or tables deeper than " +
                                          std::to_string(kMaxTableDepth) +
                                          "; the tags below those depths are left out");
    }
    page_ = std::make_unique<PageDocument>(html, url, files, platform.fontLoader(),
                                           platform.config().defaultFontSize, cssPixels(width()),
                                           cssPixels(height()));
    if (page_->shownAsText()) {
        platform.log(LogLevel::Error,
                     "web: " + url + " still nests elements deeper than " +
                         std::to_string(kMaxElementDepth) + " or tables deeper than " +
                         std::to_string(kMaxTableDepth) + " once parsed; it is shown as text");
    }
    script_ = std::make_unique<ScriptHost>(*page_, url, nowSeconds);
    runPageScripts();
}

void View::runPageScripts() {
    const PageScriptInfo& info = page_->markup();
    for (const auto& api : apis_) script_->installApi(api, info.diagnostics);
    if (listener_) listener_->onWindowObjectReady(*this, 0, true, url_);
    for (const PageScript& script : info.scripts) {
        if (script.src.empty()) {
            script_->evaluate(script.source, url_, script.line);
            continue;
        }
        const std::string address = resolveUrl(url_, script.src);
        FileSystem* files = Platform::instance().fileSystem();
        BufferPtr bytes = files ? files->openFile(filePathOf(address)) : nullptr;
        if (!bytes) {
            Platform::instance().log(LogLevel::Error, "web: cannot load script " + address);
            continue;
        }
        script_->evaluate(std::string(bytes->begin(), bytes->end()), address, 1);
    }
    script_->setReadyState("interactive");
    script_->dispatchSimple("DOMContentLoaded");
    domReady_ = true;
    if (listener_) listener_->onDOMReady(*this, 0, true, url_);
    script_->setReadyState("complete");
    script_->dispatchSimple("load");
    if (listener_) listener_->onFinishLoading(*this, 0, true, url_);
}

void View::evaluateScript(const std::string& script) {
    guarded("script", [&] {
        if (script_) script_->evaluate(script, url_, 1);
    });
}

bool View::fireKeyEvent(const KeyEvent& event) {
    return guarded("key event", [&] { return dispatchKey(event); });
}

void View::fireMouseEvent(const MouseEvent& event) {
    guarded("mouse event", [&] { dispatchMouse(event); });
}

bool View::dispatchKey(const KeyEvent& event) {
    if (!script_) return false;
    switch (event.type) {
        case KeyEventType::KeyDown:
        case KeyEventType::RawKeyDown:
            return !script_->dispatchKey("keydown", event.virtualKeyCode);
        case KeyEventType::KeyUp:
            return !script_->dispatchKey("keyup", event.virtualKeyCode);
        case KeyEventType::Char:
            return !event.text.empty() && !script_->dispatchText(event.text);
    }
    return false;
}

void View::dispatchMouse(const MouseEvent& event) {
    if (!page_) return;
    const int button = event.button == MouseButton::Right    ? 2
                       : event.button == MouseButton::Middle ? 1
                                                             : 0;
    switch (event.type) {
        case MouseEventType::MouseMoved: {
            page_->hover(event.x, event.y);
            if (script_)
                script_->dispatchMouse("mousemove", page_->elementAt(event.x, event.y), event.x,
                                       event.y, button);
            break;
        }
        case MouseEventType::MouseDown: {
            pressed_ = page_->elementAt(event.x, event.y);
            if (script_) script_->dispatchMouse("mousedown", pressed_, event.x, event.y, button);
            break;
        }
        case MouseEventType::MouseUp: {
            litehtml::element::ptr target = page_->elementAt(event.x, event.y);
            if (script_) script_->dispatchMouse("mouseup", target, event.x, event.y, button);
            // A click needs press and release on the same element, as in a browser.
            if (script_ && pressed_ && target == pressed_) {
                script_->dispatchMouse("click", target, event.x, event.y, button);
            }
            pressed_.reset();
            break;
        }
    }
}

void View::update(double nowSeconds) {
    if (loadPending_) {
        loadPending_ = false;
        const bool loaded = guarded("load", [&] {
            load(pendingUrl_, nowSeconds);
            return true;
        });
        if (!loaded) {
            // Half a page is no page: drop what the failed load built.
            script_.reset();
            page_.reset();
            blankNeedsPaint_ = true;
            if (listener_) listener_->onFailLoading(*this, 0, true, url_, "load failed");
        }
    }
    guarded("timers", [&] {
        if (script_) script_->tick(nowSeconds, false);
    });
}

void View::runAnimationFrames(double nowSeconds) {
    guarded("animation frames", [&] {
        if (script_) script_->tick(nowSeconds, true);
    });
}

bool View::needsPaint() const {
    return page_ ? page_->needsPaint() : blankNeedsPaint_;
}

bool View::paint() {
    const bool painted = guarded("paint", [&] { return paintBitmap(); });
    if (painted) surface_.markDirty();
    return painted;
}

bool View::paintBitmap() {
    Bitmap& bitmap = surface_.bitmap();
    if (bitmap.locked()) return false;  // the host is reading it; paint next frame
    if (page_) return page_->paint(bitmap, deviceScale_);
    if (!blankNeedsPaint_ || bitmap.empty()) return false;
    std::memset(bitmap.data(), 0, std::size_t(bitmap.rowBytes()) * bitmap.height());
    blankNeedsPaint_ = false;
    return true;
}

}  // namespace web
