#pragma once
// One loaded page: the litehtml document, its style sheets, and the style,
// layout and paint steps that run only when something changed.

#include <litehtml.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/web/damage.hpp"
#include "ui/web/page_container.hpp"
#include "ui/web/page_scripts.hpp"
#include "ui/web/tree_edits.hpp"

namespace web {

class Bitmap;

class PageDocument {
  public:
    // Parses `html` (the page at address `url`) for a viewport of
    // `viewportWidth` x `viewportHeight` CSS px; style sheets and images are
    // read through `fileSystem`. Broken markup or CSS never fails: whatever
    // litehtml makes of it is laid out (a NUL byte reads as U+FFFD, as in a
    // browser).
    PageDocument(const std::string& html, const std::string& url, FileSystem* fileSystem,
                 FontLoader* fontLoader, int defaultFontSize, int viewportWidth,
                 int viewportHeight);
    ~PageDocument();
    PageDocument(const PageDocument&) = delete;
    PageDocument& operator=(const PageDocument&) = delete;

    litehtml::element::ptr root() const;
    const std::string& url() const { return url_; }
    // The page's scripts, sheets and diagnostics level.
    const PageScriptInfo& markup() const { return markup_; }
    // The page nested past the bounds once parsed, so it is shown as text.
    bool shownAsText() const { return shownAsText_; }

    // Layout viewport in CSS px; a change relayouts on the next paint.
    void setViewport(int width, int height);

    // The whole bitmap is painted again on the next paint (new bitmap, new
    // scale); otherwise only the damage of DOM edits and hover changes is.
    void markPaintNeeded() { fullRepaint_ = true; }
    bool needsPaint() const {
        return fullRepaint_ || layoutDirty_ || !restyleScopes_.empty() || !damage_.empty();
    }

    // Brings styles and layout up to date and paints into `bitmap` at
    // `scale` device pixels per CSS px: everything after a load, resize or
    // hover change, else only the rectangles the DOM edits touched. Returns
    // false when no pixel needed painting.
    bool paint(Bitmap& bitmap, double scale);

    // Brings styles and layout up to date without painting (hit tests and
    // geometry queries need a current layout).
    void update();

    // The innermost element (not text) under a point in CSS px; the root
    // when the point hits nothing, null without a document.
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

    // Tree edits from scripts, with a browser's semantics. A new element
    // stands outside the page until inserted; then it, and whatever it holds,
    // is styled by the page's rules. insertChild first takes `child` from
    // wherever it was; `before` null inserts at the end. Each refuses without
    // changing anything and says why.
    litehtml::element::ptr createElement(const std::string& tagName);
    TreeEditError insertChild(const litehtml::element::ptr& parent,
                              const litehtml::element::ptr& child, litehtml::element::ptr before);
    TreeEditError removeChild(const litehtml::element::ptr& parent,
                              const litehtml::element::ptr& child);
    // Whether `element` is in the page (not created or taken out by a script).
    bool isAttached(const litehtml::element::ptr& element) const;

    // Counts matched-rule entries over the whole tree; the restyle keeps it
    // bounded however often classes change.
    std::size_t matchedRuleCount() const;

  private:
    void collectAuthorCss(const std::vector<PageStyle>& styles);
    // Before the first edit since the last paint: remembers where everything
    // was, and the paint styles of what a restyle of `scope` may change.
    void noteEdit(const litehtml::element::ptr& scope);
    litehtml::element::ptr restyleScopeOf(const litehtml::element::ptr& element) const;
    void restyle(const litehtml::element::ptr& scope);
    void addRestyleScope(const litehtml::element::ptr& scope);
    // Around a change to the children of `parent`: what was on screen, then
    // the restyle that structural selectors (:first-child, +) may need.
    void noteChildrenEdit(const litehtml::element::ptr& parent);
    void childrenEdited(const litehtml::element::ptr& parent);
    void restyleScopes();
    void regridTables();
    void mendStyles();
    void relayout();
    void collectDamage();
    void findHoverSensitive();

    std::string url_;
    PageScriptInfo markup_;
    bool shownAsText_ = false;
    PageContainer container_;
    litehtml::context& context_;  // the user-agent sheet, parsed once for every page
    litehtml::css authorCss_;
    litehtml::document::ptr document_;
    int viewportWidth_ = 0;   // CSS px
    int viewportHeight_ = 0;  // CSS px
    bool layoutDirty_ = true;
    bool fullRepaint_ = true;
    bool siblingSelectors_ = false;  // any author rule with "+" or "~"
    // Edits since the last paint: subtrees to restyle, the paint fingerprints
    // and boxes they had on screen, and damage not yet painted.
    std::vector<litehtml::element::ptr> restyleScopes_;
    // Subtrees styled since the last layout, whose letter-spacing, word
    // widths and sibling margins need mending before the next one.
    std::vector<litehtml::element::ptr> mendScopes_;
    // Parents whose children a script changed: litehtml builds table grids
    // once, after parsing, so the tables there are gridded again.
    std::vector<litehtml::element::ptr> regridScopes_;
    std::map<const litehtml::element*, std::pair<litehtml::element::ptr, std::string>>
        fingerprints_;
    std::optional<BoxSnapshot> boxesBefore_;
    std::vector<litehtml::position> damage_;  // CSS px, not yet painted
    // Elements that matched a rule with :hover somewhere in its selector;
    // recomputed after a restyle.
    std::vector<litehtml::element::ptr> hoverSensitive_;
    bool hoverSensitiveValid_ = false;
};

}  // namespace web
