#include "platform/SystemTheme.h"

#include <algorithm>
#include <unordered_set>

#include "platform/Handles.h"

namespace rz {

namespace {

constexpr char kPersonalizeKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

RegistryValue QueryRegistryValue(HKEY root, const std::string& path, const std::string& name) {
    RegistryValue value;
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return value;
    unique_hkey key(opened);
    DWORD size = 0;
    if (::RegQueryValueExA(key.get(), name.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return value;
    // Nothing the program reads this way is larger; a huge value is not one of them.
    value.data.resize(std::min<DWORD>(size, 1024));
    size = static_cast<DWORD>(value.data.size());
    const LONG rc = ::RegQueryValueExA(key.get(), name.c_str(), nullptr, &value.type, value.data.data(), &size);
    value.found = rc == ERROR_SUCCESS;
    value.data.resize(value.found ? size : 0);
    return value;
}

bool QueryHighContrast() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof(contrast);
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

// The entry points of the platform's dark mode, by the ordinals uxtheme
// gives them from Windows 10 1809 (build 17763) on; before that build the
// same ordinals are other functions, so the build is checked first.
struct DarkModeApi {
    DWORD build = 0;
    // 1809: AllowDarkModeForApp(BOOL); from 1903 on: SetPreferredAppMode(int).
    using AppModeFn = int(WINAPI*)(int);
    using FlushFn = void(WINAPI*)();
    AppModeFn appMode = nullptr;
    FlushFn flushMenuThemes = nullptr;
    using SetAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
    SetAttributeFn setWindowAttribute = nullptr;

    bool Menus() const { return appMode && flushMenuThemes; }
    bool TitleBars() const { return Menus() && setWindowAttribute; }
};

DWORD WindowsBuild() {
    using VersionFn = void(WINAPI*)(DWORD*, DWORD*, DWORD*);
    HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    auto version = ntdll ? reinterpret_cast<VersionFn>(::GetProcAddress(ntdll, "RtlGetNtVersionNumbers")) : nullptr;
    DWORD major = 0, minor = 0, build = 0;
    if (version) version(&major, &minor, &build);
    return major >= 10 ? build & 0x0FFFFFFF : 0;
}

const DarkModeApi& DarkMode() {
    static const DarkModeApi api = [] {
        DarkModeApi a;
        a.build = WindowsBuild();
        if (a.build < 17763) return a;
        // Loaded for good: the program asks for them for as long as it runs.
        if (HMODULE uxtheme = ::LoadLibraryExA("uxtheme.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
            a.appMode = reinterpret_cast<DarkModeApi::AppModeFn>(::GetProcAddress(uxtheme, MAKEINTRESOURCEA(135)));
            a.flushMenuThemes = reinterpret_cast<DarkModeApi::FlushFn>(::GetProcAddress(uxtheme, MAKEINTRESOURCEA(136)));
        }
        if (HMODULE dwm = ::LoadLibraryExA("dwmapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
            a.setWindowAttribute =
                reinterpret_cast<DarkModeApi::SetAttributeFn>(::GetProcAddress(dwm, "DwmSetWindowAttribute"));
        return a;
    }();
    return api;
}

bool g_darkMenus = false;
std::unordered_set<HWND> g_darkTitleBars;

}  // namespace

Seam<RegistryValue(HKEY, const std::string&, const std::string&)> ReadRegistryValue{&QueryRegistryValue};
Seam<bool()> HighContrastOn{&QueryHighContrast};

bool AppsUseDarkTheme() {
    const RegistryValue v = ReadRegistryValue(HKEY_CURRENT_USER, kPersonalizeKey, "AppsUseLightTheme");
    if (!v.found || v.type != REG_DWORD || v.data.size() != sizeof(DWORD)) return false;
    DWORD light = 1;
    std::copy(v.data.begin(), v.data.end(), reinterpret_cast<BYTE*>(&light));
    return light == 0;
}

bool UsePlatformDarkMenus(bool dark) {
    const DarkModeApi& api = DarkMode();
    if (!api.Menus()) return g_darkMenus = false;
    constexpr int kForceDark = 2, kForceLight = 3;
    const bool modes = api.build >= 18362;
    // 1809 only allows the dark look, which then follows the system's theme.
    api.appMode(modes ? (dark ? kForceDark : kForceLight) : (dark ? TRUE : FALSE));
    api.flushMenuThemes();
    g_darkMenus = dark && (modes || AppsUseDarkTheme());
    return g_darkMenus;
}

bool PlatformDarkMenus() { return g_darkMenus; }

bool UseDarkTitleBar(HWND window, bool dark) {
    const DarkModeApi& api = DarkMode();
    if (!window || !api.TitleBars()) return false;
    // The attribute's number changed with build 18985.
    const DWORD attribute = api.build >= 18985 ? 20 : 19;
    const BOOL on = dark ? TRUE : FALSE;
    const bool done = SUCCEEDED(api.setWindowAttribute(window, attribute, &on, sizeof(on)));
    if (done && dark) g_darkTitleBars.insert(window);
    else g_darkTitleBars.erase(window);
    return done;
}

bool HasDarkTitleBar(HWND window) { return g_darkTitleBars.count(window) > 0; }

}  // namespace rz
