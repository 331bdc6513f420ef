#pragma once
// Fonts for page text: FreeType faces made from the bytes the host's font
// loader returns, shaped by HarfBuzz and drawn through cairo.

#include <cairo.h>
#include <hb.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "ui/web/text_shaper.hpp"

namespace web {

class FontLoader;

struct FontMetrics {
    int ascent = 0;   // px above the baseline
    int descent = 0;  // px below the baseline
    int height = 0;   // px, line spacing of the face
    int xHeight = 0;  // px
};

// One face at one size and letter-spacing: a cairo font for painting and a
// HarfBuzz font for shaping over the same FreeType face.
struct FaceAtSize {
    cairo_scaled_font_t* cairo = nullptr;
    hb_font_t* shaping = nullptr;
    explicit operator bool() const { return cairo != nullptr; }
};

// One face at one size, as the layout engine asks for it.
struct Font {
    Font() = default;
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    FaceAtSize primary;   // empty when no family could be loaded
    FaceAtSize fallback;  // for text the primary face cannot draw
    bool fallbackResolved = false;
    int sizePx = 0;
    int weight = 400;
    bool italic = false;
    unsigned decoration = 0;     // litehtml font_decoration_* bits
    double letterSpacing = 0.0;  // px after every character
    FontMetrics metrics;
    ShapedRunCache runs;
    // The same font with other letter-spacings (key: 1/64 px), owned here so
    // they live exactly as long as the font the layout engine holds.
    std::map<long, Font*> spacedVariants;
    Font* unspaced = nullptr;  // for a spaced variant: the font it was made from
};

class FontCache {
  public:
    explicit FontCache(FontLoader* loader) : loader_(loader) {}
    ~FontCache();
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    // `families` is a CSS family list ("Lato, sans-serif"); the first family
    // the loader has bytes for wins, then the loader's fallback family.
    Font* createFont(const std::string& families, int sizePx, int weight, bool italic,
                     unsigned decoration);
    static void destroyFont(Font* font);
    // `font` with `letterSpacing` px after every character, made from the
    // unspaced font (itself when the spacing is zero), which owns it.
    static Font* withLetterSpacing(Font* font, double letterSpacing);

    // The shaped width in px, fractions kept.
    double textAdvance(Font* font, const char* utf8);
    // The width the layout engine works with: whole px, rounded to nearest.
    int textWidth(Font* font, const char* utf8);
    // Draws with the baseline at y; x may be fractional.
    void drawText(cairo_t* cr, Font* font, const char* utf8, double x, double y);

    std::size_t loadedFaceCount() const { return faces_.size(); }

  private:
    cairo_font_face_t* faceFor(const std::string& family, int weight, bool italic);
    FaceAtSize faceAtSize(const std::string& family, const Font& font);
    const FaceAtSize& faceForText(Font* font, const char* utf8);
    const ShapedRun* shaped(Font* font, const char* utf8);

    FontLoader* loader_;
    // Family (lower case), weight, italic -> face; a null face records a miss
    // so the loader is asked once per key.
    std::map<std::tuple<std::string, int, bool>, cairo_font_face_t*> faces_;
};

}  // namespace web
