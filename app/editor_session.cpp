// The mission editor's session: opening and leaving, the page's requests,
// test play, saving, and the live check beside the frame.
#include "app/editor_session.hpp"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "core/page_size.hpp"
#include "data/map_token.hpp"
#include "data/mission_text.hpp"
#include "game/game.hpp"
#include "game/mission_editing.hpp"
#include "game/player_options.hpp"

namespace nj {
namespace {

constexpr int kGridSteps[] = {16, 8, 0};
constexpr double kPasteOffset = 16.0;

std::string textOf(const JsonValue& r, const char* key) {
    const JsonValue& v = r.at(key);
    return v.type == JsonType::String ? v.text : "";
}

double numberOf(const JsonValue& r, const char* key) {
    const JsonValue& v = r.at(key);
    return v.type == JsonType::Number && std::isfinite(v.number) ? v.number : 0.0;
}

bool flagOf(const JsonValue& r, const char* key) {
    const JsonValue& v = r.at(key);
    return v.type == JsonType::Bool && v.boolean;
}

std::string fileNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// "missions" of "missions/heist.json"; "" for a bare name.
std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "" : path.substr(0, slash);
}

std::string missionName(const JsonValue& mission) {
    const JsonValue& name = mission.at("name");
    return name.type == JsonType::String && !name.text.empty() ? name.text : "NEW OPERATION";
}

}  // namespace

EditorSession::EditorSession(Game& live, AudioSink* audio) : live_(live), audio_(audio) {}

EditorSession::~EditorSession() {
    // A check in flight finishes before what it reads goes.
    if (checking_.valid()) checking_.wait();
}

bool EditorSession::openFile(const std::string& path, std::string& why) {
    JsonValue mission;
    struct stat st {};
    const bool missing = lstat(path.c_str(), &st) != 0;
    if (missing) {
        mission = parseJson(newMissionText());
    } else if (!openMissionForEditing(path, mission, why)) {
        say("CANNOT EDIT: " + why, true);
        return false;
    }
    std::string notice =
        missing ? "NEW MISSION: " + fileNameOf(path) : "EDITING " + fileNameOf(path);
    if (!missing && !path.ends_with(".json")) {
        // A mission code's file holds a sealed token, never JSON: the edited
        // mission is saved beside it as a file of its own.
        const std::string copy = freeMissionPath(folderOf(path), missionName(mission));
        begin(std::move(mission), copy, "EDITING A COPY OF " + fileNameOf(path));
        nameFromMission_ = true;
        return true;
    }
    begin(std::move(mission), path, notice);
    // Work a crash or a closed window left unsaved comes back, as an edit
    // the player can undo to the file as it was.
    JsonValue kept;
    std::string ignored;
    if (autosaveWaiting(path) && openMissionForEditing(autosavePathFor(path), kept, ignored) &&
        formatMissionText(kept) != editor_->text()) {
        std::string refused;
        editor_->apply(
            [&kept](JsonValue& m, std::string&) {
                m = kept;
                return true;
            },
            refused);
        // The file was changed elsewhere since: the autosave stays on disk
        // until the next save, and the player is told why it did not open.
        if (refused.empty()) {
            say("RESTORED UNSAVED WORK (UNDO GOES BACK TO THE FILE)");
        } else {
            say("UNSAVED WORK NOT RESTORED: " + refused, true);
        }
        changed();
    }
    return true;
}

bool EditorSession::openNew() {
    if (live_.missionsFolder.empty()) {
        say("NO MISSIONS FOLDER TO SAVE INTO", true);
        return false;
    }
    begin(parseJson(newMissionText()), freeMissionPath(live_.missionsFolder, "new operation"),
          "NEW MISSION");
    nameFromMission_ = true;
    return true;
}

