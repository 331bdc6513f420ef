// JavaScriptCore context of one page: native DOM primitives, API objects,
// event dispatch and the timer tick.
#include "ui/web/script_host.hpp"

#include <html_tag.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <exception>

#include "ui/web/damage.hpp"
#include "ui/web/dom_bootstrap.hpp"
#include "ui/web/js_api_state.hpp"
#include "ui/web/key_names.hpp"
#include "ui/web/page_document.hpp"
#include "ui/web/platform.hpp"
#include "ui/web/script_time_limit.hpp"
#include "ui/web/tree_edits.hpp"

namespace web {

namespace {

// The first character's code point of UTF-8 text (0 for none); a malformed
// lead byte counts as itself, since typed text only names what was pressed.
double firstCodePoint(const std::string& text) {
    if (text.empty()) return 0.0;
    const auto byte = [&](std::size_t i) {
        return i < text.size() ? static_cast<unsigned char>(text[i]) & 0x3Fu : 0u;
    };
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0xC0) return lead;
    if (lead < 0xE0) return ((lead & 0x1Fu) << 6) | byte(1);
    if (lead < 0xF0) return ((lead & 0x0Fu) << 12) | (byte(1) << 6) | byte(2);
    return ((lead & 0x07u) << 18) | (byte(1) << 12) | (byte(2) << 6) | byte(3);
}

// The time limit stops a script through a trap. By default JavaScriptCore
// reaches code of its optimising tiers with a signal, and that misses a loop
// it has already stopped twice: the third run of the same endless loop would
// never end. Checking for the trap at every loop head always sees it. The
// engine reads its options once, when the first context of the process is
// made, so this is set before main; a setting given in the environment wins.
[[maybe_unused]] const bool kPollingTrapsRequested =
    ::setenv("JSC_usePollingTraps", "true", 0) == 0;

JSClassRef functionClass(JSObjectCallAsFunctionCallback call) {
    static JSClassRef cls = [call] {
        JSClassDefinition definition = kJSClassDefinitionEmpty;
        definition.className = "NativeFunction";
        definition.callAsFunction = call;
        return JSClassCreate(&definition);
    }();
    return cls;
}

JSClassRef elementClass() {
    static JSClassRef cls = [] {
        JSClassDefinition definition = kJSClassDefinitionEmpty;
        definition.className = "HTMLElement";
        return JSClassCreate(&definition);
    }();
    return cls;
}

void setValue(JSContextRef context, JSObjectRef object, const char* name, JSValueRef value,
              JSPropertyAttributes attributes = kJSPropertyAttributeNone) {
    JSStringRef key = JSStringCreateWithUTF8CString(name);
    JSObjectSetProperty(context, object, key, value, attributes, nullptr);
    JSStringRelease(key);
}

JSValueRef getValue(JSContextRef context, JSObjectRef object, const char* name) {
    JSStringRef key = JSStringCreateWithUTF8CString(name);
    JSValueRef value = JSObjectGetProperty(context, object, key, nullptr);
    JSStringRelease(key);
    return value;
}

// "a, b > c" -> {"a", "b > c"}: commas inside brackets, parentheses or
// quotes belong to the selector. Empty parts make the group invalid.
std::vector<std::string> splitSelectorGroup(const std::string& text) {
    std::vector<std::string> parts;
    std::string current;
    int depth = 0;
    char quote = 0;
    const auto finish = [&] {
        const auto first = current.find_first_not_of(" \t\n\r\f");
        const auto last = current.find_last_not_of(" \t\n\r\f");
        parts.push_back(first == std::string::npos ? std::string()
                                                   : current.substr(first, last - first + 1));
        current.clear();
    };
    for (char c : text) {
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '(' || c == '[') {
            ++depth;
        } else if ((c == ')' || c == ']') && depth > 0) {
            --depth;
        } else if (c == ',' && depth == 0) {
            finish();
            continue;
        }
        current += c;
    }
    finish();
    if (std::any_of(parts.begin(), parts.end(), [](const std::string& p) { return p.empty(); })) {
        return {};
    }
    return parts;
}

