#pragma once
// Every message box of the program goes through here, so that tests can
// answer it without a modal loop.

#include <windows.h>

#include <functional>
#include <string>

namespace rz {

using MessageBoxHook =
    std::function<int(const std::string& text, const std::string& caption, UINT flags)>;

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags);

// An empty hook restores the real MessageBoxA.
void SetMessageBoxHook(MessageBoxHook hook);

}  // namespace rz
