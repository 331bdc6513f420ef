#pragma once
// The mission editor's operations, as pure changes of a mission's JSON value:
// place, move, resize, rotate and delete every piece the mission format has,
// set a piece's values, edit a route's waypoints, copy and paste. An edit
// either changes the mission or leaves it untouched and says why.
//
// MissionEditor is the one way edits reach a mission in the editor: each is
// checked by the mission checker (an edit that would bring in an error is
// refused with the checker's words) and can be undone and redone.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "data/json.hpp"

namespace nj {

inline constexpr std::size_t kSinglePiece = SIZE_MAX;

// An element of one of the mission's lists ("walls", 3), or one of its
// single pieces ("card", kSinglePiece).
struct MissionPiece {
    std::string key;
    std::size_t index = kSinglePiece;
    bool operator==(const MissionPiece&) const = default;
};

struct MissionKeyFormat;

// The format of a kind of piece ("walls", "card"): its list's or its object's
// key, with the members' shape; null for a key that holds no pieces.
const MissionKeyFormat* kindFormat(std::string_view kind);
// The piece's key holding a route of points ("patrol", "waypoints"), or "".
std::string routeKey(const MissionPiece& piece);

// The kinds a player can place: the mission's lists and its single pieces
// that stand somewhere on the field, in the format's order.
std::vector<std::string> placeableKinds();

bool placePiece(JsonValue& mission, std::string_view kind, double x, double y, MissionPiece& placed,
                std::string& why);
// Moves by (dx, dy), held inside the field.
bool movePiece(JsonValue& mission, const MissionPiece& piece, double dx, double dy,
               std::string& why);
// A box takes w and h; a circle takes w as its radius.
bool resizePiece(JsonValue& mission, const MissionPiece& piece, double w, double h,
                 std::string& why);
bool rotatePiece(JsonValue& mission, const MissionPiece& piece, double angle, std::string& why);
// A list's element is gone; a single piece goes back to the game's own.
bool deletePiece(JsonValue& mission, const MissionPiece& piece, std::string& why);
bool setPieceValue(JsonValue& mission, const MissionPiece& piece, std::string_view key,
                   const JsonValue& value, std::string& why);
// Takes the key out of the piece, so the game's own value applies.
bool clearPieceValue(JsonValue& mission, const MissionPiece& piece, std::string_view key,
                     std::string& why);

// A guard's patrol or the directive's route.
bool addWaypoint(JsonValue& mission, const MissionPiece& piece, std::size_t at, double x, double y,
                 std::string& why);
bool moveWaypoint(JsonValue& mission, const MissionPiece& piece, std::size_t at, double x, double y,
                  std::string& why);
bool deleteWaypoint(JsonValue& mission, const MissionPiece& piece, std::size_t at,
                    std::string& why);

// A copied piece, pasted as a new element of the same list, moved by (dx, dy).
bool pastePiece(JsonValue& mission, const MissionPiece& copiedFrom, const JsonValue& copied,
                double dx, double dy, MissionPiece& placed, std::string& why);
const JsonValue* pieceValue(const JsonValue& mission, const MissionPiece& piece);

// The nearest multiple of `grid` (grid 0: the value itself).
double snapToGrid(double value, double grid);

using MissionEdit = std::function<bool(JsonValue& mission, std::string& why)>;

class MissionEditor {
  public:
    // At least this many edits can be undone.
    static constexpr std::size_t kUndoDepth = 256;

    explicit MissionEditor(JsonValue mission);

    const JsonValue& mission() const { return mission_; }
    // The mission's text as a save writes it.
    std::string text() const;

    // Applies `edit`; false, with the mission as it was and `why` set, when
    // the edit refuses or would bring in an error the checker finds.
    bool apply(const MissionEdit& edit, std::string& why);
    bool undo();
    bool redo();
    std::size_t undoSteps() const { return undo_.size(); }
    std::size_t redoSteps() const { return redo_.size(); }

    // Whether the mission differs from what was last saved (or loaded).
    bool unsaved() const { return editsSinceSave_ != 0; }
    void markSaved() { editsSinceSave_ = 0; }

  private:
    // The mission `from`'s last holds becomes current; the current goes on `to`.
    bool step(std::vector<JsonValue>& from, std::vector<JsonValue>& to);

    JsonValue mission_;
    std::vector<std::string> errors_;  // the checker's errors now, "path: message"
    std::vector<JsonValue> undo_, redo_;
    // Edits applied since the save, less those undone (negative past it).
    std::int64_t editsSinceSave_ = 0;
};

}  // namespace nj
