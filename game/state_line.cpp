// Writes the simulator's state line: a single-line JSON object.
#include "game/state_line.hpp"

#include "data/json_writer.hpp"
#include "game/enum_names.hpp"
#include "game/game.hpp"

namespace nj {
namespace {

void writePlayer(JsonWriter& j, const Game& g) {
    j.key("player").beginObject();
    j.key("x").number(g.playerPos.x).key("y").number(g.playerPos.y);
    j.key("facing").number(g.playerFacing);
    j.key("moving").boolean(g.playerMoving).key("sneaking").boolean(g.playerSneaking);
    j.key("inCover").boolean(g.playerInCover);
    j.endObject();
}

void writeGuards(JsonWriter& j, const Game& g) {
    j.key("guards").beginArray();
    for (const Guard& guard : g.guards) {
        j.beginObject();
        j.key("x").number(guard.x).key("y").number(guard.y).key("facing").number(guard.facing);
        j.key("state").string(std::string(guardStateName(guard.state)));
        j.key("downed").boolean(guard.downed);
        j.key("discovered").boolean(guard.discovered).key("suspicion").number(guard.suspicion);
        j.key("investigateTimer")
            .number(guard.investigateTimer)
            .key("marked")
            .boolean(guard.marked);
        j.key("speed").number(guard.speed).key("range").number(guard.range);
        j.endObject();
    }
    j.endArray();
}

void writeDevices(JsonWriter& j, const Game& g) {
    j.key("cameras").beginArray();
    for (const Camera& c : g.cameras) {
        j.beginObject();
        j.key("angle").number(c.angle).key("meter").number(c.meter);
        j.key("disabledTime").number(c.disabledTime);
        j.endObject();
    }
    j.endArray();
    j.key("lasers").beginArray();
    for (const Laser& l : g.lasers) {
        j.beginObject();
        j.key("x").number(l.x).key("y").number(l.y).key("speed").number(l.speed);
        j.endObject();
    }
    j.endArray();
    j.key("doors").beginArray();
    for (const Door& d : g.doors) {
        j.beginObject();
        j.key("color").string(d.color).key("openAmount").number(d.openAmount);
        j.key("unlocked").boolean(d.unlocked);
        j.endObject();
    }
    j.endArray();
    j.key("plates").beginArray();
    for (const PressurePlate& p : g.pressurePlates) {
        j.beginObject();
        j.key("pressed").boolean(p.pressed);
        j.endObject();
    }
    j.endArray();
}

void writeObjective(JsonWriter& j, const char* name, const Objective& o, bool dynamic) {
    j.key(name).beginObject();
    if (dynamic) j.key("type").string(objectiveTypeText(o.type, o.otherType));
    j.key("label").string(o.label).key("x").number(o.x).key("y").number(o.y);
    j.key("active").boolean(o.active).key("done").boolean(o.done);
    if (dynamic) j.key("timeLeft").number(o.timeLeft);
    j.endObject();
}

enum class Scope : std::uint8_t { Whole, Run };

std::string stateLine(const Game& g, std::uint64_t step, bool quitRequested, Scope scope) {
    JsonWriter j;
    j.beginObject();
    j.key("step").unsignedInteger(step);
    j.key("gameState").unsignedInteger(static_cast<std::uint32_t>(g.gameState));
    j.key("missionIndex").unsignedInteger(g.missionIndex);
    j.key("missionCount").unsignedInteger(g.campaignMaps.size());
    j.key("missionName")
        .string(g.missionName)
        .key("theme")
        .string(themeText(g.theme, g.otherTheme));
    j.key("faction")
        .string(g.faction)
        .key("approach")
        .unsignedInteger(static_cast<std::uint32_t>(g.approach));
    writePlayer(j, g);
    j.key("detection").number(g.detection).key("peakDetection").number(g.peakDetection);
    j.key("timesSpotted").unsignedInteger(g.timesSpotted).key("alarmActive").boolean(g.alarmActive);
    j.key("missionClock").number(g.missionClock);
    j.key("cardTaken").boolean(g.cardTaken).key("cipherAcquired").boolean(g.cipherAcquired);
    j.key("cipherDecrypted").boolean(g.cipherDecrypted).key("gateOpen").number(g.gateOpen);
    j.key("safeActive")
        .boolean(g.safeActive)
        .key("currentTumbler")
        .unsignedInteger(g.currentTumbler);
    j.key("keycardsHeld").beginArray();
    for (const std::string& color : g.keycardsHeld) j.string(color);
    j.endArray();
    j.key("disguise").number(g.disguise).key("lasersOn").boolean(g.lasersOn);
    writeGuards(j, g);
    writeDevices(j, g);
    writeObjective(j, "dynamicObjective", g.dynamicObjective, true);
    writeObjective(j, "optionalIntel", g.optionalIntel, false);
    j.key("banner").beginObject();
    j.key("active").boolean(g.bannerActive).key("text").string(g.bannerText);
    j.endObject();
    j.key("stealthGrade")
        .string(g.stealthGrade)
        .key("lastIntelAward")
        .unsignedInteger(g.lastIntelAward);
    j.key("intelBudget").unsignedInteger(g.intelBudget);
    j.key("highestUnlocked").unsignedInteger(g.highestUnlocked);
    j.key("missionCompleted").beginArray();
    for (std::uint8_t done : g.missionCompleted) j.boolean(done);
    j.endArray();
    j.key("missionGrades").beginArray();
    for (const std::string& grade : g.missionGrades) j.string(grade);
    j.endArray();
    j.key("ghostBonus").boolean(g.ghostBonus).key("intelBonus").boolean(g.intelBonus);
    j.key("takedownTarget").integer(static_cast<long long>(g.takedownTarget));
    if (scope == Scope::Run) {
        j.endObject();
        return j.text();
    }
    j.key("audioEnabled").boolean(g.audioEnabled()).key("quitRequested").boolean(quitRequested);
    // Beyond the rules of one mission: perks, the dossier's questions.
    j.key("perksOwned").beginArray();
    for (std::size_t i = 0; i < kPerkCount; ++i) j.boolean(g.perkOwned(i));
    j.endArray();
    j.key("requisitionOpen").boolean(g.requisitionOpen).key("confirmQuit").boolean(g.confirmQuit);
    j.key("campaignComplete").boolean(g.campaignComplete());
    j.key("campaignEnd").boolean(g.campaignEndShown);
    j.key("confirmNewCampaign").boolean(g.confirmNewCampaign);
    j.endObject();
    return j.text();
}

}  // namespace

std::string formatStateLine(const Game& g, std::uint64_t step, bool quitRequested) {
    return stateLine(g, step, quitRequested, Scope::Whole);
}

std::string formatRunStateLine(const Game& g, std::uint64_t step) {
    return stateLine(g, step, false, Scope::Run);
}

}  // namespace nj
