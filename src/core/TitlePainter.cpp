#include "core/TitlePainter.h"

#include "core/Settings.h"
#include "platform/Handles.h"

namespace rz {

void PaintWindowTitle(HWND window, const std::string& title) {
    if (!window) return;
    WindowDC dc(window, true);
    if (!dc) return;
    LOGFONTA lf{};
    lf.lfHeight = -::MulDiv(8, ::GetDeviceCaps(dc.get(), LOGPIXELSY), 72);
    lf.lfWeight = FW_BOLD;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, Settings.FontName.c_str(), LF_FACESIZE);
    unique_hfont font(::CreateFontIndirectA(&lf));
    SelectGuard selected(dc.get(), font.get());
    ::SetBkMode(dc.get(), TRANSPARENT);
    bool active = ::GetActiveWindow() == window;
    ::SetTextColor(dc.get(), ::GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    SIZE extent{};
    ::GetTextExtentPoint32A(dc.get(), title.c_str(), static_cast<int>(title.size()), &extent);
    int x = ::GetSystemMetrics(SM_CXBORDER) + 4;
    int y = (::GetSystemMetrics(SM_CYCAPTION) - std::abs(static_cast<int>(extent.cy))) / 2 + 2;
    ::TextOutA(dc.get(), x, y, title.c_str(), static_cast<int>(title.size()));
}

}  // namespace rz