litehtml::element::ptr nearestTag(litehtml::element::ptr element) {
    while (element && !isScriptElement(element)) element = element->parent();
    return element;
}

}  // namespace

ScriptHost::ScriptHost(PageDocument& document, const std::string& url, double originSeconds)
    : document_(document), url_(url), origin_(originSeconds) {
    // The limit is set on the group before anything runs in it, and the
    // context is made in that group, so every script of the page is under it.
    group_ = JSContextGroupCreate();
    JSContextGroupSetExecutionTimeLimit(group_, kEntryBudgetSeconds, stopOverrunningScript, this);
    context_ = JSGlobalContextCreateInGroup(group_, nullptr);
    natives_ = JSObjectMake(context_, nullptr, nullptr);
    JSValueProtect(context_, natives_);
    elementProto_ = JSObjectMake(context_, nullptr, nullptr);
    JSValueProtect(context_, elementProto_);
    setValue(context_, natives_, "elementProto", elementProto_);
    setValue(context_, JSContextGetGlobalObject(context_), "__nj", natives_,
             kJSPropertyAttributeDontEnum);
    installNatives();
    setReadyState("loading");
    if (!evaluate(kDomBootstrapJs, "web:bootstrap", 1)) {
        Platform::instance().log(LogLevel::Error, "web: DOM bootstrap failed");
    }
}

ScriptHost::~ScriptHost() {
    for (auto& entry : wrappers_) JSValueUnprotect(context_, entry.second->wrapper);
    JSValueUnprotect(context_, elementProto_);
    JSValueUnprotect(context_, natives_);
    JSGlobalContextRelease(context_);
    JSContextGroupRelease(group_);
}

bool ScriptHost::stopOverrunningScript(JSContextRef, void* host) {
    static_cast<ScriptHost*>(host)->stopped_ = true;
    return true;
}

void ScriptHost::reportException(JSValueRef exception, const std::string& entry,
                                 const std::string& where) {
    if (!stopped_) {
        // Text of a thrown object comes from its toString, which is page code
        // under the same limit.
        const std::string text = toUtf8(context_, exception);
        if (!stopped_) {
            Platform::instance().log(
                LogLevel::Error, "Uncaught " + text + (where.empty() ? "" : " (" + where + ")"));
            return;
        }
    }
    stopped_ = false;
    const double spent = budgetSeconds_;
    if (budgetSeconds_ > kOverranBudgetSeconds) {
        budgetSeconds_ = kOverranBudgetSeconds;
        JSContextGroupSetExecutionTimeLimit(group_, budgetSeconds_, stopOverrunningScript, this);
    }
    if (!overranEntries_.insert(entry).second) return;
    Platform::instance().log(LogLevel::Error,
                             "web: " + entry + " ran longer than " +
                                 std::to_string(static_cast<int>(spent * 1000 + 0.5)) +
                                 " ms and was stopped");
}

JSValueRef ScriptHost::callHostFunction(JSContextRef context, JSObjectRef function,
                                        JSObjectRef thisObject, std::size_t count,
                                        const JSValueRef arguments[], JSValueRef* exception) {
    auto* host = static_cast<HostFunction*>(JSObjectGetPrivate(function));
    if (!host) return JSValueMakeUndefined(context);
    try {
        JSValueRef result = host->call(context, thisObject, count, arguments, exception);
        return result ? result : JSValueMakeUndefined(context);
    } catch (const std::exception& e) {
        if (exception)
            *exception = createError(context, 0, std::string("native code failed: ") + e.what());
    } catch (...) {
        if (exception) *exception = createError(context, 0, "native code failed");
    }
    return JSValueMakeUndefined(context);
}

JSObjectRef ScriptHost::makeFunction(decltype(HostFunction::call) call) {
    functions_.push_back(std::make_unique<HostFunction>(HostFunction{std::move(call)}));
    return JSObjectMake(context_, functionClass(callHostFunction), functions_.back().get());
}

