#pragma once
// Fonts for page text: FreeType faces made from the bytes the host's font
// loader returns, drawn and measured through cairo.

#include <cairo.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>

namespace web {

class FontLoader;

struct FontMetrics {
    int ascent = 0;   // px above the baseline
    int descent = 0;  // px below the baseline
    int height = 0;   // px, line spacing of the face
    int xHeight = 0;  // px
};

// One face at one size, as the layout engine asks for it.
struct Font {
    cairo_scaled_font_t* primary = nullptr;   // null when no family could be loaded
    cairo_scaled_font_t* fallback = nullptr;  // for text the primary face cannot draw
    bool fallbackResolved = false;
    int sizePx = 0;
    int weight = 400;
    bool italic = false;
    unsigned decoration = 0;  // litehtml font_decoration_* bits
    FontMetrics metrics;
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

    int textWidth(Font* font, const char* utf8);  // px
    // Draws with the baseline at y.
    void drawText(cairo_t* cr, Font* font, const char* utf8, double x, double y);

    std::size_t loadedFaceCount() const { return faces_.size(); }

  private:
    cairo_font_face_t* faceFor(const std::string& family, int weight, bool italic);
    cairo_scaled_font_t* scaledFontFor(const std::string& family, const Font& font);
    cairo_scaled_font_t* fontForText(Font* font, const char* utf8);

    FontLoader* loader_;
    // Family (lower case), weight, italic -> face; a null face records a miss
    // so the loader is asked once per key.
    std::map<std::tuple<std::string, int, bool>, cairo_font_face_t*> faces_;
};

}  // namespace web
