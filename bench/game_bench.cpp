// Cost of one simulation step: the built-in default mission, and the stress
// mission of bench/stress_mission.hpp.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "bench/stress_mission.hpp"
#include "data/map_token.hpp"
#include "game/game.hpp"

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

}  // namespace
