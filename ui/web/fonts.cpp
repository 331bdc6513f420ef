// A page's fonts over the process's shared faces: shaped by HarfBuzz for
// layout, drawn as cairo scaled fonts.
#include "ui/web/fonts.hpp"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "ui/web/font_faces.hpp"
#include "ui/web/platform.hpp"

namespace web {

namespace {

std::string lowerTrimmedFamily(std::string name) {
    const auto notSpace = [](unsigned char c) { return c != ' ' && c != '\t' && c != '\n'; };
    name.erase(name.begin(), std::find_if(name.begin(), name.end(), notSpace));
    name.erase(std::find_if(name.rbegin(), name.rend(), notSpace).base(), name.end());
    if (name.size() >= 2 && (name.front() == '"' || name.front() == '\'') &&
        name.back() == name.front()) {
        name = name.substr(1, name.size() - 2);
    }
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

std::vector<std::string> splitFamilies(const std::string& list) {
    std::vector<std::string> families;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        std::string family = lowerTrimmedFamily(list.substr(start, comma - start));
        if (!family.empty()) families.push_back(std::move(family));
        start = comma + 1;
    }
    return families;
}

// Decodes one UTF-8 code point; malformed bytes come back as U+FFFD, one byte each.
std::uint32_t nextCodePoint(const unsigned char*& p) {
    const unsigned lead = *p++;
    if (lead < 0x80) return lead;
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (extra < 0) return 0xFFFD;
    std::uint32_t cp = lead & (0x3Fu >> extra);
    for (; extra > 0; --extra) {
        if ((*p & 0xC0) != 0x80) return 0xFFFD;
        cp = (cp << 6) | (*p++ & 0x3Fu);
    }
    return cp;
}

bool faceDrawsAll(cairo_scaled_font_t* scaled, const char* utf8) {
    FT_Face face = cairo_ft_scaled_font_lock_face(scaled);
    if (!face) return true;
    bool all = true;
    for (const auto* p = reinterpret_cast<const unsigned char*>(utf8); *p && all;) {
        const std::uint32_t cp = nextCodePoint(p);
        if (cp > 0x20 && FT_Get_Char_Index(face, cp) == 0) all = false;
    }
    cairo_ft_scaled_font_unlock_face(scaled);
    return all;
}

FontMetrics measure(cairo_scaled_font_t* scaled, int sizePx) {
    FontMetrics m;
    if (!scaled) {
        m.ascent = sizePx * 4 / 5;
        m.descent = sizePx / 5;
        m.height = sizePx;
        m.xHeight = sizePx / 2;
        return m;
    }
    cairo_font_extents_t extents;
    cairo_scaled_font_extents(scaled, &extents);
    // Each part rounded on its own, as browsers do: a face whose ascent and
    // descent both round up gets the taller line they get.
    m.ascent = static_cast<int>(std::lround(extents.ascent));
    m.descent = static_cast<int>(std::lround(extents.descent));
    const double lineGap = std::max(0.0, extents.height - extents.ascent - extents.descent);
    m.height = m.ascent + m.descent + static_cast<int>(std::lround(lineGap));
    m.xHeight = sizePx / 2;
    if (FT_Face face = cairo_ft_scaled_font_lock_face(scaled)) {
        const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        if (os2 && os2->sxHeight > 0 && face->units_per_EM > 0) {
            m.xHeight =
                static_cast<int>(std::lround(double(os2->sxHeight) * sizePx / face->units_per_EM));
        }
        cairo_ft_scaled_font_unlock_face(scaled);
    }
    return m;
}

FaceAtSize reference(const FaceAtSize& face) {
    if (face.cairo) cairo_scaled_font_reference(face.cairo);
    if (face.shaping) hb_font_reference(face.shaping);
    return face;
}

void release(FaceAtSize& face) {
    if (face.cairo) cairo_scaled_font_destroy(face.cairo);
    if (face.shaping) hb_font_destroy(face.shaping);
    face = FaceAtSize{};
}

}  // namespace

FontCache::~FontCache() {
    for (auto& entry : faces_) {
        if (entry.second) cairo_font_face_destroy(entry.second);
    }
}

cairo_font_face_t* FontCache::faceFor(const std::string& family, int weight, bool italic) {
    // Loaders pick files by "bold or not"; the page asks for each family once
    // per bucket, at the weight it first met, and every page shares the faces.
    const int bucket = weight >= 600 ? 700 : 400;
    const auto key = std::make_tuple(family, bucket, italic);
    if (auto found = faces_.find(key); found != faces_.end()) return found->second;
    cairo_font_face_t* face =
        loader_ ? SharedFaces::instance().face(loader_, family, weight, italic) : nullptr;
    faces_[key] = face;
    return face;
}

FaceAtSize FontCache::faceAtSize(const std::string& family, const Font& font) {
    cairo_font_face_t* face = faceFor(family, font.weight, font.italic);
    if (!face) return {};
    cairo_matrix_t size, identity;
    cairo_matrix_init_scale(&size, font.sizePx, font.sizePx);
    cairo_matrix_init_identity(&identity);
    cairo_font_options_t* options = cairo_font_options_create();
    // Layout takes its advances from HarfBuzz; the rasteriser hints only
    // lightly and in grey, as browsers on this platform draw text.
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_scaled_font_t* scaled = cairo_scaled_font_create(face, &size, &identity, options);
    cairo_font_options_destroy(options);
    if (cairo_scaled_font_status(scaled) != CAIRO_STATUS_SUCCESS) {
        cairo_scaled_font_destroy(scaled);
        return {};
    }
    return {scaled, createShapingFont(shapingFaceOf(face), font.sizePx)};
}

Font* FontCache::createFont(const std::string& families, int sizePx, int weight, bool italic,
                            unsigned decoration) {
    auto* font = new Font;
    font->sizePx = std::max(1, sizePx);
    font->weight = weight;
    font->italic = italic;
    font->decoration = decoration;
    for (const std::string& family : splitFamilies(families)) {
        if ((font->primary = faceAtSize(family, *font))) break;
    }
    if (!font->primary && loader_) {
        font->primary = faceAtSize(lowerTrimmedFamily(loader_->fallbackFont()), *font);
    }
    font->metrics = measure(font->primary.cairo, font->sizePx);
    return font;
}

void FontCache::destroyFont(Font* font) {
    if (!font) return;
    for (auto& variant : font->spacedVariants) destroyFont(variant.second);
    release(font->primary);
    release(font->fallback);
    delete font;
}

Font* FontCache::withLetterSpacing(Font* font, double letterSpacing) {
    if (font && font->unspaced) font = font->unspaced;
    const long key = std::lround(letterSpacing * 64.0);
    if (!font || key == 0) return font;
    if (auto found = font->spacedVariants.find(key); found != font->spacedVariants.end()) {
        return found->second;
    }
    auto* spaced = new Font;
    spaced->primary = reference(font->primary);
    spaced->fallback = reference(font->fallback);
    spaced->fallbackResolved = font->fallbackResolved;
    spaced->sizePx = font->sizePx;
    spaced->weight = font->weight;
    spaced->italic = font->italic;
    spaced->decoration = font->decoration;
    spaced->letterSpacing = key / 64.0;
    spaced->unspaced = font;
    spaced->metrics = font->metrics;
    font->spacedVariants[key] = spaced;
    return spaced;
}

const FaceAtSize& FontCache::faceForText(Font* font, const char* utf8) {
    if (!font->primary || faceDrawsAll(font->primary.cairo, utf8)) return font->primary;
    if (!font->fallbackResolved && loader_) {
        font->fallbackResolved = true;
        const std::string family =
            loader_->fallbackFontForCharacters(utf8, font->weight, font->italic);
        font->fallback = faceAtSize(lowerTrimmedFamily(family), *font);
    }
    return font->fallback ? font->fallback : font->primary;
}

const ShapedRun* FontCache::shaped(Font* font, const char* utf8) {
    if (!font || !utf8) return nullptr;
    const std::string text(utf8);
    if (const ShapedRun* run = font->runs.find(text)) return run;
    const FaceAtSize& face = faceForText(font, utf8);
    if (!face) return nullptr;
    ShapedRun run = shapeRun(face.shaping, utf8, font->letterSpacing);
    run.fallbackFace = &face == &font->fallback;
    return &font->runs.insert(text, std::move(run));
}

double FontCache::textAdvance(Font* font, const char* utf8) {
    const ShapedRun* run = shaped(font, utf8);
    return run ? run->advance : 0.0;
}

int FontCache::textWidth(Font* font, const char* utf8) {
    return static_cast<int>(std::lround(textAdvance(font, utf8)));
}

void FontCache::drawText(cairo_t* cr, Font* font, const char* utf8, double x, double y) {
    const ShapedRun* run = shaped(font, utf8);
    if (!run) return;
    std::vector<cairo_glyph_t> glyphs = run->glyphs;
    for (cairo_glyph_t& glyph : glyphs) glyph.x += x, glyph.y += y;
    cairo_set_scaled_font(cr, (run->fallbackFace ? font->fallback : font->primary).cairo);
    cairo_show_glyphs(cr, glyphs.data(), static_cast<int>(glyphs.size()));
    if (font->decoration == 0) return;
    const double width = run->advance;
    const double thickness = std::max(1.0, font->sizePx / 14.0);
    const auto line = [&](double lineY) {
        cairo_rectangle(cr, x, lineY, width, thickness);
        cairo_fill(cr);
    };
    if (font->decoration & 0x01u) line(y + thickness);                    // underline
    if (font->decoration & 0x02u) line(y - font->metrics.xHeight / 2.0);  // line-through
    if (font->decoration & 0x04u) line(y - font->metrics.ascent);         // overline
}

}  // namespace web
