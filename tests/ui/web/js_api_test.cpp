// The JavaScript API object: bound native functions, their records, values,
// errors and diagnostics.
#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <stdexcept>

#include "ui/web/js_api.hpp"
#include "web_test_support.hpp"

namespace {

using webtest::PageHarness;

struct Record {
    int calls = 0;
    double last = 0;
    int level = -1;
    int* released = nullptr;
};

void releaseRecord(void* record) {
    auto* r = static_cast<Record*>(record);
    ++*r->released;
}

// Stores its first argument as a number, the way the game's one-number
// functions do, and reports a bad argument through the exception slot.
web::JsValue takeNumber(void* record, web::JsContext context, web::JsObject,
                        const web::JsValue* args, std::size_t count, web::JsValue* exception) {
    auto* r = static_cast<Record*>(record);
    ++r->calls;
    r->level = web::callDiagnostics();
    if (count < 1 || web::valueType(context, args[0]) != web::JsType::Number) {
        if (exception) {
            *exception = web::createMarshalError(context, "game.take(value: number)", 1, "value",
                                                 "number", count > 0 ? args[0] : nullptr);
        }
        return nullptr;
    }
    web::valueToNumber(context, args[0], &r->last, exception);
    return JSValueMakeNumber(context, r->last * 2);
}

web::JsValue throwCpp(void*, web::JsContext, web::JsObject, const web::JsValue*, std::size_t,
                      web::JsValue*) {
    throw std::runtime_error("boom");
}

class WebJsApi : public ::testing::Test {
  protected:
    void SetUp() override {
        record.released = &released;
        api = std::make_unique<web::JSApi>("game");
        api->setConstantString("version", "2.0");
        ASSERT_TRUE(api->bindFunction("take", takeNumber, &record, releaseRecord));
        ASSERT_TRUE(api->bindFunction("explode", throwCpp, nullptr, nullptr));
        ASSERT_TRUE(page.view->attachJSApi(api.get()));
    }
    void load(const std::string& head = "") {
        page.load("<html><head>" + head + "</head><body></body></html>");
    }
    int released = 0;
    Record record;
    PageHarness page;
    std::unique_ptr<web::JSApi> api;
};

// Calling, version and metadata the game's own commands hold through this
// object; what they never need is a value returned, and a page that tries
// to overwrite a constant.
TEST_F(WebJsApi, FunctionsReturnTheirValueAndConstantsStayPut) {
    load();
    page.eval("game.version = 'hacked'");
    EXPECT_EQ(page.js("game.version + ',' + game.take(21)"), "2.0,42");
    EXPECT_EQ(record.last, 21.0);
}

TEST_F(WebJsApi, MarshalErrorNamesEverythingAboutTheBadArgument) {
    load();
    EXPECT_EQ(page.js("(function () { try { game.take('abc'); } catch (e) {"
                      "return [e instanceof TypeError, e.functionName, e.argumentPosition,"
                      "e.parameterName, e.expectedType, e.actualValue].join('|'); } })()"),
              "true|game.take(value: number)|1|value|number|abc");
}

// The message is made from the argument's type alone: no toJSON, getter,
// toString or proxy trap of the page runs (one that calls back into the game
// would re-enter it in the middle of the failing call).
TEST_F(WebJsApi, MarshalErrorsDescribeArgumentsWithoutRunningPageCode) {
    load();
    page.eval(
        "var ran = [];"
        "var note = function (what) { return function () { ran.push(what); game.take(1);"
        "  return 'x'; }; };");
    const struct {
        const char* argument;
        const char* described;
    } cases[] = {
        {"({toJSON: note('toJSON')})", "an object"},
        {"Object.defineProperty({}, 'x', {get: note('getter'), enumerable: true})", "an object"},
        {"({toString: note('toString'), valueOf: note('valueOf')})", "an object"},
        {"new Proxy({}, {get: note('get'), ownKeys: note('ownKeys'),"
         " getOwnPropertyDescriptor: note('descriptor'), getPrototypeOf: note('prototype')})",
         "an object"},
        {"Object.assign([1, 2], {toJSON: note('array toJSON')})", "an array"},
        {"note('function')", "a function"},
        {"Symbol('tag')", "a symbol"},
        {"Object(Symbol('boxed'))", "an object"},
        {"true", "true"},
        {"null", "null"},
        {"undefined", "undefined"},
        {"12n", "12n"},
        {"'text'", "\"text\""},
        {"", "nothing"},
    };
    for (const auto& c : cases) {
        const std::string message =
            page.js(std::string("(function () { try { game.take(") + c.argument +
                    "); } catch (e) { return e.message; } })()");
        EXPECT_EQ(message, std::string("game.take(value: number): argument 1 (value): expected "
                                       "number, got ") +
                               c.described)
            << c.argument;
    }
    EXPECT_EQ(page.js("ran.join()"), "");
    EXPECT_EQ(record.calls, static_cast<int>(std::size(cases)));
}

TEST_F(WebJsApi, CppExceptionBecomesAnErrorAndADiagnostic) {
    load();
    EXPECT_EQ(page.js("(function () { try { game.explode(); return 'no error'; } catch (e) {"
                      "return e.name + ':' + e.message; } })()"),
              "Error:game.explode: native code failed");
    EXPECT_TRUE(page.log.contains("C++ exception escaped game.explode: boom"));
}

TEST_F(WebJsApi, DiagnosticsLevelComesFromTheHostAtCallTimeUnlessThePageDeclaresOne) {
    api->setDiagnosticsLevel(1);
    load();
    page.eval("game.take(1)");
    EXPECT_EQ(record.level, 1);
    EXPECT_EQ(web::callDiagnostics(), 0);  // outside any call
    api->setDiagnosticsLevel(2);
    page.eval("game.take(1)");
    EXPECT_EQ(record.level, 2);
    api->setDiagnosticsLevel(0);
    page.load("<html><head><meta name='diagnostics' content='strict'></head></html>", "ui/b.html");
    page.eval("game.take(1)");
    EXPECT_EQ(record.level, 2);
}

TEST_F(WebJsApi, ReboundFunctionReleasesTheOldRecordOnce) {
    int releasedB = 0;
    Record second;
    second.released = &releasedB;
    load();
    ASSERT_TRUE(api->bindFunction("take", takeNumber, &second, releaseRecord));
    EXPECT_EQ(released, 0);  // the loaded page still calls the old function
    page.eval("game.take(5)");
    EXPECT_EQ(record.last, 5.0);
    page.load("<html><body></body></html>", "ui/again.html");
    EXPECT_EQ(released, 1);  // the old page is gone, and with it the last user
    api.reset();
    page.eval("game.take(9)");  // the page still holds the function
    EXPECT_EQ(second.last, 9.0);
    EXPECT_EQ(releasedB, 0);
    page.view.reset();
    EXPECT_EQ(released, 1);
    EXPECT_EQ(releasedB, 1);
}

// A record nothing can call any more is released at once; one whose binding
// was refused is never released.
TEST_F(WebJsApi, UnusedReboundRecordIsReleasedAtOnceAndARefusedOneNever) {
    int releasedB = 0, refused = 0;
    Record second, spare;
    second.released = &releasedB;
    spare.released = &refused;
    ASSERT_TRUE(api->bindFunction("take", takeNumber, &second, releaseRecord));
    EXPECT_EQ(released, 1);
    EXPECT_EQ(releasedB, 0);
    EXPECT_FALSE(api->bindFunction("", takeNumber, &spare, releaseRecord));
    EXPECT_FALSE(api->bindFunction("nil", nullptr, &spare, releaseRecord));
    api.reset();  // with the view, before the records go out of scope
    page.view.reset();
    EXPECT_EQ(releasedB, 1);
    EXPECT_EQ(refused, 0);
}

TEST(WebJsValues, NumberConversionNotesWhatIsLost) {
    JSGlobalContextRef context = JSGlobalContextCreate(nullptr);
    // The value converted (NaN where it is not a number) and whether it is lossy.
    const struct {
        web::JsValue value;
        double converted;
        bool lossy;
    } cases[] = {
        {JSValueMakeNumber(context, 7), 7.0, false},
        {JSValueMakeNumber(context, -2.5), -2.5, true},
        {JSValueMakeNumber(context, NAN), NAN, true},
        {JSValueMakeNumber(context, INFINITY), INFINITY, true},
        {JSValueMakeNumber(context, std::ldexp(1.0, 60)), std::ldexp(1.0, 60), true},
        {JSValueMakeBoolean(context, true), 1.0, true},
    };
    for (const auto& c : cases) {
        web::LossyNote note;
        web::LossyNote* previous = web::setCurrentLossyNote(&note);
        double out = -1;
        web::JsValue exception = nullptr;
        EXPECT_TRUE(web::valueToNumber(context, c.value, &out, &exception));
        web::setCurrentLossyNote(previous);
        EXPECT_TRUE(out == c.converted || (std::isnan(out) && std::isnan(c.converted))) << out;
        EXPECT_EQ(note.flag != 0, c.lossy) << c.converted;
        EXPECT_EQ(note.reason[0] != 0, c.lossy) << c.converted;
    }
    // Without a note installed nothing is tracked, and nothing crashes.
    double out = 0;
    EXPECT_TRUE(web::valueToNumber(context, JSValueMakeNumber(context, 0.5), &out, nullptr));
    EXPECT_EQ(web::currentLossyNote(), nullptr);
    JSGlobalContextRelease(context);
}

TEST(WebJsValues, StringsKeepNulAndNonAsciiCharacters) {
    JSGlobalContextRef context = JSGlobalContextCreate(nullptr);
    const std::string text("a\0b \xe2\x80\xa2 \xf0\x9f\x98\x80", 12);  // NUL, U+2022, U+1F600
    web::JsValue value = web::createString(context, text.data(), text.size());
    JSStringRef copy = JSValueToStringCopy(context, value, nullptr);
    EXPECT_EQ(JSStringGetLength(copy), 8u);  // UTF-16 units: the emoji takes two
    JSStringRelease(copy);
    EXPECT_EQ(web::toUtf8(context, value), text);
    // A malformed byte becomes U+FFFD rather than cutting the string.
    EXPECT_EQ(web::toUtf8(context, web::makeString(context, "x\xffy")), "x\xef\xbf\xbdy");
    JSGlobalContextRelease(context);
}

}  // namespace
