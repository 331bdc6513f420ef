#pragma once
// The two hand-written JSON string forms the overlay uses: quoted strings in
// function metadata, and escaped text inside the per-frame state script.
// They differ on purpose in how they write backspace and form feed.

#include <string>
#include <string_view>

namespace nj {

// '"' + text + '"'; backspace and form feed as \u0008 and \u000c.
std::string quoteJsonString(std::string_view text);
// The text alone, no quotes; backspace and form feed as \b and \f.
std::string escapeJsonText(std::string_view text);

}  // namespace nj
