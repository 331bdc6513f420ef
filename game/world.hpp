#pragma once
// Records of a mission's world and of the effects the rules leave behind.
// Units: canvas units (960 x 540 field, origin top-left, y down), radians with
// 0 along +x turning towards +y, seconds. Rectangles are top-left x, y plus w, h.
// The mission's records compare member by member, so two builds of one
// mission can be told apart or found equal.

#include <cstdint>
#include <string>
#include <vector>

namespace nj {

struct Vec2 {
    float x = 0.0f, y = 0.0f;
    bool operator==(const Vec2&) const = default;
};

struct Rect {
    float x = 0.0f, y = 0.0f, w = 0.0f, h = 0.0f;
    bool operator==(const Rect&) const = default;
};

struct Circle {
    float x = 0.0f, y = 0.0f, r = 0.0f;
    bool operator==(const Circle&) const = default;
};

struct Wall {
    float x = 0.0f, y = 0.0f, w = 0.0f, h = 0.0f;
    bool operator==(const Wall&) const = default;
};

struct Furniture {
    std::string type = "desk";
    float x = 0.0f, y = 0.0f;  // centre
    float w = 60.0f, h = 36.0f;
    float angle = 0.0f;  // drawn only; collision uses the upright box
    bool cover = true;   // blocks sight and lets the operative hide beside it
    bool operator==(const Furniture&) const = default;
};

struct Laser {
    float x = 0.0f, y = 0.0f, w = 0.0f, h = 0.0f;
    char axis = 'y';  // 'x' or 'y' slides that coordinate; anything else stands
    float min = 0.0f, max = 0.0f;
    float speed = 0.0f;  // units per second; 0 = static
    float dir = 1.0f;    // +1 or -1
    float disabledTime = 0.0f;
    bool operator==(const Laser&) const = default;
};

struct Camera {
    float x = 0.0f, y = 0.0f;
    float angle = 0.0f;      // current heading
    float baseAngle = 0.0f;  // centre of the sweep
    float sweep = 1.1f;      // half-amplitude of the sweep, radians
    float range = 140.0f;
    float speed = 1.2f;         // sweep rate, radians of phase per second
    float disabledTime = 0.0f;  // seconds; > 0 means blind
    float meter = 0.0f;         // 0..1, the camera's own alert level
    bool operator==(const Camera&) const = default;
};

struct PressurePlate {
    float x = 0.0f, y = 0.0f, w = 0.0f, h = 0.0f;
    std::uint8_t pressed = 0;  // operative standing on it since the last trip
    float cooldown = 0.0f;
    bool operator==(const PressurePlate&) const = default;
};

struct Door {
    float x = 0.0f, y = 0.0f, w = 0.0f, h = 0.0f;
    std::string color = "cyan";  // matched case-sensitively against keycards
    float openAmount = 0.0f;     // 0..1; blocks movement and sight below 1
    std::uint8_t unlocked = 0;
    std::uint8_t noticed = 0;  // a guard already investigated it standing open
    bool operator==(const Door&) const = default;
};

struct Keycard {
    float x = 0.0f, y = 0.0f, r = 11.0f;
    std::string color = "cyan";
    std::uint8_t taken = 0;
    bool operator==(const Keycard&) const = default;
};

// What a guard is doing about the operative, calmest first.
enum class GuardState : std::uint8_t {
    Patrol,      // walking its route or standing its post
    Suspicious,  // turned towards something it noticed
    Searching,   // sent to look, or answering an alert broadcast
    Alert,       // has the operative in sight and may fire
};

struct Guard {
    float x = 0.0f, y = 0.0f;
    float homeX = 0.0f, homeY = 0.0f;  // where the mission placed it
    float facing = 0.0f;               // heading used for sight and takedowns
    float homeFacing = 0.0f;
    float drawFacing = 0.0f;  // smoothed, includes the look-around offset
    float walkPhase = 0.0f;   // distance walked
    float speed = 50.0f;      // units per second
    float range = 150.0f;     // sight distance
    float fov = 1.15f;        // cone width, radians
    char axis = 0;            // 'x' / 'y' back-and-forth patrol, 0 none
    float min = 0.0f, max = 0.0f;
    float dir = 1.0f;
    std::vector<Vec2> patrol;  // waypoint route (used when 2 or more)
    std::uint64_t patrolIndex = 0;
    GuardState state = GuardState::Patrol;
    std::uint8_t downed = 0;        // knocked out for the rest of the mission
    std::uint8_t discovered = 0;    // downed and already found
    float suspicion = 0.0f;         // 0..1
    float investigateTimer = 0.0f;  // seconds left
    Vec2 investigateTarget;
    std::uint8_t marked = 0;  // tagged for the player by intel or the uplink hack
    float pauseTimer = 0.0f;  // seconds left waiting at a waypoint
    float lookOffset = 0.0f;  // head turn while waiting, radians
    float shotCooldown = 0.0f;
    bool operator==(const Guard&) const = default;
};

// What an objective is. Only couriers and informants walk, and only the
// sabotage node and the evidence burn run against a timer.
enum class ObjectiveType : std::uint8_t {
    None,  // the built-in mission's directive has no type
    Courier,
    Informant,
    SabotageNode,
    EvidenceBurn,
    OptionalIntel,
    Other,  // a mission file's type the rules do not know: it stands still, untimed
};

struct Objective {
    ObjectiveType type = ObjectiveType::None;
    std::string otherType;  // the mission file's spelling when type is Other
    std::string label;
    float x = 0.0f, y = 0.0f, r = 14.0f;
    float facing = 0.0f;
    float speed = 38.0f;
    std::vector<Vec2> waypoints;
    std::uint64_t waypointIndex = 0;
    float timeLeft = 0.0f, timeLimit = 30.0f;  // seconds
    std::uint8_t active = 0, done = 0;
    bool operator==(const Objective&) const = default;
};

struct Particle {
    float x, y, vx, vy, life, maxLife, size, r, g, b;
};

struct Puff {
    float x, y, vx, vy, radius, alpha, alpha0;
    std::uint8_t flag;
};

struct Footprint {
    float x, y, angle, alpha;
};

struct DustMote {
    float x, y, size, alpha, vx, vy;
};

struct Impact {
    float x, y, dirX, dirY, life, maxLife;
};

struct Tracer {
    float x0, y0, x1, y1, life, maxLife;
};

struct NoiseRing {
    float x, y, radius, maxRadius, life, maxLife;
    std::uint8_t loud;
};

struct Tumbler {
    float angle;   // radians, never wrapped
    float speed;   // radians per second, signed
    float target;  // centre of the window
    float width;   // window width, radians
    std::uint8_t locked;
};

}  // namespace nj
