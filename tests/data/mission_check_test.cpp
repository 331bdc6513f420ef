#include "data/mission_check.hpp"

#include <gtest/gtest.h>

#include <string>

#include "data/mission_format.hpp"
#include "tests/support/scratch_dir.hpp"

namespace {

// Every piece a mission needs, on the first line, so no "missing" warning
// clutters a case; each case's own text starts on line 2.
const std::string kComplete =
    "{\"card\":{\"x\":100,\"y\":100},\"gate\":{\"x\":300,\"y\":100,\"w\":10,\"h\":10},"
    "\"terminal\":{\"x\":200,\"y\":200},\"exit\":{\"x\":800,\"y\":400,\"w\":50,\"h\":50},"
    "\"player\":{\"x\":50,\"y\":300},\"serviceSpawn\":{\"x\":50,\"y\":300},"
    "\"backstageSpawn\":{\"x\":50,\"y\":300},\n";

// The checker's output, a line a message.
std::string output(const std::string& text) {
    std::string all;
    for (const nj::MissionDiagnostic& d : nj::checkMissionText(text).diagnostics)
        all += nj::formatDiagnostic("m.json", d) + "\n";
    return all;
}

// The whole output: nothing for a complete mission, one line for a syntax error.
TEST(MissionCheck, ACompleteMissionDrawsNoMessageAndASyntaxErrorOne) {
    const struct {
        std::string text, output;
    } cases[] = {
        {kComplete + R"("theme":"embassy"})", ""},
        // A door of a colour whose keycard lies in the mission.
        {kComplete + R"("doors":[{"color":"emerald"}],"keycards":[{"color":"emerald"}]})", ""},
        {"{\n  \"a\": 1\n  \"b\": 2\n}", "m.json:3:3: Expected ',' or '}' in object\n"},
        {"[]", "m.json:1:1: a mission is a JSON object, got a list\n"},
        {kComplete + R"("name":"x"} //)",
         "m.json:2:13: warning: text after the mission; the game ignores it\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(output(c.text), c.output) << c.text;
}

TEST(MissionCheck, EachFaultIsNamedWithItsPathAndPosition) {
    std::string seventeenGuards = R"({"axis":"x"})";
    for (int i = 1; i < 17; ++i) seventeenGuards += R"(,{"axis":"x"})";
    const struct {
        std::string tail;  // line 2 of the mission
        std::string expected;
    } cases[] = {
        {R"("guards":[{"x":"seven","axis":"x"}]})",
         "m.json:2:16: guards[0].x: expected a number, got a string"},
        {R"("walls":{}})", "m.json:2:9: walls: expected a list, got an object"},
        {R"("walls":[7]})", "m.json:2:10: walls[0]: expected an object, got a number"},
        {R"("name":false})", "m.json:2:8: name: expected a string, got true or false"},
        {R"("guards":[{"spead":3,"axis":"x"}]})",
         R"(m.json:2:12: guards[0].spead: unknown key (did you mean "speed"?))"},
        {R"("zebra":1})", "m.json:2:1: zebra: unknown key"},
        {R"("theme":"casion"})",
         R"(m.json:2:9: theme: "casion" is not one of "casino", "embassy", "laboratory" or )"
         R"("archive" (did you mean "casino"?))"},
        {R"("dynamicObjective":{"type":"sabotage"}})",
         R"(m.json:2:28: dynamicObjective.type: "sabotage" is not one of "courier", )"
         R"("informant", "sabotage_node" or "evidence_burn" (did you mean "sabotage_node"?))"},
        {R"("doors":[{"x":1,"y":1,"w":5,"h":5,"color":"red"}]})",
         R"(m.json:2:43: doors[0].color: "red" is not one of "cyan", "ruby", "emerald" or )"
         R"("purple")"},
        {R"("furniture":[{"type":"sofa","x":500,"y":500}]})",
         R"(m.json:2:22: furniture[0].type: "sofa" is not one of "roulette", "blackjack", )"
         R"("plush_booth", "stanchions", "desk", "bookcase", "server", "cryopod" or )"
         R"("archive_rack")"},
        {R"("guards":[{"x":5000,"axis":"x"}]})",
         "m.json:2:16: guards[0].x: 5000 is outside 0 to 960"},
        {R"("guards":[{"y":-300,"axis":"x"}]})",
         "m.json:2:16: guards[0].y: -300 is outside 0 to 540"},
        {R"("walls":[{"x":10,"y":10,"w":0,"h":5}]})",
         "m.json:2:29: walls[0].w: must be more than 0, got 0"},
        {R"("walls":[{"x":900,"y":10,"w":100,"h":5}]})",
         "m.json:2:10: walls[0]: reaches past the field's right edge (x + w = 1000, the field "
         "is 960 wide)"},
        {R"("furniture":[{"x":20,"y":300}]})",
         "m.json:2:14: furniture[0]: reaches past the field's top or left edge"},
        {R"("cameras":[{"range":1e39}]})",
         "m.json:2:21: cameras[0].range: the number is too large for the game to use"},
        {R"("guards":[)" + seventeenGuards + "]}",
         "m.json:2:10: guards: 17 entries; the game takes at most 16"},
        {R"("walls":[{"x":90,"y":80,"w":40,"h":15}]})", "m.json:1:9: card: lies under walls[0]"},
        {R"("keycards":[{"x":500,"y":110}],"furniture":[{"x":500,"y":100}]})",
         "m.json:2:13: keycards[0]: lies under furniture[0]"},
        {R"("dynamicObjective":{"x":700,"y":300},"walls":[{"x":690,"y":250,"w":5,"h":100}]})",
         "m.json:2:20: dynamicObjective: lies under walls[0]"},
        {R"("walls":[{"x":40,"y":290,"w":5,"h":5}]})",
         "m.json:1:143: player: the operative would start inside walls[0]"},
        {R"("doors":[{"color":"ruby"},{"color":"purple"}],"keycards":[]})",
         "m.json:2:10: doors[0]: warning: no ruby keycard lies anywhere: only the approach that "
         "holds ruby opens it\nm.json:2:27: doors[1]: warning: no purple keycard lies anywhere: it "
         "never opens"},
    };
    for (const auto& c : cases) {
        const std::string all = "\n" + output(kComplete + c.tail);
        EXPECT_NE(all.find("\n" + c.expected + "\n"), std::string::npos)
            << "case: " << c.tail << "\ngot:" << all;
    }
}

TEST(MissionCheck, MissingPiecesAreWarningsNamingTheFallback) {
    const std::string all = output(R"({"guards":[{"x":5,"y":5}]})");
    for (const char* line :
         {"m.json:1:1: card: warning: missing: the game puts the built-in mission's cipher card at "
          "495, 195\n",
          "m.json:1:1: player: warning: missing: the approach starts at 60, 460\n",
          "m.json:1:12: guards[0]: warning: stands still"}) {
        EXPECT_NE(all.find(line), std::string::npos) << line << "\ngot:\n" << all;
    }
    EXPECT_FALSE(nj::hasErrors(nj::checkMissionText("{}").diagnostics));
}

// The designer's guide's format table, between its markers, is the checker's own.
TEST(MissionFormat, TheGuideListsExactlyTheCheckersTable) {
    const std::string text = nj::test::fileText(NJ_MISSION_GUIDE);
    const std::string begin = "<!-- njtool mission format: begin -->\n";
    const std::size_t from = text.find(begin),
                      to = text.find("<!-- njtool mission format: end -->");
    ASSERT_TRUE(from != std::string::npos && to != std::string::npos) << NJ_MISSION_GUIDE;
    EXPECT_EQ(text.substr(from + begin.size(), to - from - begin.size()), nj::missionFormatGuide())
        << "run: njtool mission format, and paste it between the markers";
}

}  // namespace
