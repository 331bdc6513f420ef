// Repaint regions from box snapshots and style fingerprints.
#include "ui/web/damage.hpp"

#include "ui/web/tag_access.hpp"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

namespace web {

namespace {

bool sameBox(const litehtml::position& a, const litehtml::position& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

void addRect(std::vector<litehtml::position>& rects, litehtml::position box) {
    if (box.width <= 0 || box.height <= 0) return;
    rects.emplace_back(box.x - 1, box.y - 1, box.width + 2, box.height + 2);
}

}  // namespace

int clampCoordinate(std::int64_t value) {
    return static_cast<int>(std::clamp(value, -kCoordinateLimit, kCoordinateLimit));
}

namespace {

// An inline element has no box of its own, only its fragments on the lines
// (padding and borders included), placed in its parent's coordinates.
bool fragmentsBox(const litehtml::element::ptr& element, litehtml::position& box) {
    litehtml::position::vector fragments;
    element->get_inline_boxes(fragments);
    const litehtml::element::ptr parent = element->parent();
    if (fragments.empty() || !parent) return false;
    const litehtml::position origin = parent->get_placement();
    std::int64_t left = fragments[0].x, top = fragments[0].y;
    std::int64_t right = left, bottom = top;
    for (const auto& f : fragments) {
        left = std::min<std::int64_t>(left, f.x), top = std::min<std::int64_t>(top, f.y);
        right = std::max<std::int64_t>(right, std::int64_t(f.x) + f.width);
        bottom = std::max<std::int64_t>(bottom, std::int64_t(f.y) + f.height);
    }
    box = litehtml::position(clampCoordinate(origin.x + left), clampCoordinate(origin.y + top),
                             clampCoordinate(right - left), clampCoordinate(bottom - top));
    return true;
}

}  // namespace

litehtml::position borderBox(const litehtml::element::ptr& element) {
    litehtml::position inlineBox;
    if (element->get_display() == litehtml::display_inline && fragmentsBox(element, inlineBox))
        return inlineBox;
    const litehtml::position content = element->get_placement();
    const std::int64_t left = std::int64_t(element->padding_left()) + element->border_left();
    const std::int64_t top = std::int64_t(element->padding_top()) + element->border_top();
    const std::int64_t right = std::int64_t(element->padding_right()) + element->border_right();
    const std::int64_t bottom = std::int64_t(element->padding_bottom()) + element->border_bottom();
    return litehtml::position(clampCoordinate(content.x - left), clampCoordinate(content.y - top),
                              clampCoordinate(content.width + left + right),
                              clampCoordinate(content.height + top + bottom));
}

BoxSnapshot snapshotBoxes(const litehtml::element::ptr& root) {
    BoxSnapshot snapshot;
    forEachElement(root, [&](const litehtml::element::ptr& element) {
        snapshot.boxes.emplace_back(element, borderBox(element));
    });
    return snapshot;
}

// An element's declarations come from the rules it matched, its
// attributes (presentational ones and the inline style) and, for inherited
// properties, its parent; the first two are the fingerprint, and a changed
// parent damages its whole subtree anyway.
std::string paintFingerprint(const litehtml::element::ptr& element) {
    auto* tag = dynamic_cast<litehtml::html_tag*>(element.get());
    if (!tag) return {};
    std::string print;
    for (const auto& used : TagAccess::usedStyles(*tag)) {
        const auto address = reinterpret_cast<std::uintptr_t>(used->m_selector.get());
        print.append(reinterpret_cast<const char*>(&address), sizeof address);
        print += used->m_used ? '+' : '-';
    }
    for (const auto& [name, value] : TagAccess::attributes(*tag)) {
        print += name;
        print += '=';
        print += value;
        print += '\n';
    }
    return print;
}

std::vector<litehtml::position> damagedRects(const BoxSnapshot& before,
                                             const litehtml::element::ptr& root,
                                             const std::vector<litehtml::element::ptr>& restyled) {
    std::unordered_map<const litehtml::element*, litehtml::position> oldBoxes;
    for (const auto& [element, box] : before.boxes) oldBoxes.emplace(element.get(), box);
    std::vector<litehtml::position> rects;
    std::unordered_map<const litehtml::element*, litehtml::position> newBoxes;
    forEachElement(root, [&](const litehtml::element::ptr& element) {
        const litehtml::position box = borderBox(element);
        newBoxes.emplace(element.get(), box);
        auto old = oldBoxes.find(element.get());
        if (old == oldBoxes.end()) {
            addRect(rects, box);
        } else if (!sameBox(old->second, box)) {
            addRect(rects, old->second);
            addRect(rects, box);
        }
    });
    for (const auto& [element, box] : before.boxes) {
        if (!newBoxes.count(element.get())) addRect(rects, box);
    }
    // A restyled element repaints with everything under it: inherited
    // colours and hiding reach positioned descendants outside its box.
    for (const auto& element : restyled) {
        forEachElement(element, [&](const litehtml::element::ptr& inside) {
            if (auto old = oldBoxes.find(inside.get()); old != oldBoxes.end())
                addRect(rects, old->second);
            if (auto now = newBoxes.find(inside.get()); now != newBoxes.end())
                addRect(rects, now->second);
        });
    }
    return rects;
}

}  // namespace web
