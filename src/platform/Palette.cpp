#include "platform/Palette.h"

#include <algorithm>
#include <cmath>

#include "platform/SystemTheme.h"

namespace rz {

namespace {

double Linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(COLORREF c) {
    return 0.2126 * Linear(GetRValue(c)) + 0.7152 * Linear(GetGValue(c)) + 0.0722 * Linear(GetBValue(c));
}

COLORREF Mix(COLORREF from, COLORREF to, double share) {
    const auto channel = [share](int a, int b) { return static_cast<BYTE>(std::lround(a + (b - a) * share)); };
    return RGB(channel(GetRValue(from), GetRValue(to)), channel(GetGValue(from), GetGValue(to)),
               channel(GetBValue(from), GetBValue(to)));
}

// The dark tones: menus a little lighter than the title bars, the side bar
// lighter still; the text starts near white and is only moved if it must.
constexpr COLORREF kDarkMenu = RGB(0x2B, 0x2B, 0x2B);
constexpr COLORREF kDarkTitle = RGB(0x20, 0x20, 0x20);
constexpr COLORREF kDarkBar = RGB(0x3C, 0x3C, 0x3C);
constexpr COLORREF kDarkText = RGB(0xF2, 0xF2, 0xF2);
constexpr COLORREF kDarkGrayText = RGB(0x9D, 0x9D, 0x9D);
constexpr COLORREF kDarkBarText = RGB(0xD6, 0xD6, 0xD6);
// The edges of a raised or etched line: lighter above and left, darker below.
constexpr COLORREF kDarkEdgeLight = RGB(0x5C, 0x5C, 0x5C);
constexpr COLORREF kDarkEdgeShadow = RGB(0x1C, 0x1C, 0x1C);

std::shared_ptr<const Palette> g_current;

}  // namespace

double ContrastRatio(COLORREF a, COLORREF b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

COLORREF WithContrast(COLORREF colour, COLORREF against, double ratio) {
    if (ContrastRatio(colour, against) >= ratio) return colour;
    const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
    const COLORREF goal = ContrastRatio(white, against) >= ContrastRatio(black, against) ? white : black;
    constexpr int kSteps = 64;
    for (int step = 1; step < kSteps; ++step) {
        const COLORREF moved = Mix(colour, goal, static_cast<double>(step) / kSteps);
        if (ContrastRatio(moved, against) >= ratio) return moved;
    }
    return goal;
}

const std::vector<Palette::TextOnBackground>& Palette::TextPairs() {
    static const std::vector<TextOnBackground> pairs = {
        {COLOR_MENUTEXT, COLOR_MENU, 4.5},
        {COLOR_GRAYTEXT, COLOR_MENU, 4.5},
        {COLOR_WINDOWTEXT, COLOR_WINDOW, 4.5},
        {COLOR_HIGHLIGHTTEXT, COLOR_HIGHLIGHT, 7.0},
        {COLOR_INACTIVECAPTIONTEXT, COLOR_INACTIVECAPTION, 4.5},
        {COLOR_CAPTIONTEXT, COLOR_ACTIVECAPTION, 4.5},
    };
    return pairs;
}

std::shared_ptr<const Palette> Palette::System(bool highContrast) {
    return std::make_shared<Palette>(highContrast ? PaletteKind::HighContrast : PaletteKind::Light);
}

std::shared_ptr<const Palette> Palette::Dark(COLORREF accent) {
    auto p = std::make_shared<Palette>(PaletteKind::Dark);
    auto& c = p->colours_;
    for (int i = 0; i < kColours; ++i) c[i] = ::GetSysColor(i);
    c[COLOR_MENU] = c[COLOR_MENUBAR] = c[COLOR_WINDOW] = c[COLOR_BTNFACE] = kDarkMenu;
    c[COLOR_MENUTEXT] = c[COLOR_WINDOWTEXT] = c[COLOR_BTNTEXT] = kDarkText;
    c[COLOR_GRAYTEXT] = kDarkGrayText;
    c[COLOR_HIGHLIGHTTEXT] = RGB(255, 255, 255);
    // The selection keeps the system's hue; where white text on it would not
    // read well, it is darkened (the only background that moves).
    c[COLOR_HIGHLIGHT] = c[COLOR_MENUHILIGHT] = WithContrast(accent, c[COLOR_HIGHLIGHTTEXT], 7.0);
    c[COLOR_BTNHIGHLIGHT] = kDarkEdgeLight;
    c[COLOR_BTNSHADOW] = kDarkEdgeShadow;
    c[COLOR_INACTIVECAPTION] = kDarkBar;
    c[COLOR_INACTIVECAPTIONTEXT] = kDarkBarText;
    c[COLOR_ACTIVECAPTION] = kDarkTitle;
    c[COLOR_CAPTIONTEXT] = RGB(255, 255, 255);
    for (const TextOnBackground& pair : TextPairs())
        c[pair.text] = WithContrast(c[pair.text], c[pair.background], pair.ratio);
    return p;
}

COLORREF Palette::Colour(int sysColour) const {
    if (kind_ != PaletteKind::Dark || sysColour < 0 || sysColour >= kColours) return ::GetSysColor(sysColour);
    return colours_[sysColour];
}

HBRUSH Palette::Brush(int sysColour) const {
    if (kind_ != PaletteKind::Dark || sysColour < 0 || sysColour >= kColours) return ::GetSysColorBrush(sysColour);
    unique_hbrush& brush = brushes_[sysColour];
    if (!brush) brush.reset(::CreateSolidBrush(colours_[sysColour]));
    return brush ? brush.get() : static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
}

std::shared_ptr<const Palette> CurrentPalette() {
    if (!g_current) g_current = Palette::System();
    return g_current;
}

void UsePalette(std::shared_ptr<const Palette> palette) { g_current = palette ? std::move(palette) : Palette::System(); }

std::shared_ptr<const Palette> MenuPalette(bool platformDrawn) {
    std::shared_ptr<const Palette> current = CurrentPalette();
    if (platformDrawn && current->IsDark() && !PlatformDarkMenus()) return Palette::System();
    return current;
}

}  // namespace rz
