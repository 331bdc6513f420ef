#pragma once
// The shared inside of a JSApi: what a view needs to put the object into a
// page, and how one bound function is invoked.

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

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

// Names in the order they were first bound, as a page enumerating the object
// (Object.keys, for...in) sees them in a browser. Binding a name again
// replaces its value in place.
template <typename Value>
class BoundNames {
  public:
    using Entry = std::pair<std::string, Value>;

    void set(const std::string& name, Value value) {
        if (Entry* entry = find(name)) {
            entry->second = std::move(value);
        } else {
            entries_.emplace_back(name, std::move(value));
        }
    }
    Entry* find(const std::string& name) {
        const auto at = std::find_if(entries_.begin(), entries_.end(),
                                     [&](const Entry& entry) { return entry.first == name; });
        return at == entries_.end() ? nullptr : &*at;
    }
    auto begin() const { return entries_.begin(); }
    auto end() const { return entries_.end(); }

  private:
    std::vector<Entry> entries_;
};

struct JSApi::State {
    std::string globalName;
    BoundNames<std::string> constants;
    BoundNames<std::shared_ptr<NativeBinding>> functions;
    int diagnosticsLevel = 0;
};

// Runs one bound function at `level`, turning any escaping C++ exception into
// a JavaScript Error (in the slot) plus a diagnostic naming `qualifiedName`.
JsValue invokeNative(const NativeBinding& binding, const std::string& qualifiedName, int level,
                     JsContext context, JsObject thisObject, const JsValue* arguments,
                     std::size_t count, JsValue* exception);

}  // namespace web
