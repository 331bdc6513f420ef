#pragma once
// Draws parts of the scene into a CPU batch and finds what was drawn by colour, place and blend.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "game/game.hpp"
#include "render/scene/scene.hpp"
#include "render/scene/scene_palette.hpp"
#include "tests/render/cpu_batch.hpp"

namespace nj::test {

// One recorded drawing: its vertices in canvas units and its blend switches.
struct Recording {
    std::vector<Vertex> vertices;
    bool additiveAtEnd = false;
    int additiveBinds = 0, alphaBinds = 0;

    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    std::size_t count(const Color& c) const { return withColor(c).size(); }
    bool has(const Color& c) const { return count(c) > 0; }
    std::vector<Vertex> withColor(const Color& c) const {
        std::vector<Vertex> out;
        for (const Vertex& v : vertices)
            if (sameColor(v.color, c)) out.push_back(v);
        return out;
    }
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
    r.additiveBinds = static_cast<int>(std::ranges::count(batch.log, "bind additive"));
    r.alphaBinds = static_cast<int>(std::ranges::count(batch.log, "bind alpha"));
    return r;
}

inline Recording record(void (*step)(Batch&, const Game&), const Game& game) {
    return record([&](Batch& b) { step(b, game); });
}

inline Recording record(void (*step)(Batch&, const Game&, const SceneAccessibility&),
                        const Game& game, const SceneAccessibility& choices) {
    return record([&](Batch& b) { step(b, game, choices); });
}

// Where a part's own drawing starts inside a frame (npos when absent).
inline std::size_t offsetOf(const Recording& frame, const Recording& part) {
    const std::vector<Vertex>& alone = part.vertices;
    const auto at = std::search(frame.vertices.begin(), frame.vertices.end(), alone.begin(),
                                alone.end(), sameVertex);
    return alone.empty() || at == frame.vertices.end()
               ? Recording::npos
               : static_cast<std::size_t>(at - frame.vertices.begin());
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
