// Opening, saving and autosaving the editor's missions.
#include "game/mission_editing.hpp"

#include <cstdio>

#include "data/mission_format.hpp"
#include "data/player_files.hpp"
#include "data/regular_file.hpp"
#include "game/mission_playability.hpp"

namespace nj {

bool openMissionForEditing(const std::string& path, JsonValue& mission, std::string& why) {
    // Only a regular file of sane size is read, and a mission code is opened
    // as the mission it carries.
    std::string text;
    const std::vector<MissionDiagnostic> diagnostics = checkMissionFile(path, 0, text);
    JsonValue read;
    try {
        if (!text.empty()) read = parseJson(text);
    } catch (const std::exception&) {
        // Not JSON: the checker's first error says where, below.
    }
    if (read.type == JsonType::Object) {
        mission = std::move(read);
        return true;
    }
    if (read.type != JsonType::Null) {
        why = path + ": a mission is a JSON object";
    } else {
        // The checker's first error says why, with its line and column.
        why = diagnostics.empty() ? path + ": an empty file holds no mission"
                                  : formatDiagnostic(path, diagnostics.front());
    }
    return false;
}

std::string autosavePathFor(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(0, nameStart) + "." + path.substr(nameStart) + ".autosave";
}

bool saveEditedMission(const std::string& path, MissionEditor& editor) {
    if (!writePlayerFile(path, editor.text())) return false;
    editor.markSaved();
    std::remove(autosavePathFor(path).c_str());
    return true;
}

bool writeAutosave(const std::string& path, const MissionEditor& editor) {
    return writePlayerFile(autosavePathFor(path), editor.text());
}

bool autosaveWaiting(const std::string& path) {
    std::string ignored;
    return readRegularFile(autosavePathFor(path), kMissionFileMaxBytes, ignored);
}

}  // namespace nj
