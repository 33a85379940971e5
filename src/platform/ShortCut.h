#pragma once
// Shortcut values (virtual key in the low byte; 0x2000 Shift, 0x4000 Ctrl,
// 0x8000 Alt) and their text form, e.g. "Shift+Alt+F5".

#include <windows.h>

#include <string>

namespace rz {

using TShortCut = WORD;

inline constexpr TShortCut kShiftBit = 0x2000;
inline constexpr TShortCut kCtrlBit = 0x4000;
inline constexpr TShortCut kAltBit = 0x8000;

// Prefixes in the order Shift, Ctrl, Alt; empty for 0.
std::string ShortCutToText(TShortCut shortCut);
// Prefixes in any order and case ("^" for Ctrl too); 0 when it does not parse.
TShortCut TextToShortCut(const std::string& text);
// The name of a key without modifiers, e.g. "L", "F5", "PgUp".
std::string KeyName(BYTE virtualKey);

}  // namespace rz
