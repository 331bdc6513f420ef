// Parsing, restyling, layout, hit testing and painting of one page.
#include "ui/web/page_document.hpp"

#include <el_space.h>
#include <el_text.h>
#include <html_tag.h>

#include <algorithm>
#include <cctype>
#include <cmath>

#include "ui/web/bitmap.hpp"
#include "ui/web/css_colors.hpp"
#include "ui/web/letter_spacing.hpp"
#include "ui/web/litehtml_text.hpp"
#include "ui/web/nesting_limit.hpp"
#include "ui/web/page_scripts.hpp"
#include "ui/web/sibling_margins.hpp"
#include "ui/web/tag_access.hpp"
#include "ui/web/url.hpp"
#include "ui/web/user_agent_css.hpp"

namespace web {

namespace {

// The user-agent sheet never changes, so every page shares one parse of it
// (its selectors are only read after loading).
litehtml::context& userAgentContext() {
    static litehtml::context context = [] {
        litehtml::context parsed;
        parsed.load_master_stylesheet(kUserAgentCss);
        return parsed;
    }();
    return context;
}

bool tagIs(const litehtml::element::ptr& element, const char* name) {
    const char* tag = element->get_tagName();
    return tag && litehtml::t_strcasecmp(tag, name) == 0;
}

}  // namespace

PageDocument::PageDocument(const std::string& html, const std::string& url, FileSystem* fileSystem,
                           FontLoader* fontLoader, int defaultFontSize, int viewportWidth,
                           int viewportHeight)
    : url_(url),
      container_(fileSystem, fontLoader, defaultFontSize),
      context_(userAgentContext()),
      viewportWidth_(viewportWidth),
      viewportHeight_(viewportHeight) {
    // Known before parsing, so vw, vh and media queries resolve once.
    container_.setViewport(viewportWidth, viewportHeight);
    container_.setBaseUrl(url);
    std::string read = replaceNulBytes(html);
    markup_ = scanPageScripts(read);
    // The nesting bound reads markup ahead of the parser; a hostile page that
    // still nests past it once parsed is shown as its text, never laid out
    // for minutes. The parser adds html, body and a tbody in each table.
    if (markup_.elementDepth > kMaxElementDepth + 2 + kMaxTableDepth ||
        markup_.tableDepth > kMaxTableDepth) {
        shownAsText_ = true;
        read = markupAsText(read);
        markup_ = PageScriptInfo{};  // escaped, it holds no script, sheet or style attribute
    }
    const std::string page =
        rewriteSpans(read, markup_.cssSpans, [](const std::string& text, bool sheet) {
            return sheet ? prepareStyleSheet(text) : normaliseColorFunctions(text);
        });
    document_ = litehtml::document::createFromUTF8(page.c_str(), &container_, &context_);
    collectAuthorCss(markup_.styles);
    if (root()) mendScopes_.push_back(root());
}

PageDocument::~PageDocument() {
    // The document's elements hand their fonts back to the container.
    document_.reset();
}

litehtml::element::ptr PageDocument::root() const {
    return document_ ? document_->root() : nullptr;
}

// The document parses its sheets into a private list; we parse the same
// texts, in document order, into our own so a restyle can apply them again.
void PageDocument::collectAuthorCss(const std::vector<PageStyle>& styles) {
    for (const PageStyle& style : styles) {
        if (style.href.empty()) {
            const std::string text = prepareStyleSheet(style.text);
            authorCss_.parse_stylesheet(text.c_str(), url_.c_str(), document_, nullptr);
            continue;
        }
        const std::string address = resolveUrl(url_, style.href);
        const std::string text = container_.readStyleSheet(address);
        authorCss_.parse_stylesheet(text.c_str(), address.c_str(), document_, nullptr);
    }
    authorCss_.sort_selectors();
    for (const auto& selector : authorCss_.selectors()) {
        for (auto part = selector; part; part = part->m_left) {
            if (part->m_left && (part->m_combinator == litehtml::combinator_adjacent_sibling ||
                                 part->m_combinator == litehtml::combinator_general_sibling)) {
                siblingSelectors_ = true;
            }
        }
    }
}

void PageDocument::setViewport(int width, int height) {
    if (width == viewportWidth_ && height == viewportHeight_) return;
    viewportWidth_ = width;
    viewportHeight_ = height;
    container_.setViewport(width, height);
    layoutDirty_ = true;
    fullRepaint_ = true;
    // vw, vh and media queries were resolved against the old size when the
    // styles were parsed; the document re-reads its media features here.
    if (document_ && root()) {
        document_->media_changed();
        addRestyleScope(root());
    }
}

// A changed class or attribute can only change the element, its
// descendants and, through "+" and "~", its later siblings and theirs.
litehtml::element::ptr PageDocument::restyleScopeOf(const litehtml::element::ptr& element) const {
    if (siblingSelectors_ && element->parent()) return element->parent();
    return element;
}

void PageDocument::noteEdit(const litehtml::element::ptr& scope) {
    if (!fullRepaint_ && !boxesBefore_) boxesBefore_ = snapshotBoxes(root());
    if (!scope || fullRepaint_) return;
    forEachElement(scope, [&](const litehtml::element::ptr& element) {
        // The first fingerprint since the last paint is the one on screen.
        fingerprints_.try_emplace(element.get(), element, paintFingerprint(element));
    });
}

// The same steps, in the same order, as the first styling of the document:
// defaults, presentational attributes, author rules, then the inline style
// attributes that parse_styles reads itself.
void PageDocument::restyle(const litehtml::element::ptr& scope) {
    hoverSensitiveValid_ = false;
    forEachElement(scope, [](const litehtml::element::ptr& element) {
        if (auto* tag = dynamic_cast<litehtml::html_tag*>(element.get())) {
            TagAccess::usedStyles(*tag).clear();
            TagAccess::declarations(*tag).clear();
        }
    });
    scope->apply_stylesheet(context_.master_css());
    forEachElement(scope, [](const litehtml::element::ptr& element) {
        // Re-reading <link> or <style> would add their sheets to the
        // document a second time.
        if (!tagIs(element, "link") && !tagIs(element, "style")) element->parse_attributes();
    });
    scope->apply_stylesheet(authorCss_);
    // parse_styles(true) does not descend, and parse_styles(false) would
    // register tables with the document again on every pass; so each element
    // is re-read on its own, parents first for inheritance.
    forEachElement(scope,
                   [](const litehtml::element::ptr& element) { element->parse_styles(true); });
}

void PageDocument::addRestyleScope(const litehtml::element::ptr& scope) {
    // A script may write the same element many times in one frame.
    if (std::find(restyleScopes_.begin(), restyleScopes_.end(), scope) == restyleScopes_.end()) {
        restyleScopes_.push_back(scope);
    }
}

void PageDocument::restyleScopes() {
    const auto covered = [&](const litehtml::element::ptr& scope) {
        for (auto up = scope->parent(); up; up = up->parent()) {
            if (std::find(restyleScopes_.begin(), restyleScopes_.end(), up) !=
                restyleScopes_.end()) {
                return true;
            }
        }
        return false;
    };
    for (const auto& scope : restyleScopes_) {
        // A subtree taken out since is styled again when it is put back.
        if (!covered(scope) && isAttached(scope)) {
            restyle(scope);
            mendScopes_.push_back(scope);
        }
    }
    restyleScopes_.clear();
    regridTables();
    layoutDirty_ = true;
}

// After styling, which says what is a table: the nearest table holding the
// edit (a row or cell moved), or the edited parent with the tables under it.
void PageDocument::regridTables() {
    for (const auto& scope : regridScopes_) {
        if (!isAttached(scope)) continue;
        litehtml::element::ptr top = scope;
        for (auto up = scope; up; up = up->parent()) {
            const litehtml::style_display display = up->get_display();
            if (display == litehtml::display_table || display == litehtml::display_inline_table) {
                top = up;
                break;
            }
        }
        top->init();
    }
    regridScopes_.clear();
}

// What litehtml styles wrong is mended after every styling, its own :hover
// restyles included, and before layout reads it: in each restyled subtree,
// and for margins also among the restyled element's siblings.
void PageDocument::mendStyles() {
    const auto covered = [&](const litehtml::element::ptr& scope) {
        for (auto up = scope->parent(); up; up = up->parent()) {
            if (std::find(mendScopes_.begin(), mendScopes_.end(), up) != mendScopes_.end()) {
                return true;
            }
        }
        return false;
    };
    std::vector<litehtml::element::ptr> done;
    for (const auto& scope : mendScopes_) {
        if (covered(scope) || std::find(done.begin(), done.end(), scope) != done.end()) continue;
        done.push_back(scope);
        applyLetterSpacingToTree(scope, *document_);
        container_.textPlacement().fitSubtree(scope, container_.fonts());
        collapseSiblingMargins(scope, *document_);
    }
    mendScopes_.clear();
}

void PageDocument::relayout() {
    if (document_) mendStyles();
    if (document_ && viewportWidth_ > 0) document_->render(viewportWidth_);
    container_.textPlacement().layoutChanged();
    layoutDirty_ = false;
}

void PageDocument::collectDamage() {
    if (fullRepaint_ || !boxesBefore_) return;
    std::vector<litehtml::element::ptr> restyled;
    for (const auto& [key, entry] : fingerprints_) {
        if (paintFingerprint(entry.first) != entry.second) restyled.push_back(entry.first);
    }
    for (const auto& rect : damagedRects(*boxesBefore_, root(), restyled)) damage_.push_back(rect);
    // A host that stops painting while the page keeps changing must not
    // make the list grow without bound; past a point it is all one repaint.
    constexpr std::size_t kMaxDamageRects = 256;
    if (damage_.size() > kMaxDamageRects) {
        damage_.clear();
        fullRepaint_ = true;
    }
    boxesBefore_.reset();
    fingerprints_.clear();
}

void PageDocument::update() {
    if (!restyleScopes_.empty()) restyleScopes();
    if (layoutDirty_) relayout();
    collectDamage();
}

namespace {

// The device-pixel rectangle covering a CSS-px rectangle at `scale`.
void clipToRects(cairo_t* cr, const std::vector<litehtml::position>& rects, double scale) {
    for (const auto& r : rects) {
        const double x0 = std::floor(r.x * scale), y0 = std::floor(r.y * scale);
        const double x1 = std::ceil((r.x + r.width) * scale),
                     y1 = std::ceil((r.y + r.height) * scale);
        cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
    }
    cairo_clip(cr);
}

litehtml::position boundsOf(const std::vector<litehtml::position>& rects) {
    int x0 = rects[0].left(), y0 = rects[0].top(), x1 = rects[0].right(), y1 = rects[0].bottom();
    for (const auto& r : rects) {
        x0 = std::min(x0, r.left()), y0 = std::min(y0, r.top());
        x1 = std::max(x1, r.right()), y1 = std::max(y1, r.bottom());
    }
    return litehtml::position(x0, y0, x1 - x0, y1 - y0);
}

}  // namespace

bool PageDocument::paint(Bitmap& bitmap, double scale) {
    if (!needsPaint() || bitmap.empty()) return false;
    update();
    if (!fullRepaint_ && damage_.empty()) return false;  // edits that changed no pixel
    cairo_surface_t* surface =
        cairo_image_surface_create_for_data(bitmap.data(), CAIRO_FORMAT_ARGB32, int(bitmap.width()),
                                            int(bitmap.height()), int(bitmap.rowBytes()));
    cairo_t* cr = cairo_create(surface);
    litehtml::position clip(0, 0, int(std::ceil(bitmap.width() / scale)),
                            int(std::ceil(bitmap.height() / scale)));
    if (!fullRepaint_) {
        clipToRects(cr, damage_, scale);
        clip = boundsOf(damage_);
    }
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    cairo_scale(cr, scale, scale);
    if (document_) document_->draw(reinterpret_cast<litehtml::uint_ptr>(cr), 0, 0, &clip);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
    fullRepaint_ = false;
    damage_.clear();
    return true;
}

litehtml::element::ptr PageDocument::elementAt(int x, int y) {
    update();
    litehtml::element::ptr top = root();
    if (!top) return nullptr;
    litehtml::element::ptr hit = top->get_element_by_point(x, y, x, y);
    // Events target elements, never the word boxes inside them: those are
    // replaced whenever a script rewrites the text.
    while (hit && !dynamic_cast<litehtml::html_tag*>(hit.get())) hit = hit->parent();
    return hit ? hit : top;
}

bool PageDocument::hover(int x, int y) {
    if (!document_) return false;
    update();
    // Only elements that matched a :hover rule can change; their
    // fingerprints before and after tell which did.
    if (!hoverSensitiveValid_) findHoverSensitive();
    std::vector<std::string> before;
    before.reserve(hoverSensitive_.size());
    for (const auto& element : hoverSensitive_) before.push_back(paintFingerprint(element));
    litehtml::position::vector redraw;
    if (!document_->on_mouse_over(x, y, x, y, redraw)) return false;
    // The layout is still the one on screen, so the box snapshot taken now
    // catches anything a :hover size change moves.
    noteEdit(nullptr);
    for (std::size_t i = 0; i < hoverSensitive_.size(); ++i) {
        const auto& element = hoverSensitive_[i];
        if (!fullRepaint_) fingerprints_.try_emplace(element.get(), element, before[i]);
        // litehtml restyled these itself, fonts and word widths included.
        if (paintFingerprint(element) != before[i]) mendScopes_.push_back(element);
    }
    layoutDirty_ = true;
    return true;
}

namespace {

bool selectorUsesHover(const litehtml::css_selector& selector) {
    for (const litehtml::css_selector* part = &selector; part; part = part->m_left.get()) {
        for (const auto& attr : part->m_right.m_attrs) {
            if (attr.condition == litehtml::select_pseudo_class &&
                attr.val.rfind("hover", 0) == 0) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

void PageDocument::findHoverSensitive() {
    hoverSensitive_.clear();
    forEachElement(root(), [&](const litehtml::element::ptr& element) {
        auto* tag = dynamic_cast<litehtml::html_tag*>(element.get());
        if (!tag) return;
        for (const auto& used : TagAccess::usedStyles(*tag)) {
            if (used->m_selector && selectorUsesHover(*used->m_selector)) {
                hoverSensitive_.push_back(element);
                return;
            }
        }
    });
    hoverSensitiveValid_ = true;
}

bool PageDocument::setText(const litehtml::element::ptr& element, const std::string& text) {
    if (!element || !document_ || !dynamic_cast<litehtml::html_tag*>(element.get())) return false;
    std::string current;
    element->get_text(current);
    if (current == text && (element->get_children_count() > 0 || text.empty())) return false;
    const bool attached = isAttached(element);
    if (attached) {
        noteEdit(nullptr);
        // An element child taken out may be put back elsewhere before the
        // next paint, restyled where its box was: how it looked counts then.
        for (std::size_t i = 0; i < element->get_children_count(); ++i) {
            const litehtml::element::ptr child = element->get_child(int(i));
            if (dynamic_cast<litehtml::html_tag*>(child.get())) noteEdit(child);
        }
    }
    detachChildren(element);
    std::vector<litehtml::element::ptr> added;
    container_.split_text(
        text.c_str(),
        [&](const char* word) {
            added.push_back(std::make_shared<litehtml::el_text>(word, document_));
        },
        [&](const char* space) {
            added.push_back(std::make_shared<litehtml::el_space>(space, document_));
        });
    for (const auto& child : added) element->appendChild(child);
    // Words outside the page are measured when their element is put in.
    if (!attached) return true;
    for (const auto& child : added) child->parse_styles();
    container_.textPlacement().fit(static_cast<litehtml::html_tag&>(*element), container_.fonts());
    layoutDirty_ = true;
    return true;
}

bool PageDocument::setAttribute(const litehtml::element::ptr& element, const std::string& name,
                                const std::string& written) {
    auto* tag = dynamic_cast<litehtml::html_tag*>(element.get());
    if (!tag || name.empty()) return false;
    // Styles are kept the way the page's own markup is loaded, so writing
    // the same colour again is no change.
    const std::string value = name == "style" ? normaliseColorFunctions(written) : written;
    const char* old = tag->get_attr(name.c_str());
    if (old && value == old) return false;
    if (isAttached(element)) {
        const litehtml::element::ptr scope = restyleScopeOf(element);
        noteEdit(scope);
        addRestyleScope(scope);
    }
    TagAccess::attributes(*tag)[name] = value;
    if (name == "class") {
        // Selector matching reads the split list, not the attribute.
        auto& classes = TagAccess::classValues(*tag);
        classes.clear();
        litehtml::split_string(value, classes, " \t\n\r\f");
    }
    return true;
}

bool PageDocument::removeAttribute(const litehtml::element::ptr& element, const std::string& name) {
    auto* tag = dynamic_cast<litehtml::html_tag*>(element.get());
    if (!tag || !tag->get_attr(name.c_str())) return false;
    if (isAttached(element)) {
        const litehtml::element::ptr scope = restyleScopeOf(element);
        noteEdit(scope);
        addRestyleScope(scope);
    }
    TagAccess::attributes(*tag).erase(name);
    if (name == "class") TagAccess::classValues(*tag).clear();
    return true;
}

litehtml::element::ptr PageDocument::elementById(const std::string& id) const {
    litehtml::element::ptr found;
    forEachElement(root(), [&](const litehtml::element::ptr& element) {
        if (found) return;
        const char* value = element->get_attr("id");
        if (value && id == value) found = element;
    });
    return found;
}

litehtml::element::ptr PageDocument::createElement(const std::string& tagName) {
    if (!document_ || tagName.empty()) return nullptr;
    std::string name = tagName;
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return document_->create_element(name.c_str(), litehtml::string_map());
}

bool PageDocument::isAttached(const litehtml::element::ptr& element) const {
    litehtml::element::ptr top = element;
    while (top && top->parent()) top = top->parent();
    return top && top == root();
}

void PageDocument::noteChildrenEdit(const litehtml::element::ptr& parent) {
    if (parent && isAttached(parent)) noteEdit(parent);
}

// Which rules match can change for the parent's every descendant (":empty",
// ":nth-child", "+"), so the restyle covers its subtree; what is outside the
// page is styled when it comes in.
void PageDocument::childrenEdited(const litehtml::element::ptr& parent) {
    if (!parent || !isAttached(parent)) return;
    addRestyleScope(parent);
    if (std::find(regridScopes_.begin(), regridScopes_.end(), parent) == regridScopes_.end()) {
        regridScopes_.push_back(parent);
    }
    layoutDirty_ = true;
    hoverSensitiveValid_ = false;
}

TreeEditError PageDocument::insertChild(const litehtml::element::ptr& parent,
                                        const litehtml::element::ptr& child,
                                        litehtml::element::ptr before) {
    // A child inserted before itself stays where it is.
    if (before && before == child && child->parent() == parent) before = nextSibling(child);
    const TreeEditError refusal =
        checkInsertion(root(), parent, child, before, {kMaxElementDepth, kMaxTableDepth});
    if (refusal != TreeEditError::None) return refusal;
    const litehtml::element::ptr from = child->parent();
    noteChildrenEdit(from);
    noteChildrenEdit(parent);
    detach(child);
    // The next layout, which every edit calls for, builds it all again.
    forgetLayout(child);
    insertDetached(parent, child, before);
    childrenEdited(from);
    childrenEdited(parent);
    return TreeEditError::None;
}

TreeEditError PageDocument::removeChild(const litehtml::element::ptr& parent,
                                        const litehtml::element::ptr& child) {
    if (!dynamic_cast<litehtml::html_tag*>(parent.get()) || !child) {
        return TreeEditError::NotAnElement;
    }
    if (child->parent() != parent) return TreeEditError::NotAChild;
    noteChildrenEdit(parent);
    detach(child);
    childrenEdited(parent);
    return TreeEditError::None;
}

std::size_t PageDocument::matchedRuleCount() const {
    std::size_t count = 0;
    forEachElement(root(), [&](const litehtml::element::ptr& element) {
        if (auto* tag = dynamic_cast<litehtml::html_tag*>(element.get())) {
            count += TagAccess::usedStyles(*tag).size();
        }
    });
    return count;
}

}  // namespace web
