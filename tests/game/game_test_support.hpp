#pragma once
// A headless game with a cue recorder in a scratch directory of its own.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "data/map_token.hpp"
#include "game/enum_names.hpp"
#include "game/game.hpp"
#include "game/rules_math.hpp"
#include "game/run_recorder.hpp"
#include "tests/support/scratch_dir.hpp"

namespace nj::testing {

class RecordingAudio final : public AudioSink {
  public:
    void playCue(int cue) override {
        if (enabled_) cues.push_back(cue);
    }
    bool enabled() const override { return enabled_; }
    void setEnabled(bool on) override { enabled_ = on; }
    int count(int cue) const { return static_cast<int>(std::count(cues.begin(), cues.end(), cue)); }

    std::vector<int> cues;

  private:
    bool enabled_ = true;
};

inline std::string tokenFor(const std::string& missionJson) {
    return encodeMapToken(missionJson, mapSaltFor(missionJson));
}

// The text of shipped mission `index` (0 is mission1.json).
inline std::string shippedMission(std::size_t index) {
    return test::fileText(std::string(NJ_SHIPPED_MISSIONS) + "/mission" +
                          std::to_string(index + 1) + ".json");
}

// Guard states by the names missions and the sim output use.
inline std::string stateOf(const Guard& g) {
    return std::string(guardStateName(g.state));
}

class GameTest : public ::testing::Test {
  protected:
    static constexpr float kDt = 1.0f / 60.0f;

    GameTest() {
        game.quitHook = [this] { ++quits; };
    }

    // Play on the built-in world (no walls, guards or devices) at (x, y).
    void playAt(float x, float y) {
        game.gameState = GameState::Playing;
        game.playerPos = {x, y};
    }
    void steps(int n, float dt = kDt) {
        for (int i = 0; i < n; ++i) game.update(dt);
    }
    void hold(std::uint32_t key) { game.heldKeys.insert(key); }
    // How far a step of `dt` to the right goes from (100, 300) with the held keys.
    float stepRight(float dt) {
        playAt(100.0f, 300.0f);
        hold(vk::kD);
        game.update(dt);
        return game.playerPos.x - 100.0f;
    }
    // Approaches by number (0 service corridor .. 3 VIP entry), without a rebuild.
    void useApproach(int approach) {
        game.approach = static_cast<decltype(game.approach)>(approach);
    }
    int approach() const { return static_cast<int>(game.approach); }
    // An active phase-two directive of the given type at (x, y).
    Objective& directive(const char* type, float x, float y) {
        Objective& o = game.dynamicObjective;
        o.type = objectiveTypeNamed(type);
        o.active = 1;
        o.x = x;
        o.y = y;
        return o;
    }
    // Installs the missions as the campaign and loads mission 0 for the briefing.
    void useCampaign(const std::vector<std::string>& missionJsons) {
        std::vector<std::string> tokens;
        for (const std::string& json : missionJsons) tokens.push_back(tokenFor(json));
        game.setCampaignMaps(std::move(tokens));
        game.missionIndex = 0;
        game.loadMission(false);
    }
    static Guard guardAt(float x, float y, float facing) {
        Guard g;
        g.x = g.homeX = x;
        g.y = g.homeY = y;
        g.facing = g.homeFacing = g.drawFacing = facing;
        return g;
    }

    test::ScratchDir scratch;
    RecordingAudio audio;
    Game game{&audio};
    int quits = 0;  // times the game asked to quit
};

// The shipped campaign in `game`, which records every run, and in `twin`; neither writes a file.
class RecordedRunTest : public GameTest {
  protected:
    void SetUp() override {
        for (std::size_t i = 0; i < 4; ++i) tokens.push_back(tokenFor(shippedMission(i)));
        for (Game* g : {&game, &twin}) {
            g->setCampaignMaps(tokens);
            g->savePath.clear();
            g->recordsPath.clear();
        }
        recorder.onRunEnded = [this](RunRecord&& run) { runs.push_back(std::move(run)); };
        game.recorder = &recorder;
    }

    SilentAudio quiet;
    Game twin{&quiet};
    std::vector<std::string> tokens;
    RunRecorder recorder;
    std::vector<RunRecord> runs;
};

}  // namespace nj::testing