void ScriptHost::defineNative(const char* name,
                              std::function<JSValueRef(std::size_t, const JSValueRef*)> body) {
    JSObjectRef function =
        makeFunction([body = std::move(body)](JSContextRef, JSObjectRef, std::size_t count,
                                              const JSValueRef* args,
                                              JSValueRef*) { return body(count, args); });
    setValue(context_, natives_, name, function);
}

std::string ScriptHost::argText(std::size_t count, const JSValueRef* args,
                                std::size_t index) const {
    return index < count ? toUtf8(context_, args[index]) : std::string();
}

JSValueRef ScriptHost::wrap(const litehtml::element::ptr& element) {
    if (!isScriptElement(element)) return JSValueMakeNull(context_);
    auto& record = wrappers_[element.get()];
    if (!record) {
        record = std::make_unique<ElementRecord>();
        record->element = element;
        record->wrapper = JSObjectMake(context_, elementClass(), record.get());
        JSObjectSetPrototype(context_, record->wrapper, elementProto_);
        JSValueProtect(context_, record->wrapper);
    }
    return record->wrapper;
}

litehtml::element::ptr ScriptHost::unwrap(JSValueRef value) const {
    if (!value || !JSValueIsObjectOfClass(context_, value, elementClass())) return nullptr;
    auto* record =
        static_cast<ElementRecord*>(JSObjectGetPrivate(JSValueToObject(context_, value, nullptr)));
    return record ? record->element : nullptr;
}

// Matches in document order. An element's query looks at its descendants
// only; the document's (scope null) includes the root element itself.
std::vector<JSValueRef> ScriptHost::select(const litehtml::element::ptr& scope,
                                           const std::string& selector, bool all) {
    std::vector<JSValueRef> found;
    const litehtml::element::ptr top = scope ? scope : document_.root();
    std::vector<litehtml::css_selector> group;
    for (const std::string& part : splitSelectorGroup(selector)) {
        group.emplace_back(nullptr, "");
        // One bad selector spoils the group, as in a browser (which throws).
        if (!group.back().parse(part)) return found;
    }
    if (!top || group.empty()) return found;
    const auto matches = [&](const litehtml::element::ptr& element) {
        return std::any_of(group.begin(), group.end(), [&](const litehtml::css_selector& one) {
            return element->select(one) != litehtml::select_no_match;
        });
    };
    forEachElement(top, [&](const litehtml::element::ptr& element) {
        if ((!all && !found.empty()) || (scope && element == scope)) return;
        if (!isScriptElement(element)) return;
        if (matches(element)) found.push_back(wrap(element));
    });
    return found;
}

