#pragma once
// The shared inside of a JSApi: what a view needs to put the object into a
// page, and how one bound function is invoked.

#include <map>
#include <memory>
#include <string>

#include "ui/web/js_api.hpp"

namespace web {

struct NativeBinding {
    NativeFunction function = nullptr;
    void* record = nullptr;
    ReleaseFunction release = nullptr;
    std::string metadata;

    NativeBinding(NativeFunction f, void* r, ReleaseFunction rel)
        : function(f), record(r), release(rel) {}
    ~NativeBinding() {
        if (release) release(record);
    }
    NativeBinding(const NativeBinding&) = delete;
    NativeBinding& operator=(const NativeBinding&) = delete;
};

struct JSApi::State {
    std::string globalName;
    std::map<std::string, std::string> constants;
    std::map<std::string, std::shared_ptr<NativeBinding>> functions;
    int diagnosticsLevel = 0;
};

// Runs one bound function at `level`, turning any escaping C++ exception into
// a JavaScript Error (in the slot) plus a diagnostic naming `qualifiedName`.
JsValue invokeNative(const NativeBinding& binding, const std::string& qualifiedName, int level,
                     JsContext context, JsObject thisObject, const JsValue* arguments,
                     std::size_t count, JsValue* exception);

}  // namespace web