bool EditorSession::openSelected() {
    if (live_.customSelected()) {
        const auto index = static_cast<std::size_t>(live_.customIndex);
        if (index < live_.customMissions.size()) {
            const std::string& file = live_.customMissions[index].fileName;
            // A code's file (".nj3m") opens as a copy beside it: see openFile.
            std::string why;
            return openFile(live_.missionsFolder + "/" + file, why);
        }
    }
    if (live_.missionIndex >= live_.campaignMaps.size() || live_.missionsFolder.empty()) {
        say("NOTHING TO EDIT HERE", true);
        return false;
    }
    JsonValue mission;
    try {
        mission = parseJson(decodeMapToken(live_.campaignMaps[live_.missionIndex]));
    } catch (const std::exception&) {
        say("THIS OPERATION CANNOT BE OPENED", true);
        return false;
    }
    if (mission.type != JsonType::Object) return false;
    const std::string name = missionName(mission) + " copy";
    mission.members["name"].type = JsonType::String;
    mission.members["name"].text = name;
    begin(std::move(mission), freeMissionPath(live_.missionsFolder, name),
          "EDITING A COPY OF A CAMPAIGN OPERATION");
    nameFromMission_ = true;
    return true;
}

void EditorSession::begin(JsonValue mission, std::string path, std::string notice) {
    editor_ = std::make_unique<MissionEditor>(std::move(mission));
    path_ = std::move(path);
    nameFromMission_ = false;
    open_ = true;
    testGame_.reset();
    tool_ = "select";
    selection_.clear();
    asking_.clear();
    drag_ = Drag::None;
    draftShown_ = false;
    pickedWaypoint_.reset();
    approach_ = 0;
    problems_.clear();
    marks_ = {};
    say(std::move(notice));
    rebuildPreview();
    startCheck();
}

void EditorSession::close() {
    if (checking_.valid()) checking_.wait();
    checking_ = {};
    open_ = false;
    testGame_.reset();
    preview_.reset();
    editor_.reset();
    pageState_.clear();
    // What was saved shows on the dossier at once.
    live_.refreshCustomMissions();
}

void EditorSession::say(std::string text, bool error) {
    notice_ = std::move(text);
    noticeIsError_ = error;
    touched();
}

Game* EditorSession::shownGame() {
    if (!open_) return nullptr;
    return testGame_ ? testGame_.get() : preview_.get();
}

Game* EditorSession::keyGame() {
    return testGame_.get();
}

const EditorMarks* EditorSession::marks() const {
    return open_ && !testGame_ ? &marks_ : nullptr;
}

std::string_view EditorSession::pageState() {
    if (!open_) return {};
    if (writtenRevision_ != revision_) {
        pageState_ = writePageState();
        writtenRevision_ = revision_;
        marksStale_ = true;
    }
    // The pointer's hover moves only the marks: the page is not rewritten for it.
    if (marksStale_) rebuildMarks();
    marksStale_ = false;
    return pageState_;
}

const JsonValue& EditorSession::shownMission() const {
    return draftShown_ ? draft_ : editor_->mission();
}

void EditorSession::rebuildPreview() {
    preview_ = gameForMission(formatMissionText(shownMission()), 0,
                              static_cast<std::uint32_t>(approach_), nullptr);
    // The field is drawn as in play, frozen at its first moment.
    preview_->gameState = GameState::Playing;
    preview_->options = live_.options;
    touched();
}

void EditorSession::changed() {
    rebuildPreview();
    startCheck();
    sinceChange_ = 0.0f;
    autosaveDue_ = editor_->unsaved();
    touched();
}

bool EditorSession::apply(const MissionEdit& edit) {
    std::string why;
    if (!editor_->apply(edit, why)) {
        say(why, true);
        return false;
    }
    if (noticeIsError_) say("");
    changed();
    return true;
}

void EditorSession::startCheck() {
    if (!liveCheck_) return;
    if (checking_.valid()) {
        checkAgain_ = true;
        return;
    }
    checkAgain_ = false;
    const std::string text = editor_->text();
    const auto approach = static_cast<std::uint32_t>(approach_);
    checking_ = std::async(std::launch::async, [text, approach] {
        return CheckResult{checkMission(text, 0), reachableArea(text, approach)};
    });
}

