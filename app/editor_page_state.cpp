// What the editor's page shows (the "editor" object of the page state) and
// what the field draws over the mission (its marks).
#include <algorithm>

#include "app/editor_session.hpp"
#include "data/json_writer.hpp"
#include "data/mission_format.hpp"

namespace nj {
namespace {

const char* fieldKindName(FieldKind kind) {
    switch (kind) {
        case FieldKind::Number:
            return "number";
        case FieldKind::Text:
            return "text";
        case FieldKind::Choice:
            return "choice";
        case FieldKind::Info:
            return "info";
    }
    return "info";
}

void writePieceRef(JsonWriter& f, const MissionPiece& piece) {
    f.key("key").string(piece.key);
    f.key("index").integer(piece.index == kSinglePiece ? -1 : static_cast<long long>(piece.index));
}

void writeField(JsonWriter& f, const PieceField& field) {
    f.beginObject();
    f.key("name").string(field.name);
    f.key("kind").string(fieldKindName(field.kind));
    f.key("value").string(field.value);
    if (field.kind == FieldKind::Number) {
        f.key("min").number(field.min);
        f.key("max").number(field.max);
    }
    if (field.kind == FieldKind::Choice) {
        f.key("choices").beginArray();
        for (const std::string& choice : field.choices) f.string(choice);
        f.endArray();
    }
    f.endObject();
}

void writeProblem(JsonWriter& f, const MissionDiagnostic& d) {
    f.beginObject();
    f.key("severity").string(d.severity == MissionSeverity::Error ? "error" : "warning");
    f.key("text").string(d.path.empty() ? d.message : d.path + ": " + d.message);
    const std::optional<MissionPiece> piece = pieceOfPath(d.path);
    writePieceRef(f, piece.value_or(MissionPiece{"", kSinglePiece}));
    f.endObject();
}

EditorMarks::Outline outlineOf(const PieceBox& box) {
    return {static_cast<float>(box.x),
            static_cast<float>(box.y),
            static_cast<float>(box.w),
            static_cast<float>(box.h),
            box.round,
            box.sizable};
}

}  // namespace

std::string EditorSession::writePageState() const {
    const JsonValue& mission = shownMission();
    JsonWriter f;
    f.beginObject();
    f.key("revision").unsignedInteger(revision_);
    f.key("mode").string(testGame_ ? "test" : "edit");
    f.key("name").string(path_.substr(path_.rfind('/') + 1));
    f.key("unsaved").boolean(editor_->unsaved());
    f.key("tool").string(tool_);
    f.key("kinds").beginArray();
    for (const std::string& kind : placeableKinds())
        f.beginObject().key("kind").string(kind).key("label").string(kindLabel(kind)).endObject();
    f.endArray();
    f.key("grid").integer(grid_);
    f.key("approach").integer(approach_);
    f.key("undo").unsignedInteger(editor_->undoSteps());
    f.key("redo").unsignedInteger(editor_->redoSteps());
    f.key("pieces").beginArray();
    for (const MissionPiece& piece : missionPieces(mission)) {
        f.beginObject();
        writePieceRef(f, piece);
        f.key("label").string(pieceLabel(piece));
        f.key("selected")
            .boolean(std::find(selection_.begin(), selection_.end(), piece) != selection_.end());
        f.endObject();
    }
    f.endArray();
    // One piece selected: its values; none: the mission's own words.
    f.key("fields").beginArray();
    if (selection_.size() <= 1) {
        const MissionPiece piece = selection_.empty() ? kWholeMission : selection_.front();
        for (const PieceField& field : pieceFields(mission, piece)) writeField(f, field);
    }
    f.endArray();
    f.key("problems").beginArray();
    // Errors first: they are what keeps the mission from being played.
    for (const MissionSeverity severity : {MissionSeverity::Error, MissionSeverity::Warning}) {
        for (const MissionDiagnostic& d : problems_) {
            if (d.severity == severity) writeProblem(f, d);
        }
    }
    f.endArray();
    f.key("notice").string(notice_);
    f.key("noticeIsError").boolean(noticeIsError_);
    f.key("asking").string(asking_);
    f.endObject();
    return f.text();
}

void EditorSession::rebuildMarks() {
    const JsonValue& mission = shownMission();
    // The shaded floor changes only when a check arrives (collectCheck).
    marks_.routes.clear();
    marks_.selected.clear();
    for (const MissionPiece& piece : missionPieces(mission)) {
        if (!pieceHasRoute(piece)) continue;
        EditorMarks::Route route;
        for (const RoutePoint& p : pieceRoute(mission, piece))
            route.points.push_back({static_cast<float>(p.x), static_cast<float>(p.y)});
        route.selected = std::find(selection_.begin(), selection_.end(), piece) != selection_.end();
        if (!route.points.empty()) marks_.routes.push_back(std::move(route));
    }
    for (const MissionPiece& piece : selection_) {
        if (const std::optional<PieceBox> box = pieceBox(mission, piece)) {
            EditorMarks::Outline outline = outlineOf(*box);
            outline.sizable = outline.sizable && selection_.size() == 1;
            marks_.selected.push_back(outline);
        }
    }
    marks_.boxShown = drag_ == Drag::Box;
    marks_.box = band_;
    marks_.placingShown = hovering_ && toolPlacesPieces();
    marks_.placing = {static_cast<float>(placingX_), static_cast<float>(placingY_)};
}

}  // namespace nj
