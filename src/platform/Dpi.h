#pragma once
// Display scale. Sizes are written at 96 DPI and scaled to the DPI of the
// window or monitor they show on; systems without per-monitor DPI answer
// with the screen's.

#include <windows.h>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace rz {

inline constexpr int kBaseDpi = 96;

// A size at 96 DPI, at dpi.
inline int ScaleToDpi(int size96, int dpi) { return ::MulDiv(size96, dpi, kBaseDpi); }

int SystemDpi();
int WindowDpi(HWND window);
// The DPI of the monitor that holds point (screen coordinates).
int DpiAtPoint(POINT point);
// GetSystemMetrics as it would answer at dpi.
int SystemMetricForDpi(int index, int dpi);

}  // namespace rz