void EditorSession::collectCheck(bool wait) {
    if (!checking_.valid()) return;
    if (!wait && checking_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return;
    CheckResult result = checking_.get();
    problems_ = std::move(result.diagnostics);
    const ReachableArea& reach = result.reach;
    marks_.cell = reach.cell;
    marks_.columns = reach.columns;
    marks_.rows = reach.rows;
    marks_.reachable.assign(reach.reachable.begin(), reach.reachable.end());
    touched();
    if (checkAgain_) startCheck();
}

void EditorSession::finishChecking() {
    while (checking_.valid()) collectCheck(true);
}

void EditorSession::tick(float seconds) {
    if (!open_) return;
    collectCheck(false);
    if (testGame_) {
        testGame_->update(seconds, testGame_->heldCommand());
        // Leaving for the dossier (its button, or past the end screen) is
        // leaving the test.
        if (testGame_->gameState == GameState::Briefing) endTest();
        return;
    }
    if (autosaveDue_ && editor_->unsaved()) {
        sinceChange_ += std::max(seconds, 0.0f);
        if (sinceChange_ >= kEditorAutosaveSeconds) {
            autosaveDue_ = false;
            if (!writeAutosave(path_, *editor_)) say("COULD NOT WRITE THE AUTOSAVE", true);
        }
    }
}

void EditorSession::keepUnsavedWork() {
    if (open_ && editor_->unsaved() && !path_.empty()) writeAutosave(path_, *editor_);
}

bool EditorSession::takeKeyDown(std::uint32_t key) {
    if (!open_ || !testGame_) return false;
    const bool ended = testGame_->gameState == GameState::MissionComplete ||
                       testGame_->gameState == GameState::MissionFailed;
    if (key == vk::kEsc || (ended && (key == vk::kEnter || key == vk::kSpace))) {
        endTest();
        return true;
    }
    return false;
}

void EditorSession::request(std::string_view json) {
    if (!open_) {
        // Only the dossier's EDITOR entry reaches a closed editor.
        JsonValue r;
        try {
            r = parseJson(std::string(json));
        } catch (const std::exception&) {
            return;
        }
        if (textOf(r, "do") != "open" || live_.gameState != GameState::Briefing) return;
        if (textOf(r, "what") == "new") openNew();
        if (textOf(r, "what") == "selected") openSelected();
        return;
    }
    try {
        const JsonValue r = parseJson(std::string(json));
        if (r.type == JsonType::Object) onRequest(r);
    } catch (const std::exception&) {
        // Not a request: the page sends only objects.
    }
}

// The requests that carry nothing but their name.
struct PlainRequest {
    std::string_view name;
    void (EditorSession::*action)();
};

void EditorSession::onRequest(const JsonValue& r) {
    static constexpr PlainRequest kPlainRequests[] = {
        {"selectNone", &EditorSession::selectNone},
        {"undo", &EditorSession::undo},
        {"redo", &EditorSession::redo},
        {"delete", &EditorSession::deleteSelection},
        {"deleteWaypoint", &EditorSession::deleteWaypoint},
        {"copy", &EditorSession::copySelection},
        {"paste", &EditorSession::pasteCopied},
        {"grid", &EditorSession::cycleGrid},
        {"test", &EditorSession::startTest},
        {"save", &EditorSession::save},
        {"copyCode", &EditorSession::copyCode},
        {"leave", &EditorSession::leave},
    };
    const std::string what = textOf(r, "do");
    if (testGame_) return;  // the test game has the page's own commands
    if (!asking_.empty()) {
        if (what == "answer") answer(textOf(r, "choice"));
        return;  // the question is answered before anything else
    }
    for (const PlainRequest& plain : kPlainRequests) {
        if (what == plain.name) {
            (this->*plain.action)();
            return;
        }
    }
    if (what == "pointer") {
        pointer(textOf(r, "phase"), numberOf(r, "x"), numberOf(r, "y"), flagOf(r, "shift"));
    } else if (what == "tool") {
        chooseTool(textOf(r, "tool"));
    } else if (what == "select") {
        selectPiece(r);
    } else if (what == "set") {
        setField(textOf(r, "field"), textOf(r, "value"));
    } else if (what == "rotate") {
        rotateSelection(numberOf(r, "by"));
    } else if (what == "nudge") {
        nudgeSelection(numberOf(r, "dx"), numberOf(r, "dy"));
    } else if (what == "approach") {
        chooseApproach(static_cast<int>(numberOf(r, "index")));
    }
}

void EditorSession::selectNone() {
    selection_.clear();
    pickedWaypoint_.reset();
    touched();
}

void EditorSession::undo() {
    const JsonValue before = editor_->mission();
    if (editor_->undo()) afterHistoryStep(before);
}

void EditorSession::redo() {
    const JsonValue before = editor_->mission();
    if (editor_->redo()) afterHistoryStep(before);
}

// Pieces are named by their place in their list: where a step back or forth
// changed a list's length, its indices may now name other pieces, so the
// selection lets go of that list's pieces (and of any now gone).
void EditorSession::afterHistoryStep(const JsonValue& before) {
    const auto listLength = [](const JsonValue& mission, const std::string& key) {
        return mission.at(key).items.size();
    };
    selection_.erase(std::remove_if(selection_.begin(), selection_.end(),
                                    [&](const MissionPiece& p) {
                                        return !pieceValue(editor_->mission(), p) ||
                                               listLength(before, p.key) !=
                                                   listLength(editor_->mission(), p.key);
                                    }),
                     selection_.end());
    pickedWaypoint_.reset();
    changed();
}

void EditorSession::chooseTool(const std::string& tool) {
    const std::vector<std::string> kinds = placeableKinds();
    if (tool != "select" && tool != "route" &&
        std::find(kinds.begin(), kinds.end(), tool) == kinds.end())
        return;
    tool_ = tool;
    if (tool == "route" && (selection_.size() != 1 || !pieceHasRoute(selection_.front())))
        say("SELECT A GUARD OR THE DIRECTIVE, THEN CLICK TO ADD WAYPOINTS");
    touched();
}

void EditorSession::selectPiece(const JsonValue& r) {
    const double index = numberOf(r, "index");
    const MissionPiece piece{textOf(r, "key"), index < 0 || index > 1e6
                                                   ? kSinglePiece
                                                   : static_cast<std::size_t>(index)};
    if (!pieceValue(editor_->mission(), piece)) return;
    const auto at = std::find(selection_.begin(), selection_.end(), piece);
    if (!flagOf(r, "add")) {
        selection_ = {piece};
    } else if (at == selection_.end()) {
        selection_.push_back(piece);
    } else {
        selection_.erase(at);
    }
    pickedWaypoint_.reset();
    touched();
}

void EditorSession::setField(const std::string& field, const std::string& text) {
    const MissionPiece piece = selection_.size() == 1 ? selection_.front() : kWholeMission;
    JsonValue value;
    std::string why;
    if (!fieldValueFromText(piece, field, text, value, why)) {
        say(why, true);
        return;
    }
    apply([&](JsonValue& m, std::string& w) { return setFieldValue(m, piece, field, value, w); });
}

void EditorSession::rotateSelection(double degrees) {
    if (selection_.size() != 1) return;
    const MissionPiece piece = selection_.front();
    const JsonValue* value = pieceValue(editor_->mission(), piece);
    if (!value) return;
    const JsonValue& angle = value->at("angle");
    const double now = angle.type == JsonType::Number ? angle.number : 0.0;
    // Held inside one turn either way, where the file's angles live.
    double turned = now + degrees * 3.14159265358979 / 180.0;
    turned = std::remainder(turned, 2 * 3.14159265358979);
    turned = std::round(turned * 10000.0) / 10000.0;
    apply([&](JsonValue& m, std::string& w) { return rotatePiece(m, piece, turned, w); });
}

void EditorSession::nudgeSelection(double dx, double dy) {
    if (selection_.empty() || !std::isfinite(dx) || !std::isfinite(dy)) return;
    const std::vector<MissionPiece> pieces = selection_;
    apply([&](JsonValue& m, std::string& w) {
        return std::all_of(pieces.begin(), pieces.end(),
                           [&](const MissionPiece& p) { return movePiece(m, p, dx, dy, w); });
    });
}

void EditorSession::deleteSelection() {
    if (pickedWaypoint_) {
        deleteWaypoint();
        return;
    }
    if (selection_.empty()) return;
    // From the last of each list back, so the indices still name the pieces.
    std::vector<MissionPiece> pieces = selection_;
    std::sort(pieces.begin(), pieces.end(), [](const MissionPiece& a, const MissionPiece& b) {
        return a.key != b.key ? a.key < b.key : a.index > b.index;
    });
    if (apply([&](JsonValue& m, std::string& w) {
            return std::all_of(pieces.begin(), pieces.end(),
                               [&](const MissionPiece& p) { return deletePiece(m, p, w); });
        }))
        selection_.clear();
}

void EditorSession::deleteWaypoint() {
    if (selection_.size() != 1 || !pickedWaypoint_) return;
    const MissionPiece piece = selection_.front();
    const std::size_t at = *pickedWaypoint_;
    if (apply([&](JsonValue& m, std::string& w) { return nj::deleteWaypoint(m, piece, at, w); }))
        pickedWaypoint_.reset();
}

void EditorSession::copySelection() {
    if (selection_.size() != 1) return;
    const JsonValue* value = pieceValue(editor_->mission(), selection_.front());
    if (!value) return;
    copiedFrom_ = selection_.front();
    copied_ = *value;
    pasteCount_ = 0;
    say("COPIED " + pieceLabel(selection_.front()));
}

void EditorSession::pasteCopied() {
    if (!copiedFrom_) return;
    const double offset = kPasteOffset * (pasteCount_ + 1);
    MissionPiece placed;
    if (apply([&](JsonValue& m, std::string& w) {
            return pastePiece(m, *copiedFrom_, copied_, offset, offset, placed, w);
        })) {
        ++pasteCount_;
        selection_ = {placed};
    }
}

void EditorSession::cycleGrid() {
    const auto at = std::find(std::begin(kGridSteps), std::end(kGridSteps), grid_);
    grid_ =
        at == std::end(kGridSteps) || at + 1 == std::end(kGridSteps) ? kGridSteps[0] : *(at + 1);
    touched();
}

void EditorSession::chooseApproach(int index) {
    if (index < 0 || index >= static_cast<int>(kApproachCount)) return;
    approach_ = index;
    rebuildPreview();
    startCheck();  // the shading follows the spawn
}

void EditorSession::startTest() {
    testGame_ = gameForMission(editor_->text(), 0, static_cast<std::uint32_t>(approach_), audio_);
    testGame_->options = live_.options;
    if (live_.options) live_.options->applyTo(*testGame_);
    testGame_->loadMission(true);
    touched();
}

void EditorSession::endTest() {
    testGame_.reset();
    say("BACK FROM TEST PLAY");
}

void EditorSession::save() {
    if (nameFromMission_) {
        // Never saved yet: the file takes the name the player gave the mission.
        std::remove(autosavePathFor(path_).c_str());
        path_ = freeMissionPath(folderOf(path_), missionName(editor_->mission()));
    }
    if (saveEditedMission(path_, *editor_)) {
        nameFromMission_ = false;
        autosaveDue_ = false;
        say("SAVED " + fileNameOf(path_));
    } else {
        say("COULD NOT SAVE " + path_, true);
        autosaveDue_ = editor_->unsaved();
    }
}

void EditorSession::copyCode() {
    const bool hasError = std::any_of(problems_.begin(), problems_.end(), [](const auto& d) {
        return d.severity == MissionSeverity::Error;
    });
    if (hasError) {
        say("NO CODE: THE MISSION HAS ERRORS", true);
        return;
    }
    if (!live_.writeClipboardHook) return;
    const std::string text = editor_->text();
    live_.writeClipboardHook(encodeMapToken(text, mapSaltFor(text)));
    say("MISSION CODE COPIED");
}

void EditorSession::leave() {
    if (editor_->unsaved()) {
        asking_ = "leave";
        touched();
        return;
    }
    close();
}

void EditorSession::answer(const std::string& choice) {
    if (choice == "save") {
        asking_.clear();
        save();
        if (!editor_->unsaved()) close();
    } else if (choice == "discard") {
        asking_.clear();
        std::remove(autosavePathFor(path_).c_str());
        close();
    } else if (choice == "cancel") {
        asking_.clear();
        touched();
    }
}

}  // namespace nj
