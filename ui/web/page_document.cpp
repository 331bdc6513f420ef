// Parsing, restyling, layout, hit testing and painting of one page.
#include "ui/web/page_document.hpp"

#include <el_space.h>
#include <el_text.h>
#include <html_tag.h>

#include <cmath>

#include "ui/web/bitmap.hpp"
#include "ui/web/page_scripts.hpp"
#include "ui/web/url.hpp"
#include "ui/web/user_agent_css.hpp"

namespace web {

namespace {

// litehtml keeps an element's matched rules and computed declarations
// protected, and only ever appends to them; restyling must empty both or
// removed classes keep applying and the lists grow with every change. A
// derived class may name protected members to form member pointers.
struct TagAccess : litehtml::html_tag {
    static litehtml::used_selector::vector& usedStyles(litehtml::html_tag& tag) {
        return tag.*(&TagAccess::m_used_styles);
    }
    static litehtml::style& declarations(litehtml::html_tag& tag) {
        return tag.*(&TagAccess::m_style);
    }
    static litehtml::string_map& attributes(litehtml::html_tag& tag) {
        return tag.*(&TagAccess::m_attrs);
    }
    static litehtml::string_vector& classValues(litehtml::html_tag& tag) {
        return tag.*(&TagAccess::m_class_values);
    }
};

template <typename Visit>
void forEachElement(const litehtml::element::ptr& element, const Visit& visit) {
    if (!element) return;
    visit(element);
    const std::size_t count = element->get_children_count();
    for (std::size_t i = 0; i < count; ++i) forEachElement(element->get_child(int(i)), visit);
}

bool tagIs(const litehtml::element::ptr& element, const char* name) {
    const char* tag = element->get_tagName();
    return tag && litehtml::t_strcasecmp(tag, name) == 0;
}

}  // namespace

PageDocument::PageDocument(const std::string& html, const std::string& url,
                           FileSystem* fileSystem, FontLoader* fontLoader, int defaultFontSize)
    : url_(url), html_(html), container_(fileSystem, fontLoader, defaultFontSize) {
    container_.setBaseUrl(url);
    context_.load_master_stylesheet(kUserAgentCss);
    document_ = litehtml::document::createFromUTF8(html.c_str(), &container_, &context_);
    collectAuthorCss();
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
void PageDocument::collectAuthorCss() {
    for (const PageStyle& style : scanPageScripts(html_).styles) {
        if (style.href.empty()) {
            authorCss_.parse_stylesheet(style.text.c_str(), url_.c_str(), document_, nullptr);
            continue;
        }
        const std::string address = resolveUrl(url_, style.href);
        const std::string text = container_.readText(address);
        authorCss_.parse_stylesheet(text.c_str(), address.c_str(), document_, nullptr);
    }
    authorCss_.sort_selectors();
    html_.clear();
    html_.shrink_to_fit();
}

void PageDocument::setViewport(int width, int height) {
    if (width == viewportWidth_ && height == viewportHeight_) return;
    viewportWidth_ = width;
    viewportHeight_ = height;
    container_.setViewport(width, height);
    layoutDirty_ = true;
}

// The same steps, in the same order, as the first styling of the document:
// defaults, presentational attributes, author rules, then the inline style
// attributes that parse_styles reads itself.
void PageDocument::restyle() {
    litehtml::element::ptr top = root();
    if (!top) return;
    forEachElement(top, [](const litehtml::element::ptr& element) {
        if (auto* tag = dynamic_cast<litehtml::html_tag*>(element.get())) {
            TagAccess::usedStyles(*tag).clear();
            TagAccess::declarations(*tag).clear();
        }
    });
    top->apply_stylesheet(context_.master_css());
    forEachElement(top, [](const litehtml::element::ptr& element) {
        // Re-reading <link> or <style> would add their sheets to the
        // document a second time.
        if (!tagIs(element, "link") && !tagIs(element, "style")) element->parse_attributes();
    });
    top->apply_stylesheet(authorCss_);
    // parse_styles(true) does not descend, and parse_styles(false) would
    // register tables with the document again on every pass; so each element
    // is re-read on its own, parents first for inheritance.
    forEachElement(top, [](const litehtml::element::ptr& element) { element->parse_styles(true); });
    styleDirty_ = false;
    layoutDirty_ = true;
}

void PageDocument::relayout() {
    if (document_ && viewportWidth_ > 0) document_->render(viewportWidth_);
    layoutDirty_ = false;
    paintDirty_ = true;
}

void PageDocument::update() {
    if (styleDirty_) restyle();
    if (layoutDirty_) relayout();
}

bool PageDocument::paint(Bitmap& bitmap, double scale) {
    if (!needsPaint() || bitmap.empty()) return false;
    update();
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        bitmap.data(), CAIRO_FORMAT_ARGB32, int(bitmap.width()), int(bitmap.height()),
        int(bitmap.rowBytes()));
    cairo_t* cr = cairo_create(surface);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    cairo_scale(cr, scale, scale);
    if (document_) {
        const litehtml::position clip(0, 0, int(std::ceil(bitmap.width() / scale)),
                                      int(std::ceil(bitmap.height() / scale)));
        document_->draw(reinterpret_cast<litehtml::uint_ptr>(cr), 0, 0, &clip);
    }
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
    paintDirty_ = false;
    return true;
}

litehtml::element::ptr PageDocument::elementAt(int x, int y) {
    update();
    litehtml::element::ptr top = root();
    if (!top) return nullptr;
    litehtml::element::ptr hit = top->get_element_by_point(x, y, x, y);
    return hit ? hit : top;
}

bool PageDocument::hover(int x, int y) {
    if (!document_) return false;
    update();
    litehtml::position::vector redraw;
    if (!document_->on_mouse_over(x, y, x, y, redraw)) return false;
    // A :hover rule may change sizes as well as colours.
    layoutDirty_ = true;
    return true;
}

bool PageDocument::setText(const litehtml::element::ptr& element, const std::string& text) {
    if (!element || !document_ || !dynamic_cast<litehtml::html_tag*>(element.get())) return false;
    std::string current;
    element->get_text(current);
    if (current == text && (element->get_children_count() > 0 || text.empty())) return false;
    element->clearRecursive();
    std::vector<litehtml::element::ptr> added;
    container_.split_text(
        text.c_str(),
        [&](const char* word) {
            added.push_back(std::make_shared<litehtml::el_text>(word, document_));
        },
        [&](const char* space) {
            added.push_back(std::make_shared<litehtml::el_space>(space, document_));
        });
    for (const auto& child : added) {
        element->appendChild(child);
        child->parse_styles();
    }
    layoutDirty_ = true;
    return true;
}

bool PageDocument::setAttribute(const litehtml::element::ptr& element, const std::string& name,
                                const std::string& value) {
    auto* tag = dynamic_cast<litehtml::html_tag*>(element.get());
    if (!tag || name.empty()) return false;
    const char* old = tag->get_attr(name.c_str());
    if (old && value == old) return false;
    TagAccess::attributes(*tag)[name] = value;
    if (name == "class") {
        // Selector matching reads the split list, not the attribute.
        auto& classes = TagAccess::classValues(*tag);
        classes.clear();
        litehtml::split_string(value, classes, " \t\n\r\f");
    }
    styleDirty_ = true;
    return true;
}

bool PageDocument::removeAttribute(const litehtml::element::ptr& element,
                                   const std::string& name) {
    auto* tag = dynamic_cast<litehtml::html_tag*>(element.get());
    if (!tag || !TagAccess::attributes(*tag).erase(name)) return false;
    if (name == "class") TagAccess::classValues(*tag).clear();
    styleDirty_ = true;
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
