// Missions from arbitrary bytes, played and drawn: the bytes are a map token
// when they decode as one, else the mission's JSON, encoded the way the
// campaign tool does. The game builds the mission as it would a campaign
// entry, runs a few frames of its rules with the operative walking, and each
// frame's whole scene is recorded on the CPU. A mission may be refused, but
// nothing may crash, hang (absurd coordinates once froze the first frame) or
// reach undefined behaviour.
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
class CpuFrame final : public nj::Batch {
  public:
    CpuFrame() : vertices_(nj::kVerticesPerSlot) {}
    void record(const nj::Game& game, const nj::SceneAccessibility& accessibility) {
        startBatches(vertices_.data(), static_cast<std::uint32_t>(vertices_.size()));
        nj::drawScene(*this, game, accessibility);
        flushBatch();
        stopBatches();
    }

  protected:
    void recordDraw(std::uint32_t, std::uint32_t) override {}
    void recordPipelineBind(nj::Pipeline) override {}

  private:
    std::vector<nj::Vertex> vertices_;
};

std::string tokenFor(const std::string& bytes) {
    try {
        (void)nj::decodeMapToken(bytes);
        return bytes;
    } catch (const std::exception&) {
        // Nothing encodes as no mission: the entry stays empty, as a
        // campaign file may leave it.
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
