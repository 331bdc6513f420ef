// Painting, fonts, images and style imports of one page, on cairo.
#include "ui/web/page_container.hpp"

#include <algorithm>
#include <cmath>

#include "ui/web/border_painter.hpp"
#include "ui/web/box_paths.hpp"
#include "ui/web/damage.hpp"
#include "ui/web/litehtml_text.hpp"
#include "ui/web/platform.hpp"
#include "ui/web/url.hpp"

namespace web {

namespace {

void setColor(cairo_t* cr, const litehtml::web_color& color) {
    cairo_set_source_rgba(cr, color.red / 255.0, color.green / 255.0, color.blue / 255.0,
                          color.alpha / 255.0);
}

}  // namespace

PageContainer::PageContainer(FileSystem* fileSystem, FontLoader* fontLoader, int defaultFontSize)
    : fileSystem_(fileSystem),
      fonts_(fontLoader),
      images_(fileSystem),
      defaultFontSize_(defaultFontSize) {}

std::string PageContainer::readText(const std::string& url) {
    const std::string path = filePathOf(url);
    if (!fileSystem_ || path.empty()) return {};
    BufferPtr bytes = fileSystem_->openFile(path);
    if (!bytes) return {};
    return std::string(bytes->begin(), bytes->end());
}

std::string PageContainer::readStyleSheet(const std::string& url) {
    return prepareStyleSheet(readText(url));
}

std::string PageContainer::resolve(const char* src, const char* baseurl) const {
    const std::string base = baseurl && *baseurl ? baseurl : baseUrl_;
    return resolveUrl(base, src ? src : "");
}

litehtml::uint_ptr PageContainer::create_font(const litehtml::tchar_t* faceName, int size,
                                              int weight, litehtml::font_style italic,
                                              unsigned int decoration, litehtml::font_metrics* fm) {
    Font* font = fonts_.createFont(faceName ? faceName : "", size, weight,
                                   italic == litehtml::fontStyleItalic, decoration);
    if (fm) {
        fm->ascent = font->metrics.ascent;
        fm->descent = font->metrics.descent;
        fm->height = font->metrics.height;
        fm->x_height = font->metrics.xHeight;
        fm->draw_spaces = decoration != 0;
    }
    return reinterpret_cast<litehtml::uint_ptr>(font);
}

void PageContainer::delete_font(litehtml::uint_ptr hFont) {
    FontCache::destroyFont(reinterpret_cast<Font*>(hFont));
}

int PageContainer::text_width(const litehtml::tchar_t* text, litehtml::uint_ptr hFont) {
    return fonts_.textWidth(reinterpret_cast<Font*>(hFont), text);
}

void PageContainer::draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text,
                              litehtml::uint_ptr hFont, litehtml::web_color color,
                              const litehtml::position& pos) {
    auto* cr = reinterpret_cast<cairo_t*>(hdc);
    auto* font = reinterpret_cast<Font*>(hFont);
    if (!font) return;
    cairo_save(cr);
    applyClips(cr);
    setColor(cr, color);
    fonts_.drawText(cr, font, text, textPlacement_.paintX(text, pos.x),
                    pos.y + font->metrics.ascent);
    cairo_restore(cr);
}

int PageContainer::pt_to_px(int pt) const {
    // litehtml turns "999999in" into points before asking.
    return clampCoordinate(static_cast<long long>(pt) * 96 / 72);
}

void PageContainer::draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker) {
    auto* cr = reinterpret_cast<cairo_t*>(hdc);
    if (marker.marker_type == litehtml::list_style_type_none) return;
    cairo_save(cr);
    applyClips(cr);
    setColor(cr, marker.color);
    const double cx = marker.pos.x + marker.pos.width / 2.0;
    const double cy = marker.pos.y + marker.pos.height / 2.0;
    const double r = std::max(1.0, std::min(marker.pos.width, marker.pos.height) / 2.0);
    if (marker.marker_type == litehtml::list_style_type_square) {
        cairo_rectangle(cr, marker.pos.x, marker.pos.y, marker.pos.width, marker.pos.height);
        cairo_fill(cr);
    } else {
        cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
        if (marker.marker_type == litehtml::list_style_type_circle) {
            cairo_set_line_width(cr, 1);
            cairo_stroke(cr);
        } else {
            cairo_fill(cr);
        }
    }
    cairo_restore(cr);
}

void PageContainer::load_image(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl,
                               bool) {
    images_.get(resolve(src, baseurl));
}

void PageContainer::get_image_size(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl,
                                   litehtml::size& sz) {
    cairo_surface_t* image = images_.get(resolve(src, baseurl));
    sz.width = image ? cairo_image_surface_get_width(image) : 0;
    sz.height = image ? cairo_image_surface_get_height(image) : 0;
}

