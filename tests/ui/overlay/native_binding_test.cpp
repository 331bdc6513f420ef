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

    void load() {
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
};

TEST_F(BoundPage, EveryCommandOfTheTableIsBoundAndReachesTheGame) {
    load();
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

// At the level the shipped page runs at: extra arguments are dropped, fractions truncated.
TEST_F(BoundPage, BadArgumentsAreMarshalErrorsAndGoodOnesReachTheGameWhole) {
    load();
    EXPECT_EQ(call("game.setApproach()").rfind("game.setApproach(approachIdx: number)", 0), 0u);
    EXPECT_EQ(
        page.js("(function(){ try { game.setApproach('2') } catch (e) { return [e instanceof "
                "TypeError, e.argumentPosition, e.parameterName, e.expectedType].join(); } })()"),
        "true,1,approachIdx,number");
    EXPECT_EQ(target.game.approach, nj::Approach::ServiceCorridor);
    EXPECT_EQ(call("game.setApproach(2.5, 3)"), "ok");
    EXPECT_EQ(target.game.approach, nj::Approach::UplinkHack);

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
    EXPECT_EQ(api.metadata("editor"),
              "{\"params\":[{\"name\":\"request\",\"type\":\"string\"}],\"returns\":\"void\"}");
}

TEST_F(BoundPage, ExceptionsBecomeErrorsAndDiagnostics) {
    int actions = 0;
    ASSERT_TRUE(nj::bindFunction(nj::ApiContext{"game", &api}, "startOrAdvance", nullptr,
                                 nj::ParamSpec{}, std::function<void()>([&] {
                                     ++actions;
                                     throw std::runtime_error("boom");
                                 })));
    ASSERT_TRUE(page.view->attachJSApi(&api));
    page.load("<html><body>x</body></html>");
    EXPECT_EQ(
        call("game.startOrAdvance()").rfind("game.startOrAdvance: the native code failed|", 0), 0u);
    EXPECT_TRUE(page.log.contains(
        "C++ exception in game.startOrAdvance: boom. The library caught it and continued."));
    EXPECT_EQ(actions, 1);
}

}  // namespace
