// Opening, saving and autosaving the editor's missions.
#include "game/mission_editing.hpp"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
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
        const auto error = std::find_if(
            diagnostics.begin(), diagnostics.end(),
            [](const MissionDiagnostic& d) { return d.severity == MissionSeverity::Error; });
        why = error == diagnostics.end() ? path + ": an empty file holds no mission"
                                         : formatDiagnostic(path, *error);
    }
    return false;
}

std::string newMissionText() {
    return R"({"name":"NEW OPERATION",)"
           R"("desc":"Take the cipher card, crack the safe behind the vault gate and get out.",)"
           R"("theme":"casino","player":{"x":60,"y":470},"serviceSpawn":{"x":60,"y":100},)"
           R"("backstageSpawn":{"x":60,"y":290},"card":{"x":420,"y":280,"r":12},)"
           R"("gate":{"x":660,"y":230,"w":24,"h":120},"terminal":{"x":820,"y":290,"r":18},)"
           R"("exit":{"x":20,"y":190,"w":58,"h":70},"walls":[{"x":0,"y":24,"w":960,"h":16},)"
           R"({"x":0,"y":520,"w":960,"h":16},{"x":0,"y":24,"w":16,"h":512},)"
           R"({"x":944,"y":24,"w":16,"h":512},{"x":660,"y":40,"w":24,"h":190},)"
           R"({"x":660,"y":350,"w":24,"h":170}],"furniture":[],"lasers":[],"cameras":[],)"
           R"("pressures":[],"doors":[],"keycards":[],"guards":[]})";
}

std::string freeMissionPath(const std::string& folder, const std::string& name) {
    std::string stem;
    for (const char c : name) {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            stem += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        } else if (!stem.empty() && stem.back() != '-') {
            stem += '-';
        }
        if (stem.size() >= 48) break;
    }
    while (!stem.empty() && stem.back() == '-') stem.pop_back();
    if (stem.empty()) stem = "operation";
    const std::string base = folder.empty() ? stem : folder + "/" + stem;
    for (int n = 1;; ++n) {
        const std::string path = base + (n == 1 ? "" : "-" + std::to_string(n)) + ".json";
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0 && lstat(autosavePathFor(path).c_str(), &st) != 0)
            return path;
    }
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
