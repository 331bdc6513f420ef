// The player's accessibility choices; with every choice off the frame is the reference frame's.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "render/primitives.hpp"
#include "render/scene/colour_tags.hpp"
#include "render/scene/floor_decor.hpp"
#include "render/scene/label_plate.hpp"
#include "tests/render/scene/scene_probe.hpp"

namespace {

using nj::Color;
using nj::SceneAccessibility;
using namespace nj::test;

using AccessibleStep = void (*)(nj::Batch&, const nj::Game&, const SceneAccessibility&);

constexpr SceneAccessibility kGlyphs{.colourGlyphs = true};
constexpr SceneAccessibility kHighContrast{.highContrastCones = true};
constexpr SceneAccessibility kSteady{.reducedFlashing = true};
constexpr SceneAccessibility kLarge{.largeLabels = true};

std::vector<nj::Vertex> inside(const std::vector<nj::Vertex>& vs, const Bounds& box) {
    std::vector<nj::Vertex> in;
    for (const nj::Vertex& v : vs)
        if (v.x >= box.minX && v.x <= box.maxX && v.y >= box.minY && v.y <= box.maxY)
            in.push_back(v);
    return in;
}

// The tag's ink about its centre, in radii, so a door's and a card's can be laid over each other.
std::vector<nj::Vertex> shapeOf(const Recording& r, const std::string& name, float cx, float cy,
                                float radius) {
    std::vector<nj::Vertex> shape;
    for (nj::Vertex v : r.withColor(nj::tagInkFor(name))) {
        v.x = (v.x - cx) / radius;
        v.y = (v.y - cy) / radius;
        shape.push_back(v);
    }
    return shape;
}

using Accessibility = ClearedWorld;

// Only when asked for, one on each leaf with room for it; the four colours' shapes differ and a
// name the game does not know is cyan's.
TEST_F(Accessibility, AKeycardAndItsDoorCarryTheSameShapeAndEachColourItsOwn) {
    const struct {
        float w, h, open;
        std::size_t tags;
    } doors[] = {
        {60, 14, 0.4f, 2},
        {60, 14, 0.5f, 0},  // half open, a leaf is 15 long: too short for a tag 15 across
        {4, 60, 0, 2},      // a thin door gets smaller tags, a sliver none
        {3, 60, 0, 0},
    };
    std::vector<std::vector<nj::Vertex>> shapes;
    for (const std::string name : {"cyan", "ruby", "emerald", "purple"}) {
        // A vertical door 14 x 56: closed, each 28-high leaf carries a tag at its middle.
        game.doors = {{.x = 300, .y = 100, .w = 14, .h = 56, .color = name}};
        game.keycards = {{.x = 600, .y = 300, .color = name}};
        const Recording door = record(nj::drawDoorsWith, game, kGlyphs);
        const Recording card = record(nj::drawKeycardsWith, game, kGlyphs);
        std::vector<nj::Vertex> onDoor = shapeOf(door, name, 307, 114, 7.5f);
        const std::vector<nj::Vertex> onCard = shapeOf(card, name, 600, 300 - 15.5f, 7.5f);
        ASSERT_FALSE(onCard.empty()) << name;
        // Two leaves, one tag each; the first is the card's shape exactly.
        ASSERT_EQ(onDoor.size(), 2 * onCard.size()) << name;
        onDoor.resize(onCard.size());
        EXPECT_TRUE(sameVertices(onDoor, onCard)) << name;
        for (const auto& other : shapes) EXPECT_FALSE(sameVertices(onCard, other)) << name;
        shapes.push_back(onCard);
        const Color ink = nj::tagInkFor(name);
        EXPECT_FALSE(record(nj::drawDoorsWith, game, {}).has(ink)) << name;
        EXPECT_FALSE(record(nj::drawKeycardsWith, game, {}).has(ink)) << name;
        for (const auto& d : doors) {
            game.doors = {
                {.x = 100, .y = 100, .w = d.w, .h = d.h, .color = name, .openAmount = d.open}};
            EXPECT_EQ(record(nj::drawDoorsWith, game, kGlyphs).count(ink), d.tags * onCard.size())
                << name << " " << d.w << "x" << d.h << " open " << d.open;
        }
    }
    EXPECT_EQ(nj::shapeForName("gold"), nj::shapeForName("cyan"));
}

float hueOf(const Color& c) {
    const float hi = std::max({c.r, c.g, c.b}), lo = std::min({c.r, c.g, c.b});
    if (!(hi - lo > 0)) return 0;
    const float h = 60 * (hi == c.r   ? (c.g - c.b) / (hi - lo)
                          : hi == c.g ? 2 + (c.b - c.r) / (hi - lo)
                                      : 4 + (c.r - c.g) / (hi - lo));
    return h < 0 ? h + 360 : h;
}

// The nearest any cone colour comes to any lamp pool's, in degrees of hue.
float nearestToALamp(const Recording& cones) {
    const Recording lamps = record([](nj::Batch& b) { nj::drawDriftingLightPools(b, 0); });
    float nearest = 360;
    for (const nj::Vertex& cone : cones.vertices) {
        if (!(cone.color.a > 0)) continue;  // a faded rim shows no colour
        for (const nj::Vertex& lamp : lamps.vertices) {
            const float apart = std::fabs(hueOf(cone.color) - hueOf(lamp.color));
            nearest = std::min({nearest, apart, 360 - apart});
        }
    }
    return nearest;
}

// Plain or high contrast, searching and suspicious guards share a cone colour, calm and alert ones
// have their own. High contrast keeps every cone, calm or alarmed, clear of the lamps' amber.
TEST_F(Accessibility, ConesShowTheGuardsMoodAndHighContrastKeepsClearOfTheLampsHues) {
    constexpr float kClear = 45;  // degrees of hue
    nj::Guard& g = addGuard(300, 300);
    game.cameras = {{.x = 600, .y = 300, .angle = 1.5f, .sweep = 1.0f}};
    for (const SceneAccessibility& a : {SceneAccessibility{}, kHighContrast}) {
        std::vector<std::vector<nj::Vertex>> moods;
        for (const nj::GuardState state :
             {nj::GuardState::Patrol, nj::GuardState::Suspicious, nj::GuardState::Alert}) {
            g.state = state;
            const Recording cones = record(nj::drawGuardVisionConesWith, game, a);
            if (a.highContrastCones) {
                EXPECT_GT(nearestToALamp(cones), kClear) << static_cast<int>(state);
            }
            for (const auto& other : moods)
                EXPECT_FALSE(sameVertices(cones.vertices, other))
                    << static_cast<int>(state) << a.highContrastCones;
            moods.push_back(cones.vertices);
        }
        g.state = nj::GuardState::Searching;
        EXPECT_TRUE(sameVertices(record(nj::drawGuardVisionConesWith, game, a).vertices, moods[1]))
            << a.highContrastCones;
    }
    for (const float meter : {0.0f, 0.5f}) {
        game.cameras[0].meter = meter;
        // The fan alone: the body's gold rim is no cone.
        Recording fan = record(nj::drawCamerasWith, game, kHighContrast);
        std::erase_if(fan.vertices, [](const nj::Vertex& v) {
            return sameColor(v.color, withAlpha(nj::kGold, 0.7f)) ||
                   sameColor(v.color, {0.1f, 0.14f, 0.2f, 1}) || sameColor(v.color, nj::kRuby);
        });
        ASSERT_FALSE(fan.vertices.empty());
        EXPECT_GT(nearestToALamp(fan), kClear) << meter;
    }
    // Without the switch a calm guard's cone is as amber as the lamps.
    g.state = nj::GuardState::Patrol;
    EXPECT_LT(nearestToALamp(record(nj::drawGuardVisionCones, game)), kClear);
}

nj::Objective activeAt(float x, float y, nj::ObjectiveType type = nj::ObjectiveType::None) {
    nj::Objective o;
    o.type = type;
    o.x = x;
    o.y = y;
    o.active = 1;
    return o;
}

struct Throb {
    const char* what;
    AccessibleStep step;
    void (*setUp)(nj::Game&);
    std::size_t tail = 0;  // only the last vertices throb (0: all of them)
};

// With reduced flashing everything that throbs with the clock holds still; without it each one
// moves between these moments. (The terminal's tag floats on its own: only its ring counts.)
TEST_F(Accessibility, ReducedFlashingHoldsEveryThrobStill) {
    const std::size_t ring = record([](nj::Batch& b) {
                                 nj::circleOutline(b, 0, 0, 22, 1.2f, nj::kWhite, 20);
                             }).vertices.size();
    const Throb throbs[] = {
        {"armed exit", nj::drawGetawayVehicleWith, [](nj::Game& g) { g.cipherDecrypted = 1; }},
        {"alarm point", nj::drawObjectiveMarkersWith,
         [](nj::Game& g) {
             g.alarmActive = 1;
             g.alarmTimer = 5;
             g.alarmPos = {400, 300};
         }},
        {"second directive", nj::drawObjectiveMarkersWith,
         [](nj::Game& g) {
             g.dynamicObjective = activeAt(400, 300, nj::ObjectiveType::SabotageNode);
         }},
        {"armed alternative exit", nj::drawObjectiveMarkersWith,
         [](nj::Game& g) {
             g.altExitActive = 1;
             g.altExit = {100, 100, 60, 60};
             g.cipherDecrypted = 1;
         }},
        {"server lights", nj::drawFurnitureWith,
         [](nj::Game& g) { g.furniture = {{.type = "server", .x = 300, .y = 300, .h = 90}}; }},
        {"takedown marker", nj::drawTakedownTargetWith,
         [](nj::Game& g) {
             g.guards.emplace_back();
             g.takedownTarget = 0;
         }},
        {"terminal's ring", nj::drawSafeTerminalWith,
         [](nj::Game& g) {
             g.terminal = {780, 205, 18};
             g.playerPos = {800, 205};
         },
         ring},
        {"banner frame", nj::drawBannerFrameWith,
         [](nj::Game& g) {
             g.bannerActive = 1;
             g.bannerDuration = 2;
             g.bannerColor = nj::kRuby;
         }},
    };
    for (const Throb& t : throbs) {
        const auto fresh = std::make_unique<nj::Game>(nullptr);
        clearWorld(*fresh);
        t.setUp(*fresh);
        const auto drawn = [&](float clock, const SceneAccessibility& a) {
            fresh->animClock = fresh->bannerTimer = clock;  // the banner runs on its own timer
            const Recording r = record(t.step, *fresh, a);
            return t.tail ? r.tail(t.tail) : r.vertices;
        };
        const std::vector<nj::Vertex> steady = drawn(0.1f, kSteady), lively = drawn(0.1f, {});
        ASSERT_FALSE(steady.empty()) << t.what;
        bool livelyMoves = false;
        for (const float clock : {0.45f, 1.3f}) {
            EXPECT_TRUE(sameVertices(drawn(clock, kSteady), steady)) << t.what << " at " << clock;
            livelyMoves = livelyMoves || !sameVertices(drawn(clock, {}), lively);
        }
        EXPECT_TRUE(livelyMoves) << t.what;
    }
}

// No additive light, no white-hot cores; a blinked-off grid still shows, unlike a live one.
TEST_F(Accessibility, ReducedFlashingDrawsNoFlares) {
    game.lasers = {{.x = 100, .y = 100, .w = 80, .h = 10}};
    game.tracers = {{100, 200, 140, 210, 1, 1}};
    game.particles = {{250, 200, 10, 0, 1, 1, 2, 0.3f, 0.2f, 0.1f}};
    using Glow = std::pair<const char*, AccessibleStep>;
    for (const auto& [what, glow] :
         {Glow{"beam", nj::drawLasersWith}, Glow{"shot", nj::drawTracersWith},
          Glow{"spark", nj::drawParticlesWith}}) {
        const Recording steady = record(glow, game, kSteady);
        ASSERT_FALSE(steady.vertices.empty()) << what;
        EXPECT_EQ(steady.additiveBinds, 0) << what;
        EXPECT_FALSE(steady.has({1, 1, 1, 1}) || steady.has({1, 1, 1, 0.95f})) << what;
        EXPECT_GT(record(glow, game, {}).additiveBinds, 0) << what;
    }
    const Recording live = record(nj::drawLasersWith, game, kSteady);
    game.lasersOn = 0;
    const Recording dark = record(nj::drawLasersWith, game, kSteady);
    EXPECT_GT(dark.vertices.size(), record(nj::drawLasers, game).vertices.size());
    EXPECT_FALSE(sameVertices(dark.vertices, live.vertices));
}

// Each plate clear of the thing it names; without the choice no plate is drawn.
TEST_F(Accessibility, LargeLabelsDrawEachWordBigOnAPlate) {
    game.card = {300, 200};
    game.cardTaken = 0;
    game.keycards = {{.x = 600, .y = 300, .color = "ruby"}};
    game.terminal = {400, 300};
    game.exit = {100, 400, 90, 90};
    game.gate = {500, 100, 20, 80};
    game.optionalIntel = activeAt(300, 400);
    game.pressurePlates = {{.x = 800, .y = 110, .w = 60, .h = 20}};
    game.dynamicObjective = activeAt(700, 500, nj::ObjectiveType::SabotageNode);
    game.playerPos = {40, 40};
    const struct {
        const char* word;
        AccessibleStep step;  // the thing's own drawing, which leaves out its small word
        Color ink;
        nj::Vec2 at;                // where the thing stands
        float bodyTop, bodyBottom;  // the thing's own extent the plate keeps clear of
    } cases[] = {
        {"CIPHER", nj::drawCipherCardWith, nj::kGold, {300, 200}, 192, 208},
        {"RUBY", nj::drawKeycardsWith, nj::colorForName("ruby"), {600, 300}, 293, 307},
        {"SAFE", nj::drawSafeTerminalWith, {0.05f, 0.82f, 1.0f, 1}, {400, 300}, 290, 312},
        {"GETAWAY", nj::drawGetawayVehicleWith, {0.58f, 0.64f, 0.72f, 1}, {145, 445}, 0, 0},
        {"VAULT", nj::drawFurnitureWith, {0.92f, 0.76f, 0.38f, 1}, {510, 140}, 0, 0},
        {"INTEL", nj::drawObjectiveMarkersWith, {0.75f, 0.96f, 1.0f, 1}, {300, 400}, 380, 420},
        {"ALARM", nj::drawPressurePlatesWith, nj::kGold, {830, 120}, 0, 0},
        {"CORE", nj::drawObjectiveMarkersWith, nj::kAlarmRed, {700, 500}, 477, 523},
    };
    EXPECT_TRUE(record(nj::drawLargeLabels, game, {}).vertices.empty());
    const Recording large = record(nj::drawLargeLabels, game, kLarge);
    for (const auto& c : cases) {
        EXPECT_FALSE(record(c.step, game, kLarge).has(nj::kLabelPlateColor))
            << c.word << ": the thing's own step leaves its label to the layer over the walls";
        // The plate within 60 of the thing: its label, not another's.
        const std::vector<nj::Vertex> plate =
            inside(large.withColor(nj::kLabelPlateColor),
                   {c.at.x - 60, c.at.y - 60, c.at.x + 60, c.at.y + 60});
        ASSERT_FALSE(plate.empty()) << c.word;
        const Bounds p = boundsOf(plate);
        EXPECT_NEAR(p.maxY - p.minY, nj::largeLabelHeight(), 0.01f) << c.word;
        EXPECT_FALSE(inside(large.withColor(c.ink), p).empty()) << c.word << "'s ink on its plate";
        if (c.bodyBottom > c.bodyTop) {
            EXPECT_TRUE(p.maxY <= c.bodyTop || p.minY >= c.bodyBottom)
                << c.word << " plate " << p.minY << ".." << p.maxY << " covers what it names";
        }
    }
}

}  // namespace
