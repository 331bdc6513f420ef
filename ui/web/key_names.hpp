#pragma once
// Windows virtual-key codes as a page sees them: the KeyboardEvent `key` and
// `code` texts for each code the game forwards.

#include <string>

namespace web {

// "Enter", "Escape", "ArrowLeft", "a" (letters lower case: no shift state
// travels with a virtual key), "5", "F1"; "Unidentified" for unknown codes.
std::string keyNameForVirtualKey(int virtualKey);
// "Enter", "KeyA", "Digit5", "ArrowLeft"; "" for unknown codes.
std::string keyCodeForVirtualKey(int virtualKey);

}  // namespace web
