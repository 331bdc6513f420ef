#pragma once
// The JavaScript half of the DOM bridge, run in every page before its own
// scripts: dom_bootstrap.js, which the build embeds.

namespace web {

extern const char* const kDomBootstrapJs;

}  // namespace web
