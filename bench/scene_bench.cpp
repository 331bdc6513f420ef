// Cost of recording one Playing frame of the play field into a CPU batch: the
// built-in default mission, and a stress mission far busier than any shipped
// one (64 patrolling guards, 16 cameras, 32 lasers, 40 walls, 30 furniture).
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "bench/stress_mission.hpp"
#include "data/map_token.hpp"
#include "game/game.hpp"
#include "render/scene/scene.hpp"
#include "tests/render/cpu_batch.hpp"

namespace {

// Lets the mission run a second so guards, cameras and effects are mid-motion.
void warmUp(nj::Game& game) {
    for (int i = 0; i < 60; ++i) {
        game.gameState = nj::GameState::Playing;
        game.detection = 0.0f;
        game.update(1.0f / 60.0f);
    }
    game.gameState = nj::GameState::Playing;
}

void recordFrames(benchmark::State& state, const nj::Game& game) {
    nj::test::CpuBatch batch;
    uint32_t vertices = 0;
    for (auto _ : state) {
        batch.begin();
        nj::drawScene(batch, game);
        vertices = batch.batchFirstVertex() + batch.batchVertexCount();
        batch.end();
        batch.log.clear();
        benchmark::DoNotOptimize(vertices);
    }
    state.counters["vertices"] = vertices;
}

void BM_RecordDefaultMission(benchmark::State& state) {
    nj::Game game(nullptr);
    game.loadMission(true);
    warmUp(game);
    recordFrames(state, game);
}
BENCHMARK(BM_RecordDefaultMission)->Unit(benchmark::kMicrosecond);

void BM_RecordStressMission(benchmark::State& state) {
    nj::Game game(nullptr);
    const std::string json = nj::bench::stressMissionJson();
    game.campaignMaps = {nj::encodeMapToken(json, nj::mapSaltFor(json))};
    game.loadMission(true);
    if (game.guards.size() != 64) state.SkipWithError("stress mission did not build");
    warmUp(game);
    // A busy moment: sparks, smoke and a banner on top of the crowd.
    for (int i = 0; i < 8; ++i) game.spawnBurst(100.0f + 100.0f * i, 300.0f, nj::kCyan, 24);
    for (int i = 0; i < 12; ++i) game.puffs.push_back({60.0f * i, 400, 0, 0, 14, 0.8f, 0.8f, 1});
    game.showBanner("STRESS", 1.0f, nj::kGold);
    game.bannerTimer = 0.5f;
    game.detection = 0.6f;
    recordFrames(state, game);
    state.counters["guards"] = static_cast<double>(game.guards.size());
}
BENCHMARK(BM_RecordStressMission)->Unit(benchmark::kMicrosecond);

}  // namespace
