#pragma once
// How the game's states and kinds are written outside the rules: in mission
// files, the harness's state lines and the banners. One table per enum in
// enum_names.cpp; the rules themselves only compare the enums.

#include <string>
#include <string_view>

#include "game/game.hpp"

namespace nj {

std::string_view guardStateName(GuardState state);  // "patrol", "suspicious", ...

// The dossier's name for an approach. A number past the last one acts as no
// approach but has always been announced as the first.
std::string_view approachName(Approach approach);

// Mission files: a spelling the table knows gives its value; any other gives
// Other, and the caller keeps the spelling so it can be written back as read.
Theme themeNamed(std::string_view text);
ObjectiveType objectiveTypeNamed(std::string_view text);

// The text a mission file holds for a value; for Other, the kept spelling.
std::string themeText(Theme theme, const std::string& otherSpelling);
std::string objectiveTypeText(ObjectiveType type, const std::string& otherSpelling);

}  // namespace nj
