#pragma once
// Page addresses: every resource lives under "file:///", resolved against the
// page's own address and read through the host's file system.

#include <string>

namespace web {

// Resolves `reference` (absolute "file:///...", root-relative "/x" or
// relative "x/y") against `base`; "." and ".." segments are folded and can
// never climb above the root.
std::string resolveUrl(const std::string& base, const std::string& reference);

// The file-system path of a "file:" address ("file:///ui/a.css" -> "ui/a.css");
// other schemes give an empty path.
std::string filePathOf(const std::string& url);

}  // namespace web
