#pragma once
// The layout engine's window on the world: fonts, images, style imports and
// all painting of one page go through here, onto a cairo context.

#include <cairo.h>
#include <litehtml.h>

#include <string>
#include <vector>

#include "ui/web/fonts.hpp"
#include "ui/web/images.hpp"
#include "ui/web/text_runs.hpp"

namespace web {

class FileSystem;
class FontLoader;

class PageContainer final : public litehtml::document_container {
  public:
    PageContainer(FileSystem* fileSystem, FontLoader* fontLoader, int defaultFontSize);
    PageContainer(const PageContainer&) = delete;
    PageContainer& operator=(const PageContainer&) = delete;
    ~PageContainer() = default;

    void setBaseUrl(const std::string& url) { baseUrl_ = url; }
    const std::string& baseUrl() const { return baseUrl_; }
    void setViewport(int width, int height) { viewportWidth_ = width, viewportHeight_ = height; }

    std::string readText(const std::string& url);  // empty when missing
    // A style sheet's text as litehtml can read it (prepareStyleSheet).
    std::string readStyleSheet(const std::string& url);

    FontCache& fonts() { return fonts_; }
    TextPlacement& textPlacement() { return textPlacement_; }

    // litehtml::document_container
    litehtml::uint_ptr create_font(const litehtml::tchar_t* faceName, int size, int weight,
                                   litehtml::font_style italic, unsigned int decoration,
                                   litehtml::font_metrics* fm) override;
    void delete_font(litehtml::uint_ptr hFont) override;
    int text_width(const litehtml::tchar_t* text, litehtml::uint_ptr hFont) override;
    void draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text, litehtml::uint_ptr hFont,
                   litehtml::web_color color, const litehtml::position& pos) override;
    int pt_to_px(int pt) const override;
    int get_default_font_size() const override { return defaultFontSize_; }
    const litehtml::tchar_t* get_default_font_name() const override { return "sans-serif"; }
    void draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker) override;
    void load_image(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl,
                    bool redraw_on_ready) override;
    void get_image_size(const litehtml::tchar_t* src, const litehtml::tchar_t* baseurl,
                        litehtml::size& sz) override;
    void draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg) override;
    void draw_borders(litehtml::uint_ptr hdc, const litehtml::borders& borders,
                      const litehtml::position& draw_pos, bool root) override;
    void set_caption(const litehtml::tchar_t*) override {}
    void set_base_url(const litehtml::tchar_t* base_url) override;
    void link(const std::shared_ptr<litehtml::document>&, const litehtml::element::ptr&) override {}
    void on_anchor_click(const litehtml::tchar_t*, const litehtml::element::ptr&) override {}
    void set_cursor(const litehtml::tchar_t*) override {}
    void transform_text(litehtml::tstring& text, litehtml::text_transform tt) override;
    void import_css(litehtml::tstring& text, const litehtml::tstring& url,
                    litehtml::tstring& baseurl) override;
    void set_clip(const litehtml::position& pos, const litehtml::border_radiuses& bdr_radius,
                  bool valid_x, bool valid_y) override;
    void del_clip() override;
    void get_client_rect(litehtml::position& client) const override;
    std::shared_ptr<litehtml::element> create_element(
        const litehtml::tchar_t*, const litehtml::string_map&,
        const std::shared_ptr<litehtml::document>&) override {
        return nullptr;
    }
    void get_media_features(litehtml::media_features& media) const override;
    void get_language(litehtml::tstring& language, litehtml::tstring& culture) const override;

  private:
    struct Clip {
        litehtml::position box;
        litehtml::border_radiuses radii;
    };
    void applyClips(cairo_t* cr) const;
    void drawImage(cairo_t* cr, const litehtml::background_paint& bg);
    std::string resolve(const char* src, const char* baseurl) const;

    FileSystem* fileSystem_;
    FontCache fonts_;
    TextPlacement textPlacement_;
    ImageCache images_;
    int defaultFontSize_;
    int viewportWidth_ = 0;   // CSS px
    int viewportHeight_ = 0;  // CSS px
    std::string baseUrl_;
    std::vector<Clip> clips_;
};

}  // namespace web
