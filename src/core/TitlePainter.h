#pragma once
// The window title painted by the program itself in own drawing mode.

#include <windows.h>

#include <string>

namespace rz {

// Paints a window's title into its caption bar, for own drawing mode: bold,
// in the FontName setting at the default 8 points, in the active or inactive
// caption text colour.
void PaintWindowTitle(HWND window, const std::string& title);

}  // namespace rz
