// Writes the simulator's state line: a single-line JSON object.
#include "tools/nightjar-sim/state_line.hpp"

#include <cstdio>

#include "game/enum_names.hpp"
#include "game/game.hpp"

namespace nj {
namespace {

class JsonLine {
  public:
    JsonLine& key(const char* name) {
        comma();
        out_ += '"';
        out_ += name;
        out_ += "\":";
        fresh_ = false;
        return *this;
    }
    JsonLine& number(double value) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.6g", value);
        out_ += buf;
        return *this;
    }
    JsonLine& integer(long long value) {
        out_ += std::to_string(value);
        return *this;
    }
    JsonLine& unsignedInteger(unsigned long long value) {
        out_ += std::to_string(value);
        return *this;
    }
    JsonLine& flag(bool value) {
        out_ += value ? "true" : "false";
        return *this;
    }
    JsonLine& text(const std::string& value) {
        out_ += '"';
        for (unsigned char c : value) {
            if (c == '"' || c == '\\') {
                out_ += '\\';
                out_ += static_cast<char>(c);
            } else if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out_ += buf;
            } else {
                out_ += static_cast<char>(c);
            }
        }
        out_ += '"';
        return *this;
    }
    JsonLine& open(char bracket) {
        comma();
        out_ += bracket;
        fresh_ = true;
        return *this;
    }
    JsonLine& close(char bracket) {
        out_ += bracket;
        fresh_ = false;
        return *this;
    }
    // Elements of an array need the separator too.
    JsonLine& element() {
        comma();
        fresh_ = false;
        return *this;
    }
    const std::string& str() const { return out_; }

  private:
    void comma() {
        if (!fresh_ && !out_.empty() && out_.back() != ':') out_ += ',';
    }
    std::string out_;
    bool fresh_ = true;
};

void writePlayer(JsonLine& j, const Game& g) {
    j.key("player").open('{');
    j.key("x").number(g.playerPos.x).key("y").number(g.playerPos.y);
    j.key("facing").number(g.playerFacing);
    j.key("moving").flag(g.playerMoving).key("sneaking").flag(g.playerSneaking);
    j.key("inCover").flag(g.playerInCover);
    j.close('}');
}

void writeGuards(JsonLine& j, const Game& g) {
    j.key("guards").open('[');
    for (const Guard& guard : g.guards) {
        j.open('{');
        j.key("x").number(guard.x).key("y").number(guard.y).key("facing").number(guard.facing);
        j.key("state")
            .text(std::string(guardStateName(guard.state)))
            .key("downed")
            .flag(guard.downed);
        j.key("discovered").flag(guard.discovered).key("suspicion").number(guard.suspicion);
        j.key("investigateTimer").number(guard.investigateTimer).key("marked").flag(guard.marked);
        j.key("speed").number(guard.speed).key("range").number(guard.range);
        j.close('}');
    }
    j.close(']');
}

void writeDevices(JsonLine& j, const Game& g) {
    j.key("cameras").open('[');
    for (const Camera& c : g.cameras) {
        j.open('{');
        j.key("angle").number(c.angle).key("meter").number(c.meter);
        j.key("disabledTime").number(c.disabledTime);
        j.close('}');
    }
    j.close(']');
    j.key("lasers").open('[');
    for (const Laser& l : g.lasers) {
        j.open('{');
        j.key("x").number(l.x).key("y").number(l.y).key("speed").number(l.speed);
        j.close('}');
    }
    j.close(']');
    j.key("doors").open('[');
    for (const Door& d : g.doors) {
        j.open('{');
        j.key("color").text(d.color).key("openAmount").number(d.openAmount);
        j.key("unlocked").flag(d.unlocked);
        j.close('}');
    }
    j.close(']');
    j.key("plates").open('[');
    for (const PressurePlate& p : g.pressurePlates) {
        j.open('{');
        j.key("pressed").flag(p.pressed);
        j.close('}');
    }
    j.close(']');
}

void writeObjective(JsonLine& j, const char* name, const Objective& o, bool dynamic) {
    j.key(name).open('{');
    if (dynamic) j.key("type").text(objectiveTypeText(o.type, o.otherType));
    j.key("label").text(o.label).key("x").number(o.x).key("y").number(o.y);
    j.key("active").flag(o.active).key("done").flag(o.done);
    if (dynamic) j.key("timeLeft").number(o.timeLeft);
    j.close('}');
}

}  // namespace

std::string formatStateLine(const Game& g, std::uint64_t step, bool quitRequested) {
    JsonLine j;
    j.open('{');
    j.key("step").unsignedInteger(step);
    j.key("gameState").unsignedInteger(static_cast<std::uint32_t>(g.gameState));
    j.key("missionIndex").unsignedInteger(g.missionIndex);
    j.key("missionCount").unsignedInteger(g.campaignMaps.size());
    j.key("missionName").text(g.missionName).key("theme").text(themeText(g.theme, g.otherTheme));
    j.key("faction")
        .text(g.faction)
        .key("approach")
        .unsignedInteger(static_cast<std::uint32_t>(g.approach));
    writePlayer(j, g);
    j.key("detection").number(g.detection).key("peakDetection").number(g.peakDetection);
    j.key("timesSpotted").unsignedInteger(g.timesSpotted).key("alarmActive").flag(g.alarmActive);
    j.key("missionClock").number(g.missionClock);
    j.key("cardTaken").flag(g.cardTaken).key("cipherAcquired").flag(g.cipherAcquired);
    j.key("cipherDecrypted").flag(g.cipherDecrypted).key("gateOpen").number(g.gateOpen);
    j.key("safeActive").flag(g.safeActive).key("currentTumbler").unsignedInteger(g.currentTumbler);
    j.key("keycardsHeld").open('[');
    for (const std::string& color : g.keycardsHeld) j.element().text(color);
    j.close(']');
    j.key("disguise").number(g.disguise).key("lasersOn").flag(g.lasersOn);
    writeGuards(j, g);
    writeDevices(j, g);
    writeObjective(j, "dynamicObjective", g.dynamicObjective, true);
    writeObjective(j, "optionalIntel", g.optionalIntel, false);
    j.key("banner").open('{');
    j.key("active").flag(g.bannerActive).key("text").text(g.bannerText);
    j.close('}');
    j.key("stealthGrade")
        .text(g.stealthGrade)
        .key("lastIntelAward")
        .unsignedInteger(g.lastIntelAward);
    j.key("intelBudget").unsignedInteger(g.intelBudget);
    j.key("highestUnlocked").unsignedInteger(g.highestUnlocked);
    j.key("missionCompleted").open('[');
    for (std::uint8_t done : g.missionCompleted) j.element().flag(done);
    j.close(']');
    j.key("missionGrades").open('[');
    for (const std::string& grade : g.missionGrades) j.element().text(grade);
    j.close(']');
    j.key("ghostBonus").flag(g.ghostBonus).key("intelBonus").flag(g.intelBonus);
    j.key("takedownTarget").integer(static_cast<long long>(g.takedownTarget));
    j.key("audioEnabled").flag(g.audioEnabled()).key("quitRequested").flag(quitRequested);
    j.close('}');
    return j.str();
}

}  // namespace nj
