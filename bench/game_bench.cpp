// Cost of one simulation step: the built-in default mission, and the stress
// mission of bench/stress_mission.hpp.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "bench/stress_mission.hpp"
#include "data/map_token.hpp"
#include "data/mission_text.hpp"
#include "data/replay_file.hpp"
#include "game/game.hpp"
#include "game/mission_editing.hpp"
#include "game/mission_playability.hpp"
#include "game/run_recorder.hpp"

namespace {

// Keeps the mission running: the operative stands in the open, so guards and
// cameras keep finding it; the failure it would cause is undone each step.
void stepPlaying(benchmark::State& state, nj::Game& game) {
    const nj::Vec2 start = game.playerPos;
    for (auto _ : state) {
        game.gameState = nj::GameState::Playing;
        game.detection = 0.0f;
        game.playerPos = start;
        game.update(1.0f / 60.0f);
        benchmark::DoNotOptimize(game.detection);
    }
}

void BM_UpdateDefaultMission(benchmark::State& state) {
    nj::Game game(nullptr);
    game.loadMission(true);
    game.heldKeys.insert('D');
    stepPlaying(state, game);
}
BENCHMARK(BM_UpdateDefaultMission);

void BM_UpdateStressMission(benchmark::State& state) {
    nj::Game game(nullptr);
    const std::string json = nj::bench::stressMissionJson();
    game.campaignMaps = {nj::encodeMapToken(json, nj::mapSaltFor(json))};
    game.loadMission(true);
    if (game.guards.size() != 64) state.SkipWithError("stress mission did not build");
    stepPlaying(state, game);
    state.counters["guards"] = static_cast<double>(game.guards.size());
}
BENCHMARK(BM_UpdateStressMission)->Unit(benchmark::kMicrosecond);

// What recording costs a frame: the worst case, where the step length
// wanders every frame (a real frame clock) so no update repeats the last.
// The record is started afresh every hour of updates, as runs end.
void BM_RecordOneUpdate(benchmark::State& state) {
    nj::Game game(nullptr);
    nj::RunRecorder recorder;
    constexpr std::int64_t kHourOfUpdates = 60 * 60 * 60;
    std::int64_t updates = 0;
    std::size_t hourBytes = 0;
    recorder.onRunEnded = [&hourBytes](nj::RunRecord&& run) {
        hourBytes = nj::encodeReplay(run).size();
    };
    recorder.begin(game);
    for (auto _ : state) {
        const float dt = 1.0f / 60.0f + static_cast<float>(updates % 7) * 1e-5f;
        nj::PlayerCommand command;
        command.moveX = static_cast<std::int8_t>(updates / 40 % 3 - 1);
        recorder.step(dt, command, 100u << 8);
        if (++updates % kHourOfUpdates == 0) {
            state.PauseTiming();
            recorder.end(game, nj::RunOutcome::Won);
            recorder.begin(game);
            state.ResumeTiming();
        }
    }
    state.counters["hour_bytes"] = static_cast<double>(hourBytes);
}
BENCHMARK(BM_RecordOneUpdate)->Iterations(4 * 60 * 60 * 60);

// The editor's live check after a change: everything the checker says (the
// text, reachability from every spawn, the fair start) and the reachable area
// the field shades. It runs beside the frame, never on it.
// Argument 0: the stress mission, whose text errors stop the check early;
// 1: a new mission, which passes and so is searched and played too.
void BM_EditorLiveCheck(benchmark::State& state) {
    const std::string json =
        state.range(0) == 0 ? nj::bench::stressMissionJson() : nj::newMissionText();
    for (auto _ : state) {
        benchmark::DoNotOptimize(nj::checkMission(json, 0));
        benchmark::DoNotOptimize(nj::reachableArea(json, 0));
    }
}
BENCHMARK(BM_EditorLiveCheck)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The preview the editor rebuilds on the frame path, for each step of a drag.
void BM_EditorPreviewRebuild(benchmark::State& state) {
    const nj::JsonValue mission = nj::parseJson(nj::bench::stressMissionJson());
    for (auto _ : state)
        benchmark::DoNotOptimize(nj::gameForMission(nj::formatMissionText(mission), 0, 0, nullptr));
}
BENCHMARK(BM_EditorPreviewRebuild)->Unit(benchmark::kMillisecond);

}  // namespace
