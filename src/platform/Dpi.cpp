#include "platform/Dpi.h"

#include "platform/Handles.h"

namespace rz {

namespace {

// Looked up at run time: older systems lack them and the program still runs there.
template <class Function>
Function SystemFunction(const char* module, const char* name) {
    HMODULE loaded = ::GetModuleHandleA(module);
    if (!loaded) loaded = ::LoadLibraryA(module);
    return loaded ? reinterpret_cast<Function>(::GetProcAddress(loaded, name)) : nullptr;
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);

}  // namespace

int SystemDpi() {
    WindowDC screen(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : kBaseDpi;
}

int WindowDpi(HWND window) {
    static const auto forWindow = SystemFunction<GetDpiForWindowFn>("user32.dll", "GetDpiForWindow");
    const UINT dpi = forWindow && window ? forWindow(window) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : SystemDpi();
}

int DpiAtPoint(POINT point) {
    static const auto forMonitor = SystemFunction<GetDpiForMonitorFn>("shcore.dll", "GetDpiForMonitor");
    UINT x = 0, y = 0;
    HMONITOR monitor = ::MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST);
    // 0: the effective DPI, the one the user chose for that monitor.
    if (forMonitor && monitor && SUCCEEDED(forMonitor(monitor, 0, &x, &y)) && y > 0) return static_cast<int>(y);
    return SystemDpi();
}

int SystemMetricForDpi(int index, int dpi) {
    static const auto forDpi = SystemFunction<GetSystemMetricsForDpiFn>("user32.dll", "GetSystemMetricsForDpi");
    if (forDpi) return forDpi(index, static_cast<UINT>(dpi));
    return ::MulDiv(::GetSystemMetrics(index), dpi, SystemDpi());
}

}  // namespace rz
