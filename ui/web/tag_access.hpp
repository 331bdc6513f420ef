#pragma once
// Reach into litehtml's element state that the library keeps protected but
// that restyling and repaint tracking must read or reset.

#include <el_text.h>
#include <html_tag.h>

namespace web {

// litehtml keeps an element's matched rules, computed declarations and
// attributes protected, and only ever appends to the first two; restyling
// must empty both or removed classes keep applying and the lists grow with
// every change. Letter-spacing and sibling margins, which litehtml gets
// wrong, are mended on its font and styled margins. A derived class may
// name protected members to form member pointers, which then work on any
// html_tag.
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
    // litehtml appends children only; a script may insert them anywhere.
    static litehtml::elements_vector& children(litehtml::html_tag& tag) {
        return tag.*(&TagAccess::m_children);
    }
    // The font the element's text measures and draws itself with.
    static litehtml::uint_ptr& font(litehtml::html_tag& tag) { return tag.*(&TagAccess::m_font); }
    // Margins, padding and borders as styled, before layout resolves them.
    static litehtml::css_margins& cssMargins(litehtml::html_tag& tag) {
        return tag.*(&TagAccess::m_css_margins);
    }
    static const litehtml::css_margins& cssPadding(const litehtml::html_tag& tag) {
        return tag.*(&TagAccess::m_css_padding);
    }
    static const litehtml::css_borders& cssBorders(const litehtml::html_tag& tag) {
        return tag.*(&TagAccess::m_css_borders);
    }
    // What the last layout kept of other elements: line boxes holding the
    // children, floats and positioned descendants, a table's grid of cells.
    static void forgetLayout(litehtml::html_tag& tag) {
        (tag.*(&TagAccess::m_boxes)).clear();
        (tag.*(&TagAccess::m_floats_left)).clear();
        (tag.*(&TagAccess::m_floats_right)).clear();
        (tag.*(&TagAccess::m_positioned)).clear();
        if (const auto& grid = tag.*(&TagAccess::m_grid)) grid->clear();
    }
};

// A word's text as drawn and its layout width, which litehtml measures once
// per word; the text run fitting replaces that width.
struct TextAccess : litehtml::el_text {
    static const litehtml::tstring& shownText(const litehtml::el_text& text) {
        return text.*(&TextAccess::m_use_transformed) ? text.*(&TextAccess::m_transformed_text)
                                                      : text.*(&TextAccess::m_text);
    }
    static int& width(litehtml::el_text& text) { return (text.*(&TextAccess::m_size)).width; }
};

}  // namespace web
