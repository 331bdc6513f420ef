// The page's commands through the real engine.
#include "ui/native_binding.hpp"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "game/game.hpp"
#include "tests/ui/web/web_test_support.hpp"
#include "ui/page_commands.hpp"

namespace {

struct CommandTarget : nj::GameCommandTarget {
    nj::SilentAudio audio;
    nj::Game game{&audio};
    int quits = 0;
    std::vector<std::string> editorRequests;
    nj::Game* commandGame() override { return &game; }
    void quitGame() override { ++quits; }
    void editorRequest(std::string_view request) override { editorRequests.emplace_back(request); }
};

class BoundPage : public ::testing::Test {
  protected:
    webtest::PageHarness page{64, 32};
    CommandTarget target;
    web::JSApi api{"game"};

    void load(int level) {
        api.setDiagnosticsLevel(level);
        ASSERT_EQ(nj::bindPageCommands(nj::ApiContext{"game", &api}, target),
                  static_cast<int>(nj::pageCommands().size()));
        ASSERT_TRUE(page.view->attachJSApi(&api));
        page.load("<html><body>page</body></html>");
    }
    // The message and code of whatever the call throws, or "ok".
    std::string call(const std::string& expression) {
        return page.js("(function(){ try { " + expression +
                       "; return 'ok'; } catch (e) { return e.message + '|' + e.code; } })()");
    }
    bool logged(const std::string& part) const { return page.log.contains(part); }
};

TEST_F(BoundPage, EveryCommandOfTheTableIsBoundAndReachesTheGame) {
    load(0);
    std::string tableOrder = "version";
    for (const nj::PageCommand& command : nj::pageCommands()) {
        const std::string metadata = api.metadata(command.name);
        EXPECT_EQ(metadata.find("\"type\":\"number\"") != std::string::npos,
                  command.numberArgument != nullptr)
            << command.name;
        EXPECT_EQ(metadata.find("\"type\":\"string\"") != std::string::npos,
                  command.textArgument != nullptr)
            << command.name;
        tableOrder += std::string(",") + command.name;
    }
    EXPECT_EQ(page.js("Object.keys(game).join()"), tableOrder);
    EXPECT_EQ(call("game.toggleAudio()"), "ok");
    EXPECT_FALSE(target.audio.enabled());
    EXPECT_EQ(call("game.quitGame()"), "ok");
    EXPECT_EQ(target.quits, 1);
}

TEST_F(BoundPage, BadArgumentsAreMarshalErrorsWarningsOrRefusals) {
    for (int level : {0, 1, 2}) {
        load(level);
        EXPECT_EQ(call("game.setApproach()").rfind("game.setApproach(approachIdx: number)", 0), 0u)
            << level;
        EXPECT_EQ(
            page.js(
                "(function(){ try { game.setApproach('2') } catch (e) { return [e instanceof "
                "TypeError, e.argumentPosition, e.parameterName, e.expectedType].join(); } })()"),
            "true,1,approachIdx,number")
            << level;
        EXPECT_EQ(target.game.approach, nj::Approach::ServiceCorridor) << level;
    }
    const struct {
        int level;
        const char* call;
        const char* start;  // of what it throws, "ok" when it throws nothing
        const char* end;
    } cases[] = {
        {0, "game.setApproach(2, 3)", "ok", ""},
        {2, "game.setApproach(1, 3)",
         "game.setApproach(approachIdx: number): expected at most 1 argument, got 2 (extra "
         "arguments are refused under Strict diagnostics)|ULJS_EXTRA_ARGS",
         ""},
        {1, "game.setApproach(2.5)", "ok", ""},  // truncated toward zero
        {2, "game.setApproach(1.5)",
         "game.setApproach: argument 1: lossy conversion refused under Strict diagnostics (",
         ")|ULJS_LOSSY"}};
    for (const auto& c : cases) {
        load(c.level);
        const std::string thrown = call(c.call);
        EXPECT_EQ(thrown.rfind(c.start, 0), 0u) << c.call << ": " << thrown;
        EXPECT_EQ(thrown.substr(thrown.size() - std::string(c.end).size()), c.end) << c.call;
        EXPECT_EQ(target.game.approach, nj::Approach::UplinkHack) << c.call;
    }
    EXPECT_TRUE(logged("game.setApproach: argument 1: lossy conversion ("));
}

TEST_F(BoundPage, TheEditorsTextArgumentIsCheckedAndPassedWhole) {
    for (int level : {0, 2}) {
        SCOPED_TRACE(level);
        load(level);
        target.editorRequests.clear();
        EXPECT_EQ(call("game.editor('{\"do\":\"undo\"}')"), "ok");
        EXPECT_EQ(call("game.editor('caf\u00e9')"), "ok");
        for (const char* bad :
             {"game.editor()", "game.editor(3)", "game.editor({})", "game.editor(null)"}) {
            EXPECT_NE(call(bad).find("game.editor(request: string)"), std::string::npos) << bad;
        }
        const std::string huge = call("game.editor(new Array(70000).join('x'))");
        EXPECT_NE(huge.find("longer than 65536 bytes"), std::string::npos) << huge;
        ASSERT_EQ(target.editorRequests.size(), 2u);
        EXPECT_EQ(target.editorRequests[0], "{\"do\":\"undo\"}");
        EXPECT_EQ(target.editorRequests[1], "caf\xC3\xA9");
    }
    EXPECT_EQ(api.metadata("editor"),
              "{\"params\":[{\"name\":\"request\",\"type\":\"string\"}],\"returns\":\"void\"}");
}

TEST(NativeBinding, ExceptionsBecomeErrorsAndDiagnostics) {
    webtest::PageHarness page{64, 32};
    int actions = 0;
    web::JSApi api{"game"};
    nj::ParamSpec none{};
    ASSERT_TRUE(nj::bindFunction(nj::ApiContext{"game", &api}, "startOrAdvance", nullptr, none,
                                 std::function<void()>([&] {
                                     ++actions;
                                     throw std::runtime_error("boom");
                                 })));
    ASSERT_TRUE(page.view->attachJSApi(&api));
    page.load("<html><body>x</body></html>");
    EXPECT_EQ(page.js("(function(){ try { game.startOrAdvance(); return 'ok'; } catch (e) { "
                      "return e.message; } })()"),
              "game.startOrAdvance: the native code failed");
    EXPECT_TRUE(page.log.contains(
        "C++ exception in game.startOrAdvance: boom. The library caught it and continued."));
    EXPECT_EQ(actions, 1);
}

}  // namespace
