#pragma once
// Colour functions in CSS text, rewritten into the one form litehtml 0.6
// reads correctly everywhere.
//
// litehtml splits shorthand values (border-color, border-width lists) at
// blanks without regard to parentheses, so "rgba(212, 175, 55, 0.6)" became
// four colours; it reads neither hsl() nor the space-and-slash syntax, and
// truncates alpha. Every rgb(), rgba(), hsl() and hsla() is therefore turned
// into "rgba(R,G,B,A)" with no blanks, channels rounded as browsers round
// them and A written so that litehtml's truncation lands on the browser's
// byte.

#include <string>

namespace web {

// Functions it cannot read, and anything inside quotes, stay as written.
// Idempotent: its own output comes back unchanged.
std::string normaliseColorFunctions(const std::string& css);

}  // namespace web
