#pragma once
// A mission written back as text, laid out the way the shipped missions are
// so a saved file diffs well: one top-level key a line, a list one element a
// line, each object on one line, every object's keys in the order the
// mission format (and the designer's guide) lists them. Keys the format does
// not know are kept, after the known ones, so nothing a file held is lost.
// Numbers are written in the shortest form that reads back to the same value.

#include <string>

#include "data/json.hpp"

namespace nj {

std::string formatMissionText(const JsonValue& mission);

}  // namespace nj
