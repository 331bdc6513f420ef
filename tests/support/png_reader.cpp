// Through cairo (libpng underneath): a decoder sharing nothing with the game's PNG writer.
#include "tests/support/png_reader.hpp"

#include <cairo.h>

#include <cstring>

namespace nj::test {

DecodedPng readPng(const std::string& path) {
    DecodedPng out;
    cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        out.error = cairo_status_to_string(cairo_surface_status(surface));
    } else {
        out.width = static_cast<uint32_t>(cairo_image_surface_get_width(surface));
        out.height = static_cast<uint32_t>(cairo_image_surface_get_height(surface));
        const int stride = cairo_image_surface_get_stride(surface);
        const unsigned char* data = cairo_image_surface_get_data(surface);
        // Opaque pixels come back as native-endian 0xAARRGGBB words.
        for (uint32_t y = 0; y < out.height; ++y) {
            for (uint32_t x = 0; x < out.width; ++x) {
                uint32_t argb = 0;
                std::memcpy(&argb, data + size_t{y} * stride + size_t{x} * 4, 4);
                for (int shift : {16, 8, 0}) out.rgb.push_back(static_cast<uint8_t>(argb >> shift));
            }
        }
    }
    cairo_surface_destroy(surface);
    return out;
}

}  // namespace nj::test
