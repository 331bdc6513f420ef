// The JavaScript API object: bound functions, their records and marshal errors.
#include <gtest/gtest.h>

#include <iterator>

#include "ui/web/js_api.hpp"
#include "web_test_support.hpp"

namespace {

using webtest::PageHarness;

struct Record {
    int calls = 0;
    double last = 0;
    int* released = nullptr;
};

void releaseRecord(void* record) {
    auto* r = static_cast<Record*>(record);
    ++*r->released;
}

// Keeps its number argument as the game's commands do; anything else is a marshal error.
web::JsValue takeNumber(void* record, web::JsContext context, web::JsObject,
                        const web::JsValue* args, std::size_t count, web::JsValue* exception) {
    auto* r = static_cast<Record*>(record);
    ++r->calls;
    if (count < 1 || web::valueType(context, args[0]) != web::JsType::Number) {
        if (exception) {
            *exception = web::createMarshalError(context, "game.take(value: number)", 1, "value",
                                                 "number", count > 0 ? args[0] : nullptr);
        }
        return nullptr;
    }
    web::valueToNumber(context, args[0], &r->last, exception);
    return JSValueMakeUndefined(context);
}

class WebJsApi : public ::testing::Test {
  protected:
    void SetUp() override {
        record.released = &released;
        api = std::make_unique<web::JSApi>("game");
        ASSERT_TRUE(api->bindFunction("take", takeNumber, &record, releaseRecord));
        ASSERT_TRUE(page.view->attachJSApi(api.get()));
    }
    void load() { page.load("<html><body></body></html>"); }
    int released = 0;
    Record record;
    PageHarness page;
    std::unique_ptr<web::JSApi> api;
};

// No page code runs to describe an argument: it could call back into the failing call.
TEST_F(WebJsApi, MarshalErrorsDescribeArgumentsWithoutRunningPageCode) {
    load();
    page.eval(
        "var ran = [];"
        "var note = function (what) { return function () { ran.push(what); game.take(1);"
        "  return 'x'; }; };");
    const std::pair<const char*, const char*> cases[] = {
        {"({toJSON: note('toJSON')})", "an object"},
        {"({toString: note('toString'), valueOf: note('valueOf')})", "an object"},
        {"new Proxy({}, {get: note('get'), ownKeys: note('ownKeys'),"
         " getOwnPropertyDescriptor: note('descriptor'), getPrototypeOf: note('prototype')})",
         "an object"},
        {"Object.assign([1, 2], {toJSON: note('array toJSON')})", "an array"},
        {"note('function')", "a function"},
        {"Symbol('tag')", "a symbol"},
        {"null", "null"},
        {"'text'", "\"text\""},
        {"", "nothing"}};
    for (const auto& [argument, described] : cases) {
        const std::string message = page.js(std::string("(function () { try { game.take(") +
                                            argument + "); } catch (e) { return e.message; } })()");
        EXPECT_EQ(message, std::string("game.take(value: number): argument 1 (value): expected "
                                       "number, got ") +
                               described)
            << argument;
    }
    EXPECT_EQ(page.js("ran.join()"), "");
    EXPECT_EQ(record.calls, static_cast<int>(std::size(cases)));
}

// A record is released once nothing can call it; a refused binding's, never.
TEST_F(WebJsApi, RecordsAreReleasedOnceNothingCanCallThem) {
    int releasedEarly = 0, releasedLate = 0, refused = 0;
    Record early, late, spare;
    early.released = &releasedEarly;
    late.released = &releasedLate;
    spare.released = &refused;
    ASSERT_TRUE(api->bindFunction("take", takeNumber, &early, releaseRecord));
    EXPECT_EQ(released, 1);
    load();
    ASSERT_TRUE(api->bindFunction("take", takeNumber, &late, releaseRecord));
    page.eval("game.take(5)");  // the loaded page still calls the function it found
    EXPECT_EQ(early.last, 5.0);
    EXPECT_EQ(releasedEarly, 0);
    page.load("<html><body></body></html>", "ui/again.html");
    EXPECT_EQ(releasedEarly, 1);
    EXPECT_FALSE(api->bindFunction("", takeNumber, &spare, releaseRecord));
    EXPECT_FALSE(api->bindFunction("nil", nullptr, &spare, releaseRecord));
    api.reset();
    page.eval("game.take(9)");  // the page still holds the function
    EXPECT_EQ(late.last, 9.0);
    EXPECT_EQ(releasedLate, 0);
    page.view.reset();
    EXPECT_EQ(releasedLate, 1);
    EXPECT_EQ(refused, 0);
}

}  // namespace
