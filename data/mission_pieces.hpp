#pragma once
// The mission's pieces as the editor's screen sees them: which pieces a
// mission holds, what each is called, where it stands on the field (for the
// pointer to find it and the field to outline it), its route, and its
// values as the properties panel shows and takes them.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/json.hpp"
#include "data/mission_edit.hpp"

namespace nj {

// Every piece the mission holds that stands somewhere, single pieces first,
// in the format's order.
std::vector<MissionPiece> missionPieces(const JsonValue& mission);

// "WALL 3", "CIPHER CARD": a list's pieces are counted from 1.
std::string pieceLabel(const MissionPiece& piece);
// The kind's name on the tool bar: "WALL", "GUARD", "CIPHER CARD".
std::string kindLabel(std::string_view kind);

// The field the piece covers, upright, in field units. A circle's box holds
// the circle; a piece that is only a point (a spawn, a camera, a guard) gets
// a small square round it, so the pointer can find it.
struct PieceBox {
    double x = 0, y = 0, w = 0, h = 0;
    bool round = false;    // drawn as a circle (a card, a terminal, a keycard)
    bool sizable = false;  // has a size the editor can drag (w and h, or r)
    bool contains(double px, double py) const;
    bool overlaps(const PieceBox& other) const;
};
std::optional<PieceBox> pieceBox(const JsonValue& mission, const MissionPiece& piece);

// The piece under the point: of all that hold it, the smallest, so a
// keycard on a wall is picked before the wall.
std::optional<MissionPiece> pieceAt(const JsonValue& mission, double x, double y);
std::vector<MissionPiece> piecesWithin(const JsonValue& mission, const PieceBox& box);

// A guard's patrol or the directive's waypoints, in order; empty for a piece
// without a route.
struct RoutePoint {
    double x = 0, y = 0;
};
bool pieceHasRoute(const MissionPiece& piece);
std::vector<RoutePoint> pieceRoute(const JsonValue& mission, const MissionPiece& piece);

// One value of a piece (or of the mission itself: the key "" with
// kSinglePiece) as the properties panel shows it.
enum class FieldKind { Number, Text, Choice, Info };
struct PieceField {
    std::string name;
    FieldKind kind = FieldKind::Number;
    std::string value;  // as written in the file, else what the game uses without it
    double min = 0, max = 0;
    std::vector<std::string> choices;
};
inline const MissionPiece kWholeMission{"", kSinglePiece};
std::vector<PieceField> pieceFields(const JsonValue& mission, const MissionPiece& piece);

// The typed text of a field as the value the file takes: a number must read
// as one, with nothing after it; a switch is true or false; a text is kept
// as typed, up to 200 bytes. False, with `why` for the player, otherwise.
bool fieldValueFromText(const MissionPiece& piece, std::string_view field, std::string_view text,
                        JsonValue& value, std::string& why);
// Sets a value of the piece, or of the mission itself; an empty text leaves
// the key out, so the game's own applies again.
bool setFieldValue(JsonValue& mission, const MissionPiece& piece, std::string_view field,
                   const JsonValue& value, std::string& why);

// "walls[3].w" names the piece walls 3; "card.x" the card; "name" none.
std::optional<MissionPiece> pieceOfPath(std::string_view path);

}  // namespace nj
