// A mission written back as text: what is written reads back to the same
// value and writes again to the same bytes, and nothing a file held is dropped.
#include "data/mission_text.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace nj {
namespace {

TEST(MissionText, WhatIsWrittenReadsBackToTheSameValue) {
    JsonValue mission = parseJson(R"({"zeta": {"b": [1, {"q": null}], "a": "x"},
        "walls": [{"h": 10, "w": 0.1, "y": 1e-7, "x": 3.0000000000000004}],
        "name": "Tab\t\"quoted\" \\ \u00e9", "guards": [], "card": {},
        "dynamicObjective": {"waypoints": [{"y": 2, "x": 1}], "type": "courier"}})");
    mission.members["walls"].items[0].members["x"].number = std::numeric_limits<double>::max();
    const std::string text = formatMissionText(mission);
    const JsonValue reread = parseJson(text);
    EXPECT_TRUE(reread == mission) << text;  // the largest double and 0.1 exactly too
    EXPECT_EQ(formatMissionText(reread), text);
    // The format's order, then keys it does not know.
    EXPECT_LT(text.find("\"name\""), text.find("\"card\""));
    EXPECT_LT(text.find("\"guards\""), text.find("\"zeta\""));
    EXPECT_NE(text.find(R"({ "type": "courier", "waypoints": [{ "x": 1, "y": 2 }] })"),
              std::string::npos)
        << text;
}

}  // namespace
}  // namespace nj
