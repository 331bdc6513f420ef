#pragma once
// The engine's default style sheet, applied beneath every page's own rules.

namespace web {

extern const char* const kUserAgentCss;

}  // namespace web
