#include "core/TitlePainter.h"

#include "core/Settings.h"
#include "platform/Dpi.h"
#include "platform/Fonts.h"
#include "platform/Handles.h"

namespace rz {

void PaintWindowTitle(HWND window, const std::string& title) {
    if (!window) return;
    WindowDC dc(window, true);
    if (!dc) return;
    const int dpi = WindowDpi(window);
    LOGFONTA lf = PointLogFont(Settings.FontName, 8, dpi);
    lf.lfWeight = FW_BOLD;
    unique_hfont font(::CreateFontIndirectA(&lf));
    SelectGuard selected(dc.get(), font.get());
    ::SetBkMode(dc.get(), TRANSPARENT);
    bool active = ::GetActiveWindow() == window;
    ::SetTextColor(dc.get(), ::GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    SIZE extent{};
    ::GetTextExtentPoint32A(dc.get(), title.c_str(), static_cast<int>(title.size()), &extent);
    int x = SystemMetricForDpi(SM_CXBORDER, dpi) + ScaleToDpi(4, dpi);
    int y = (SystemMetricForDpi(SM_CYCAPTION, dpi) - std::abs(static_cast<int>(extent.cy))) / 2 + ScaleToDpi(2, dpi);
    ::TextOutA(dc.get(), x, y, title.c_str(), static_cast<int>(title.size()));
}

}  // namespace rz
