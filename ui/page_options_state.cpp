// The options screen's state extras. Whether a win was assisted is the
// records' "recordAssisted".
#include "ui/page_options_state.hpp"

#include "data/json_writer.hpp"
#include "game/game.hpp"
#include "game/player_options.hpp"

namespace nj {
namespace {

void writeSettings(JsonWriter& json, const Settings& s) {
    json.beginObject();
    json.key("volume").integer(s.volume);
    json.key("muted").boolean(s.muted);
    json.key("fullScreen").boolean(s.fullScreen);
    json.key("pauseOnFocusLoss").boolean(s.pauseOnFocusLoss);
    json.key("rumble").boolean(s.rumble);
    json.key("rumbleStrength").integer(s.rumbleStrength);
    json.key("stickDeadZone").integer(s.stickDeadZone);
    json.key("textSize").integer(s.textSize);
    json.key("sneak").string(s.toggleSneak ? "toggle" : "hold");
    json.key("assistSlowDetection").boolean(s.assistSlowDetection);
    json.key("assistSoftStep").boolean(s.assistSoftStep);
    json.key("assistSafe").boolean(s.assistSafe);
    json.key("gameSpeed").integer(s.gameSpeed);
    json.key("colourGlyphs").boolean(s.colourGlyphs);
    json.key("highContrastCones").boolean(s.highContrastCones);
    json.key("reducedFlashing").boolean(s.reducedFlashing);
    json.key("ghost").boolean(s.ghost);
    json.endObject();
}

}  // namespace

void writeOptionsExtras(JsonWriter& json, const Game& game, const PlayerOptions* shown) {
    static const PlayerOptions kNoOptions;  // a game without options shows the defaults
    const PlayerOptions& options = shown ? *shown : game.options ? *game.options : kNoOptions;
    const Settings& s = options.settings();
    json.key("settings");
    writeSettings(json, s);
    json.key("optionsOpen").boolean(game.optionsOpen);
    json.key("listening").integer(options.listening());
    json.key("optionsMessage").string(options.message());
    json.key("keyNames").beginObject();
    for (std::size_t i = 0; i < kBoundActionCount; ++i) {
        json.key(boundActionName(static_cast<BoundAction>(i))).string(options.keyName(s.keys[i]));
    }
    json.endObject();
    json.key("padButtons").beginObject();
    for (std::size_t i = 0; i < kPadRoleCount; ++i) {
        json.key(padRoleName(static_cast<PadRole>(i))).string(padButtonLabel(s.padButtons[i]));
    }
    json.endObject();
}

}  // namespace nj
