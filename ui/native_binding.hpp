#pragma once
// The layer between the page's JavaScript API object and the game: binds a
// native function with a machine-readable description, converts and checks
// its arguments, and turns bad arguments and failing native code into
// JavaScript errors with exact messages. Nothing escapes as a C++ exception.
//
// Diagnostics level of a call (from the JS API object or the page's
// <meta name="diagnostics">): 0 no lossy tracking; 1 lossy conversions are
// warned about; 2+ (Strict) extra arguments and lossy conversions are refused.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ui/web/js_api.hpp"

namespace nj {

inline constexpr int kMaxParams = 16;

struct ParamSpec {
    const char* names[kMaxParams] = {};
    int count = 0;
    const char* doc = nullptr;  // optional; lands in the metadata
    bool text = false;          // the one parameter is a string, not a number
};

// A longer text argument is refused: no request of the page needs more, and
// a runaway script must not hand the game megabytes a frame.
inline constexpr std::size_t kMaxTextArgumentBytes = 64 * 1024;

// An argument error (type 1) or failing native code (type 0).
struct CallError {
    int type = 0;
    std::string message;
    std::string code;  // "", "ULJS_EXTRA_ARGS" or "ULJS_LOSSY"
};

struct ApiContext {
    std::string apiName;  // the page's global object, "game"
    web::JSApi* api = nullptr;
};

// One bound function; freed by the engine's release call when the last
// reference goes.
struct NativeBinding {
    void* target = nullptr;     // what the action works on (the overlay host)
    std::string qualifiedName;  // "game.setApproach"
    std::string signature;      // "game.setApproach(approachIdx: number)"
    std::vector<std::string> paramNames;
    std::atomic<std::uint32_t> references{1};
    std::function<void()> noArgumentAction;              // the no-parameter shape
    std::function<void(double)> numberAction;            // the one-number shape
    std::function<void(const std::string&)> textAction;  // the one-string shape
};

// Binds `name` with no parameters or one number parameter (the ParamSpec's count
// decides, and the matching action must be set). False when the engine refuses.
bool bindFunction(const ApiContext& context, const char* name, void* target, const ParamSpec& spec,
                  std::function<void()> action);
bool bindFunction(const ApiContext& context, const char* name, void* target, const ParamSpec& spec,
                  std::function<void(double)> action);
bool bindFunction(const ApiContext& context, const char* name, void* target, const ParamSpec& spec,
                  std::function<void(const std::string&)> action);

// The metadata text: {"params":[...],"returns":"void"[,"doc":...]}.
std::string bindingMetadata(const ParamSpec& spec);

// Argument `index` as a number, checked as described above. False with the
// exception slot filled (when there is one) on failure.
bool convertNumber(web::JsContext context, const web::JsValue* arguments, std::size_t count,
                   std::size_t index, int position, const NativeBinding& binding, double* out,
                   web::JsValue* exception, int level);

// The JavaScript error of a CallError, with its "code" property when it has one.
web::JsValue toJavaScriptError(web::JsContext context, const CallError& error);
CallError extraArgumentsError(const std::string& signature, std::size_t allowed, std::size_t count);

// The engine-facing callbacks (exposed for tests).
web::JsValue invokeNoArguments(void* record, web::JsContext context, web::JsObject thisObject,
                               const web::JsValue* arguments, std::size_t count,
                               web::JsValue* exception);
web::JsValue invokeOneNumber(void* record, web::JsContext context, web::JsObject thisObject,
                             const web::JsValue* arguments, std::size_t count,
                             web::JsValue* exception);
web::JsValue invokeOneText(void* record, web::JsContext context, web::JsObject thisObject,
                           const web::JsValue* arguments, std::size_t count,
                           web::JsValue* exception);
void releaseBinding(void* record);

}  // namespace nj
