#pragma once
// Mission files as the editor opens and keeps them: a file (or a mission code)
// is opened when it holds a JSON object, whatever else the checker has to say
// about it, since the editor is where those faults get mended; a save is
// atomic, in the editor's layout; and while editing, an autosave beside the
// file (hidden, so the dossier never lists it) keeps unsaved work through a
// crash until the next save.

#include <string>

#include "data/json.hpp"
#include "data/mission_edit.hpp"

namespace nj {

// The mission at `path` as a value to edit; false, with the checker's words
// in `why`, for what is not a readable mission (a folder, a pipe, a huge
// file, a refused code, text that is not JSON or not an object).
bool openMissionForEditing(const std::string& path, JsonValue& mission, std::string& why);

// What a new mission starts as: the field walled in, the three spawns, the
// card, the vault gate in front of the safe, and the way out; no guards or
// devices yet. Every list is there, empty, so nothing of the game's own
// mission shows through.
std::string newMissionText();

// A file name for a mission called `name` in `folder` that no file holds
// yet: its name in lower case with dashes ("operation-gilded-wheel.json"),
// with "-2", "-3"... added when taken.
std::string freeMissionPath(const std::string& folder, const std::string& name);

// ".heist.json.autosave" beside "heist.json".
std::string autosavePathFor(const std::string& path);
// Writes the editor's mission to `path` and drops its autosave.
bool saveEditedMission(const std::string& path, MissionEditor& editor);
bool writeAutosave(const std::string& path, const MissionEditor& editor);
// An autosave left behind for `path` by an editor that never saved (or
// crashed): opened instead, when the player chooses to.
bool autosaveWaiting(const std::string& path);

}  // namespace nj
