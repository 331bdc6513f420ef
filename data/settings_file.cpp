// Reading and writing settings.json.
#include "data/settings_file.hpp"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <exception>
#include <iterator>
#include <set>
#include <string_view>
#include <vector>

#include "data/json.hpp"
#include "data/regular_file.hpp"

namespace nj {
namespace {

// A few hundred bytes of options; anything this big is not ours.
constexpr std::size_t kSettingsMaxBytes = 64 * 1024;
constexpr int kMaxWindowOffset = 32767;

constexpr std::array<const char*, kBoundActionCount> kActionNames{
    "moveUp", "moveDown", "moveLeft", "moveRight", "sneak",     "interact",  "takedown",
    "pause",  "dossier",  "retry",    "approach1", "approach2", "approach3", "approach4"};

// The keys a keyboard player has always used, by where they sit on a US
// board (USB usage ids): W S A D, left Shift, E, Space, P, Tab, R, F1-F4.
constexpr std::array<int, kBoundActionCount> kDefaultKeys{26, 22, 4,  7,  225, 8,  44,
                                                          19, 43, 21, 58, 59,  60, 61};

constexpr std::array<const char*, kPadRoleCount> kPadRoleNames{"interact", "cancel",  "takedown",
                                                               "retry",    "dossier", "pause"};
constexpr std::array<const char*, kPadRoleCount> kPadButtonLabels{"A", "B",    "X",
                                                                  "Y", "BACK", "START"};

int roundedInt(double value, int lowest, int highest) {
    if (std::isnan(value)) return lowest;
    return static_cast<int>(std::lround(std::clamp(value, double(lowest), double(highest))));
}

int steppedPercent(double value, int lowest, int highest, int step) {
    const int v = roundedInt(value / step, lowest / step, highest / step);
    return v * step;
}

// Reads one settings object, noting every member that is there but unusable.
class SettingsReader {
  public:
    SettingsReader(const JsonValue& root, SettingsLoad& load) : root_(root), load_(load) {}

    void readAll() {
        Settings& s = load_.settings;
        double version = 0.0;
        if (number(root_, "version", version) && version < 1.0) noteBad("version");
        if (double v = 0.0; number(root_, "volume", v)) s.volume = clampVolume(v);
        flag(root_, "muted", s.muted);
        flag(root_, "fullScreen", s.fullScreen);
        readWindow();
        flag(root_, "pauseOnFocusLoss", s.pauseOnFocusLoss);
        flag(root_, "rumble", s.rumble);
        if (double v = 0.0; number(root_, "rumbleStrength", v))
            s.rumbleStrength = clampRumbleStrength(v);
        if (double v = 0.0; number(root_, "stickDeadZone", v)) s.stickDeadZone = clampDeadZone(v);
        if (double v = 0.0; number(root_, "textSize", v)) s.textSize = nearestChoice(v, kTextSizes);
        readSneakMode();
        flag(root_, "assistSlowDetection", s.assistSlowDetection);
        flag(root_, "assistSoftStep", s.assistSoftStep);
        flag(root_, "assistSafe", s.assistSafe);
        if (double v = 0.0; number(root_, "gameSpeed", v))
            s.gameSpeed = nearestChoice(v, kGameSpeeds);
        flag(root_, "colourGlyphs", s.colourGlyphs);
        flag(root_, "highContrastCones", s.highContrastCones);
        flag(root_, "reducedFlashing", s.reducedFlashing);
        flag(root_, "ghost", s.ghost);
        readKeys();
        readPadButtons();
    }

  private:
    void noteBad(const std::string& name) { bad_.push_back(name); }

  public:
    const std::vector<std::string>& bad() const { return bad_; }

  private:
    // False when absent or unusable (then noted); a present number must be finite.
    bool number(const JsonValue& object, const std::string& name, double& out,
                const std::string& prefix = "") {
        if (!object.has(name)) return false;
        const JsonValue& v = object.at(name);
        if (v.type != JsonType::Number || !std::isfinite(v.number)) {
            noteBad(prefix + name);
            return false;
        }
        out = v.number;
        return true;
    }
    void flag(const JsonValue& object, const std::string& name, bool& out) {
        if (!object.has(name)) return;
        const JsonValue& v = object.at(name);
        if (v.type == JsonType::Bool) {
            out = v.boolean;
        } else {
            noteBad(name);
        }
    }
    // An object member that is there but not an object is noted; false then.
    bool object(const std::string& name) {
        if (!root_.has(name)) return false;
        if (root_.at(name).type == JsonType::Object) return true;
        noteBad(name);
        return false;
    }

