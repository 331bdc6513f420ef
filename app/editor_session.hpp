#pragma once
// The mission editor as the player uses it: a mission open for editing, the
// field showing it as it will be drawn (a preview game rebuilt after each
// change), the pointer's gestures on the field, the page's requests, test
// play in a game of its own, and saving. The live game waits on the dossier
// meanwhile and never sees the editor's missions.
//
// The page sends every request as one JSON text, {"do": NAME, ...}:
//   open {what: "new" | "selected"}        from the dossier
//   pointer {phase: "down" | "move" | "up", x, y, shift}   page units
//   tool {tool: "select" | "route" | KIND}  select {key, index, add}
//   selectNone  set {field, value}  rotate {by}  nudge {dx, dy}
//   undo  redo  delete  deleteWaypoint  copy  paste  grid
//   approach {index}  test  save  copyCode  leave  answer {choice}
// Anything else, or a text that is not such an object, is ignored.

#include <cstdint>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/input_router.hpp"
#include "data/json.hpp"
#include "data/mission_check.hpp"
#include "data/mission_edit.hpp"
#include "data/mission_pieces.hpp"
#include "game/mission_playability.hpp"
#include "render/scene/editor_marks.hpp"

namespace nj {

class AudioSink;
class Game;

// Seconds after the last change before unsaved work is written beside the file.
inline constexpr float kEditorAutosaveSeconds = 5.0f;

class EditorSession final : public KeyTaker {
  public:
    // `live` is the player's game: the dossier the editor opens from and
    // returns to, its missions folder and clipboard. `audio` (may be null)
    // plays test play's sounds.
    EditorSession(Game& live, AudioSink* audio);
    ~EditorSession() override;

    // A mission file, opened faults and all; a missing file starts a new
    // mission to be saved there. False, with the reason kept as the notice
    // (and `why`), for what is not a mission.
    bool openFile(const std::string& path, std::string& why);
    // A new mission, to be saved in the player's missions folder.
    bool openNew();
    // The operation selected on the dossier: a custom one's file in place, a
    // campaign one (or a custom mission code) as a copy in the missions folder.
    bool openSelected();

    bool isOpen() const { return open_; }
    bool testing() const { return testGame_ != nullptr; }
    // The game the frame shows: the test game, else the preview; null when closed.
    Game* shownGame();
    // Where keys go after the page: the test game while testing, else none
    // (the page alone takes the editor's keys). Meaningless when closed.
    Game* keyGame();
    // The field's marks while editing; null when closed or testing.
    const EditorMarks* marks() const;
    // The page's "editor" object; empty when closed.
    std::string_view pageState();

    void request(std::string_view json);
    // The game is closing: unsaved work goes into the autosave, which the
    // next opening of the file brings back.
    void keepUnsavedWork();
    // Test play's step, the live check's answer, and the autosave's clock.
    void tick(float seconds);

    // KeyTaker: while testing, Esc (and Enter or Space on an end screen)
    // comes back to the editor; nothing is taken otherwise.
    bool takeKeyDown(std::uint32_t key) override;

    // For tests and the tools.
    const MissionEditor& editor() const { return *editor_; }
    const std::vector<MissionPiece>& selection() const { return selection_; }
    const std::string& notice() const { return notice_; }
    const std::string& path() const { return path_; }
    const std::string& tool() const { return tool_; }
    int grid() const { return grid_; }
    const std::string& asking() const { return asking_; }
    const std::vector<MissionDiagnostic>& problems() const { return problems_; }
    // Waits for the live check in flight (tests only: the frame never waits).
    void finishChecking();
    // Without the live check (the fuzzer, which reaches the checker through
    // its own target): problems and shading stay empty.
    void setLiveCheck(bool on) { liveCheck_ = on; }

  private:
    enum class Drag { None, Move, Resize, Box, Waypoint };

    void begin(JsonValue mission, std::string path, std::string notice);
    void close();
    void say(std::string text, bool error = false);
    void changed();  // the mission changed: preview, check, autosave
    void touched() { ++revision_; }
    bool apply(const MissionEdit& edit);
    const JsonValue& shownMission() const;
    void rebuildPreview();
    void startCheck();
    void collectCheck(bool wait);

    // Requests.
    void onRequest(const JsonValue& r);
    void selectNone();
    void undo();
    void redo();
    void afterHistoryStep(const JsonValue& before);
    void chooseTool(const std::string& tool);
    // A kind is chosen: a click places one (select and route take clicks otherwise).
    bool toolPlacesPieces() const { return tool_ != "select" && tool_ != "route"; }
    void selectPiece(const JsonValue& r);
    void setField(const std::string& field, const std::string& text);
    void rotateSelection(double degrees);
    void nudgeSelection(double dx, double dy);
    void deleteSelection();
    void deleteWaypoint();
    void copySelection();
    void pasteCopied();
    void cycleGrid();
    void chooseApproach(int index);
    void startTest();
    void endTest();
    void save();
    void copyCode();
    void leave();
    void answer(const std::string& choice);

    // The pointer's gestures (app/editor_gestures.cpp).
    void pointer(const std::string& phase, double pageX, double pageY, bool shift);
    void pointerDown(double x, double y, bool shift);
    void pointerMove(double x, double y);
    void pointerUp(double x, double y);
    bool grabHandle(double x, double y);
    bool grabWaypoint(double x, double y);
    void placeAt(double x, double y);
    JsonValue draggedMission(double x, double y, std::string& why) const;
    double snap(double v) const { return snapToGrid(v, grid_); }

    // The page's state and the field's marks (app/editor_page_state.cpp).
    std::string writePageState() const;
    void rebuildMarks();

    Game& live_;
    AudioSink* audio_;
    bool open_ = false;
    std::unique_ptr<MissionEditor> editor_;
    std::string path_;
    // A mission never saved (new, or a campaign copy) is named after the
    // mission when it is first saved, so a renamed one gets its own file.
    bool nameFromMission_ = false;
    std::unique_ptr<Game> preview_;
    std::unique_ptr<Game> testGame_;

    std::string tool_ = "select";
    std::vector<MissionPiece> selection_;
    int grid_ = 16;
    int approach_ = 0;
    std::string notice_;
    bool noticeIsError_ = false;
    std::string asking_;
    std::optional<MissionPiece> copiedFrom_;
    JsonValue copied_;
    int pasteCount_ = 0;

    Drag drag_ = Drag::None;
    double anchorX_ = 0, anchorY_ = 0;
    std::size_t waypoint_ = 0;
    std::optional<std::size_t> pickedWaypoint_;
    bool dragMoved_ = false;
    JsonValue draft_;  // the mission as the drag would leave it
    bool draftShown_ = false;
    EditorMarks::Outline band_;
    bool hovering_ = false;  // the pointer has moved over the field with no drag
    double placingX_ = 0, placingY_ = 0;
    bool marksStale_ = true;

    // The live check runs beside the frame: the mission's text checked, and
    // the reachable area of the chosen approach.
    struct CheckResult {
        std::vector<MissionDiagnostic> diagnostics;
        ReachableArea reach;
    };
    std::future<CheckResult> checking_;
    bool checkAgain_ = false;
    bool liveCheck_ = true;
    std::vector<MissionDiagnostic> problems_;

    float sinceChange_ = 0.0f;
    bool autosaveDue_ = false;

    std::uint64_t revision_ = 1, writtenRevision_ = 0;
    std::string pageState_;
    EditorMarks marks_;
};

}  // namespace nj
