#pragma once
// One loaded page: the litehtml document, its style sheets, and the style,
// layout and paint steps that run only when something changed.

#include <litehtml.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/web/page_container.hpp"

namespace web {

class Bitmap;

class PageDocument {
public:
    // Parses `html` (the page at address `url`); style sheets and images are
    // read through `fileSystem`. Broken markup or CSS never fails: whatever
    // litehtml makes of it is laid out.
    PageDocument(const std::string& html, const std::string& url, FileSystem* fileSystem,
                 FontLoader* fontLoader, int defaultFontSize);
    ~PageDocument();
    PageDocument(const PageDocument&) = delete;
    PageDocument& operator=(const PageDocument&) = delete;

    litehtml::element::ptr root() const;
    const std::string& url() const { return url_; }

    // Layout viewport in CSS px; a change relayouts on the next paint.
    void setViewport(int width, int height);

    // Marks made by the DOM bridge: restyle (classes, attributes, inline
    // styles), relayout (text), repaint.
    void markStyleChanged() { styleDirty_ = true; }
    void markLayoutChanged() { layoutDirty_ = true; }
    void markPaintNeeded() { paintDirty_ = true; }
    bool needsPaint() const { return styleDirty_ || layoutDirty_ || paintDirty_; }

    // Brings styles and layout up to date and paints into `bitmap` at
    // `scale` device pixels per CSS px. Does nothing (and returns false)
    // when nothing changed since the last paint.
    bool paint(Bitmap& bitmap, double scale);

    // Brings styles and layout up to date without painting (hit tests and
    // geometry queries need a current layout).
    void update();

    // The innermost element under a point in CSS px, or null.
    litehtml::element::ptr elementAt(int x, int y);
    // Moves the hover state; true when any :hover style changed.
    bool hover(int x, int y);

    // DOM edits from scripts. Each returns false and changes nothing when the
    // new value equals the old one, so a page that writes the same state
    // every frame causes no restyle, relayout or repaint.
    // Replaces every child of `element` by the words of `text`.
    bool setText(const litehtml::element::ptr& element, const std::string& text);
    bool setAttribute(const litehtml::element::ptr& element, const std::string& name,
                      const std::string& value);
    bool removeAttribute(const litehtml::element::ptr& element, const std::string& name);
    litehtml::element::ptr elementById(const std::string& id) const;

    // Counts matched-rule entries over the whole tree; the restyle keeps it
    // bounded however often classes change.
    std::size_t matchedRuleCount() const;

private:
    void collectAuthorCss();
    void restyle();
    void relayout();

    std::string url_;
    std::string html_;  // kept only until the author sheets are collected
    PageContainer container_;
    litehtml::context context_;
    litehtml::css authorCss_;
    litehtml::document::ptr document_;
    int viewportWidth_ = 0;   // CSS px
    int viewportHeight_ = 0;  // CSS px
    bool styleDirty_ = false;
    bool layoutDirty_ = true;
    bool paintDirty_ = true;
};

}  // namespace web
