// The editor's marks: one rectangle a run of standable floor, routes that close their loop.
#include "render/scene/editor_marks.hpp"

#include <gtest/gtest.h>

#include "tests/render/cpu_batch.hpp"

namespace {

std::vector<nj::Vertex> drawn(const nj::EditorMarks& marks) {
    return nj::test::drawnBy([&](nj::Batch& b) { nj::drawEditorMarks(b, marks); });
}

TEST(EditorMarks, EachRunOfStandableFloorIsOneRectangle) {
    nj::EditorMarks marks;
    marks.cell = 4;
    marks.columns = 6;
    marks.rows = 3;
    marks.reachable = {
        1, 1, 0, 1, 1, 1,  // two runs, the second reaching the row's end
        0, 0, 0, 0, 0, 0,  // none
        1, 0, 1, 0, 1, 0,  // three single points
    };
    const std::vector<nj::Vertex> v = drawn(marks);
    ASSERT_EQ(v.size(), 5u * 6u);
    const nj::test::Bounds first = nj::test::boundsOf({v.begin(), v.begin() + 6});
    EXPECT_NEAR(first.minX, -2.0f, 1e-3f);  // a point's square is centred on it
    EXPECT_NEAR(first.maxX, 6.0f, 1e-3f);
    // A grid shorter than its size says draws nothing rather than reading past it.
    marks.reachable.pop_back();
    EXPECT_TRUE(drawn(marks).empty());
}

TEST(EditorMarks, APatrolClosesItsLoop) {
    nj::EditorMarks route;
    route.routes.push_back({{{10, 10}, {50, 10}, {50, 50}}, true});
    nj::EditorMarks open = route;
    open.routes[0].points.pop_back();
    // Three legs for three waypoints (the walk back included), one for two.
    nj::EditorMarks dot;
    dot.routes.push_back({{{10, 10}}, true});
    const std::size_t perDot = drawn(dot).size();
    const std::size_t perLeg = (drawn(open).size() - 2 * perDot) / 2;
    EXPECT_EQ(drawn(route).size(), 3 * perDot + 3 * perLeg);
}

}  // namespace
