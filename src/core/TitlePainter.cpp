#include "core/TitlePainter.h"

#include "core/Settings.h"
#include "platform/CanvasText.h"
#include "platform/Dpi.h"
#include "platform/Fonts.h"
#include "platform/Handles.h"
#include "platform/Palette.h"
#include "platform/SystemTheme.h"

namespace rz {

void PaintWindowTitle(HWND window, const std::string& title) {
    if (!window) return;
    WindowDC dc(window, true);
    if (!dc) return;
    const int dpi = WindowDpi(window);
    LOGFONTW lf = PointLogFont(Settings.FontName, 8, dpi);
    lf.lfWeight = FW_BOLD;
    unique_hfont font(::CreateFontIndirectW(&lf));
    SelectGuard selected(dc.get(), font.get());
    ::SetBkMode(dc.get(), TRANSPARENT);
    bool active = ::GetActiveWindow() == window;
    // The title goes on the bar the platform drew: the palette's dark colours
    // only on a bar it made dark, else the system's.
    const std::shared_ptr<const Palette> colours = HasDarkTitleBar(window) ? CurrentPalette() : Palette::System();
    ::SetTextColor(dc.get(), colours->Colour(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    const SIZE extent = CanvasTextExtent(dc.get(), title);
    int x = SystemMetricForDpi(SM_CXBORDER, dpi) + ScaleToDpi(4, dpi);
    int y = (SystemMetricForDpi(SM_CYCAPTION, dpi) - std::abs(static_cast<int>(extent.cy))) / 2 + ScaleToDpi(2, dpi);
    CanvasTextOut(dc.get(), x, y, 0, nullptr, title);
}

}  // namespace rz
