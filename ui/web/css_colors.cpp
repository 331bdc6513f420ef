// Parsing and rewriting rgb(), rgba(), hsl() and hsla().
#include "ui/web/css_colors.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

namespace web {

namespace {

struct Argument {
    double value = 0.0;
    std::string unit;  // "", "%", "deg", "turn", ...
};

bool identifierChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_';
}

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// "12", "50%", "120deg", ".5", "1e1": a number and its unit.
std::optional<Argument> parseArgument(const std::string& token) {
    if (token.empty()) return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(token.c_str(), &end);
    if (end == token.c_str() || !std::isfinite(value)) return std::nullopt;
    Argument argument{value, lower(end)};
    for (char c : argument.unit) {
        if (!std::isalpha(static_cast<unsigned char>(c)) && c != '%') return std::nullopt;
    }
    return argument;
}

// Both syntaxes: "r, g, b[, a]" and "r g b[ / a]".
std::optional<std::vector<Argument>> parseArguments(const std::string& inside) {
    std::vector<std::string> tokens;
    std::string current;
    const auto flush = [&] {
        if (!current.empty()) tokens.push_back(current), current.clear();
    };
    for (char c : inside) {
        if (c == ',' || c == '/' || std::isspace(static_cast<unsigned char>(c))) {
            flush();
        } else {
            current += c;
        }
    }
    flush();
    if (tokens.size() < 3 || tokens.size() > 4) return std::nullopt;
    std::vector<Argument> arguments;
    for (const std::string& token : tokens) {
        auto argument = parseArgument(token);
        if (!argument) return std::nullopt;
        arguments.push_back(*argument);
    }
    return arguments;
}

int clampByte(double value) {
    return static_cast<int>(std::lround(std::clamp(value, 0.0, 255.0)));
}

std::optional<double> channel(const Argument& a) {
    if (a.unit.empty()) return a.value;
    if (a.unit == "%") return a.value * 2.55;
    return std::nullopt;
}

std::optional<double> fraction(const Argument& a) {
    if (a.unit.empty()) return std::clamp(a.value, 0.0, 1.0);
    if (a.unit == "%") return std::clamp(a.value / 100.0, 0.0, 1.0);
    return std::nullopt;
}

std::optional<double> hueDegrees(const Argument& a) {
    if (a.unit.empty() || a.unit == "deg") return a.value;
    if (a.unit == "rad") return a.value * 180.0 / M_PI;
    if (a.unit == "grad") return a.value * 0.9;
    if (a.unit == "turn") return a.value * 360.0;
    return std::nullopt;
}

struct Rgba {
    std::array<double, 3> rgb{};  // 0..255
    double alpha = 1.0;           // 0..1
};

std::optional<Rgba> fromRgb(const std::vector<Argument>& args) {
    Rgba color;
    for (int i = 0; i < 3; ++i) {
        const auto value = channel(args[i]);
        if (!value) return std::nullopt;
        color.rgb[i] = *value;
    }
    return color;
}

double hueToChannel(double m1, double m2, double hue) {
    hue -= std::floor(hue);
    if (hue * 6.0 < 1.0) return m1 + (m2 - m1) * hue * 6.0;
    if (hue * 2.0 < 1.0) return m2;
    if (hue * 3.0 < 2.0) return m1 + (m2 - m1) * (2.0 / 3.0 - hue) * 6.0;
    return m1;
}

std::optional<Rgba> fromHsl(const std::vector<Argument>& args) {
    const auto hue = hueDegrees(args[0]);
    if (!hue || args[1].unit != "%" || args[2].unit != "%") return std::nullopt;
    const double h = *hue / 360.0;
    const double s = std::clamp(args[1].value / 100.0, 0.0, 1.0);
    const double l = std::clamp(args[2].value / 100.0, 0.0, 1.0);
    const double m2 = l <= 0.5 ? l * (s + 1.0) : l + s - l * s;
    const double m1 = l * 2.0 - m2;
    Rgba color;
    color.rgb = {hueToChannel(m1, m2, h + 1.0 / 3.0) * 255.0, hueToChannel(m1, m2, h) * 255.0,
                 hueToChannel(m1, m2, h - 1.0 / 3.0) * 255.0};
    return color;
}

std::optional<Rgba> parseColor(const std::string& name, const std::string& inside) {
    const auto args = parseArguments(inside);
    if (!args) return std::nullopt;
    auto color = name[0] == 'r' ? fromRgb(*args) : fromHsl(*args);
    if (!color) return std::nullopt;
    if (args->size() == 4) {
        const auto alpha = fraction((*args)[3]);
        if (!alpha) return std::nullopt;
        color->alpha = *alpha;
    }
    return color;
}

std::string format(const Rgba& color) {
    const int alphaByte = clampByte(color.alpha * 255.0);
    char alpha[16];
    if (alphaByte == 255 || alphaByte == 0) {
        std::snprintf(alpha, sizeof alpha, "%d", alphaByte / 255);
    } else {
        // litehtml keeps (byte)(A * 255) where a browser rounds: a quarter
        // into the byte's interval gives the same byte both ways, so the
        // rewrite also reads back as itself.
        std::snprintf(alpha, sizeof alpha, "%.5f", (alphaByte + 0.25) / 255.0);
    }
    char text[64];
    std::snprintf(text, sizeof text, "rgba(%d,%d,%d,%s)", clampByte(color.rgb[0]),
                  clampByte(color.rgb[1]), clampByte(color.rgb[2]), alpha);
    return text;
}

// The function name ending just before `open`, if it is one of ours.
std::string colorFunctionBefore(const std::string& css, std::size_t open) {
    for (const char* name : {"rgba", "rgb", "hsla", "hsl"}) {
        const std::size_t length = std::char_traits<char>::length(name);
        if (open < length) continue;
        const std::size_t start = open - length;
        if (lower(css.substr(start, length)) != name) continue;
        if (start > 0 && identifierChar(css[start - 1])) continue;
        return name;
    }
    return {};
}

}  // namespace

std::string normaliseColorFunctions(const std::string& css) {
    std::string out;
    out.reserve(css.size());
    std::size_t copied = 0;
    for (std::size_t i = 0; i < css.size(); ++i) {
        const char c = css[i];
        if (c == '"' || c == '\'') {
            const std::size_t close = css.find(c, i + 1);
            if (close == std::string::npos) break;
            i = close;
            continue;
        }
        if (c != '(') continue;
        const std::string name = colorFunctionBefore(css, i);
        if (name.empty()) continue;
        const std::size_t close = css.find(')', i);
        if (close == std::string::npos) break;
        const auto color = parseColor(name, css.substr(i + 1, close - i - 1));
        if (!color) continue;
        out.append(css, copied, i - name.size() - copied);
        out += format(*color);
        copied = close + 1;
        i = close;
    }
    out.append(css, copied, std::string::npos);
    return out;
}

}  // namespace web
