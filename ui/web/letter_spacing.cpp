// Spaced fonts for elements with letter-spacing.
#include "ui/web/letter_spacing.hpp"

#include <el_text.h>
#include <html_tag.h>

#include "ui/web/damage.hpp"
#include "ui/web/fonts.hpp"
#include "ui/web/style_lengths.hpp"
#include "ui/web/tag_access.hpp"

namespace web {

bool applyLetterSpacing(litehtml::html_tag& tag, const litehtml::document& document) {
    auto* font = reinterpret_cast<Font*>(TagAccess::font(tag));
    if (!font) return false;
    // The spacing is inherited like a font property; "normal" is none.
    const char* value = tag.get_style_property("letter-spacing", true, "normal");
    const double spacing = absolutePx(value, tag.get_font_size(), document).value_or(0.0);
    Font* spaced = FontCache::withLetterSpacing(font, spacing);
    if (spaced == font) return false;
    TagAccess::font(tag) = reinterpret_cast<litehtml::uint_ptr>(spaced);
    return true;
}

void applyLetterSpacingToTree(const litehtml::element::ptr& root,
                              const litehtml::document& document) {
    forEachElement(root, [&](const litehtml::element::ptr& element) {
        auto* tag = dynamic_cast<litehtml::html_tag*>(element.get());
        if (!tag || !applyLetterSpacing(*tag, document)) return;
        const std::size_t count = element->get_children_count();
        for (std::size_t i = 0; i < count; ++i) {
            const litehtml::element::ptr child = element->get_child(int(i));
            if (dynamic_cast<litehtml::el_text*>(child.get())) child->parse_styles();
        }
    });
}

}  // namespace web
