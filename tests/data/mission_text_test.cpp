// A mission written back as text: what is written reads back to the same
// value and writes again to the same bytes, and nothing a file held is dropped.
#include "data/mission_text.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace nj {
namespace {

bool sameValue(const JsonValue& a, const JsonValue& b) {
    if (a.type != b.type || a.boolean != b.boolean || a.text != b.text ||
        a.items.size() != b.items.size() || a.members.size() != b.members.size())
        return false;
    if (a.type == JsonType::Number && a.number != b.number) return false;
    for (std::size_t i = 0; i < a.items.size(); ++i)
        if (!sameValue(a.items[i], b.items[i])) return false;
    for (const auto& [key, value] : a.members) {
        const auto other = b.members.find(key);
        if (other == b.members.end() || !sameValue(value, other->second)) return false;
    }
    return true;
}

TEST(MissionText, WhatIsWrittenReadsBackToTheSameValue) {
    JsonValue mission = parseJson(R"({"zeta": {"b": [1, {"q": null}], "a": "x"},
        "walls": [{"h": 10, "w": 0.1, "y": 1e-7, "x": 3.0000000000000004}],
        "name": "Tab\t\"quoted\" \\ \u00e9", "guards": [], "card": {},
        "dynamicObjective": {"waypoints": [{"y": 2, "x": 1}], "type": "courier"}})");
    mission.members["walls"].items[0].members["x"].number = std::numeric_limits<double>::max();
    const std::string text = formatMissionText(mission);
    const JsonValue reread = parseJson(text);
    EXPECT_TRUE(sameValue(reread, mission));
    EXPECT_EQ(formatMissionText(reread), text);
    EXPECT_EQ(reread.at("walls").at(0).at("x").number, std::numeric_limits<double>::max());
    EXPECT_EQ(reread.at("walls").at(0).at("w").number, 0.1);
    EXPECT_EQ(reread.at("name").text, mission.at("name").text);
    EXPECT_EQ(reread.at("zeta").at("b").at(1).at("q").type, JsonType::Null);
    // The format's order, then keys it does not know.
    EXPECT_LT(text.find("\"name\""), text.find("\"card\""));
    EXPECT_LT(text.find("\"guards\""), text.find("\"zeta\""));
    EXPECT_NE(text.find(R"({ "type": "courier", "waypoints": [{ "x": 1, "y": 2 }] })"),
              std::string::npos)
        << text;
}

}  // namespace
}  // namespace nj
