// Whole-pixel word widths that add up like the run's shaped width, and the
// sub-pixel paint offsets that go with them.
#include "ui/web/text_runs.hpp"

#include <el_text.h>
#include <html_tag.h>

#include <cmath>
#include <utility>

#include "ui/web/damage.hpp"
#include "ui/web/fonts.hpp"
#include "ui/web/tag_access.hpp"

namespace web {

namespace {

litehtml::el_text* asWord(const litehtml::element::ptr& child) {
    auto* text = dynamic_cast<litehtml::el_text*>(child.get());
    return text && !text->is_break() ? text : nullptr;
}

// litehtml puts the text top at lh - d - trunc((lh - h) / 2) - a below the
// line's top (h = a + d + line gap); a browser at floor((lh - a - d) / 2).
// Worked in 64 bits and clamped: a page can ask for a line height at the
// edge of int.
int baselineExcess(int lineHeight, const FontMetrics& m) {
    const long long leading = static_cast<long long>(lineHeight) - m.ascent - m.descent;
    const long long litehtmlTop = leading - (static_cast<long long>(lineHeight) - m.height) / 2;
    const long long browserTop = leading >= 0 ? leading / 2 : -((1 - leading) / 2);
    return clampCoordinate(litehtmlTop - browserTop);
}

// Every word of a line moves by the same pixel, worked out from the line's
// block (its font and line height, which litehtml starts each line from),
// so words of other fonts in the line keep their common baseline.
int runBaselineExcess(litehtml::html_tag& parent) {
    litehtml::element::ptr block = parent.shared_from_this();
    while (block->get_display() == litehtml::display_inline && block->parent()) {
        block = block->parent();
    }
    const auto* font = reinterpret_cast<const Font*>(block->get_font());
    return font ? baselineExcess(block->line_height(), font->metrics) : 0;
}

}  // namespace

void TextPlacement::fitSubtree(const litehtml::element::ptr& top, FontCache& fonts) {
    forEachElement(top, [&](const litehtml::element::ptr& element) {
        if (auto* tag = dynamic_cast<litehtml::html_tag*>(element.get())) fit(*tag, fonts);
    });
}

void TextPlacement::fit(litehtml::html_tag& parent, FontCache& fonts) {
    const std::shared_ptr<litehtml::element> self = parent.shared_from_this();
    if (const auto before = runWords_.find(&parent); before != runWords_.end()) {
        for (const char* text : before->second) {
            // A buffer freed with an old word may since belong to another run.
            const auto found = words_.find(text);
            if (found != words_.end() && found->second.parent.lock() == self) words_.erase(found);
        }
        runWords_.erase(before);
    }
    std::vector<const char*> noted;
    const int excess = runBaselineExcess(parent);
    std::vector<std::weak_ptr<litehtml::element>> lowered;
    double shaped = 0.0;  // the run's length so far, px
    long placed = 0;      // the same in whole px
    const std::size_t count = parent.get_children_count();
    for (std::size_t i = 0; i < count; ++i) {
        const litehtml::element::ptr child = parent.get_child(int(i));
        litehtml::el_text* word = asWord(child);
        if (!word) {
            // An inline element between words starts a new run after it.
            shaped = 0.0, placed = 0;
            continue;
        }
        const litehtml::tstring& text = TextAccess::shownText(*word);
        const double advance =
            fonts.textAdvance(reinterpret_cast<Font*>(word->get_font()), text.c_str());
        words_[text.c_str()] = Word{self, shaped - double(placed)};
        noted.push_back(text.c_str());
        if (excess != 0) lowered.push_back(child);
        shaped += advance;
        const long width = std::lround(shaped) - placed;
        TextAccess::width(*word) = static_cast<int>(width);
        placed += width;
    }
    if (!noted.empty()) runWords_[&parent] = std::move(noted);
    if (lowered.empty()) {
        baselineMoves_.erase(&parent);
    } else {
        baselineMoves_[&parent] = BaselineMove{excess, std::move(lowered)};
    }
    placedRuns_.erase(&parent);
}

void TextPlacement::layoutChanged() {
    offsets_.clear();
    placedRuns_.clear();
    for (const auto& [run, move] : baselineMoves_) {
        for (const auto& weak : move.words) {
            const litehtml::element::ptr word = weak.lock();
            if (word && !word->skip()) word->get_position().y -= move.excess;
        }
    }
}

// A line starts where a word sits left of (or below) the one before it; its
// words are shifted by their fraction less the line's first one's, so the
// line itself starts where litehtml put it.
void TextPlacement::placeLines(litehtml::element& parent) {
    placedRuns_.insert(&parent);
    double lineBase = 0.0;
    int lastX = 0, lastY = 0;
    bool first = true;
    const std::size_t count = parent.get_children_count();
    for (std::size_t i = 0; i < count; ++i) {
        litehtml::el_text* word = asWord(parent.get_child(int(i)));
        if (!word) {
            first = true;
            continue;
        }
        // Spaces litehtml dropped at a line's ends were never placed.
        if (word->skip()) continue;
        const char* text = TextAccess::shownText(*word).c_str();
        const auto found = words_.find(text);
        const double fraction = found == words_.end() ? 0.0 : found->second.fraction;
        const litehtml::position& at = word->get_position();
        if (first || at.x < lastX || at.y != lastY) lineBase = fraction;
        first = false;
        lastX = at.x, lastY = at.y;
        offsets_[text] = fraction - lineBase;
    }
}

double TextPlacement::paintX(const char* text, int x) {
    auto offset = offsets_.find(text);
    if (offset == offsets_.end()) {
        const auto word = words_.find(text);
        if (word == words_.end()) return x;
        const std::shared_ptr<litehtml::element> parent = word->second.parent.lock();
        if (!parent || placedRuns_.count(parent.get())) return x;
        placeLines(*parent);
        offset = offsets_.find(text);
        if (offset == offsets_.end()) return x;
    }
    return x + offset->second;
}

}  // namespace web
