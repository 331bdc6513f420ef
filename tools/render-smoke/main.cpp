// render-smoke: the renderer brought up in the game's window, drawing a test picture.
//
// Usage: render-smoke [--frames N] [--size WxH] [--resize-every N] [--screenshot PATH]

#include <SDL.h>
#include <SDL_vulkan.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/sdl_vulkan_surface.hpp"
#include "render/vulkan_renderer.hpp"
#include "tools/render-smoke/smoke_scene.hpp"

namespace {

constexpr const char* kWindowTitle = "NIGHTJAR : Glass Harbor [Vulkan Cross-Platform]";
constexpr int kOverlayWidth = 640;  // smaller than the default texture: forces one rebuild
constexpr int kOverlayHeight = 360;
constexpr int kOverlayRowBytes = kOverlayWidth * 4 + 64;  // padded rows, as some pages give

struct Options {
    int frames = 120;
    int width = 1280;
    int height = 720;
    int resizeEvery = 0;  // frames between window size changes; 0 keeps the size
    std::string screenshot;
};

bool parseOptions(int argc, char** argv, Options& out) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--frames" && hasValue) {
            out.frames = std::atoi(argv[++i]);
        } else if (arg == "--size" && hasValue) {
            if (std::sscanf(argv[++i], "%dx%d", &out.width, &out.height) != 2) return false;
        } else if (arg == "--resize-every" && hasValue) {
            out.resizeEvery = std::atoi(argv[++i]);
        } else if (arg == "--screenshot" && hasValue) {
            out.screenshot = argv[++i];
        } else {
            return false;
        }
    }
    return out.frames > 0 && out.width > 0 && out.height > 0;
}

// Cycles the window through sizes of every shape, to shake out swapchain rebuilds.
void resizeForStorm(SDL_Window* window, int step) {
    static constexpr int kSizes[][2] = {{1000, 700}, {1280, 1000}, {640, 360},
                                        {1200, 500}, {333, 777},   {1280, 720}};
    const auto& size = kSizes[step % (sizeof(kSizes) / sizeof(kSizes[0]))];
    SDL_SetWindowSize(window, size[0], size[1]);
}

int run(SDL_Window* window, const Options& options) {
    nj::VulkanRenderer renderer;
    int drawableWidth = 0, drawableHeight = 0;
    SDL_Vulkan_GetDrawableSize(window, &drawableWidth, &drawableHeight);
    if (!renderer.init(nj::vulkanSurfaceFor(window), drawableWidth, drawableHeight)) {
        std::fprintf(stderr, "render-smoke: the renderer could not start\n");
        return 1;
    }
    renderer.setFrameCapture(!options.screenshot.empty());
    const auto overlay = nj::smoke::makeOverlay(kOverlayWidth, kOverlayHeight, kOverlayRowBytes);

    for (int frame = 0; frame < options.frames; ++frame) {
        if (options.resizeEvery > 0 && frame > 0 && frame % options.resizeEvery == 0) {
            resizeForStorm(window, frame / options.resizeEvery);
        }
        if (!nj::pumpToolWindowEvents(window, renderer)) break;
        if (!renderer.beginFrame()) continue;
        nj::smoke::drawScene(renderer, frame);
        renderer.drawOverlayBitmap(overlay.data(), kOverlayWidth, kOverlayHeight, kOverlayRowBytes);
        renderer.finishRecording();
        renderer.submitAndPresent();
    }

    int status = 0;
    if (!options.screenshot.empty() && !renderer.saveLastFrame(options.screenshot)) {
        std::fprintf(stderr, "render-smoke: could not save %s\n", options.screenshot.c_str());
        status = 1;
    }
    renderer.shutdown();
    renderer.shutdown();  // a second call must find nothing left
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: render-smoke [--frames N] [--size WxH] [--resize-every N] "
                     "[--screenshot PATH]\n");
        return 2;
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "render-smoke: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Window* window = SDL_CreateWindow(
        kWindowTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, options.width, options.height,
        SDL_WINDOW_VULKAN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    if (window == nullptr) {
        std::fprintf(stderr, "render-smoke: %s\n", SDL_GetError());
        SDL_Quit();
        return 1;
    }
    const int status = run(window, options);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return status;
}
