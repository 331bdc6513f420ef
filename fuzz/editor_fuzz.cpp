// The mission editor fed whatever the page could send, a request a line, on a new mission: it
// never crashes, never holds more pieces than the format allows nor a checker's error, and its
// page state always reads back as JSON.
#include <unistd.h>

#include <algorithm>
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

// Saves land in a folder of the process's own: the working folder holds libFuzzer's corpus.
const std::filesystem::path kScratch =
    std::filesystem::temp_directory_path() / ("nj-editor-fuzz-" + std::to_string(getpid()));

bool withinCaps(const nj::JsonValue& mission) {
    const auto& keys = nj::missionFormat().keys;
    return std::all_of(keys.begin(), keys.end(), [&](const nj::MissionKeyFormat& k) {
        return k.kind != nj::MissionValueKind::List ||
               mission.at(std::string(k.key)).items.size() <= k.cap;
    });
}

bool noErrors(const std::string& text) {
    const auto diagnostics = nj::checkMissionText(text).diagnostics;
    return std::none_of(diagnostics.begin(), diagnostics.end(), [](const nj::MissionDiagnostic& d) {
        return d.severity == nj::MissionSeverity::Error;
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Emptied each time, else what earlier inputs saved piles up on the dossier's list.
    std::filesystem::remove_all(kScratch);
    std::filesystem::create_directories(kScratch);
    nj::SilentAudio audio;
    nj::Game live(&audio);
    live.missionsFolder = kScratch.string();
    nj::EditorSession editor(live, nullptr);
    editor.setLiveCheck(false);  // mission_fuzz reaches the checker on its own, far faster
    if (!editor.openNew()) std::abort();
    std::string_view input(reinterpret_cast<const char*>(data), size);
    for (int requests = 0; !input.empty() && requests < 64; ++requests) {
        const std::size_t end = input.find('\n');
        editor.request(input.substr(0, end));
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
        editor.tick(1.0f / 60.0f);
        if (!editor.isOpen()) return 0;  // left: nothing more to judge
    }
    editor.finishChecking();
    if (!withinCaps(editor.editor().mission()) || !noErrors(editor.editor().text())) std::abort();
    nj::parseJson(std::string(editor.pageState()));  // throws (a finding) when it is not JSON
    return 0;
}
