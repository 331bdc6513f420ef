// Missions from arbitrary bytes (a map token when they decode as one, else JSON encoded as the
// campaign tool does), built as a campaign entry, played a few frames with the operative walking
// and each frame's scene recorded on the CPU: a mission may be refused, but nothing may crash,
// hang (absurd coordinates once froze the first frame) or reach undefined behaviour.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "data/map_token.hpp"
#include "game/game.hpp"
#include "render/scene/scene.hpp"

namespace {

// A frame's vertex memory in ordinary memory; the draws themselves go nowhere.
struct CpuFrame final : nj::Batch {
    std::vector<nj::Vertex> vertices = std::vector<nj::Vertex>(nj::kVerticesPerSlot);
    void record(const nj::Game& game, const nj::SceneAccessibility& accessibility) {
        startBatches(vertices.data(), static_cast<std::uint32_t>(vertices.size()));
        nj::drawScene(*this, game, accessibility);
        flushBatch();
        stopBatches();
    }
    void recordDraw(std::uint32_t, std::uint32_t) override {}
    void recordPipelineBind(nj::Pipeline) override {}
};

std::string tokenFor(const std::string& bytes) {
    try {
        (void)nj::decodeMapToken(bytes);
        return bytes;
    } catch (const std::exception&) {
        // Nothing encodes as no mission: the entry stays empty, as a campaign file may leave it.
        return bytes.empty() ? std::string() : nj::encodeMapToken(bytes, nj::mapSaltFor(bytes));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static CpuFrame frame;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    nj::Game game(nullptr);
    game.campaignMaps = {tokenFor(bytes)};
    game.loadMission(true);
    game.onKeyDown(nj::vk::kD);
    game.onKeyDown(nj::vk::kS);
    // The last frame is drawn with every accessibility choice on as well.
    constexpr nj::SceneAccessibility kEveryChoice{true, true, true};
    for (int step = 0; step < 3; ++step) {
        game.update(1.0f / 60.0f);
        frame.record(game, {});
        if (step == 2) frame.record(game, kEveryChoice);
    }
    return 0;
}
