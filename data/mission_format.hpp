#pragma once
// The mission file's format as one table: every key the game reads, its type,
// what the game does without it, the values it knows, the range that makes
// sense on the 960 x 540 field and how many of a list it takes. The checker
// judges files by it and the designer's guide is kept equal to it by a test.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace nj {

enum class MissionValueKind { Number, String, Bool, Object, List };

struct MissionObjectFormat;

// A number is allowed in [min, max], or (min, max] when minExclusive.
struct MissionKeyFormat {
    std::string_view key;
    MissionValueKind kind = MissionValueKind::Number;
    std::string_view fallback;  // what the game uses when the key is absent, as the guide says it
    double min = 0.0;
    double max = 0.0;
    bool minExclusive = false;
    std::span<const std::string_view> allowed = {};  // a String's known values; empty = any text
    const MissionObjectFormat* shape = nullptr;      // an Object's members, a List's elements
    std::size_t cap = 0;                             // a List's most elements
};

struct MissionObjectFormat {
    std::string_view name;  // as the guide names it: "mission", "walls[]", ...
    std::span<const MissionKeyFormat> keys;

    const MissionKeyFormat* find(std::string_view key) const;
};

// The play field the checker holds positions to.
inline constexpr double kMissionFieldWidth = 960.0;
inline constexpr double kMissionFieldHeight = 540.0;
// Larger mission files are refused before they are read.
inline constexpr std::size_t kMissionFileMaxBytes = 1024 * 1024;

const MissionObjectFormat& missionFormat();

// The table as the designer's guide prints it (Markdown, one table per
// object); assets/missions/README.md holds exactly this text.
std::string missionFormatGuide();

// "a", "a or b", "a, b or c": how a message lists the allowed values.
std::string listAllowed(std::span<const std::string_view> allowed);

}  // namespace nj
