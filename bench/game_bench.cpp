// Cost of one simulation step: the built-in default mission, and a stress
// mission far busier than any shipped one (64 patrolling guards, 16 cameras,
// 32 lasers, 40 walls, 30 pieces of furniture).
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "data/map_token.hpp"
#include "game/game.hpp"

namespace {

std::string stressMissionJson() {
    std::ostringstream j;
    j << R"({"name":"STRESS","player":{"x":480,"y":270},"serviceSpawn":{"x":480,"y":270},)";
    j << R"("walls":[)";
    for (int i = 0; i < 40; ++i) {  // an 8 x 5 grid of pillars
        j << (i ? "," : "") << R"({"x":)" << 40 + (i % 8) * 115 << R"(,"y":)" << 40 + (i / 8) * 105
          << R"(,"w":14,"h":14})";
    }
    j << R"(],"furniture":[)";
    for (int i = 0; i < 30; ++i) {
        j << (i ? "," : "") << R"({"x":)" << 95 + (i % 10) * 85 << R"(,"y":)" << 90 + (i / 10) * 160
          << R"(,"w":30,"h":18,"cover":)" << (i % 3 ? "true" : "false") << "}";
    }
    j << R"(],"lasers":[)";
    for (int i = 0; i < 32; ++i) {
        j << (i ? "," : "") << R"({"x":)" << 20 + i * 29 << R"(,"y":20,"w":3,"h":40,"axis":"y",)"
          << R"("min":20,"max":480,"speed":)" << (i % 2 ? 60 : 0) << "}";
    }
    j << R"(],"cameras":[)";
    for (int i = 0; i < 16; ++i) {
        j << (i ? "," : "") << R"({"x":)" << 30 + i * 60 << R"(,"y":)" << (i % 2 ? 30 : 510)
          << R"(,"angle":)" << (i % 2 ? 1.57 : -1.57) << R"(,"range":160})";
    }
    j << R"(],"guards":[)";
    for (int i = 0; i < 64; ++i) {
        const int x = 60 + (i % 16) * 56, y = 70 + (i / 16) * 120;
        j << (i ? "," : "") << R"({"x":)" << x << R"(,"y":)" << y << R"(,"speed":55,"patrol":[)"
          << R"({"x":)" << x << R"(,"y":)" << y << R"(},{"x":)" << x + 40 << R"(,"y":)" << y
          << R"(},{"x":)" << x + 40 << R"(,"y":)" << y + 50 << R"(},{"x":)" << x << R"(,"y":)"
          << y + 50 << "}]}";
    }
    j << "]}";
    return j.str();
}

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
    nj::Game game(nullptr, nullptr);
    game.loadMission(true);
    game.heldKeys.insert('D');
    stepPlaying(state, game);
}
BENCHMARK(BM_UpdateDefaultMission);

void BM_UpdateStressMission(benchmark::State& state) {
    nj::Game game(nullptr, nullptr);
    const std::string json = stressMissionJson();
    game.campaignMaps = {nj::encodeMapToken(json, nj::mapSaltFor(json))};
    game.loadMission(true);
    if (game.guards.size() != 64) state.SkipWithError("stress mission did not build");
    stepPlaying(state, game);
    state.counters["guards"] = static_cast<double>(game.guards.size());
}
BENCHMARK(BM_UpdateStressMission)->Unit(benchmark::kMicrosecond);

}  // namespace
