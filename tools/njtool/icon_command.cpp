// njtool icon SOURCE.png SIZE OUT.png: the game's logo scaled to one of the
// square sizes a desktop's icon theme asks for, so the menu entry shows the
// same picture as the window, drawn at each size rather than stretched by the
// desktop.
#include <cairo.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>

#include "cli_io.hpp"
#include "data/regular_file.hpp"

namespace njtool {

namespace {

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

// Icon themes list sizes from 16 to 512; anything else is a typing mistake.
constexpr int kSmallestIcon = 16;
constexpr int kLargestIcon = 1024;
// A logo is tens of kilobytes; a source past this is not one.
constexpr std::size_t kLogoMaxBytes = 16 * 1024 * 1024;

struct PngBytes {
    const std::string& bytes;
    std::size_t offset = 0;
};

cairo_status_t readPngBytes(void* closure, unsigned char* data, unsigned int length) {
    auto* source = static_cast<PngBytes*>(closure);
    if (source->bytes.size() - source->offset < length) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, source->bytes.data() + source->offset, length);
    source->offset += length;
    return CAIRO_STATUS_SUCCESS;
}

int parseIconSize(const std::string& text) {
    char* end = nullptr;
    const long size = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || size < kSmallestIcon || size > kLargestIcon) {
        throw UsageError("icon: SIZE must be a number of pixels from " +
                         std::to_string(kSmallestIcon) + " to " + std::to_string(kLargestIcon));
    }
    return static_cast<int>(size);
}

// Read as the game reads its files: a folder, a named pipe or a huge file in
// the logo's place is refused, never waited on.
Surface readLogo(const std::string& path) {
    std::string bytes;
    if (!nj::readRegularFile(path, kLogoMaxBytes, bytes)) {
        throw std::runtime_error("cannot read " + path + " (not a regular file of at most " +
                                 std::to_string(kLogoMaxBytes) + " bytes)");
    }
    PngBytes source{bytes};
    Surface logo(cairo_image_surface_create_from_png_stream(readPngBytes, &source),
                 &cairo_surface_destroy);
    if (cairo_surface_status(logo.get()) != CAIRO_STATUS_SUCCESS ||
        cairo_image_surface_get_width(logo.get()) <= 0 ||
        cairo_image_surface_get_height(logo.get()) <= 0) {
        throw std::runtime_error("cannot read PNG " + path);
    }
    return logo;
}

// The logo fitted inside a size x size square, centred, its aspect kept; the
// rest stays transparent.
Surface scaledIcon(cairo_surface_t* logo, int size) {
    Surface icon(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size),
                 &cairo_surface_destroy);
    const double width = cairo_image_surface_get_width(logo);
    const double height = cairo_image_surface_get_height(logo);
    const double scale = size / (width > height ? width : height);
    cairo_t* cr = cairo_create(icon.get());
    cairo_translate(cr, (size - width * scale) / 2.0, (size - height * scale) / 2.0);
    cairo_scale(cr, scale, scale);
    cairo_set_source_surface(cr, logo, 0, 0);
    // GOOD averages every source pixel a target pixel covers when shrinking,
    // so thin lines of the logo survive at 32 pixels instead of breaking up.
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(icon.get());
    return icon;
}

}  // namespace

int runIconCommand(const Args& args) {
    if (args.size() != 3) throw UsageError("icon: expected 'icon SOURCE.png SIZE OUT.png'");
    const int size = parseIconSize(args[1]);
    const Surface logo = readLogo(args[0]);
    const Surface icon = scaledIcon(logo.get(), size);
    if (cairo_surface_write_to_png(icon.get(), args[2].c_str()) != CAIRO_STATUS_SUCCESS) {
        throw std::runtime_error("cannot write " + args[2]);
    }
    std::cout << args[2] << " " << size << "x" << size << "\n";
    return 0;
}

}  // namespace njtool
