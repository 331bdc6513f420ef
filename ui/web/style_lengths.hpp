#pragma once
// CSS lengths as litehtml keeps them, resolved to CSS px where that needs no
// layout (everything but percentages and keywords such as auto).

#include <litehtml.h>

#include <algorithm>
#include <limits>
#include <optional>

namespace web {

// A whole-px value as litehtml keeps it (int), saturated instead of wrapped:
// a page can ask for lengths past int's range ("999999in").
constexpr int clampToInt(long long px) {
    return static_cast<int>(std::clamp<long long>(px, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

// `fontSize` is the element's own, for em. Fractions are kept: litehtml's
// own conversion truncates to whole px, which letter-spacing cannot afford.
std::optional<double> absolutePx(const litehtml::css_length& length, int fontSize,
                                 const litehtml::document& document);

// A length as CSS source text ("2px", "0.1em", "normal") resolved the same way.
std::optional<double> absolutePx(const char* text, int fontSize,
                                 const litehtml::document& document);

}  // namespace web
