#pragma once
// What the mission editor draws over the field it edits: where the operative
// can stand from the chosen spawn (shaded), the guards' patrols and the
// directive's route, the selected pieces' outlines with a handle to size
// them, and the box being dragged to select. The shell's editor fills it;
// the rules never see it.

#include <cstdint>
#include <vector>

#include "render/batch.hpp"

namespace nj {

struct EditorMarks {
    struct Point {
        float x = 0, y = 0;
    };
    struct Outline {
        float x = 0, y = 0, w = 0, h = 0;  // field units, upright
        bool round = false;
        bool sizable = false;  // shows the corner handle a drag sizes it by
    };
    struct Route {
        std::vector<Point> points;
        bool selected = false;  // drawn bright, its waypoints numbered by dots
    };

    // Grid points `cell` units apart, row by row; non-zero where the
    // operative can stand. Empty: no shading.
    int cell = 0, columns = 0, rows = 0;
    std::vector<std::uint8_t> reachable;
    std::vector<Route> routes;
    std::vector<Outline> selected;
    bool boxShown = false;
    Outline box;  // the box-select rubber band
    // Where a click would place the chosen kind, on the grid.
    bool placingShown = false;
    Point placing;
};

// The corner handle's half side, in field units: the pointer grabs it within this.
inline constexpr float kEditorHandleHalf = 5.0f;

// Over the finished field and under the page.
void drawEditorMarks(Batch& batch, const EditorMarks& marks);

}  // namespace nj
