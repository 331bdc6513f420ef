// The pointer on the edited field: select, drag to move, drag a corner to
// size, drag on empty floor to select a box, place a piece, and draw a route.
// A drag shows the mission as it would leave it and becomes one edit (one
// undo step) when the button comes up.
#include <algorithm>
#include <cmath>

#include "app/editor_session.hpp"
#include "core/page_size.hpp"
#include "data/mission_format.hpp"

namespace nj {
namespace {

// The page is laid out 1280 units wide over the 960-unit field.
constexpr double kFieldPerPage = kMissionFieldWidth / static_cast<double>(kPageWidth);
// How near a waypoint the pointer must be to grab it, in field units.
constexpr double kWaypointReach = 8.0;
// Smaller boxes are refused by the checker anyway; a drag stops there.
constexpr double kSmallestSide = 2.0;

double distance(double ax, double ay, double bx, double by) {
    return std::hypot(ax - bx, ay - by);
}

}  // namespace

void EditorSession::pointer(const std::string& phase, double pageX, double pageY, bool shift) {
    if (!std::isfinite(pageX) || !std::isfinite(pageY)) return;
    const double x = std::clamp(pageX * kFieldPerPage, 0.0, kMissionFieldWidth);
    const double y = std::clamp(pageY * kFieldPerPage, 0.0, kMissionFieldHeight);
    if (phase == "down") {
        pointerDown(x, y, shift);
    } else if (phase == "move") {
        pointerMove(x, y);
    } else if (phase == "up") {
        pointerUp(x, y);
    }
}

void EditorSession::pointerDown(double x, double y, bool shift) {
    anchorX_ = x;
    anchorY_ = y;
    dragMoved_ = false;
    if (toolPlacesPieces()) {
        placeAt(x, y);
        return;
    }
    if (tool_ == "route") {
        if (selection_.size() != 1 || !pieceHasRoute(selection_.front())) {
            say("SELECT A GUARD OR THE DIRECTIVE FIRST", true);
            return;
        }
        if (grabWaypoint(x, y)) return;
        const MissionPiece piece = selection_.front();
        const std::size_t count = pieceRoute(editor_->mission(), piece).size();
        if (apply([&](JsonValue& m, std::string& w) {
                return addWaypoint(m, piece, count, snap(x), snap(y), w);
            }))
            pickedWaypoint_ = count;
        return;
    }
    if (grabHandle(x, y)) return;
    const std::optional<MissionPiece> hit = pieceAt(editor_->mission(), x, y);
    pickedWaypoint_.reset();
    if (!hit) {
        if (!shift) selection_.clear();
        drag_ = Drag::Box;
        band_ = {static_cast<float>(x), static_cast<float>(y), 0.0f, 0.0f};
        touched();
        return;
    }
    const auto at = std::find(selection_.begin(), selection_.end(), *hit);
    if (shift && at != selection_.end()) {
        selection_.erase(at);  // a shift-click takes a piece back out
        touched();
        return;
    }
    if (shift) {
        selection_.push_back(*hit);
    } else if (at == selection_.end()) {
        selection_ = {*hit};
    }
    drag_ = Drag::Move;
    touched();
}

bool EditorSession::grabHandle(double x, double y) {
    if (selection_.size() != 1) return false;
    const std::optional<PieceBox> box = pieceBox(editor_->mission(), selection_.front());
    if (!box || !box->sizable) return false;
    const double reach = kEditorHandleHalf + 1.0;
    if (std::fabs(x - (box->x + box->w)) > reach || std::fabs(y - (box->y + box->h)) > reach)
        return false;
    drag_ = Drag::Resize;
    return true;
}

bool EditorSession::grabWaypoint(double x, double y) {
    const std::vector<RoutePoint> route = pieceRoute(editor_->mission(), selection_.front());
    for (std::size_t i = 0; i < route.size(); ++i) {
        if (distance(route[i].x, route[i].y, x, y) > kWaypointReach) continue;
        drag_ = Drag::Waypoint;
        waypoint_ = i;
        pickedWaypoint_ = i;
        touched();
        return true;
    }
    return false;
}

void EditorSession::placeAt(double x, double y) {
    MissionPiece placed;
    const std::string kind = tool_;
    const double px = snap(x), py = snap(y);
    if (apply(
            [&](JsonValue& m, std::string& w) { return placePiece(m, kind, px, py, placed, w); })) {
        selection_ = {placed};
        // One piece a click: the tool goes back to selecting, so the next
        // click on the new piece moves it instead of placing another.
        tool_ = "select";
        drag_ = Drag::Move;
        anchorX_ = px;
        anchorY_ = py;
    }
}

// The mission as the drag so far would leave it.
JsonValue EditorSession::draggedMission(double x, double y, std::string& why) const {
    JsonValue m = editor_->mission();
    const double dx = snap(x - anchorX_), dy = snap(y - anchorY_);
    switch (drag_) {
        case Drag::Move:
            for (const MissionPiece& p : selection_) {
                if (!movePiece(m, p, dx, dy, why)) return editor_->mission();
            }
            break;
        case Drag::Resize: {
            const std::optional<PieceBox> box = pieceBox(m, selection_.front());
            if (!box) break;
            const double w = std::max(snap(x) - box->x, kSmallestSide);
            const double h = std::max(snap(y) - box->y, kSmallestSide);
            // A circle's size is its radius: the distance from its centre.
            const double r =
                std::max(std::round(distance(box->x + box->w / 2, box->y + box->h / 2, x, y)),
                         kSmallestSide);
            if (!resizePiece(m, selection_.front(), box->round ? r : w, h, why))
                return editor_->mission();
            break;
        }
        case Drag::Waypoint:
            if (!moveWaypoint(m, selection_.front(), waypoint_, snap(x), snap(y), why))
                return editor_->mission();
            break;
        default:
            break;
    }
    return m;
}

void EditorSession::pointerMove(double x, double y) {
    if (drag_ == Drag::None) {
        // With a kind chosen the field shows where a click would place it.
        hovering_ = true;
        placingX_ = snap(x);
        placingY_ = snap(y);
        marksStale_ = true;
        return;
    }
    dragMoved_ = dragMoved_ || distance(x, y, anchorX_, anchorY_) >= 1.0;
    if (drag_ == Drag::Box) {
        band_ = {static_cast<float>(std::min(anchorX_, x)),
                 static_cast<float>(std::min(anchorY_, y)),
                 static_cast<float>(std::fabs(x - anchorX_)),
                 static_cast<float>(std::fabs(y - anchorY_))};
        touched();
        return;
    }
    std::string why;
    JsonValue moved = draggedMission(x, y, why);
    if (draftShown_ && moved == draft_) return;
    draft_ = std::move(moved);
    draftShown_ = true;
    rebuildPreview();
}

void EditorSession::pointerUp(double x, double y) {
    const Drag drag = drag_;
    drag_ = Drag::None;
    const bool wasShown = draftShown_;
    draftShown_ = false;
    if (drag == Drag::Box) {
        const PieceBox area{std::min(anchorX_, x), std::min(anchorY_, y), std::fabs(x - anchorX_),
                            std::fabs(y - anchorY_)};
        for (const MissionPiece& p : piecesWithin(editor_->mission(), area)) {
            if (std::find(selection_.begin(), selection_.end(), p) == selection_.end())
                selection_.push_back(p);
        }
        touched();
        return;
    }
    if (drag == Drag::None || !dragMoved_) {
        if (wasShown) rebuildPreview();
        return;
    }
    std::string why;
    drag_ = drag;
    JsonValue moved = draggedMission(x, y, why);
    drag_ = Drag::None;
    if (apply([&moved](JsonValue& m, std::string&) {
            m = std::move(moved);
            return true;
        }))
        return;
    rebuildPreview();  // refused: the field goes back to the mission as it is
}

}  // namespace nj
