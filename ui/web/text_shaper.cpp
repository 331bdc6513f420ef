// HarfBuzz shaping of single words into cairo glyph runs.
#include "ui/web/text_shaper.hpp"

#include <hb-ot.h>

#include <algorithm>
#include <cstring>

namespace web {

namespace {

// HarfBuzz positions are integers in the font's scale; this many units a
// pixel keeps every advance exact to well below what a pixel shows.
constexpr int kUnitsPerPx = 1024;
// Sizes beyond this would overflow HarfBuzz's integer scale; no page text
// comes near it.
constexpr int kMaxShapedSizePx = 1 << 20;

const hb_feature_t kNoLigatures[] = {
    {HB_TAG('l', 'i', 'g', 'a'), 0, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
    {HB_TAG('c', 'l', 'i', 'g'), 0, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
    {HB_TAG('d', 'l', 'i', 'g'), 0, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
    {HB_TAG('h', 'l', 'i', 'g'), 0, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
};

}  // namespace

hb_font_t* createShapingFont(hb_face_t* face, int sizePx) {
    hb_font_t* font = hb_font_create(face);
    hb_ot_font_set_funcs(font);
    const int scale = std::clamp(sizePx, 1, kMaxShapedSizePx) * kUnitsPerPx;
    hb_font_set_scale(font, scale, scale);
    return font;
}

ShapedRun shapeRun(hb_font_t* font, const char* utf8, double letterSpacing) {
    ShapedRun run;
    if (!font || !utf8 || !*utf8) return run;
    hb_buffer_t* buffer = hb_buffer_create();
    hb_buffer_add_utf8(buffer, utf8, static_cast<int>(std::strlen(utf8)), 0, -1);
    hb_buffer_guess_segment_properties(buffer);
    // Page text is laid out left to right word by word; a right-to-left
    // script guess would reverse the glyphs inside a word litehtml places
    // as one box.
    hb_buffer_set_direction(buffer, HB_DIRECTION_LTR);
    const bool spaced = letterSpacing != 0.0;
    hb_shape(font, buffer, spaced ? kNoLigatures : nullptr,
             spaced ? static_cast<unsigned>(std::size(kNoLigatures)) : 0u);
    unsigned count = 0;
    const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer, &count);
    const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer, &count);
    run.glyphs.reserve(count);
    double pen = 0.0;
    for (unsigned i = 0; i < count; ++i) {
        cairo_glyph_t glyph;
        glyph.index = infos[i].codepoint;
        glyph.x = pen + double(positions[i].x_offset) / kUnitsPerPx;
        glyph.y = -double(positions[i].y_offset) / kUnitsPerPx;
        run.glyphs.push_back(glyph);
        pen += double(positions[i].x_advance) / kUnitsPerPx;
        // Spacing follows each character: after the last glyph of a cluster.
        const bool clusterEnds = i + 1 == count || infos[i + 1].cluster != infos[i].cluster;
        if (clusterEnds) pen += letterSpacing;
    }
    run.advance = pen;
    hb_buffer_destroy(buffer);
    return run;
}

const ShapedRun* ShapedRunCache::find(const std::string& text) const {
    const auto found = runs_.find(text);
    return found == runs_.end() ? nullptr : &found->second;
}

const ShapedRun& ShapedRunCache::insert(const std::string& text, ShapedRun run) {
    if (runs_.size() >= kMaxRuns) runs_.clear();
    return runs_.insert_or_assign(text, std::move(run)).first->second;
}

}  // namespace web
