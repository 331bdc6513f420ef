// Names of Windows virtual-key codes for keyboard events in pages.
#include "ui/web/key_names.hpp"

namespace web {

namespace {

struct NamedKey {
    int code;
    const char* key;
    const char* physical;
};

constexpr NamedKey kNamedKeys[] = {
    {0x08, "Backspace", "Backspace"},
    {0x09, "Tab", "Tab"},
    {0x0D, "Enter", "Enter"},
    {0x10, "Shift", "ShiftLeft"},
    {0x11, "Control", "ControlLeft"},
    {0x12, "Alt", "AltLeft"},
    {0x13, "Pause", "Pause"},
    {0x14, "CapsLock", "CapsLock"},
    {0x1B, "Escape", "Escape"},
    {0x20, " ", "Space"},
    {0x21, "PageUp", "PageUp"},
    {0x22, "PageDown", "PageDown"},
    {0x23, "End", "End"},
    {0x24, "Home", "Home"},
    {0x25, "ArrowLeft", "ArrowLeft"},
    {0x26, "ArrowUp", "ArrowUp"},
    {0x27, "ArrowRight", "ArrowRight"},
    {0x28, "ArrowDown", "ArrowDown"},
    {0x2D, "Insert", "Insert"},
    {0x2E, "Delete", "Delete"},
    {0xBA, ";", "Semicolon"},
    {0xBB, "=", "Equal"},
    {0xBC, ",", "Comma"},
    {0xBD, "-", "Minus"},
    {0xBE, ".", "Period"},
    {0xBF, "/", "Slash"},
    {0xC0, "`", "Backquote"},
    {0xDB, "[", "BracketLeft"},
    {0xDC, "\\", "Backslash"},
    {0xDD, "]", "BracketRight"},
    {0xDE, "'", "Quote"},
};

const NamedKey* findNamed(int virtualKey) {
    for (const NamedKey& named : kNamedKeys) {
        if (named.code == virtualKey) return &named;
    }
    return nullptr;
}

}  // namespace

std::string keyNameForVirtualKey(int virtualKey) {
    if (virtualKey >= 'A' && virtualKey <= 'Z') return std::string(1, char(virtualKey - 'A' + 'a'));
    if (virtualKey >= '0' && virtualKey <= '9') return std::string(1, char(virtualKey));
    if (virtualKey >= 0x60 && virtualKey <= 0x69)
        return std::string(1, char('0' + virtualKey - 0x60));
    if (virtualKey >= 0x70 && virtualKey <= 0x87) return "F" + std::to_string(virtualKey - 0x6F);
    if (const NamedKey* named = findNamed(virtualKey)) return named->key;
    return "Unidentified";
}

std::string keyCodeForVirtualKey(int virtualKey) {
    if (virtualKey >= 'A' && virtualKey <= 'Z') return std::string("Key") + char(virtualKey);
    if (virtualKey >= '0' && virtualKey <= '9') return std::string("Digit") + char(virtualKey);
    if (virtualKey >= 0x60 && virtualKey <= 0x69)
        return "Numpad" + std::to_string(virtualKey - 0x60);
    if (virtualKey >= 0x70 && virtualKey <= 0x87) return "F" + std::to_string(virtualKey - 0x6F);
    if (const NamedKey* named = findNamed(virtualKey)) return named->physical;
    return "";
}

}  // namespace web
