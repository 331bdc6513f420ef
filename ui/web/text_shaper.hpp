#pragma once
// Words shaped by HarfBuzz: kerning, ligatures and advances as the font
// defines them, kept at fractional positions until cairo paints the glyphs.

#include <cairo.h>
#include <hb.h>

#include <string>
#include <unordered_map>
#include <vector>

namespace web {

struct ShapedRun {
    std::vector<cairo_glyph_t> glyphs;  // origins on the baseline, px from the run's start
    double advance = 0.0;               // px, letter-spacing included
    bool fallbackFace = false;          // shaped with the font's fallback face
};

// A HarfBuzz font for `face` at `sizePx`, reading the font's own metrics
// (unhinted, like a browser's layout); the caller destroys it.
hb_font_t* createShapingFont(hb_face_t* face, int sizePx);

// Shapes one word (or one space) left to right. `letterSpacing` px is added
// after every character, and, as in a browser, any non-zero spacing turns the
// optional ligatures off so each letter keeps its own gap.
ShapedRun shapeRun(hb_font_t* font, const char* utf8, double letterSpacing);

// Layout measures the same words again on every restyle and paints them on
// every repaint; shaping each distinct word once keeps both cheap.
class ShapedRunCache {
  public:
    const ShapedRun* find(const std::string& text) const;
    const ShapedRun& insert(const std::string& text, ShapedRun run);
    std::size_t size() const { return runs_.size(); }

  private:
    // A clock or a counter makes new words every second; past this many the
    // cache starts again rather than grow for as long as the page runs.
    static constexpr std::size_t kMaxRuns = 4096;
    std::unordered_map<std::string, ShapedRun> runs_;
};

}  // namespace web
