// The mission editor driven by whatever the page could send: each line of the
// input is one request (most of them shaped like the page's, the rest
// anything at all), against a new mission. Whatever arrives, the editor
// never crashes, never holds a mission with more pieces than the format
// allows, never lets the checker's errors in, and always writes a page state
// that reads back as JSON.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "app/editor_session.hpp"
#include "data/json.hpp"
#include "data/mission_check.hpp"
#include "data/mission_format.hpp"
#include "game/game.hpp"

namespace {

// Saves land in a folder of this process's own (the working folder stays
// where libFuzzer reads its corpus from).
const std::string& scratchFolder() {
    static const std::string folder = [] {
        const std::filesystem::path dir =
            std::filesystem::temp_directory_path() / ("nj-editor-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        return dir.string();
    }();
    return folder;
}

bool withinCaps(const nj::JsonValue& mission) {
    for (const nj::MissionKeyFormat& k : nj::missionFormat().keys) {
        if (k.kind != nj::MissionValueKind::List) continue;
        if (mission.at(std::string(k.key)).items.size() > k.cap) return false;
    }
    return true;
}

bool noErrors(const std::string& text) {
    for (const nj::MissionDiagnostic& d : nj::checkMissionText(text).diagnostics) {
        if (d.severity == nj::MissionSeverity::Error) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Emptied each time: leaving lists the folder's missions on the dossier,
    // and what earlier inputs saved would pile up there.
    std::filesystem::remove_all(scratchFolder());
    std::filesystem::create_directories(scratchFolder());
    nj::SilentAudio audio;
    nj::Game live(&audio);
    live.missionsFolder = scratchFolder();
    nj::EditorSession editor(live, nullptr);
    editor.setLiveCheck(false);  // mission_fuzz reaches the checker on its own, far faster
    if (!editor.openNew()) std::abort();
    std::string_view input(reinterpret_cast<const char*>(data), size);
    int requests = 0;
    while (!input.empty() && requests < 64) {
        const std::size_t end = input.find('\n');
        const std::string_view line = input.substr(0, end);
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
        editor.request(line);
        editor.tick(1.0f / 60.0f);
        ++requests;
        if (!editor.isOpen()) return 0;  // left: nothing more to judge
    }
    editor.finishChecking();
    const std::string text = editor.editor().text();
    if (!withinCaps(editor.editor().mission()) || !noErrors(text)) std::abort();
    nj::parseJson(std::string(editor.pageState()));  // throws (a finding) when it is not JSON
    return 0;
}