    void readWindow() {
        if (!object("window")) return;
        const JsonValue& w = root_.at("window");
        double x = 0.0, y = 0.0, width = 0.0, height = 0.0;
        const std::size_t before = bad_.size();
        // Every member is read, so each bad one is named, not just the first.
        const bool read[] = {number(w, "x", x, "window."), number(w, "y", y, "window."),
                             number(w, "width", width, "window."),
                             number(w, "height", height, "window.")};
        if (!std::all_of(std::begin(read), std::end(read), [](bool ok) { return ok; })) {
            if (bad_.size() == before) noteBad("window");  // members missing
            return;
        }
        WindowPlacement& p = load_.settings.window;
        p.x = roundedInt(x, -kMaxWindowOffset, kMaxWindowOffset);
        p.y = roundedInt(y, -kMaxWindowOffset, kMaxWindowOffset);
        p.width = roundedInt(width, kMinWindowWidth, kMaxWindowSide);
        p.height = roundedInt(height, kMinWindowHeight, kMaxWindowSide);
    }

    void readSneakMode() {
        if (!root_.has("sneak")) return;
        const JsonValue& v = root_.at("sneak");
        if (v.type == JsonType::String && (v.text == "hold" || v.text == "toggle")) {
            load_.settings.toggleSneak = v.text == "toggle";
        } else {
            noteBad("sneak");
        }
    }

    // Every action on its own key, or the defaults for all: a file that puts
    // two actions on one key cannot say which of them the player meant.
    void readKeys() {
        if (!object("keys")) return;
        const JsonValue& keys = root_.at("keys");
        std::array<int, kBoundActionCount> read = load_.settings.keys;
        for (std::size_t i = 0; i < kBoundActionCount; ++i) {
            double v = 0.0;
            if (!number(keys, kActionNames[i], v, "keys.")) continue;
            if (v < 1.0 || v > kMaxScancode || v != std::floor(v)) {
                noteBad(std::string("keys.") + kActionNames[i]);
                continue;
            }
            read[i] = static_cast<int>(v);
        }
        if (std::set<int>(read.begin(), read.end()).size() != read.size()) {
            noteBad("keys (one key for two actions)");
            return;
        }
        load_.settings.keys = read;
    }

    void readPadButtons() {
        if (!object("padButtons")) return;
        const JsonValue& pad = root_.at("padButtons");
        std::array<int, kPadRoleCount> read = load_.settings.padButtons;
        for (std::size_t i = 0; i < kPadRoleCount; ++i) {
            if (!pad.has(kPadRoleNames[i])) continue;
            const JsonValue& v = pad.at(kPadRoleNames[i]);
            const auto* found = v.type == JsonType::String
                                    ? std::find_if(kPadButtonLabels.begin(), kPadButtonLabels.end(),
                                                   [&](const char* l) { return v.text == l; })
                                    : kPadButtonLabels.end();
            if (found == kPadButtonLabels.end()) {
                noteBad(std::string("padButtons.") + kPadRoleNames[i]);
                continue;
            }
            read[i] = static_cast<int>(found - kPadButtonLabels.begin());
        }
        if (std::set<int>(read.begin(), read.end()).size() != read.size()) {
            noteBad("padButtons (one button for two actions)");
            return;
        }
        load_.settings.padButtons = read;
    }

