#pragma once
// Every message box of the program goes through here, so that tests can
// answer it without a modal loop.

#include <windows.h>

#include <string>

#include "platform/Seam.h"

namespace rz {

extern Seam<int(HWND owner, const std::string& text, const std::string& caption, UINT flags)> ShowMessageBox;

}  // namespace rz
