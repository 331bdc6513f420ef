// The nightjar-sim script language: step timing, keys, page commands, the
// safe-cracking helper and state lines.
#include "tools/nightjar-sim/script.hpp"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <map>
#include <ostream>
#include <sstream>
#include <vector>

#include "game/game.hpp"
#include "game/rules_math.hpp"
#include "game/state_line.hpp"
#include "ui/page_command_table.hpp"
#include "ui/page_state.hpp"

namespace nj {
namespace {

constexpr float kCrackGiveUpSeconds = 20.0f;

double parseNumber(const std::string& word) {
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(word.c_str(), &end);
    if (word.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(value)) {
        throw ScriptError("not a number: '" + word + "'");
    }
    return value;
}

unsigned long long parseCount(const std::string& word) {
    if (word.empty() || word.find_first_not_of("0123456789") != std::string::npos) {
        throw ScriptError("not a count: '" + word + "'");
    }
    errno = 0;
    const unsigned long long value = std::strtoull(word.c_str(), nullptr, 10);
    if (errno == ERANGE) throw ScriptError("count too large: '" + word + "'");
    return value;
}

std::vector<std::string> words(const std::string& line) {
    std::string code = line.substr(0, line.find('#'));
    std::istringstream in(code);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

// The simulator stands in for the overlay host: quitting goes through the
// game's quit hook, which the runner watches.
class SimCommandTarget final : public GameCommandTarget {
  public:
    explicit SimCommandTarget(Game& game) : game_(game) {}
    Game* commandGame() override { return &game_; }
    void quitGame() override { game_.quitGame(); }

  private:
    Game& game_;
};

}  // namespace

std::uint32_t parseKey(const std::string& word) {
    static const std::map<std::string, std::uint32_t> kNames = {
        {"W", vk::kW},         {"A", vk::kA},         {"S", vk::kS},         {"D", vk::kD},
        {"E", vk::kE},         {"P", vk::kP},         {"R", vk::kR},         {"SPACE", vk::kSpace},
        {"SHIFT", vk::kShift}, {"ENTER", vk::kEnter}, {"ESC", vk::kEsc},     {"TAB", vk::kTab},
        {"LEFT", vk::kLeft},   {"UP", vk::kUp},       {"RIGHT", vk::kRight}, {"DOWN", vk::kDown},
        {"F1", vk::kF1},       {"F2", vk::kF2},       {"F3", vk::kF3},       {"F4", vk::kF4},
        {"Q", vk::kQ},         {"N", vk::kN},
    };
    const auto named = kNames.find(word);
    if (named != kNames.end()) return named->second;
    const unsigned long long code = parseCount(word);
    if (code > 0xFFFFFFFFull) throw ScriptError("key code out of range: '" + word + "'");
    return static_cast<std::uint32_t>(code);
}

ScriptRunner::ScriptRunner(Game& game, std::ostream& out) : game_(game), out_(out) {
    game_.quitHook = [this] { quitRequested_ = true; };
    // The shell's clipboard, held by the runner.
    game_.readClipboardHook = [this] { return clipboard_; };
    game_.writeClipboardHook = [this](const std::string& text) { clipboard_ = text; };
}

void ScriptRunner::step() {
    game_.update(dt_);
    ++steps_;
}

void ScriptRunner::runLine(const std::string& line) {
    const std::vector<std::string> w = words(line);
    if (w.empty()) return;
    const std::string& cmd = w[0];
    auto expectArgs = [&](std::size_t lo, std::size_t hi) {
        if (w.size() - 1 < lo || w.size() - 1 > hi) {
            throw ScriptError("wrong number of arguments for '" + cmd + "'");
        }
    };
    if (cmd == "dt") {
        expectArgs(1, 1);
        const double seconds = parseNumber(w[1]);
        if (seconds < 0.0) throw ScriptError("negative step length: '" + w[1] + "'");
        dt_ = static_cast<float>(seconds);
    } else if (cmd == "step") {
        expectArgs(1, 1);
        for (unsigned long long n = parseCount(w[1]); n > 0; --n) step();
    } else if (cmd == "down") {
        expectArgs(1, 1);
        game_.onKeyDown(parseKey(w[1]));
    } else if (cmd == "up") {
        expectArgs(1, 1);
        game_.onKeyUp(parseKey(w[1]));
    } else if (cmd == "press") {
        expectArgs(1, 1);
        const std::uint32_t key = parseKey(w[1]);
        game_.onKeyDown(key);
        game_.onKeyUp(key);
    } else if (cmd == "call") {
        expectArgs(1, 2);
        call(w[1], w.size() > 2 ? &w[2] : nullptr);
    } else if (cmd == "crack") {
        expectArgs(0, 0);
        crack();
    } else if (cmd == "print") {
        expectArgs(0, 0);
        out_ << formatStateLine(game_, steps_, quitRequested_) << '\n';
    } else if (cmd == "clipboard") {
        // The rest of the line, as a player would have copied it.
        expectArgs(1, 1);
        clipboard_ = w[1];
    } else if (cmd == "printclipboard") {
        expectArgs(0, 0);
        out_ << clipboard_ << '\n';
    } else if (cmd == "pagestate") {
        // Exactly the script the overlay would evaluate now, at the page's
        // 1280 x 720 layout.
        expectArgs(0, 0);
        out_ << buildStateScript(game_, PageLayout{1280, 720}) << '\n';
    } else {
        throw ScriptError("unknown command '" + cmd + "'");
    }
}

void ScriptRunner::call(const std::string& name, const std::string* argument) {
    const PageCommand* command = findPageCommand(name);
    const bool takesNumber = command && command->numberArgument;
    const bool takesText = command && command->textArgument;
    if ((takesNumber || takesText) != (argument != nullptr)) {
        throw ScriptError(takesNumber ? "'" + name + "' needs a number"
                          : takesText ? "'" + name + "' needs a text"
                                      : "'" + name + "' takes no argument");
    }
    if (!command) throw ScriptError("unknown page command '" + name + "'");
    SimCommandTarget target(game_);
    if (takesText) {
        command->runText(target, *argument);  // the simulator has no editor: nothing happens
        return;
    }
    command->run(target, takesNumber ? parseNumber(*argument) : 0.0);
}

// Steps until the turning tumbler sits in its window, taps, and repeats until
// the safe opens. Tumblers only turn while playing, so it stops when the
// mission ends, and it never spins on a zero step length.
void ScriptRunner::crack() {
    float elapsed = 0.0f;
    while (game_.safeActive && game_.gameState == GameState::Playing &&
           game_.currentTumbler < game_.tumblers.size()) {
        const Tumbler& t = game_.tumblers[game_.currentTumbler];
        if (std::fabs(wrapAngle(t.angle - t.target)) < t.width * 0.5f) {
            game_.act(RunAction::TumblerTap);
            continue;
        }
        if (!(dt_ > 0.0f) || elapsed >= kCrackGiveUpSeconds) return;
        step();
        elapsed += dt_;
    }
}

}  // namespace nj