void ScriptHost::installNatives() {
    JSContextRef ctx = context_;
    defineNative("log", [this](std::size_t n, const JSValueRef* a) {
        const double level = n > 0 ? JSValueToNumber(context_, a[0], nullptr) : 2;
        const LogLevel mapped = level < 0.5   ? LogLevel::Error
                                : level < 1.5 ? LogLevel::Warning
                                              : LogLevel::Info;
        Platform::instance().log(mapped, argText(n, a, 1));
        return JSValueMakeUndefined(context_);
    });
    defineNative("clock", [this](std::size_t, const JSValueRef*) {
        return JSValueMakeNumber(context_, pageMillis(Platform::instance().now()));
    });
    defineNative("wake", [this](std::size_t n, const JSValueRef* a) {
        const double due = n > 0 ? JSValueToNumber(context_, a[0], nullptr) : 0;
        if (!std::isnan(due) && due < nextDueMillis_) nextDueMillis_ = due;
        return JSValueMakeUndefined(context_);
    });
    defineNative("byId", [this](std::size_t n, const JSValueRef* a) {
        return wrap(document_.elementById(argText(n, a, 0)));
    });
    defineNative("select", [this, ctx](std::size_t n, const JSValueRef* a) -> JSValueRef {
        const bool all = n > 2 && JSValueToBoolean(ctx, a[2]);
        const std::vector<JSValueRef> found =
            select(n > 0 ? unwrap(a[0]) : nullptr, argText(n, a, 1), all);
        if (all) return JSObjectMakeArray(ctx, found.size(), found.data(), nullptr);
        return found.empty() ? JSValueMakeNull(ctx) : found.front();
    });
    defineNative("getAttr", [this, ctx](std::size_t n, const JSValueRef* a) -> JSValueRef {
        litehtml::element::ptr element = n > 0 ? unwrap(a[0]) : nullptr;
        const char* value = element ? element->get_attr(argText(n, a, 1).c_str()) : nullptr;
        return value ? makeString(ctx, value) : JSValueMakeNull(ctx);
    });
    defineNative("setAttr", [this](std::size_t n, const JSValueRef* a) {
        if (n > 0) document_.setAttribute(unwrap(a[0]), argText(n, a, 1), argText(n, a, 2));
        return JSValueMakeUndefined(context_);
    });
    defineNative("removeAttr", [this](std::size_t n, const JSValueRef* a) {
        if (n > 0) document_.removeAttribute(unwrap(a[0]), argText(n, a, 1));
        return JSValueMakeUndefined(context_);
    });
    defineNative("getText", [this](std::size_t n, const JSValueRef* a) {
        std::string text;
        if (litehtml::element::ptr element = n > 0 ? unwrap(a[0]) : nullptr)
            element->get_text(text);
        return makeString(context_, text);
    });
    defineNative("setText", [this](std::size_t n, const JSValueRef* a) {
        if (n > 0) document_.setText(unwrap(a[0]), argText(n, a, 1));
        return JSValueMakeUndefined(context_);
    });
    defineNative("tag", [this](std::size_t n, const JSValueRef* a) {
        litehtml::element::ptr element = n > 0 ? unwrap(a[0]) : nullptr;
        std::string name = element && element->get_tagName() ? element->get_tagName() : "";
        for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return makeString(context_, name);
    });
    defineNative("parent", [this](std::size_t n, const JSValueRef* a) {
        litehtml::element::ptr element = n > 0 ? unwrap(a[0]) : nullptr;
        return wrap(element ? nearestTag(element->parent()) : nullptr);
    });
    defineNative("children", [this, ctx](std::size_t n, const JSValueRef* a) {
        std::vector<JSValueRef> kids;
        if (litehtml::element::ptr element = n > 0 ? unwrap(a[0]) : nullptr) {
            for (std::size_t i = 0; i < element->get_children_count(); ++i) {
                JSValueRef wrapper = wrap(element->get_child(int(i)));
                if (!JSValueIsNull(ctx, wrapper)) kids.push_back(wrapper);
            }
        }
        return JSObjectMakeArray(ctx, kids.size(), kids.data(), nullptr);
    });
    // Tree edits answer "" or why they refused; the page side throws.
    defineNative("create", [this](std::size_t n, const JSValueRef* a) {
        return wrap(document_.createElement(argText(n, a, 0)));
    });
    defineNative("insert", [this, ctx](std::size_t n, const JSValueRef* a) {
        const bool noReference = n < 3 || JSValueIsNull(ctx, a[2]) || JSValueIsUndefined(ctx, a[2]);
        const litehtml::element::ptr before = noReference ? nullptr : unwrap(a[2]);
        const TreeEditError error = n < 2 || (!noReference && !before)
                                        ? TreeEditError::NotAnElement
                                        : document_.insertChild(unwrap(a[0]), unwrap(a[1]), before);
        return makeString(context_, treeEditErrorName(error));
    });
    defineNative("remove", [this](std::size_t n, const JSValueRef* a) {
        const TreeEditError error =
            n > 1 ? document_.removeChild(unwrap(a[0]), unwrap(a[1])) : TreeEditError::NotAnElement;
        return makeString(context_, treeEditErrorName(error));
    });
    defineNative("rect", [this, ctx](std::size_t n, const JSValueRef* a) {
        JSObjectRef rect = JSObjectMake(ctx, nullptr, nullptr);
        litehtml::position box;  // an element outside the page has no box, as in a browser
        litehtml::element::ptr element = n > 0 ? unwrap(a[0]) : nullptr;
        if (element && document_.isAttached(element)) {
            document_.update();
            box = borderBox(element);
        }
        setValue(ctx, rect, "x", JSValueMakeNumber(ctx, box.x));
        setValue(ctx, rect, "y", JSValueMakeNumber(ctx, box.y));
        setValue(ctx, rect, "left", JSValueMakeNumber(ctx, box.x));
        setValue(ctx, rect, "top", JSValueMakeNumber(ctx, box.y));
        setValue(ctx, rect, "width", JSValueMakeNumber(ctx, box.width));
        setValue(ctx, rect, "height", JSValueMakeNumber(ctx, box.height));
        setValue(ctx, rect, "right", JSValueMakeNumber(ctx, box.right()));
        setValue(ctx, rect, "bottom", JSValueMakeNumber(ctx, box.bottom()));
        return rect;
    });
}

