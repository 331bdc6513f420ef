#pragma once
// Text made safe for litehtml 0.6 to read.
//
// It reads pages and style sheets as C strings, so a NUL byte ended them
// where a browser reads on (a browser reads NUL as U+FFFD).
//
// It strips a sheet's comments by erasing the first "/*...*/" and searching
// again from the start. A "/*" it cannot find the end of is erased with a
// length that wraps around, and when that opening stands at the sheet's
// second byte the length wraps to zero: nothing is erased and the search
// finds the same opening forever. "<style> /* note</style>" froze the page
// for good. A comment left open runs to the end of the sheet, so cutting the
// sheet where it opens draws exactly what a browser draws. Cutting, rather
// than closing the comment at the end, keeps the sheet a prefix of what was
// written: inside a page, text added after a <style> element's last "</style"
// could complete an end tag the page never had.

#include <string>
#include <string_view>

namespace web {

// `text` with every NUL byte replaced by U+FFFD.
std::string replaceNulBytes(std::string_view text);

// Markup as text to show: every '&' and '<' written as a character reference,
// so the parser makes no element and no entity of it.
std::string markupAsText(std::string_view html);

// Where the comment begins that litehtml, stripping comments as it does,
// would find no end for; npos when every comment closes. (Erasing closed
// comments can join a '/' before one and a '*' after it into a new opening,
// and that counts too.)
std::size_t openCommentAt(std::string_view sheet);

// `sheet` up to the comment left open; the same bytes when none is.
std::string cutOpenComment(const std::string& sheet);

// A whole style sheet as litehtml is given it: NUL bytes replaced, colour
// functions in the one form it reads, and no comment left open.
std::string prepareStyleSheet(const std::string& sheet);

}  // namespace web
