// Absolute CSS lengths in px.
#include "ui/web/style_lengths.hpp"

namespace web {

std::optional<double> absolutePx(const litehtml::css_length& length, int fontSize,
                                 const litehtml::document& document) {
    if (length.is_predefined()) return std::nullopt;
    const double value = length.val();
    switch (length.units()) {
        case litehtml::css_units_percentage:
            return std::nullopt;
        case litehtml::css_units_none:
        case litehtml::css_units_px:
            return value;
        case litehtml::css_units_em:
            return value * fontSize;
        case litehtml::css_units_pt:
            return value * 96.0 / 72.0;
        default: {
            litehtml::css_length copy = length;
            return document.cvt_units(copy, fontSize);
        }
    }
}

std::optional<double> absolutePx(const char* text, int fontSize,
                                 const litehtml::document& document) {
    if (!text) return std::nullopt;
    litehtml::css_length length;
    length.fromString(text, "normal;auto");
    return absolutePx(length, fontSize, document);
}

}  // namespace web
