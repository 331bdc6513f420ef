// Replay files (the file in hostile places: hostile_files_test).
#include "data/replay_file.hpp"

#include <gtest/gtest.h>

#include <limits>

#include "data/digest.hpp"

namespace nj {
namespace {

RunRecord sampleRecord() {
    return {.start = {.source = RunSource::Campaign,
                      .missionIndex = 2,
                      .missionHash = sha256Raw("token"),
                      .missionName = "OPERATION GLASS LEDGER",
                      .approach = 3,
                      .perks = 5,
                      .bonuses = 2,
                      .assists = 0x0B | 85u << 8,
                      .intelBudget = 1955,
                      .highestUnlocked = 2,
                      .completed = 3,
                      .grades = {"S+ PHANTOM", "A OPERATIVE", "--", "--"},
                      .audioEnabled = false,
                      .footstepPhase = 0.75f,
                      .currentTumbler = 3,
                      .stealthGrade = "A OPERATIVE",
                      .lastIntelAward = 420,
                      .bannerText = "SAFE DECRYPTED"},
            .events = {{RunEventKind::Step, 0x05, 1.0f / 60.0f, 1},
                       {RunEventKind::Step, 0x02 | 0x10, 0.0163f, 400},
                       {RunEventKind::Key, 'E'},
                       {RunEventKind::Action, static_cast<std::uint32_t>(RunAction::TumblerTap)},
                       {RunEventKind::Assists, 100u << 8},
                       {RunEventKind::Step, 0x45, 0.0f, 1},
                       {RunEventKind::Step, 0x45, 1.0f, 2}},
            .outcome = RunOutcome::Won,
            .score = -15,
            .missionClock = 81.25f,
            .finalState = R"({"step":404,"gameState":3})"};
}

TEST(ReplayFile, WhatIsWrittenReadsBackWholeAndAnHourStaysSmall) {
    RunRecord r = sampleRecord();
    const std::string bytes = encodeReplay(r);
    RunRecord read;
    std::string why;
    ASSERT_TRUE(decodeReplay(bytes, read, why)) << why;
    EXPECT_EQ(read, r);
    EXPECT_EQ(encodeReplay(read), bytes);
    EXPECT_EQ(replaySteps(read), 404u);
    // A real frame clock wanders a little every frame and the player changes
    // what they hold often: the worst a steady hour at 60 updates a second gives.
    r.events.clear();
    for (int i = 0; i < 60 * 60 * 60; ++i) {
        const float dt = 1.0f / 60.0f + static_cast<float>(i % 7) * 1e-5f;
        r.events.push_back({RunEventKind::Step, static_cast<std::uint32_t>(i / 30 % 3), dt, 1});
    }
    EXPECT_LT(encodeReplay(r).size(), 2u << 20);
}

TEST(ReplayFile, EveryAlteredByteAndEveryCutIsRefused) {
    const std::string bytes = encodeReplay(sampleRecord());
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        std::string altered = bytes;
        altered[at] = static_cast<char>(altered[at] ^ 0x01);
        RunRecord read;
        std::string why;
        EXPECT_FALSE(decodeReplay(altered, read, why)) << "byte " << at;
        EXPECT_FALSE(why.empty());
        EXPECT_FALSE(decodeReplay(bytes.substr(0, at), read, why)) << "cut at " << at;
    }
}

TEST(ReplayFile, ValuesNoGameRecordsAreRefusedEvenWithMatchingHashes) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // The sample with one thing changed, encoded.
    const auto encodedWith = [](auto change) {
        RunRecord r = sampleRecord();
        change(r);
        return encodeReplay(r);
    };
    // Bytes the reader judges on their merits: the hashes made to match again.
    const auto resealedWith = [](auto change) {
        std::string bytes = encodeReplay(sampleRecord());
        change(bytes);
        bytes.resize(bytes.size() - 32);
        return bytes + sha256Raw(bytes);
    };
    const struct {
        const char* what;
        std::string bytes;
        const char* why;
    } cases[] = {
        {"a newer version",
         resealedWith([](std::string& b) { b[8] = static_cast<char>(kReplayVersion + 1); }),
         "newer version"},
        {"not a replay", resealedWith([](std::string& b) { b.assign(100, 'x'); }),
         "not a replay file"},
        {"a run longer than any",
         encodedWith([](RunRecord& r) { r.events[1].count = kMaxReplaySteps; }), "longer than"},
        {"a step of no number", encodedWith([nan](RunRecord& r) { r.events[0].dt = nan; }),
         "step length"},
        {"a negative step", encodedWith([](RunRecord& r) { r.events[0].dt = -0.01f; }),
         "step length"},
        {"a step of two seconds", encodedWith([](RunRecord& r) { r.events[0].dt = 2.0f; }),
         "step length"},
        {"left and right at once", encodedWith([](RunRecord& r) { r.events[0].value = 0x03; }),
         "command"},
        {"an unknown action",
         encodedWith([](RunRecord& r) { r.events[3].value = kRunActionCount; }), "action"},
        {"a game speed the options lack",
         encodedWith([](RunRecord& r) { r.events[4].value = 50u << 8; }), "assists"},
        {"a short mission hash", encodedWith([](RunRecord& r) { r.start.missionHash.resize(31); }),
         "mission hash"},
        {"a mission clock of no number", encodedWith([nan](RunRecord& r) { r.missionClock = nan; }),
         "mission clock"},
        {"bytes after the end",
         resealedWith([](std::string& b) { b.insert(b.size() - 64, "extra"); }), "after its end"},
    };
    for (const auto& c : cases) {
        RunRecord read;
        std::string why;
        EXPECT_FALSE(decodeReplay(c.bytes, read, why)) << c.what;
        EXPECT_NE(why.find(c.why), std::string::npos) << c.what << ": " << why;
    }
}

}  // namespace
}  // namespace nj
