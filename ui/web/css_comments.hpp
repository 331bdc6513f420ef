#pragma once
// Comments in a style sheet, made safe for litehtml 0.6.
//
// litehtml strips a sheet's comments by erasing the first "/*...*/" and
// searching again from the start. A "/*" it cannot find the end of is
// erased with a length that wraps around, and when that opening stands at
// the sheet's second byte the length wraps to zero: nothing is erased and
// the search finds the same opening forever. "<style> /* note</style>" froze
// the page for good. A comment left open runs to the end of the sheet, so
// closing it there draws exactly what a browser draws.

#include <string>
#include <string_view>

namespace web {

// True when litehtml, stripping comments as it does, would meet a "/*" with
// no "*/" after it (erasing closed comments can join a '/' and a '*' into a
// new opening, and that counts too).
bool hasOpenComment(std::string_view sheet);

// `sheet` with " */" appended when a comment is left open; otherwise the
// same bytes.
std::string closeOpenComment(const std::string& sheet);

// A whole style sheet as litehtml is given it: cut at its first NUL byte
// (litehtml reads sheets as C strings, so it never saw more, and a comment
// closed only after the NUL was open to it), colour functions in the one
// form it reads, and no comment left open.
std::string prepareStyleSheet(const std::string& sheet);

}  // namespace web
