// PNG decoding of page images from file-system buffers.
#include "ui/web/images.hpp"

#include <cstring>

#include "ui/web/platform.hpp"
#include "ui/web/url.hpp"

namespace web {

namespace {

struct PngReader {
    const Buffer* bytes;
    std::size_t offset = 0;
};

cairo_status_t readPng(void* closure, unsigned char* out, unsigned int length) {
    auto* reader = static_cast<PngReader*>(closure);
    if (reader->bytes->size() - reader->offset < length) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(out, reader->bytes->data() + reader->offset, length);
    reader->offset += length;
    return CAIRO_STATUS_SUCCESS;
}

cairo_surface_t* decodePng(const Buffer& bytes) {
    PngReader reader{&bytes};
    cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(readPng, &reader);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    return surface;
}

}  // namespace

ImageCache::~ImageCache() {
    for (auto& entry : images_) {
        if (entry.second) cairo_surface_destroy(entry.second);
    }
}

cairo_surface_t* ImageCache::get(const std::string& url) {
    if (auto found = images_.find(url); found != images_.end()) return found->second;
    cairo_surface_t* surface = nullptr;
    const std::string path = filePathOf(url);
    if (fileSystem_ && !path.empty()) {
        if (BufferPtr bytes = fileSystem_->openFile(path); bytes && !bytes->empty()) {
            surface = decodePng(*bytes);
        }
    }
    images_[url] = surface;
    return surface;
}

}  // namespace web
