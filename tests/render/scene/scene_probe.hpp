#pragma once
// Draws parts of the scene into a CPU batch and finds what was drawn by colour,
// position and blend pipeline.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "game/game.hpp"
#include "render/scene/scene.hpp"
#include "render/scene/scene_palette.hpp"
#include "tests/render/cpu_batch.hpp"

namespace nj::test {

inline constexpr float kColorTol = 1e-4f;
inline constexpr float kPosTol = 2e-3f;  // canvas units after the trip through device space

inline bool sameColor(const Color& a, const Color& b) {
    return std::fabs(a.r - b.r) < kColorTol && std::fabs(a.g - b.g) < kColorTol &&
           std::fabs(a.b - b.b) < kColorTol && std::fabs(a.a - b.a) < kColorTol;
}

// One recorded drawing: its vertices in canvas units and its blend switches.
struct Recording {
    std::vector<Vertex> vertices;
    bool additiveAtEnd = false;
    int additiveBinds = 0, alphaBinds = 0;

    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    std::size_t count(const Color& c) const {
        return static_cast<std::size_t>(
            std::count_if(vertices.begin(), vertices.end(),
                          [&](const Vertex& v) { return sameColor(v.color, c); }));
    }
    bool has(const Color& c) const { return count(c) > 0; }
    std::vector<Vertex> withColor(const Color& c) const {
        std::vector<Vertex> out;
        for (const Vertex& v : vertices)
            if (sameColor(v.color, c)) out.push_back(v);
        return out;
    }
    // The last n vertices.
    std::vector<Vertex> tail(std::size_t n) const {
        if (n > vertices.size()) return {};
        return {vertices.end() - static_cast<std::ptrdiff_t>(n), vertices.end()};
    }
};

inline Recording record(const std::function<void(Batch&)>& draw) {
    CpuBatch batch;
    batch.begin();
    draw(batch);
    Recording r;
    r.additiveAtEnd = batch.additiveBlend();
    batch.flushBatch();
    r.vertices = batch.written();
    r.additiveBinds =
        static_cast<int>(std::count(batch.log.begin(), batch.log.end(), "bind additive"));
    r.alphaBinds = static_cast<int>(std::count(batch.log.begin(), batch.log.end(), "bind alpha"));
    return r;
}

inline Recording record(void (*step)(Batch&, const Game&), const Game& game) {
    return record([&](Batch& b) { step(b, game); });
}

struct Bounds {
    float minX = 1e30f, minY = 1e30f, maxX = -1e30f, maxY = -1e30f;
};

inline Bounds boundsOf(const std::vector<Vertex>& vs) {
    Bounds b;
    for (const Vertex& v : vs) {
        b.minX = std::min(b.minX, v.x);
        b.minY = std::min(b.minY, v.y);
        b.maxX = std::max(b.maxX, v.x);
        b.maxY = std::max(b.maxY, v.y);
    }
    return b;
}

inline bool sameVertex(const Vertex& a, const Vertex& b) {
    return std::fabs(a.x - b.x) <= kPosTol && std::fabs(a.y - b.y) <= kPosTol &&
           sameColor(a.color, b.color);
}

inline bool sameVertices(const std::vector<Vertex>& a, const std::vector<Vertex>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), sameVertex);
}

// A game in play with no world of its own: the tests add what they need.
inline void clearWorld(Game& game) {
    game.gameState = GameState::Playing;
    game.dust.clear();
    game.altExitActive = 0;
    game.gate = {-500, -500, 1, 1};
    game.cardTaken = 1;
}

struct ClearedWorld : ::testing::Test {
    Game game{nullptr};
    void SetUp() override { clearWorld(game); }
    Guard& addGuard(float x, float y) {
        Guard& g = game.guards.emplace_back();
        g.x = x;
        g.y = y;
        return g;
    }
};

}  // namespace nj::test