void ScriptHost::installApi(const std::shared_ptr<JSApi::State>& api,
                            std::optional<int> pageLevel) {
    if (!api || api->globalName.empty()) return;
    JSObjectRef object = JSObjectMake(context_, nullptr, nullptr);
    const JSPropertyAttributes fixed =
        kJSPropertyAttributeReadOnly | kJSPropertyAttributeDontDelete;
    for (const auto& [name, value] : api->constants) {
        setValue(context_, object, name.c_str(), makeString(context_, value), fixed);
    }
    for (const auto& [name, binding] : api->functions) {
        std::string qualified = api->globalName + "." + name;
        JSObjectRef function = makeFunction([binding = binding, api, qualified, pageLevel](
                                                JSContextRef context, JSObjectRef self,
                                                std::size_t count, const JSValueRef* args,
                                                JSValueRef* exception) {
            const int level = pageLevel ? *pageLevel : api->diagnosticsLevel;
            return invokeNative(*binding, qualified, level, context, self, args, count, exception);
        });
        setValue(context_, object, name.c_str(), function, fixed);
    }
    setValue(context_, JSContextGetGlobalObject(context_), api->globalName.c_str(), object, fixed);
}

bool ScriptHost::evaluate(const std::string& source, const std::string& sourceUrl, int firstLine) {
    JSStringRef script = JSStringCreateWithUTF8CString(source.c_str());
    JSStringRef urlText = JSStringCreateWithUTF8CString(sourceUrl.c_str());
    JSValueRef exception = nullptr;
    stopped_ = false;
    JSEvaluateScript(context_, script, nullptr, urlText, firstLine, &exception);
    JSStringRelease(urlText);
    JSStringRelease(script);
    if (!exception) return true;
    std::string where = sourceUrl;
    if (!stopped_ && JSValueIsObject(context_, exception)) {
        JSObjectRef error = JSValueToObject(context_, exception, nullptr);
        JSValueRef line = getValue(context_, error, "line");
        if (line && JSValueIsNumber(context_, line)) {
            where +=
                ":" + std::to_string(static_cast<long>(JSValueToNumber(context_, line, nullptr)));
        }
    }
    reportException(exception, "the script " + sourceUrl, where);
    return false;
}

void ScriptHost::setReadyState(const char* state) {
    setValue(context_, natives_, "readyState", makeString(context_, state));
}

bool ScriptHost::callDispatch(JSValueRef target, const char* type, JSObjectRef props) {
    JSValueRef dispatch = getValue(context_, natives_, "dispatch");
    if (!dispatch || !JSValueIsObject(context_, dispatch)) return true;
    JSObjectRef function = JSValueToObject(context_, dispatch, nullptr);
    JSValueRef args[] = {target, makeString(context_, type), props};
    JSValueRef exception = nullptr;
    stopped_ = false;
    JSValueRef result = JSObjectCallAsFunction(context_, function, nullptr, 3, args, &exception);
    if (exception) {
        reportException(exception, std::string("the ") + type + " event", "");
        return true;
    }
    return result ? JSValueToBoolean(context_, result) : true;
}

