// scene-preview: a mission's play field drawn through the game's own scene
// renderer in the game window, for looking at what the scene draws.
//
// Usage: scene-preview [--mission default|showcase] [--theme NAME]
//                      [--state briefing|playing|paused|complete|failed] [--effects]
//                      [--frames N] [--size WxH] [--screenshot PATH]
//                      [--colour-glyphs] [--high-contrast-cones] [--reduced-flashing]
//                      [--large-labels]

#include <SDL.h>
#include <SDL_vulkan.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/sdl_vulkan_surface.hpp"
#include "data/map_token.hpp"
#include "game/game.hpp"
#include "render/scene/scene_renderer.hpp"
#include "render/vulkan_renderer.hpp"
#include "tools/scene-preview/showcase_mission.hpp"

namespace {

constexpr const char* kWindowTitle = "NIGHTJAR : Glass Harbor [Vulkan Cross-Platform]";
constexpr float kStep = 1.0f / 60.0f;

struct Options {
    std::string mission = "default";
    std::string theme = "casino";
    std::string state = "playing";
    bool effects = false;
    int frames = 90;
    int width = 1280;
    int height = 720;
    std::string screenshot;
    nj::SceneAccessibility accessibility;
};

bool parseOptions(int argc, char** argv, Options& out) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--mission" && hasValue) {
            out.mission = argv[++i];
        } else if (arg == "--theme" && hasValue) {
            out.theme = argv[++i];
        } else if (arg == "--state" && hasValue) {
            out.state = argv[++i];
        } else if (arg == "--effects") {
            out.effects = true;
        } else if (arg == "--frames" && hasValue) {
            out.frames = std::atoi(argv[++i]);
        } else if (arg == "--size" && hasValue) {
            if (std::sscanf(argv[++i], "%dx%d", &out.width, &out.height) != 2) return false;
        } else if (arg == "--screenshot" && hasValue) {
            out.screenshot = argv[++i];
        } else if (arg == "--colour-glyphs") {
            out.accessibility.colourGlyphs = true;
        } else if (arg == "--high-contrast-cones") {
            out.accessibility.highContrastCones = true;
        } else if (arg == "--reduced-flashing") {
            out.accessibility.reducedFlashing = true;
        } else if (arg == "--large-labels") {
            out.accessibility.largeLabels = true;
        } else {
            return false;
        }
    }
    const bool knownMission = out.mission == "default" || out.mission == "showcase";
    return knownMission && out.frames > 0 && out.width > 0 && out.height > 0;
}

bool stateNamed(const std::string& name, nj::GameState& out) {
    if (name == "briefing")
        out = nj::GameState::Briefing;
    else if (name == "playing")
        out = nj::GameState::Playing;
    else if (name == "paused")
        out = nj::GameState::Paused;
    else if (name == "complete")
        out = nj::GameState::MissionComplete;
    else if (name == "failed")
        out = nj::GameState::MissionFailed;
    else
        return false;
    return true;
}

// Sparks, a noise ring, smoke, a shot, an alarm and a banner, so the
// transient effects show in the picture too.
void stirUpEffects(nj::Game& game) {
    game.spawnBurst(480, 250, nj::kCyan, 24);
    game.emitNoise(game.playerPos.x, game.playerPos.y, 90, true);
    game.puffs.push_back({420, 330, 6, -4, 16, 0.9f, 0.9f, 1});
    game.tracers.push_back({700, 400, 560, 330, 0.2f, 0.25f});
    game.impacts.push_back({560, 330, -1, 0, 1.0f, 1.2f});
    game.alarmActive = 1;
    game.alarmTimer = 5;
    game.alarmPos = {560, 330};
    game.detection = 0.7f;
    game.showBanner("PREVIEW", 1.0f, nj::kRuby);
}

// The game's frame without its page: a rebuilt swapchain skips it.
void drawFrame(nj::VulkanRenderer& renderer, nj::SceneRenderer& scene, const nj::Game& game) {
    if (!renderer.beginFrame()) return;
    scene.draw(game);
    renderer.finishRecording();
    renderer.submitAndPresent();
}

int run(SDL_Window* window, const Options& options, nj::GameState state) {
    nj::VulkanRenderer renderer;
    int drawableWidth = 0, drawableHeight = 0;
    SDL_Vulkan_GetDrawableSize(window, &drawableWidth, &drawableHeight);
    if (!renderer.init(nj::vulkanSurfaceFor(window), drawableWidth, drawableHeight)) {
        std::fprintf(stderr, "scene-preview: the renderer could not start\n");
        return 1;
    }
    renderer.setFrameCapture(!options.screenshot.empty());
    int status = 0;
    {
        nj::SceneRenderer scene(renderer);
        scene.setAccessibility(options.accessibility);
        nj::Game game(nullptr);
        if (options.mission == "showcase") {
            const std::string json = nj::preview::showcaseMissionJson(options.theme);
            game.campaignMaps = {nj::encodeMapToken(json, nj::mapSaltFor(json))};
        }
        game.loadMission(state != nj::GameState::Briefing);
        game.gameState = state;
        for (int frame = 0; frame < options.frames; ++frame) {
            if (!nj::pumpToolWindowEvents(window, renderer)) break;
            if (options.effects && frame == options.frames - 12) stirUpEffects(game);
            game.update(kStep);
            drawFrame(renderer, scene, game);
        }
        if (!options.screenshot.empty() && !renderer.saveLastFrame(options.screenshot)) {
            std::fprintf(stderr, "scene-preview: could not save %s\n", options.screenshot.c_str());
            status = 1;
        }
    }
    renderer.shutdown();
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    nj::GameState state = nj::GameState::Playing;
    if (!parseOptions(argc, argv, options) || !stateNamed(options.state, state)) {
        std::fprintf(stderr,
                     "usage: scene-preview [--mission default|showcase] [--theme NAME] "
                     "[--state briefing|playing|paused|complete|failed] [--effects] "
                     "[--frames N] [--size WxH] [--screenshot PATH] [--colour-glyphs] "
                     "[--high-contrast-cones] [--reduced-flashing] [--large-labels]\n");
        return 2;
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "scene-preview: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Window* window = SDL_CreateWindow(kWindowTitle, SDL_WINDOWPOS_CENTERED,
                                          SDL_WINDOWPOS_CENTERED, options.width, options.height,
                                          SDL_WINDOW_VULKAN | SDL_WINDOW_ALLOW_HIGHDPI);
    if (window == nullptr) {
        std::fprintf(stderr, "scene-preview: %s\n", SDL_GetError());
        SDL_Quit();
        return 1;
    }
    const int status = run(window, options, state);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return status;
}
