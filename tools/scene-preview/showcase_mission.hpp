#pragma once
// A mission that puts one of every drawn thing on the field, for previews.

#include <string>

namespace nj::preview {

// Mission JSON with walls, every furniture type, lasers, cameras, plates,
// doors, keycards and patrolling guards.
std::string showcaseMissionJson(const std::string& theme);

}  // namespace nj::preview
