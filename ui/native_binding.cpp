// Native function binding: metadata, argument checks, error objects and the
// exception wall between game code and the page.
#include "ui/native_binding.hpp"

#include <exception>
#include <optional>

#include "data/json_writer.hpp"

namespace nj {
namespace {

// The first argument failure of the call in progress, per thread, restored
// after every call (also when an exception passes).
struct CallRecord {
    bool failed = false;
    std::string expectedType;
    web::JsValue offendingValue = nullptr;  // null: the argument was missing
};
thread_local CallRecord* tCallRecord = nullptr;

class InstalledCallRecord {
  public:
    InstalledCallRecord() : previous_(tCallRecord) { tCallRecord = &record_; }
    ~InstalledCallRecord() { tCallRecord = previous_; }
    InstalledCallRecord(const InstalledCallRecord&) = delete;
    InstalledCallRecord& operator=(const InstalledCallRecord&) = delete;
    CallRecord& record() { return record_; }

  private:
    CallRecord record_;
    CallRecord* previous_;
};

class LossyNoteScope {
  public:
    explicit LossyNoteScope(web::LossyNote* note) : previous_(web::setCurrentLossyNote(note)) {}
    ~LossyNoteScope() { web::setCurrentLossyNote(previous_); }
    LossyNoteScope(const LossyNoteScope&) = delete;
    LossyNoteScope& operator=(const LossyNoteScope&) = delete;

