#pragma once
// The JavaScript half of the DOM bridge, run in every page before its own
// scripts.

namespace web {

extern const char* const kDomBootstrapJs;

}  // namespace web
