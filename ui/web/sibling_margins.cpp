// Margin collapsing between block siblings separated by a border or padding.
#include "ui/web/sibling_margins.hpp"

#include <html_tag.h>

#include <algorithm>

#include "ui/web/damage.hpp"
#include "ui/web/style_lengths.hpp"
#include "ui/web/tag_access.hpp"

namespace web {

namespace {

enum class FlowRole { Ignored, Block, Inline };

// What a child is to its siblings' margins: out of flow and white space do
// not separate them, a block takes part, inline content stands between.
FlowRole flowRole(const litehtml::element::ptr& child) {
    if (child->get_display() == litehtml::display_none) return FlowRole::Ignored;
    const litehtml::element_position position = child->get_element_position();
    if (position == litehtml::element_position_absolute ||
        position == litehtml::element_position_fixed) {
        return FlowRole::Ignored;
    }
    if (child->get_float() != litehtml::float_none) return FlowRole::Ignored;
    if (child->is_white_space()) return FlowRole::Ignored;
    switch (child->get_display()) {
        case litehtml::display_block:
        case litehtml::display_list_item:
        case litehtml::display_table:
            return dynamic_cast<litehtml::html_tag*>(child.get()) ? FlowRole::Block
                                                                  : FlowRole::Inline;
        default:
            return FlowRole::Inline;
    }
}

// litehtml hands on an upper sibling's bottom margin only when nothing
// lies between it and its bottom edge.
bool bottomEdgeClosed(const litehtml::html_tag& tag) {
    const litehtml::css_border& border = TagAccess::cssBorders(tag).bottom;
    const bool border_drawn = border.style != litehtml::border_style_none &&
                              border.style != litehtml::border_style_hidden &&
                              border.width.val() > 0;
    const litehtml::css_length& padding = TagAccess::cssPadding(tag).bottom;
    return border_drawn || (!padding.is_predefined() && padding.val() > 0);
}

void mendChildren(litehtml::html_tag& parent, const litehtml::document& document) {
    litehtml::html_tag* upper = nullptr;
    const std::size_t count = parent.get_children_count();
    for (std::size_t i = 0; i < count; ++i) {
        const litehtml::element::ptr child = parent.get_child(int(i));
        const FlowRole role = flowRole(child);
        if (role == FlowRole::Ignored) continue;
        if (role == FlowRole::Inline) {
            upper = nullptr;
            continue;
        }
        auto& lower = static_cast<litehtml::html_tag&>(*child);
        litehtml::css_length& top = TagAccess::cssMargins(lower).top;
        // Re-read as litehtml reads it: font-relative units become px here,
        // layout only resolves percentages.
        top.fromString(lower.get_style_property("margin-top", false, "0"), "auto");
        document.cvt_units(top, lower.get_font_size());
        if (upper && bottomEdgeClosed(*upper)) {
            const auto above =
                absolutePx(TagAccess::cssMargins(*upper).bottom, upper->get_font_size(), document);
            const auto below = absolutePx(top, lower.get_font_size(), document);
            // Margins of mixed signs already add up in a browser too.
            if (above && below && *above > 0 && *below >= 0) {
                top.set_value(static_cast<float>(std::max(0.0, *below - *above)),
                              litehtml::css_units_px);
            }
        }
        upper = &lower;
    }
}

}  // namespace

void collapseSiblingMargins(const litehtml::element::ptr& scope,
                            const litehtml::document& document) {
    forEachElement(scope, [&](const litehtml::element::ptr& element) {
        if (auto* tag = dynamic_cast<litehtml::html_tag*>(element.get()))
            mendChildren(*tag, document);
    });
    const litehtml::element::ptr parent = scope->parent();
    if (auto* tag = dynamic_cast<litehtml::html_tag*>(parent.get())) mendChildren(*tag, document);
}

}  // namespace web