  private:
    web::LossyNote* previous_;
};

void noteFailure(const std::string& expected, web::JsValue value) {
    if (!tCallRecord || tCallRecord->failed) return;
    tCallRecord->failed = true;
    tCallRecord->expectedType = expected;
    tCallRecord->offendingValue = value;
}

std::string nameOrEmpty(const char* name) {
    return name ? name : "";
}

NativeBinding* makeBinding(const ApiContext& context, const char* name, void* target,
                           const ParamSpec& spec) {
    auto* binding = new NativeBinding;
    binding->target = target;
    binding->qualifiedName = context.apiName + "." + nameOrEmpty(name);
    std::string params;
    if (spec.count > 0) {
        if (spec.names[0]) params = std::string(spec.names[0]) + ": ";
        params += spec.text ? "string" : "number";
    }
    binding->signature = binding->qualifiedName + "(" + params + ")";
    for (int i = 0; i < spec.count && i < kMaxParams; ++i)
        binding->paramNames.push_back(nameOrEmpty(spec.names[i]));
    return binding;
}

bool registerBinding(const ApiContext& context, const char* name, NativeBinding* binding,
                     const ParamSpec& spec, web::NativeFunction invoker) {
    if (!context.api ||
        !context.api->bindFunction(nameOrEmpty(name), invoker, binding, releaseBinding)) {
        delete binding;  // never handed over: the engine will not release it
        return false;
    }
    context.api->setMetadata(nameOrEmpty(name), bindingMetadata(spec));
    return true;
}

// Runs the game action; an escaping exception becomes a diagnostic and a
// JavaScript error instead of unwinding into the page engine.
template <typename Action>
void runGuarded(const NativeBinding& binding, web::JsContext context, web::JsValue* exception,
                Action&& action) {
    std::string message;
    try {
        action();
        return;
    } catch (const std::exception& e) {
        message = e.what();
    } catch (...) {
        message = "unknown exception";
    }
    const std::string who = binding.qualifiedName.empty() ? "native code" : binding.qualifiedName;
    web::emitDiagnostic(nullptr, "C++ exception in " + who + ": " + message +
                                     ". The library caught it and continued.");
    if (exception) {
        const std::string failed = binding.qualifiedName.empty()
                                       ? "the native code failed"
                                       : binding.qualifiedName + ": the native code failed";
        *exception = toJavaScriptError(context, CallError{0, failed, ""});
    }
}

}  // namespace

std::string bindingMetadata(const ParamSpec& spec) {
    JsonWriter json(JsonStringForm::Metadata);
    json.beginObject().key("params").beginArray();
    for (int i = 0; i < spec.count && i < kMaxParams; ++i) {
        json.beginObject();
        if (spec.names[i]) json.key("name").string(spec.names[i]);
        json.key("type").string(spec.text ? "string" : "number").endObject();
    }
    json.endArray().key("returns").string("void");
    if (spec.doc) json.key("doc").string(spec.doc);
    json.endObject();
    return json.text();
}

CallError extraArgumentsError(const std::string& signature, std::size_t allowed,
                              std::size_t count) {
    return CallError{1,
                     signature + ": expected at most " + std::to_string(allowed) +
                         (allowed == 1 ? " argument, got " : " arguments, got ") +
                         std::to_string(count) +
                         " (extra arguments are refused under Strict diagnostics)",
                     "ULJS_EXTRA_ARGS"};
}

web::JsValue toJavaScriptError(web::JsContext context, const CallError& error) {
    web::JsObject object = web::createError(context, error.type, error.message);
    if (object && !error.code.empty()) {
        web::JsValue code = web::createString(context, error.code.data(), error.code.size());
        web::JsValue ignored = nullptr;
        web::setProperty(context, object, "code", code, 0, &ignored);
    }
    return object;
}

bool convertNumber(web::JsContext context, const web::JsValue* arguments, std::size_t count,
                   std::size_t index, int position, const NativeBinding& binding, double* out,
                   web::JsValue* exception, int level) {
    const web::JsValue value = index < count ? arguments[index] : nullptr;
    if (value) {
        web::LossyNote note;
        std::optional<LossyNoteScope> tracking;
        if (level >= 1) tracking.emplace(&note);
        double number = 0.0;
        if (web::valueType(context, value) == web::JsType::Number &&
            web::valueToNumber(context, value, &number, exception)) {
            *out = number;
            if (level < 1 || !note.flag) return true;
            const std::string where =
                position == 0 ? std::string() : ": argument " + std::to_string(position);
            if (level == 1) {
                web::emitDiagnostic(context, binding.qualifiedName + where +
                                                 ": lossy conversion (" + note.reason + ").");
                return true;
            }
            if (exception) {
                *exception = toJavaScriptError(
                    context, CallError{1,
                                       binding.qualifiedName + where +
                                           ": lossy conversion refused under Strict diagnostics (" +
                                           note.reason + ")",
                                       "ULJS_LOSSY"});
            }
            return false;
        }
        if (exception && *exception) return false;  // the conversion itself threw
    }
    noteFailure("number", value);
    if (exception) {
        const char* parameter =
            index < binding.paramNames.size() ? binding.paramNames[index].c_str() : nullptr;
        const CallRecord* record = tCallRecord;
        *exception =
            web::createMarshalError(context, binding.signature, position, parameter,
                                    record && record->failed ? record->expectedType : "number",
                                    record && record->failed ? record->offendingValue : value);
    }
    return false;
}

namespace {

// Under Strict diagnostics a call with more than `allowed` arguments is
// refused before anything runs; true when it was.
bool refusedExtraArguments(const NativeBinding& binding, web::JsContext context,
                           std::size_t allowed, std::size_t count, web::JsValue* exception) {
    if (web::callDiagnostics() < 2 || count <= allowed) return false;
    if (exception)
        *exception =
            toJavaScriptError(context, extraArgumentsError(binding.signature, allowed, count));
    return true;
}

}  // namespace

web::JsValue invokeNoArguments(void* record, web::JsContext context, web::JsObject,
                               const web::JsValue*, std::size_t count, web::JsValue* exception) {
    const auto& binding = *static_cast<NativeBinding*>(record);
    if (refusedExtraArguments(binding, context, 0, count, exception)) return nullptr;
    InstalledCallRecord call;
    LossyNoteScope noNote(nullptr);
    runGuarded(binding, context, exception, [&] {
        if (binding.noArgumentAction) binding.noArgumentAction();
    });
    return nullptr;
}

web::JsValue invokeOneNumber(void* record, web::JsContext context, web::JsObject,
                             const web::JsValue* arguments, std::size_t count,
                             web::JsValue* exception) {
    const auto& binding = *static_cast<NativeBinding*>(record);
    const int level = web::callDiagnostics();
    if (refusedExtraArguments(binding, context, 1, count, exception)) return nullptr;
    InstalledCallRecord call;
    runGuarded(binding, context, exception, [&] {
        double value = 0.0;
        if (!convertNumber(context, arguments, count, 0, 1, binding, &value, exception, level))
            return;
        LossyNoteScope noNote(nullptr);
        if (binding.numberAction) binding.numberAction(value);
    });
    return nullptr;
}

web::JsValue invokeOneText(void* record, web::JsContext context, web::JsObject,
                           const web::JsValue* arguments, std::size_t count,
                           web::JsValue* exception) {
    const auto& binding = *static_cast<NativeBinding*>(record);
    if (refusedExtraArguments(binding, context, 1, count, exception)) return nullptr;
    InstalledCallRecord call;
    const web::JsValue value = count > 0 ? arguments[0] : nullptr;
    if (!value || web::valueType(context, value) != web::JsType::String) {
        if (exception) {
            const char* parameter =
                binding.paramNames.empty() ? nullptr : binding.paramNames[0].c_str();
            *exception =
                web::createMarshalError(context, binding.signature, 1, parameter, "string", value);
        }
        return nullptr;
    }
    const std::string text = web::toUtf8(context, value);
    if (text.size() > kMaxTextArgumentBytes) {
        if (exception)
            *exception = toJavaScriptError(
                context, CallError{1,
                                   binding.signature + ": the text is longer than " +
                                       std::to_string(kMaxTextArgumentBytes) + " bytes",
                                   ""});
        return nullptr;
    }
    LossyNoteScope noNote(nullptr);
    runGuarded(binding, context, exception, [&] {
        if (binding.textAction) binding.textAction(text);
    });
    return nullptr;
}

void releaseBinding(void* record) {
    auto* binding = static_cast<NativeBinding*>(record);
    if (binding->references.fetch_sub(1, std::memory_order_acq_rel) == 1) delete binding;
}

bool bindFunction(const ApiContext& context, const char* name, void* target, const ParamSpec& spec,
                  std::function<void()> action) {
    NativeBinding* binding = makeBinding(context, name, target, spec);
    binding->noArgumentAction = std::move(action);
    return registerBinding(context, name, binding, spec, invokeNoArguments);
}

bool bindFunction(const ApiContext& context, const char* name, void* target, const ParamSpec& spec,
                  std::function<void(double)> action) {
    NativeBinding* binding = makeBinding(context, name, target, spec);
    binding->numberAction = std::move(action);
    return registerBinding(context, name, binding, spec, invokeOneNumber);
}

bool bindFunction(const ApiContext& context, const char* name, void* target, const ParamSpec& spec,
                  std::function<void(const std::string&)> action) {
    NativeBinding* binding = makeBinding(context, name, target, spec);
    binding->textAction = std::move(action);
    return registerBinding(context, name, binding, spec, invokeOneText);
}

}  // namespace nj
