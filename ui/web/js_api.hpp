#pragma once
// The JavaScript API object: one global object of a page (for example
// "game") carrying constant strings and native functions bound by the host,
// plus the value, error and diagnostics helpers those functions use.
//
// Nothing here lets a C++ exception reach a page or the host: a native
// function that throws becomes a JavaScript Error and a diagnostic.

#include <JavaScriptCore/JavaScript.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace web {

using JsContext = JSContextRef;
using JsValue = JSValueRef;
using JsObject = JSObjectRef;

// (user record, context, this object, arguments, argument count, exception
// slot or null) -> result (null means undefined). Report a JavaScript error
// by storing it in the exception slot.
using NativeFunction = JsValue (*)(void* record, JsContext context, JsObject thisObject,
                                   const JsValue* arguments, std::size_t count, JsValue* exception);
// Called exactly once per successfully bound record, when the function is
// gone: rebound, or its API object and every view showing it destroyed.
using ReleaseFunction = void (*)(void* record);

class JSApi {
  public:
    explicit JSApi(const std::string& globalName);
    ~JSApi();
    JSApi(const JSApi&) = delete;
    JSApi& operator=(const JSApi&) = delete;

    const std::string& globalName() const;

    // A read-only string property of the object.
    void setConstantString(const std::string& name, const std::string& value);
    // False (and `release` never called) for an empty name or a null
    // function; the record then stays the caller's. Binding a name again
    // replaces the function for pages loaded from then on.
    bool bindFunction(const std::string& name, NativeFunction function, void* record,
                      ReleaseFunction release);
    // Machine-readable description of a bound function (JSON text, stored as
    // given). False when no function of that name is bound.
    bool setMetadata(const std::string& name, const std::string& json);
    std::string metadata(const std::string& name) const;  // empty when none

    // The diagnostics level calls run at unless the page declares its own
    // (<meta name="diagnostics">). 0 off, 1 warn, 2 and above strict.
    void setDiagnosticsLevel(int level);
    int diagnosticsLevel() const;

    struct State;
    std::shared_ptr<State> state() const { return state_; }  // shared with the views

  private:
    std::shared_ptr<State> state_;
};

// Inside a native function: the diagnostics level of the call in progress;
// 0 outside any call.
int callDiagnostics();

// Writes one diagnostics line to the platform logger (level Diagnostic).
// `context` may be null.
void emitDiagnostic(JsContext context, const std::string& text);

// Value types; the numbering is part of the interface (4 is a number).
enum class JsType : int {
    Undefined = 0,
    Null = 1,
    Boolean = 2,
    String = 3,
    Number = 4,
    Object = 5,
    Symbol = 6,
};
JsType valueType(JsContext context, JsValue value);

// Where a number conversion reports that it lost something. The conversion
// sets `flag` and writes a NUL-terminated reason into `reason`.
struct LossyNote {
    std::uint8_t flag = 0;
    char reason[135] = {};
};
// Per thread; returns the previous pointer. Null turns lossy tracking off.
LossyNote* setCurrentLossyNote(LossyNote* note);
LossyNote* currentLossyNote();

// Converts any value to a double the way JavaScript's Number() does. When a
// note is installed it is marked when the conversion was lossy: the value was
// not a number to begin with, is NaN or infinite, has a fractional part, or
// lies beyond +-2^53 where whole numbers stop being exact. False (with the
// exception slot filled) when the conversion itself threw.
bool valueToNumber(JsContext context, JsValue value, double* out, JsValue* exception);

// Error type 0 (failing native code) is an Error, type 1 (bad arguments) a
// TypeError; other types are Errors too.
JsObject createError(JsContext context, int type, const std::string& message);
// A TypeError naming the function, the argument position (from 1), the
// parameter (may be null), the expected type and the offending value (null
// value = the argument was missing). The same facts are also properties:
// functionName, argumentPosition, parameterName, expectedType, actualValue.
JsObject createMarshalError(JsContext context, const std::string& function, int position,
                            const char* parameterName, const std::string& expectedType,
                            JsValue value);
JsValue createString(JsContext context, const char* text, std::size_t length);
JsValue createNull(JsContext context);
bool setProperty(JsContext context, JsObject object, const std::string& name, JsValue value,
                 unsigned attributes, JsValue* exception);

// Helpers shared with the DOM bridge.
std::string toUtf8(JsContext context, JsValue value);  // String(value); "" on failure
JsValue makeString(JsContext context, const std::string& text);
// How a value reads in an error message: strings quoted, numbers and the
// other primitives as written, a missing one "nothing", and an object only by
// its kind ("an object", "an array", "a function"): no page code runs.
std::string describeValue(JsContext context, JsValue value);

}  // namespace web
