// The editor's marks over the field.
#include "render/scene/editor_marks.hpp"

#include "core/color.hpp"
#include "render/primitives.hpp"

namespace nj {
namespace {

constexpr Color kReachShade{0.30f, 0.85f, 0.55f, 0.32f};
constexpr Color kRouteFaint{0.85f, 0.80f, 0.35f, 0.45f};
constexpr Color kRouteBright{1.0f, 0.90f, 0.30f, 0.95f};
constexpr Color kSelection{0.35f, 0.90f, 1.0f, 0.95f};
constexpr Color kBand{0.35f, 0.90f, 1.0f, 0.12f};

// Runs of standable points along each row become one rectangle each, so a
// whole floor costs a few hundred quads, not tens of thousands.
void drawReachable(Batch& batch, const EditorMarks& marks) {
    if (marks.cell <= 0 || marks.columns <= 0 || marks.rows <= 0) return;
    const auto count =
        static_cast<std::size_t>(marks.columns) * static_cast<std::size_t>(marks.rows);
    if (marks.reachable.size() < count) return;
    const float cell = static_cast<float>(marks.cell);
    for (int row = 0; row < marks.rows; ++row) {
        const std::size_t base =
            static_cast<std::size_t>(row) * static_cast<std::size_t>(marks.columns);
        int column = 0;
        while (column < marks.columns) {
            if (!marks.reachable[base + static_cast<std::size_t>(column)]) {
                ++column;
                continue;
            }
            const int first = column;
            while (column < marks.columns &&
                   marks.reachable[base + static_cast<std::size_t>(column)])
                ++column;
            fillRect(batch, (static_cast<float>(first) - 0.5f) * cell,
                     (static_cast<float>(row) - 0.5f) * cell,
                     static_cast<float>(column - first) * cell, cell, kReachShade);
        }
    }
}

void drawRoute(Batch& batch, const EditorMarks::Route& route) {
    const Color& colour = route.selected ? kRouteBright : kRouteFaint;
    const float thickness = route.selected ? 2.0f : 1.0f;
    const std::size_t n = route.points.size();
    for (std::size_t i = 0; n > 1 && i < n; ++i) {
        // A patrol walks back to its first waypoint after its last.
        const EditorMarks::Point& a = route.points[i];
        const EditorMarks::Point& b = route.points[(i + 1) % n];
        drawLine(batch, a.x, a.y, b.x, b.y, thickness, colour);
    }
    for (const EditorMarks::Point& p : route.points)
        fillCircle(batch, p.x, p.y, route.selected ? 4.0f : 2.5f, colour, 12);
}

void drawOutline(Batch& batch, const EditorMarks::Outline& o) {
    if (o.round) {
        circleOutline(batch, o.x + o.w / 2, o.y + o.h / 2, o.w / 2 + 2.0f, 1.5f, kSelection, 24);
    } else {
        rectOutline(batch, o.x - 2.0f, o.y - 2.0f, o.w + 4.0f, o.h + 4.0f, 1.5f, kSelection);
    }
    if (o.sizable) {
        fillRect(batch, o.x + o.w - kEditorHandleHalf, o.y + o.h - kEditorHandleHalf,
                 2 * kEditorHandleHalf, 2 * kEditorHandleHalf, kSelection);
    }
}

}  // namespace

void drawEditorMarks(Batch& batch, const EditorMarks& marks) {
    batch.setAdditiveBlend(false);
    drawReachable(batch, marks);
    for (const EditorMarks::Route& route : marks.routes) drawRoute(batch, route);
    for (const EditorMarks::Outline& outline : marks.selected) drawOutline(batch, outline);
    if (marks.placingShown) {
        circleOutline(batch, marks.placing.x, marks.placing.y, 7.0f, 1.5f, kSelection, 20);
        drawLine(batch, marks.placing.x - 11.0f, marks.placing.y, marks.placing.x + 11.0f,
                 marks.placing.y, 1.0f, kSelection);
        drawLine(batch, marks.placing.x, marks.placing.y - 11.0f, marks.placing.x,
                 marks.placing.y + 11.0f, 1.0f, kSelection);
    }
    if (marks.boxShown) {
        fillRect(batch, marks.box.x, marks.box.y, marks.box.w, marks.box.h, kBand);
        rectOutline(batch, marks.box.x, marks.box.y, marks.box.w, marks.box.h, 1.0f, kSelection);
    }
}

}  // namespace nj
