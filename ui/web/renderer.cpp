// The per-frame drive of every view: loads and timers, animation frames, paint.
#include "ui/web/renderer.hpp"

#include "ui/web/platform.hpp"

namespace web {

std::unique_ptr<Renderer> Renderer::create() {
    return std::unique_ptr<Renderer>(new Renderer);
}

std::shared_ptr<View> Renderer::createView(std::uint32_t width, std::uint32_t height,
                                           const ViewConfig& config) {
    if (config.accelerated) return nullptr;
    auto view = std::make_shared<View>(width, height, config);
    views_.push_back(view);
    return view;
}

template <typename Step>
void Renderer::forEachView(const Step& step) {
    // Views die with their last owner; forget them lazily.
    std::erase_if(views_, [](const std::weak_ptr<View>& view) { return view.expired(); });
    // A step may run page scripts, which never create views; iterating a
    // copy still keeps a view alive for the length of its own step.
    const auto live = views_;
    for (const auto& weak : live) {
        if (auto view = weak.lock()) step(*view);
    }
}

void Renderer::update() {
    const double now = Platform::instance().now();
    forEachView([now](View& view) { view.update(now); });
}

void Renderer::refreshDisplay(std::uint32_t displayId) {
    if (displayId != 0) return;
    const double now = Platform::instance().now();
    forEachView([now](View& view) { view.runAnimationFrames(now); });
}

void Renderer::render() {
    forEachView([](View& view) { view.paint(); });
}

}  // namespace web
