#pragma once
// Reach into litehtml's element state that the library keeps protected but
// that restyling and repaint tracking must read or reset.

#include <html_tag.h>

namespace web {

// litehtml keeps an element's matched rules, computed declarations and
// attributes protected, and only ever appends to the first two; restyling
// must empty both or removed classes keep applying and the lists grow with
// every change. A derived class may name protected members to form member
// pointers, which then work on any html_tag.
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

}  // namespace web