bool ScriptHost::dispatchKey(const char* type, int virtualKey) {
    JSObjectRef props = JSObjectMake(context_, nullptr, nullptr);
    setValue(context_, props, "keyCode", JSValueMakeNumber(context_, virtualKey));
    setValue(context_, props, "which", JSValueMakeNumber(context_, virtualKey));
    setValue(context_, props, "key", makeString(context_, keyNameForVirtualKey(virtualKey)));
    setValue(context_, props, "code", makeString(context_, keyCodeForVirtualKey(virtualKey)));
    setValue(context_, props, "repeat", JSValueMakeBoolean(context_, false));
    return callDispatch(JSValueMakeNull(context_), type, props);
}

bool ScriptHost::dispatchText(const std::string& text) {
    JSObjectRef props = JSObjectMake(context_, nullptr, nullptr);
    const JSValueRef key = makeString(context_, text);
    setValue(context_, props, "key", key);
    const double code = firstCodePoint(text);
    setValue(context_, props, "charCode", JSValueMakeNumber(context_, code));
    setValue(context_, props, "keyCode", JSValueMakeNumber(context_, code));
    setValue(context_, props, "repeat", JSValueMakeBoolean(context_, false));
    return callDispatch(JSValueMakeNull(context_), "keypress", props);
}

bool ScriptHost::dispatchMouse(const char* type, const litehtml::element::ptr& target, int x, int y,
                               int button) {
    JSObjectRef props = JSObjectMake(context_, nullptr, nullptr);
    setValue(context_, props, "clientX", JSValueMakeNumber(context_, x));
    setValue(context_, props, "clientY", JSValueMakeNumber(context_, y));
    setValue(context_, props, "pageX", JSValueMakeNumber(context_, x));
    setValue(context_, props, "pageY", JSValueMakeNumber(context_, y));
    setValue(context_, props, "button", JSValueMakeNumber(context_, button));
    setValue(context_, props, "buttons", JSValueMakeNumber(context_, button == 0 ? 1 : 0));
    return callDispatch(wrap(nearestTag(target)), type, props);
}

bool ScriptHost::dispatchSimple(const char* type) {
    return callDispatch(JSValueMakeNull(context_), type, JSObjectMake(context_, nullptr, nullptr));
}

bool ScriptHost::hasPendingWork(double nowSeconds) const {
    return pageMillis(nowSeconds) + 0.001 >= nextDueMillis_;  // same slack as the page's tick
}

void ScriptHost::tick(double nowSeconds, bool runFrames) {
    if (!hasPendingWork(nowSeconds)) return;
    JSValueRef tickValue = getValue(context_, natives_, "tick");
    if (!tickValue || !JSValueIsObject(context_, tickValue)) return;
    JSValueRef args[] = {JSValueMakeNumber(context_, pageMillis(nowSeconds)),
                         JSValueMakeBoolean(context_, runFrames)};
    // Callbacks that add timers lower the due time through wake(); the
    // tick's own answer is the authority afterwards.
    nextDueMillis_ = std::numeric_limits<double>::infinity();
    JSValueRef exception = nullptr;
    stopped_ = false;
    JSValueRef next = JSObjectCallAsFunction(
        context_, JSValueToObject(context_, tickValue, nullptr), nullptr, 2, args, &exception);
    if (exception) {
        reportException(exception, runFrames ? "an animation frame" : "a timer", "");
        // The tick never said when it is next due; timers it did not reach
        // are still waiting, so it runs again on the next frame.
        nextDueMillis_ = pageMillis(nowSeconds);
        return;
    }
    const double due = next ? JSValueToNumber(context_, next, nullptr) : nextDueMillis_;
    if (!std::isnan(due)) nextDueMillis_ = std::min(nextDueMillis_, due);
}

}  // namespace web
