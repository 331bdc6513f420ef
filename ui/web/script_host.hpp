#pragma once
// One page's JavaScript: a JavaScriptCore context with the DOM bridge, the
// host's API objects, events and timers. Lives as long as the loaded page.

#include <JavaScriptCore/JavaScript.h>
#include <litehtml.h>

#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ui/web/js_api.hpp"

namespace web {

class PageDocument;

class ScriptHost {
  public:
    // CPU time one entry from the host (a script, an event, a timer tick) may
    // take before it is stopped; a page's own work takes a few milliseconds.
    static constexpr double kEntryBudgetSeconds = 0.25;
    // Once a page has run away, every later entry gets this much: ten times
    // what the game's page needs for a state update, short enough that a page
    // whose update, timers and animation frames all never end still leaves
    // the game drawing at a playable rate.
    static constexpr double kOverranBudgetSeconds = 0.005;

    // `originSeconds` is the platform clock at load; page time (performance.now,
    // animation-frame stamps) counts milliseconds from it.
    ScriptHost(PageDocument& document, const std::string& url, double originSeconds);
    ~ScriptHost();
    ScriptHost(const ScriptHost&) = delete;
    ScriptHost& operator=(const ScriptHost&) = delete;

    // Puts an API object on the global object. `pageLevel` is the page's
    // declared diagnostics level, overriding the object's own when set.
    void installApi(const std::shared_ptr<JSApi::State>& api, std::optional<int> pageLevel);

    // Runs a script; an uncaught exception is logged and false returned.
    bool evaluate(const std::string& source, const std::string& sourceUrl, int firstLine);

    void setReadyState(const char* state);
    // Fires `type` at `target` (null = the document) and bubbles it up to
    // the window. Returns false when a listener called preventDefault.
    bool dispatchKey(const char* type, int virtualKey);
    // Typed text as "keypress": `key` is the text, `charCode` (and
    // `keyCode`) its first character's code point.
    bool dispatchText(const std::string& text);
    bool dispatchMouse(const char* type, const litehtml::element::ptr& target, int x, int y,
                       int button);
    bool dispatchSimple(const char* type);  // document then window, no details

    // Runs due timers, and with `runFrames` the pending animation frames;
    // costs nothing when none is due.
    void tick(double nowSeconds, bool runFrames);
    bool hasPendingWork(double nowSeconds) const;

  private:
    struct HostFunction {
        std::function<JSValueRef(JSContextRef, JSObjectRef, std::size_t, const JSValueRef*,
                                 JSValueRef*)>
            call;
    };
    struct ElementRecord {
        litehtml::element::ptr element;
        JSObjectRef wrapper = nullptr;
    };
    static JSValueRef callHostFunction(JSContextRef context, JSObjectRef function,
                                       JSObjectRef thisObject, std::size_t count,
                                       const JSValueRef arguments[], JSValueRef* exception);
    static bool stopOverrunningScript(JSContextRef context, void* host);
    // Logs an exception that ended the entry `entry` ("Uncaught ..." with
    // `where` appended), or, when the time limit stopped it, that it was
    // stopped: once per entry, however often it runs away again.
    void reportException(JSValueRef exception, const std::string& entry, const std::string& where);

    JSObjectRef makeFunction(decltype(HostFunction::call) call);
    void defineNative(const char* name,
                      std::function<JSValueRef(std::size_t, const JSValueRef*)> body);
    void installNatives();
    JSValueRef wrap(const litehtml::element::ptr& element);
    std::vector<JSValueRef> select(const litehtml::element::ptr& scope, const std::string& selector,
                                   bool all);
    litehtml::element::ptr unwrap(JSValueRef value) const;
    std::string argText(std::size_t count, const JSValueRef* args, std::size_t index) const;
    bool callDispatch(JSValueRef target, const char* type, JSObjectRef props);
    double pageMillis(double nowSeconds) const { return (nowSeconds - origin_) * 1000.0; }

    PageDocument& document_;
    std::string url_;
    double origin_;
    JSContextGroupRef group_ = nullptr;  // the page's own group, which carries the time limit
    JSGlobalContextRef context_ = nullptr;
    JSObjectRef natives_ = nullptr;       // "__nj"; protected
    JSObjectRef elementProto_ = nullptr;  // protected
    std::vector<std::unique_ptr<HostFunction>> functions_;
    std::map<const litehtml::element*, std::unique_ptr<ElementRecord>> wrappers_;
    double nextDueMillis_ = std::numeric_limits<double>::infinity();
    bool stopped_ = false;  // the time limit ended the entry in progress
    double budgetSeconds_ = kEntryBudgetSeconds;
    std::set<std::string> overranEntries_;  // entries already reported as stopped
};

}  // namespace web
