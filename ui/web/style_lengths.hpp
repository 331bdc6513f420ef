#pragma once
// CSS lengths as litehtml keeps them, resolved to CSS px where that needs no
// layout (everything but percentages and keywords such as auto).

#include <litehtml.h>

#include <optional>

namespace web {

// `fontSize` is the element's own, for em. Fractions are kept: litehtml's
// own conversion truncates to whole px, which letter-spacing cannot afford.
std::optional<double> absolutePx(const litehtml::css_length& length, int fontSize,
                                 const litehtml::document& document);

// A length as CSS source text ("2px", "0.1em", "normal") resolved the same way.
std::optional<double> absolutePx(const char* text, int fontSize,
                                 const litehtml::document& document);

}  // namespace web
