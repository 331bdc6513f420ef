// The host's JavaScript API object, native-call diagnostics, and value and error helpers.
#include "ui/web/js_api.hpp"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <vector>

#include "ui/web/js_api_state.hpp"
#include "ui/web/platform.hpp"

namespace web {

namespace {

thread_local int tCallLevel = 0;
thread_local LossyNote* tLossyNote = nullptr;

// UTF-8 to UTF-16; a malformed byte becomes U+FFFD.
std::vector<JSChar> utf16Of(const std::string& text) {
    std::vector<JSChar> units;
    units.reserve(text.size());
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        const unsigned lead = *p++;
        int extra = -1;  // continuation bytes expected; -1 for a byte that cannot lead
        if (lead < 0x80) {
            extra = 0;
        } else if (lead >= 0xC0 && lead < 0xE0) {
            extra = 1;
        } else if (lead >= 0xE0 && lead < 0xF0) {
            extra = 2;
        } else if (lead >= 0xF0 && lead < 0xF8) {
            extra = 3;
        }
        std::uint32_t cp = extra == 0 ? lead : extra > 0 ? lead & (0x3Fu >> extra) : 0xFFFD;
        for (; extra > 0; --extra) {
            if (p == end || (*p & 0xC0) != 0x80) {
                cp = 0xFFFD;
                break;
            }
            cp = (cp << 6) | (*p++ & 0x3Fu);
        }
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
        if (cp >= 0x10000) {
            units.push_back(static_cast<JSChar>(0xD800 + ((cp - 0x10000) >> 10)));
            units.push_back(static_cast<JSChar>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            units.push_back(static_cast<JSChar>(cp));
        }
    }
    return units;
}

JSStringRef jsName(const std::string& text) {
    return JSStringCreateWithUTF8CString(text.c_str());
}

void noteLoss(const char* reason) {
    if (!tLossyNote) return;
    tLossyNote->flag = 1;
    std::snprintf(tLossyNote->reason, sizeof tLossyNote->reason, "%s", reason);
}

JsObject construct(JsContext context, const char* constructorName, const std::string& message) {
    JsValue exception = nullptr;
    JsValue messageValue = makeString(context, message);
    JSObjectRef global = JSContextGetGlobalObject(context);
    JSStringRef name = JSStringCreateWithUTF8CString(constructorName);
    JsValue ctor = JSObjectGetProperty(context, global, name, &exception);
    JSStringRelease(name);
    if (!exception && ctor && JSValueIsObject(context, ctor)) {
        JSObjectRef ctorObject = JSValueToObject(context, ctor, &exception);
        if (!exception && JSObjectIsConstructor(context, ctorObject)) {
            JSObjectRef made =
                JSObjectCallAsConstructor(context, ctorObject, 1, &messageValue, &exception);
            if (made && !exception) return made;
        }
    }
    exception = nullptr;  // a page that replaced TypeError still gets an Error
    return JSObjectMakeError(context, 1, &messageValue, &exception);
}

}  // namespace

JSApi::JSApi(const std::string& globalName) : state_(std::make_shared<State>()) {
    state_->globalName = globalName;
}

JSApi::~JSApi() = default;

const std::string& JSApi::globalName() const {
    return state_->globalName;
}

void JSApi::setConstantString(const std::string& name, const std::string& value) {
    state_->constants.set(name, value);
}

bool JSApi::bindFunction(const std::string& name, NativeFunction function, void* record,
                         ReleaseFunction release) {
    if (name.empty() || !function) return false;
    state_->functions.set(name, std::make_shared<NativeBinding>(function, record, release));
    return true;
}

bool JSApi::setMetadata(const std::string& name, const std::string& json) {
    auto* found = state_->functions.find(name);
    if (!found) return false;
    found->second->metadata = json;
    return true;
}

std::string JSApi::metadata(const std::string& name) const {
    auto* found = state_->functions.find(name);
    return found ? found->second->metadata : std::string();
}

void JSApi::setDiagnosticsLevel(int level) {
    state_->diagnosticsLevel = level;
}
int JSApi::diagnosticsLevel() const {
    return state_->diagnosticsLevel;
}

JsValue invokeNative(const NativeBinding& binding, const std::string& qualifiedName, int level,
                     JsContext context, JsObject thisObject, const JsValue* arguments,
                     std::size_t count, JsValue* exception) {
    const int previousLevel = tCallLevel;
    tCallLevel = level;
    JsValue result = nullptr;
    std::string failure;
    try {
        result = binding.function(binding.record, context, thisObject, arguments, count, exception);
    } catch (const std::exception& e) {
        failure = e.what();
    } catch (...) {
        failure = "unknown exception";
    }
    tCallLevel = previousLevel;
    if (!failure.empty()) {
        emitDiagnostic(context, "C++ exception escaped " + qualifiedName + ": " + failure);
        if (exception) *exception = createError(context, 0, qualifiedName + ": native code failed");
        return JSValueMakeUndefined(context);
    }
    return result ? result : JSValueMakeUndefined(context);
}

int callDiagnostics() {
    return tCallLevel;
}

void emitDiagnostic(JsContext, const std::string& text) {
    Platform::instance().log(LogLevel::Diagnostic, text);
}

JsType valueType(JsContext context, JsValue value) {
    if (!value) return JsType::Undefined;
    switch (JSValueGetType(context, value)) {
        case kJSTypeUndefined:
            return JsType::Undefined;
        case kJSTypeNull:
            return JsType::Null;
        case kJSTypeBoolean:
            return JsType::Boolean;
        case kJSTypeNumber:
            return JsType::Number;
        case kJSTypeString:
            return JsType::String;
        case kJSTypeObject:
            return JsType::Object;
        default:
            return JsType::Symbol;
    }
}

LossyNote* setCurrentLossyNote(LossyNote* note) {
    LossyNote* previous = tLossyNote;
    tLossyNote = note;
    return previous;
}

LossyNote* currentLossyNote() {
    return tLossyNote;
}

bool valueToNumber(JsContext context, JsValue value, double* out, JsValue* exception) {
    if (!value || !out) return false;
    JsValue thrown = nullptr;
    const bool wasNumber = JSValueIsNumber(context, value);
    const double number = JSValueToNumber(context, value, &thrown);
    if (thrown) {
        if (exception) *exception = thrown;
        return false;
    }
    *out = number;
    constexpr double kExactLimit = 9007199254740992.0;  // 2^53
    if (!wasNumber) {
        noteLoss("the value was not a number and had to be converted");
    } else if (std::isnan(number)) {
        noteLoss("NaN is not a number a native function can use");
    } else if (std::isinf(number)) {
        noteLoss("an infinite value has no whole-number equivalent");
    } else if (number != std::trunc(number)) {
        noteLoss("the fractional part is dropped");
    } else if (std::fabs(number) > kExactLimit) {
        noteLoss("the magnitude exceeds 2^53, where whole numbers are no longer exact");
    }
    return true;
}

JsObject createError(JsContext context, int type, const std::string& message) {
    return construct(context, type == 1 ? "TypeError" : "Error", message);
}

JsObject createMarshalError(JsContext context, const std::string& function, int position,
                            const char* parameterName, const std::string& expectedType,
                            JsValue value) {
    std::string message = function + ": argument " + std::to_string(position);
    if (parameterName && *parameterName) message += std::string(" (") + parameterName + ")";
    message += ": expected " + expectedType + ", got " + describeValue(context, value);
    JsObject error = construct(context, "TypeError", message);
    JsValue ignored = nullptr;
    setProperty(context, error, "functionName", makeString(context, function), 0, &ignored);
    setProperty(context, error, "argumentPosition", JSValueMakeNumber(context, position), 0,
                &ignored);
    setProperty(context, error, "parameterName",
                parameterName ? makeString(context, parameterName) : JSValueMakeNull(context), 0,
                &ignored);
    setProperty(context, error, "expectedType", makeString(context, expectedType), 0, &ignored);
    setProperty(context, error, "actualValue", value ? value : JSValueMakeUndefined(context), 0,
                &ignored);
    return error;
}

JsValue createString(JsContext context, const char* text, std::size_t length) {
    return makeString(context, std::string(text ? text : "", text ? length : 0));
}

JsValue createNull(JsContext context) {
    return JSValueMakeNull(context);
}

bool setProperty(JsContext context, JsObject object, const std::string& name, JsValue value,
                 unsigned attributes, JsValue* exception) {
    if (!object) return false;
    JsValue thrown = nullptr;
    JSStringRef key = jsName(name);
    JSObjectSetProperty(context, object, key, value, attributes, &thrown);
    JSStringRelease(key);
    if (thrown && exception) *exception = thrown;
    return thrown == nullptr;
}

std::string toUtf8(JsContext context, JsValue value) {
    if (!value) return {};
    JsValue thrown = nullptr;
    JSStringRef text = JSValueToStringCopy(context, value, &thrown);
    if (!text) return {};
    // From the UTF-16 units rather than a C string, so NUL characters survive.
    const JSChar* units = JSStringGetCharactersPtr(text);
    const std::size_t count = JSStringGetLength(text);
    std::string out;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t cp = units[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < count && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (units[++i] - 0xDC00);
        } else if (cp >= 0xD800 && cp < 0xE000) {
            cp = 0xFFFD;  // a lone surrogate
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    JSStringRelease(text);
    return out;
}

JsValue makeString(JsContext context, const std::string& text) {
    // Through UTF-16 rather than a C string, so NUL bytes survive.
    const std::vector<JSChar> units = utf16Of(text);
    JSStringRef string = JSStringCreateWithCharacters(units.data(), units.size());
    JsValue value = JSValueMakeString(context, string);
    JSStringRelease(string);
    return value;
}

// Told from the value's type alone: converting an object to text would run
// page code (toJSON, getters, toString, a proxy's traps) in the middle of a
// failing native call, and a symbol refuses to become text at all.
std::string describeValue(JsContext context, JsValue value) {
    if (!value) return "nothing";
    switch (JSValueGetType(context, value)) {
        case kJSTypeUndefined:
            return "undefined";
        case kJSTypeNull:
            return "null";
        case kJSTypeBoolean:
            return JSValueToBoolean(context, value) ? "true" : "false";
        case kJSTypeString:
            return "\"" + toUtf8(context, value) + "\"";
        case kJSTypeNumber:
            return toUtf8(context, value);  // a primitive: no page code runs
        case kJSTypeBigInt:
            return toUtf8(context, value) + "n";
        case kJSTypeSymbol:
            return "a symbol";
        case kJSTypeObject:
            break;
    }
    if (JSObjectIsFunction(context, JSValueToObject(context, value, nullptr))) return "a function";
    return JSValueIsArray(context, value) ? "an array" : "an object";
}

}  // namespace web
