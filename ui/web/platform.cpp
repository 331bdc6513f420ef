// The process-wide host hooks of the HTML engine and its default clock.
#include "ui/web/platform.hpp"

#include <chrono>

#include "ui/web/font_faces.hpp"

namespace web {

namespace {

double steadySeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

BufferPtr makeBuffer(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return std::make_shared<const Buffer>(bytes, bytes + size);
}

FontLoader::~FontLoader() {
    SharedFaces::instance().forget(this);
}

Platform& Platform::instance() {
    static Platform platform;
    return platform;
}

Platform::Platform() {
    config_.clock = steadySeconds;
}

void Platform::setConfig(const Config& config) {
    config_ = config;
    if (!config_.clock) config_.clock = steadySeconds;
}

double Platform::now() const {
    return config_.clock();
}

void Platform::log(LogLevel level, const std::string& message) const {
    if (logger_) logger_->logMessage(level, message);
}

}  // namespace web
