#pragma once
// What the system says about colours: the user's light or dark app theme
// and high contrast; and the platform's own dark menus and title bars, which
// exist from Windows 10 1809 on and are looked up at run time. Where they
// are absent (older systems, Wine) asking for them changes nothing.

#include <windows.h>

#include <string>
#include <vector>

#include "platform/Seam.h"

namespace rz {

struct RegistryValue {
    bool found = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};
// A value under root\path; not found when the key or the value is missing.
extern Seam<RegistryValue(HKEY root, const std::string& path, const std::string& name)> ReadRegistryValue;
extern Seam<bool()> HighContrastOn;

// AppsUseLightTheme is a DWORD 0. Missing, or of any other type or size: light.
bool AppsUseDarkTheme();

// The platform's menus of this process dark or light; false where the
// system has no dark menus, or cannot follow the choice (1809 follows only
// the system's theme).
bool UsePlatformDarkMenus(bool dark);
// The platform's menus draw dark now.
bool PlatformDarkMenus();

// The window's title bar dark or light where the system draws dark ones;
// false where it does not (the title bar is left as it is).
bool UseDarkTitleBar(HWND window, bool dark);
// The platform drew the window's title bar dark at the last request.
bool HasDarkTitleBar(HWND window);

}  // namespace rz