    const JsonValue& root_;
    SettingsLoad& load_;
    std::vector<std::string> bad_;
};

std::string problemLine(const std::vector<std::string>& names) {
    std::string line = "settings.json: kept at their defaults, unreadable: ";
    for (std::size_t i = 0; i < names.size(); ++i) line += (i ? ", " : "") + names[i];
    return line;
}

SettingsLoad wholeFileUnusable(const std::string& why) {
    SettingsLoad load;
    load.found = true;
    load.damaged = true;
    load.problem = "settings.json: " + why + "; every option at its default";
    return load;
}

}  // namespace

const char* boundActionName(BoundAction action) {
    const auto i = static_cast<std::size_t>(action);
    return i < kBoundActionCount ? kActionNames[i] : "";
}

const char* padRoleName(PadRole role) {
    const auto i = static_cast<std::size_t>(role);
    return i < kPadRoleCount ? kPadRoleNames[i] : "";
}

const char* padButtonLabel(int button) {
    return button >= 0 && button < static_cast<int>(kPadRoleCount)
               ? kPadButtonLabels[static_cast<std::size_t>(button)]
               : "";
}

int defaultKeyPosition(BoundAction action) {
    const auto i = static_cast<std::size_t>(action);
    return i < kBoundActionCount ? kDefaultKeys[i] : 0;
}

Settings::Settings() : keys(kDefaultKeys) {}

int clampVolume(double percent) {
    return steppedPercent(percent, 0, 100, kVolumeStep);
}

int clampRumbleStrength(double percent) {
    return steppedPercent(percent, 0, 100, kRumbleStep);
}

int clampDeadZone(double percent) {
    return roundedInt(percent, kDeadZoneMin, kDeadZoneMax);
}

int nearestChoice(double value, const std::array<int, 3>& choices) {
    if (std::isnan(value)) return choices[0];
    // Far out, every choice is as near as the next in double precision.
    const auto [low, high] = std::minmax_element(choices.begin(), choices.end());
    value = std::clamp(value, double(*low), double(*high));
    int best = choices[0];
    for (int c : choices) {
        if (std::fabs(value - c) < std::fabs(value - best)) best = c;
    }
    return best;
}

SettingsLoad parseSettingsText(const std::string& text) {
    JsonValue root;
    try {
        root = parseJson(text);
    } catch (const std::exception& e) {
        return wholeFileUnusable(std::string("not JSON (") + e.what() + ")");
    }
    if (root.type != JsonType::Object) return wholeFileUnusable("not a JSON object");
    SettingsLoad load;
    load.found = true;
    SettingsReader reader(root, load);
    reader.readAll();
    if (!reader.bad().empty()) {
        load.damaged = true;
        load.problem = problemLine(reader.bad());
    }
    return load;
}

SettingsLoad readSettingsFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return SettingsLoad{};
    std::string text;
    if (!readRegularFile(path, kSettingsMaxBytes, text)) {
        return wholeFileUnusable("not a regular file of at most 64 KiB");
    }
    return parseSettingsText(text);
}

std::string formatSettingsText(const Settings& s) {
    std::string out = "{\n";
    const auto member = [&out](std::string_view name, const std::string& value) {
        out += "  \"";
        out += name;
        out += "\": ";
        out += value;
        out += ",\n";
    };
    const auto flag = [](bool b) { return std::string(b ? "true" : "false"); };
    const auto quoted = [](std::string_view t) { return "\"" + std::string(t) + "\""; };
    member("version", std::to_string(kSettingsVersion));
    member("volume", std::to_string(s.volume));
    member("muted", flag(s.muted));
    member("fullScreen", flag(s.fullScreen));
    if (s.window.known()) {
        member("window", "{\"x\": " + std::to_string(s.window.x) +
                             ", \"y\": " + std::to_string(s.window.y) +
                             ", \"width\": " + std::to_string(s.window.width) +
                             ", \"height\": " + std::to_string(s.window.height) + "}");
    }
    member("pauseOnFocusLoss", flag(s.pauseOnFocusLoss));
    member("rumble", flag(s.rumble));
    member("rumbleStrength", std::to_string(s.rumbleStrength));
    member("stickDeadZone", std::to_string(s.stickDeadZone));
    member("textSize", std::to_string(s.textSize));
    member("sneak", quoted(s.toggleSneak ? "toggle" : "hold"));
    member("assistSlowDetection", flag(s.assistSlowDetection));
    member("assistSoftStep", flag(s.assistSoftStep));
    member("assistSafe", flag(s.assistSafe));
    member("gameSpeed", std::to_string(s.gameSpeed));
    member("colourGlyphs", flag(s.colourGlyphs));
    member("highContrastCones", flag(s.highContrastCones));
    member("reducedFlashing", flag(s.reducedFlashing));
    member("ghost", flag(s.ghost));
    std::string keys = "{";
    for (std::size_t i = 0; i < kBoundActionCount; ++i) {
        keys += (i ? ", " : "") + quoted(kActionNames[i]) + ": " + std::to_string(s.keys[i]);
    }
    member("keys", keys + "}");
    std::string pad = "{";
    for (std::size_t i = 0; i < kPadRoleCount; ++i) {
        pad += (i ? ", " : "") + quoted(kPadRoleNames[i]) + ": " +
               quoted(padButtonLabel(s.padButtons[i]));
    }
    out += "  \"padButtons\": " + pad + "}\n}\n";
    return out;
}

}  // namespace nj
