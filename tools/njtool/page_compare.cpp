// njtool page compare: how far two renders of a page lie apart, as the mean
// absolute error over every colour channel of every pixel, both images laid
// over the same opaque background (the overlay is drawn over the play field,
// so only what shows through counts).
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli_io.hpp"

namespace njtool {

namespace {

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

struct CompareOptions {
    std::string first;
    std::string second;
    std::string diff;                     // PNG of the differences, when asked for
    std::uint32_t background = 0x808080;  // 0xRRGGBB under both images
};

CompareOptions parseCompareArgs(const Args& args) {
    CompareOptions options;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw UsageError("page: " + arg + " needs a value");
            return args[++i];
        };
        if (arg == "--diff") {
            options.diff = value();
        } else if (arg == "--background") {
            const std::string& hex = value();
            char* end = nullptr;
            const unsigned long rgb = std::strtoul(hex.c_str(), &end, 16);
            if (hex.size() != 6 || *end != '\0')
                throw UsageError("page: --background wants RRGGBB");
            options.background = static_cast<std::uint32_t>(rgb);
        } else if (!arg.empty() && arg[0] == '-') {
            throw UsageError("page: unknown option " + arg);
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2) throw UsageError("page: expected 'compare A.png B.png'");
    options.first = positional[0];
    options.second = positional[1];
    return options;
}

// The image laid over an opaque background, as ARGB32.
Surface flattened(const std::string& path, std::uint32_t background) {
    Surface image(cairo_image_surface_create_from_png(path.c_str()), &cairo_surface_destroy);
    if (cairo_surface_status(image.get()) != CAIRO_STATUS_SUCCESS) {
        throw std::runtime_error("cannot read PNG " + path);
    }
    const int width = cairo_image_surface_get_width(image.get());
    const int height = cairo_image_surface_get_height(image.get());
    Surface flat(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height),
                 &cairo_surface_destroy);
    cairo_t* cr = cairo_create(flat.get());
    cairo_set_source_rgb(cr, ((background >> 16) & 0xFF) / 255.0,
                         ((background >> 8) & 0xFF) / 255.0, (background & 0xFF) / 255.0);
    cairo_paint(cr);
    cairo_set_source_surface(cr, image.get(), 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(flat.get());
    return flat;
}

}  // namespace

int runPageCompare(const Args& args) {
    const CompareOptions options = parseCompareArgs(args);
    Surface a = flattened(options.first, options.background);
    Surface b = flattened(options.second, options.background);
    const int width = cairo_image_surface_get_width(a.get());
    const int height = cairo_image_surface_get_height(a.get());
    if (width != cairo_image_surface_get_width(b.get()) ||
        height != cairo_image_surface_get_height(b.get())) {
        throw std::runtime_error("the two images differ in size");
    }
    Surface diff(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height),
                 &cairo_surface_destroy);
    const int stride = cairo_image_surface_get_stride(a.get());
    const int diffStride = cairo_image_surface_get_stride(diff.get());
    const unsigned char* pa = cairo_image_surface_get_data(a.get());
    const unsigned char* pb = cairo_image_surface_get_data(b.get());
    unsigned char* pd = cairo_image_surface_get_data(diff.get());
    unsigned long long total = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c) {
                const int delta =
                    std::abs(int(pa[y * stride + x * 4 + c]) - pb[y * stride + x * 4 + c]);
                total += static_cast<unsigned>(delta);
                pd[y * diffStride + x * 4 + c] =
                    static_cast<unsigned char>(std::min(255, delta * 4));
            }
        }
    }
    cairo_surface_mark_dirty(diff.get());
    const double samples = double(width) * height * 3.0;
    const double error = samples > 0 ? 100.0 * double(total) / (samples * 255.0) : 0.0;
    if (!options.diff.empty() &&
        cairo_surface_write_to_png(diff.get(), options.diff.c_str()) != CAIRO_STATUS_SUCCESS) {
        throw std::runtime_error("cannot write " + options.diff);
    }
    char line[64];
    std::snprintf(line, sizeof line, "%.3f", error);
    std::cout << "mean absolute error " << line << " %\n";
    return 0;
}

}  // namespace njtool
