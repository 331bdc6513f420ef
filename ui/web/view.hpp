#pragma once
// A view: one page at one size, with its own scripts, input and bitmap.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <litehtml.h>

#include "ui/web/bitmap.hpp"
#include "ui/web/js_api.hpp"

namespace web {

class PageDocument;
class ScriptHost;
class View;

// Page-load notifications. Frame ids are 0: a page is one frame.
class LoadListener {
  public:
    virtual ~LoadListener() = default;
    virtual void onBeginLoading(View&, std::uint64_t /*frameId*/, bool /*isMainFrame*/,
                                const std::string& /*url*/) {}
    virtual void onFinishLoading(View&, std::uint64_t, bool, const std::string&) {}
    virtual void onFailLoading(View&, std::uint64_t, bool, const std::string& /*url*/,
                               const std::string& /*description*/) {}
    virtual void onWindowObjectReady(View&, std::uint64_t, bool, const std::string&) {}
    // After the page's scripts ran: the moment a host may call into the page.
    virtual void onDOMReady(View&, std::uint64_t, bool, const std::string&) {}
};

struct ViewConfig {
    bool accelerated = false;         // only false is supported
    double initialDeviceScale = 1.0;  // device pixels per CSS px
    bool initialFocus = true;
};

// Key events carry Windows virtual-key codes. RawKeyDown and KeyDown reach
// the page as "keydown", KeyUp as "keyup"; a Char event is typed text and
// reaches the page as "keypress", its `key` the text (UTF-8).
enum class KeyEventType { KeyDown = 0, KeyUp = 1, RawKeyDown = 2, Char = 3 };
struct KeyEvent {
    KeyEventType type = KeyEventType::RawKeyDown;
    int virtualKeyCode = 0;
    int nativeKeyCode = 0;
    bool isSystemKey = false;
    std::string text;  // a Char event's text
};

enum class MouseEventType { MouseMoved = 0, MouseDown = 1, MouseUp = 2 };
enum class MouseButton { None = 0, Left = 1, Middle = 2, Right = 3 };
struct MouseEvent {
    MouseEventType type = MouseEventType::MouseMoved;
    int x = 0;  // CSS px from the page's left edge
    int y = 0;  // CSS px from the page's top edge
    MouseButton button = MouseButton::None;
};

class View {
  public:
    View(std::uint32_t width, std::uint32_t height, const ViewConfig& config);
    ~View();
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    std::uint32_t width() const { return surface_.bitmap().width(); }    // device pixels
    std::uint32_t height() const { return surface_.bitmap().height(); }  // device pixels
    double deviceScale() const { return deviceScale_; }

    void setLoadListener(LoadListener* listener) { listener_ = listener; }
    // The object appears as a global in every page loaded from then on. The
    // view shares the object's state, so the JSApi may be destroyed first.
    bool attachJSApi(const JSApi* api);

    // Starts loading; the page is read, parsed and its scripts run on the
    // renderer's next update. Addresses are "file:///path".
    void loadURL(const std::string& url);
    // Resizes the bitmap to `width` x `height` device pixels; the layout is
    // width / scale CSS px wide.
    void resize(std::uint32_t width, std::uint32_t height, double deviceScale);
    // Runs a script in the page; the result is ignored, errors are logged.
    void evaluateScript(const std::string& script);
    // True when a listener of the page called preventDefault: the page keeps
    // the key (a field being typed in), as a browser's focused input does.
    bool fireKeyEvent(const KeyEvent& event);
    void fireMouseEvent(const MouseEvent& event);

    BitmapSurface* surface() { return &surface_; }
    const std::string& url() const { return url_; }
    bool domReady() const { return domReady_; }

    // Renderer side.
    void update(double nowSeconds);
    void runAnimationFrames(double nowSeconds);
    bool needsPaint() const;
    bool paint();  // true when the bitmap changed
    PageDocument* page() { return page_.get(); }

  private:
    void load(const std::string& url, double nowSeconds);
    bool dispatchKey(const KeyEvent& event);
    void dispatchMouse(const MouseEvent& event);
    bool paintBitmap();
    void runPageScripts();
    void applyLayoutSize();
    int cssPixels(std::uint32_t devicePixels) const;

    BitmapSurface surface_;
    double deviceScale_;
    LoadListener* listener_ = nullptr;
    std::vector<std::shared_ptr<JSApi::State>> apis_;
    std::string url_;
    std::string pendingUrl_;
    bool loadPending_ = false;
    bool domReady_ = false;
    bool blankNeedsPaint_ = true;  // a view without a page paints transparent once
    std::unique_ptr<PageDocument> page_;
    std::unique_ptr<ScriptHost> script_;  // destroyed before page_
    litehtml::element::ptr pressed_;      // target of the last mouse-down
};

}  // namespace web
