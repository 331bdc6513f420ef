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

// ".heist.json.autosave" beside "heist.json".
std::string autosavePathFor(const std::string& path);
// Writes the editor's mission to `path` and drops its autosave.
bool saveEditedMission(const std::string& path, MissionEditor& editor);
bool writeAutosave(const std::string& path, const MissionEditor& editor);
// An autosave left behind for `path` by an editor that never saved (or
// crashed): opened instead, when the player chooses to.
bool autosaveWaiting(const std::string& path);

}  // namespace nj