void PageContainer::drawImage(cairo_t* cr, const litehtml::background_paint& bg) {
    cairo_surface_t* image = images_.get(resolve(bg.image.c_str(), bg.baseurl.c_str()));
    if (!image || bg.image_size.width <= 0 || bg.image_size.height <= 0) return;
    const double sx = double(bg.image_size.width) / cairo_image_surface_get_width(image);
    const double sy = double(bg.image_size.height) / cairo_image_surface_get_height(image);
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(image);
    cairo_matrix_t matrix;
    cairo_matrix_init_scale(&matrix, 1.0 / sx, 1.0 / sy);
    cairo_matrix_translate(&matrix, -bg.position_x, -bg.position_y);
    cairo_pattern_set_matrix(pattern, &matrix);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_GOOD);
    double x = bg.clip_box.x, y = bg.clip_box.y;
    double w = bg.clip_box.width, h = bg.clip_box.height;
    switch (bg.repeat) {
        case litehtml::background_repeat_repeat:
            cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
            break;
        case litehtml::background_repeat_repeat_x:
            cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);  // the rows stay one image tall
            y = bg.position_y, h = bg.image_size.height;
            break;
        case litehtml::background_repeat_repeat_y:
            cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
            x = bg.position_x, w = bg.image_size.width;
            break;
        case litehtml::background_repeat_no_repeat:
            // Padding the edge keeps a scaled image opaque to its border;
            // the rectangle below limits it to one copy.
            cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
            x = bg.position_x, y = bg.position_y;
            w = bg.image_size.width, h = bg.image_size.height;
            break;
    }
    cairo_set_source(cr, pattern);
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
    cairo_pattern_destroy(pattern);
}

void PageContainer::draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg) {
    auto* cr = reinterpret_cast<cairo_t*>(hdc);
    cairo_save(cr);
    applyClips(cr);
    const litehtml::position& box = bg.border_box;
    if (hasRadius(bg.border_radius)) {
        roundedRect(cr, box.x, box.y, box.width, box.height, bg.border_radius);
        cairo_clip(cr);
    }
    cairo_rectangle(cr, bg.clip_box.x, bg.clip_box.y, bg.clip_box.width, bg.clip_box.height);
    cairo_clip(cr);
    if (bg.color.alpha > 0) {
        setColor(cr, bg.color);
        cairo_paint(cr);
    }
    if (!bg.image.empty()) drawImage(cr, bg);
    cairo_restore(cr);
}

void PageContainer::draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& b,
                                 const litehtml::position& pos, bool) {
    auto* cr = reinterpret_cast<cairo_t*>(hdc);
    cairo_save(cr);
    applyClips(cr);
    paintBorders(cr, b, pos);
    cairo_restore(cr);
}

void PageContainer::set_base_url(const litehtml::tchar_t* base_url) {
    if (base_url && *base_url) baseUrl_ = resolveUrl(baseUrl_, base_url);
}

void PageContainer::transform_text(litehtml::tstring& text, litehtml::text_transform tt) {
    // ASCII only: the overlay's capitalised texts are Latin.
    if (tt == litehtml::text_transform_uppercase) {
        for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    } else if (tt == litehtml::text_transform_lowercase) {
        for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    } else if (tt == litehtml::text_transform_capitalize && !text.empty()) {
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    }
}

void PageContainer::import_css(litehtml::tstring& text, const litehtml::tstring& url,
                               litehtml::tstring& baseurl) {
    const std::string resolved = resolveUrl(baseurl.empty() ? baseUrl_ : baseurl, url);
    text = readStyleSheet(resolved);
    baseurl = resolved;
}

void PageContainer::set_clip(const litehtml::position& pos,
                             const litehtml::border_radiuses& bdr_radius, bool, bool) {
    clips_.push_back({pos, bdr_radius});
}

void PageContainer::del_clip() {
    if (!clips_.empty()) clips_.pop_back();
}

void PageContainer::applyClips(cairo_t* cr) const {
    for (const Clip& clip : clips_) {
        roundedRect(cr, clip.box.x, clip.box.y, clip.box.width, clip.box.height, clip.radii);
        cairo_clip(cr);
    }
}

void PageContainer::get_client_rect(litehtml::position& client) const {
    client = litehtml::position(0, 0, viewportWidth_, viewportHeight_);
}

void PageContainer::get_media_features(litehtml::media_features& media) const {
    media.type = litehtml::media_type_screen;
    media.width = media.device_width = viewportWidth_;
    media.height = media.device_height = viewportHeight_;
    media.color = 8;
    media.monochrome = 0;
    media.color_index = 256;
    media.resolution = 96;
}

void PageContainer::get_language(litehtml::tstring& language, litehtml::tstring& culture) const {
    language = "en";
    culture.clear();
}

}  // namespace web
